// TIFF LZW (compression 5): codes of 9 to 12 bits, most significant bit first, Clear 256,
// EndOfInformation 257, the width growing one code early. A string may cross a row boundary.
//
// Every table entry below nextCode was made after the last Clear, with a prefix code below its
// own, so walking a chain always ends at a root within length[] steps. Codes that would break
// this (above nextCode, or above 255 right after a Clear) produce nothing.
//
// Speed: the strip is decoded into a history buffer, not into the rows. An entry's string is the
// previous string plus one byte, which is where the decoder just wrote it, so each entry keeps
// that place and a string is copied from there in wide pieces; only strings that have left the
// history are rebuilt by walking the prefix chain. Rows are taken from the history with the
// reader's fix-ups applied on the way. Input is taken eight bytes at a time into a 64-bit
// accumulator held in a local.
#include <algorithm>
#include <cstring>
#include <new>

#include "decoders.h"

namespace grainwick {

namespace {

constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kEnd = 257;
constexpr std::uint32_t kFirstFree = 258;
constexpr std::uint32_t kTableSize = 4096;
constexpr std::uint32_t kNone = 4096;
constexpr std::uint32_t kNever = 0xFFFFFFFF;  // grow point once the width is 12

// One entry in 64 bits, so that a new entry is one store: prefix code in bits 0-15 (kNone for
// roots), string length in bits 16-31, last byte in bits 32-39, first byte in bits 40-47.
// Clear and EndOfInformation have length 0, which sends them off the common path.
using Code = std::uint64_t;
constexpr Code make_code(std::uint32_t prefix, std::uint32_t length, std::uint8_t suffix,
                         std::uint8_t first) {
  return Code(prefix) | Code(length) << 16 | Code(suffix) << 32 | Code(first) << 40;
}
constexpr std::uint32_t prefix_of(Code e) {
  return std::uint32_t(e & 0xFFFF);
}
constexpr std::uint32_t length_of(Code e) {
  return std::uint32_t(e >> 16) & 0xFFFF;
}
constexpr std::uint8_t suffix_of(Code e) {
  return std::uint8_t(e >> 32);
}
constexpr std::uint8_t first_of(Code e) {
  return std::uint8_t(e >> 40);
}
// An entry one byte longer than `e` with the same first byte: its length and first byte, + 1.
constexpr Code kLengthAndFirst = 0x0000FF00FFFF0000ull;
constexpr Code kOneLonger = 0x10000;

// The history starts with 16 copies of each root byte, so that roots are copied like any other
// string; decoded bytes follow. Positions count from 1 at history[0] at the strip start and go
// on counting as the buffer shifts down. An entry whose string has left the history has its
// place cleared to 0 and is rebuilt from its chain.
struct LzwState {
  Code table[kTableSize + 1];           // the last entry takes the writes made once the table is full
  std::uint32_t where[kTableSize + 1];  // position of each entry's string
  std::uint8_t *history;
  std::uint32_t history_size;
  std::uint32_t origin;    // position of history[0]
  std::uint32_t produced;  // position after the last decoded byte
  std::uint32_t consumed;  // position of the next row's first byte
  std::uint32_t previous;  // position of the last code's string
  std::uint32_t code_width;
  std::uint32_t grow_at;  // nextCode value that widens the code (nextMaskCode), kNever at 12 bits
  std::uint32_t next_code;
  std::uint32_t old_code;
  std::uint64_t accumulator;  // next unread bits at the top; below them, a copy of what follows
  std::uint32_t bit_count;
  bool reset_pending;
  bool ended;  // EndOfInformation seen: the rest of the strip is blank
};

constexpr std::uint32_t kRoots = 256 * 16;
// Room past the row for the longest string and the overreach of a wide copy.
constexpr std::uint32_t kSpill = kTableSize + 32;
// History kept before the next row when the buffer is shifted down.
constexpr std::uint32_t kKeep = 128 * 1024;

void place_roots(LzwState &s) {
  for (std::uint32_t i = 0; i < 256; ++i) s.where[i] = s.origin + 16 * i;
}

void reset(LzwState &s) {
  s.code_width = 9;
  s.grow_at = 511;
  s.next_code = kFirstFree;
  s.old_code = kNone;
  s.origin = 1;
  s.produced = s.consumed = s.previous = s.origin + kRoots;
  s.accumulator = 0;
  s.bit_count = 0;
  s.ended = false;
  for (std::uint32_t i = 0; i < 256; ++i) s.table[i] = make_code(kNone, 1, std::uint8_t(i), std::uint8_t(i));
  s.table[kClear] = s.table[kEnd] = make_code(kNone, 0, 0, 0);
  // Entries above the roots are written before they can be used.
  place_roots(s);
  s.reset_pending = false;
}

Status lzw_setup(DecoderContext &c) {
  auto *s = new (std::nothrow) LzwState;
  if (!s) return Status::kNoMemory;
  std::memset(static_cast<void *>(s), 0, sizeof *s);
  s->history_size = kRoots + 2 * (c.bytes_per_row + kSpill) + kKeep;
  s->history = new (std::nothrow) std::uint8_t[s->history_size];
  if (!s->history) {
    delete s;
    return Status::kNoMemory;
  }
  for (std::uint32_t i = 0; i < kRoots; ++i) s->history[i] = std::uint8_t(i / 16);
  s->reset_pending = true;
  c.state = s;
  return Status::kOk;
}

void lzw_strip_start(DecoderContext &c) {
  static_cast<LzwState *>(c.state)->reset_pending = true;
}

void lzw_cleanup(DecoderContext &c) {
  auto *s = static_cast<LzwState *>(c.state);
  if (s) delete[] s->history;
  delete s;
  c.state = nullptr;
}

// Makes room for a row and its spill after the next row's start, keeping up to kKeep bytes of
// history before it. Positions start again from 1 before they could wrap.
void make_room(LzwState &s, std::uint32_t row_bytes) {
  if (s.consumed - s.origin + row_bytes + kSpill <= s.history_size) return;
  const std::uint32_t first = s.origin + kRoots;
  const std::uint32_t from = s.consumed - first > kKeep ? s.consumed - kKeep : first;
  std::memmove(s.history + kRoots, s.history + (from - s.origin), s.produced - from);
  for (std::uint32_t i = 256; i <= kTableSize; ++i)
    if (s.where[i] < from) s.where[i] = 0;
  s.origin = from - kRoots;
  if (s.origin > 0x80000000u) {
    const std::uint32_t shift = s.origin - 1;
    for (std::uint32_t i = 256; i <= kTableSize; ++i)
      if (s.where[i]) s.where[i] -= shift;
    s.origin -= shift;
    s.produced -= shift;
    s.consumed -= shift;
    s.previous -= shift;
  }
  place_roots(s);
}

// Writes the string of entry `e` (`len` >= 1 bytes) at dst. The first and last bytes are in the
// entry itself; only the bytes between need the walk down the prefix chain.
inline void expand(const Code *table, Code e, std::uint32_t len, std::uint8_t *dst) {
  dst[0] = first_of(e);
  dst[len - 1] = suffix_of(e);
  if (len > 2) {
    std::uint8_t *p = dst + len - 1;
    std::uint32_t code = prefix_of(e);
    do {
      const Code x = table[code];
      *--p = suffix_of(x);
      code = prefix_of(x);
    } while (p > dst + 1);
  }
}

// Copies `len` bytes from `src`, which ends at or before `dst`, in 16-byte pieces: up to 15
// bytes past the end of both are read and written (the spill room allows it).
inline void copy_string(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t len) {
  std::uint64_t a, b;
  std::memcpy(&a, src, 8);
  std::memcpy(&b, src + 8, 8);
  std::memcpy(dst, &a, 8);
  std::memcpy(dst + 8, &b, 8);
  for (std::uint32_t i = 16; i < len; i += 16) {
    std::memcpy(&a, src + i, 8);
    std::memcpy(&b, src + i + 8, 8);
    std::memcpy(dst + i, &a, 8);
    std::memcpy(dst + i + 8, &b, 8);
  }
}

inline std::uint64_t load_be64(const std::uint8_t *p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

Status lzw_decode(DecoderContext &c, std::uint8_t *row) {
  LzwState &s = *static_cast<LzwState *>(c.state);
  if (s.reset_pending) reset(s);
  const std::uint32_t n = c.bytes_per_row;
  make_room(s, n);
  std::uint8_t *const hist = s.history;
  const std::uint32_t base = s.origin;
  std::uint8_t *out = hist + (s.produced - base);
  std::uint8_t *const want = hist + (s.consumed - base) + n;

  if (!s.ended && out < want) {
    // The decoder's state lives in locals: stores through `out` could alias the members.
    ScratchInput &in = c.in;
    Code *const table = s.table;
    std::uint32_t *const where = s.where;
    const std::uint8_t *ip = in.data + in.position, *limit = in.data + in.valid;
    std::uint64_t acc = s.accumulator;
    std::uint32_t bits = s.bit_count, width = s.code_width, grow_at = s.grow_at, next_code = s.next_code,
                  old_code = s.old_code;
    std::uint8_t *prev = hist + (s.previous - base);

    // New entry: the previous string plus this string's first byte, found where the previous
    // string was written. Once the table is full the write lands in the spare last entry and
    // nextCode stays.
    auto add = [&](std::uint8_t first) {
      table[next_code] = ((table[old_code] & kLengthAndFirst) + kOneLonger) | old_code | Code(first) << 32;
      where[next_code] = base + std::uint32_t(prev - hist);
      next_code += next_code < kTableSize;
      if (next_code == grow_at) {
        ++width;
        grow_at = width < 12 ? (1u << width) - 1 : kNever;
      }
    };

    for (;;) {
      if (bits < width) {
        if (limit - ip >= 8) {
          // Whole bytes go in up to 56..63 valid bits; the bits below them repeat what follows.
          acc |= load_be64(ip) >> bits;
          ip += (63 - bits) >> 3;
          bits |= 56;
        } else {
          while (bits <= 56) {
            if (ip == limit) {
              in.position = in.valid;
              if (!refill_scratch(in)) break;
              ip = in.data;
              limit = ip + in.valid;
            }
            acc |= std::uint64_t(*ip++) << (56 - bits);
            bits += 8;
          }
          // The data ended inside the strip: the row keeps what was decoded.
          if (bits < width) break;
        }
      }
      const std::uint32_t code = std::uint32_t(acc >> (64 - width));
      acc <<= width;
      bits -= width;

      if (code < next_code && old_code != kNone) {
        const Code e = table[code];
        const std::uint32_t len = length_of(e);
        // The common case: a known string (Clear and EndOfInformation have length 0).
        if (len != 0) {
          const std::uint32_t at = where[code];
          if (at >= base)
            copy_string(out, hist + (at - base), len);
          else
            expand(table, e, len, out);
          add(first_of(e));
          prev = out;
          out += len;
          old_code = code;
          if (out >= want) break;
          continue;
        }
      }

      if (code == kEnd) {
        s.ended = true;
        break;
      } else if (code == kClear) {
        width = 9, grow_at = 511, next_code = kFirstFree, old_code = kNone;
        continue;
      } else if (old_code == kNone) {
        if (code > 255) continue;
        *out = std::uint8_t(code);
        prev = out++;
        old_code = code;
        if (out >= want) break;
        continue;
      } else if (code > next_code) {
        continue;
      }
      // code == nextCode: the previous string followed by its own first byte.
      const Code e = table[old_code];
      const std::uint32_t len = length_of(e);
      copy_string(out, prev, len);
      out[len] = first_of(e);
      add(first_of(e));
      prev = out;
      out += len + 1;
      old_code = code;
      if (out >= want) break;
    }
    in.position = std::min(std::uint32_t(ip - in.data), in.valid);
    s.accumulator = acc;
    s.bit_count = bits;
    s.code_width = width;
    s.grow_at = grow_at;
    s.next_code = next_code;
    s.old_code = old_code;
    s.previous = base + std::uint32_t(prev - hist);
  }
  // EndOfInformation or the end of the data: the rest of the row is blank.
  if (out < want) {
    std::memset(out, 0, std::size_t(want - out));
    out = want;
  }
  s.produced = base + std::uint32_t(out - hist);
  fix_copy(row, want - n, n, c.fixups);
  s.consumed += n;
  return Status::kOk;
}

}  // namespace

const DecoderHooks kLzwDecoder{lzw_setup, lzw_strip_start, lzw_decode, lzw_cleanup, true};

}  // namespace grainwick
