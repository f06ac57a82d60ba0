// TIFF LZW (compression 5): codes of 9 to 12 bits, most significant bit first, Clear 256,
// EndOfInformation 257, the width growing one code early. A string may cross a row boundary:
// what does not fit in the row is carried into the next one.
//
// Every table entry below nextCode was made after the last Clear, with a prefix code below its
// own, so walking a chain always ends at a root within length[] steps. Codes that would break
// this (above nextCode, or above 255 right after a Clear) produce nothing.
//
// Speed: each entry knows its string's length and first byte, so a string is written backwards
// straight into the row; input is taken eight bytes at a time into a 64-bit accumulator held in
// a local, and the common case (a known code whose string fits the row) takes one branch.
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
constexpr Code make_code(std::uint32_t prefix, std::uint32_t length, std::uint8_t suffix, std::uint8_t first) {
  return Code(prefix) | Code(length) << 16 | Code(suffix) << 32 | Code(first) << 40;
}
constexpr std::uint32_t prefix_of(Code e) { return std::uint32_t(e & 0xFFFF); }
constexpr std::uint32_t length_of(Code e) { return std::uint32_t(e >> 16) & 0xFFFF; }
constexpr std::uint8_t suffix_of(Code e) { return std::uint8_t(e >> 32); }
constexpr std::uint8_t first_of(Code e) { return std::uint8_t(e >> 40); }
// An entry one byte longer than `e` with the same first byte: its length and first byte, + 1.
constexpr Code kLengthAndFirst = 0x0000FF00FFFF0000ull;
constexpr Code kOneLonger = 0x10000;

struct LzwState {
  Code table[kTableSize + 1];  // the last entry takes the writes made once the table is full
  std::uint8_t carry[kTableSize];  // bytes decoded beyond the previous row
  std::uint8_t stack[kTableSize + 1];
  std::uint32_t carry_count;
  std::uint32_t code_width;
  std::uint32_t grow_at;  // nextCode value that widens the code (nextMaskCode), kNever at 12 bits
  std::uint32_t next_code;
  std::uint32_t old_code;
  std::uint64_t accumulator;  // next unread bits at the top; below them, a copy of what follows
  std::uint32_t bit_count;
  bool reset_pending;
  bool ended;  // EndOfInformation seen: the rest of the strip is blank
};

void reset(LzwState &s) {
  s.code_width = 9;
  s.grow_at = 511;
  s.next_code = kFirstFree;
  s.old_code = kNone;
  s.carry_count = 0;
  s.accumulator = 0;
  s.bit_count = 0;
  s.ended = false;
  for (std::uint32_t i = 0; i < 256; ++i) s.table[i] = make_code(kNone, 1, std::uint8_t(i), std::uint8_t(i));
  s.table[kClear] = s.table[kEnd] = make_code(kNone, 0, 0, 0);
  s.reset_pending = false;
}

Status lzw_setup(DecoderContext &c) {
  auto *s = new (std::nothrow) LzwState;
  if (!s) return Status::kNoMemory;
  std::memset(static_cast<void *>(s), 0, sizeof *s);
  s->reset_pending = true;
  c.state = s;
  return Status::kOk;
}

void lzw_strip_start(DecoderContext &c) { static_cast<LzwState *>(c.state)->reset_pending = true; }

void lzw_cleanup(DecoderContext &c) {
  delete static_cast<LzwState *>(c.state);
  c.state = nullptr;
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

inline std::uint64_t load_be64(const std::uint8_t *p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

Status lzw_decode(DecoderContext &c, std::uint8_t *row) {
  LzwState &s = *static_cast<LzwState *>(c.state);
  if (s.reset_pending) reset(s);
  std::uint8_t *out = row;
  std::uint8_t *const end = row + c.bytes_per_row;

  if (s.carry_count) {
    std::uint32_t n = std::min<std::uint32_t>(s.carry_count, c.bytes_per_row);
    std::memcpy(out, s.carry, n);
    out += n;
    s.carry_count -= n;
    if (s.carry_count) std::memmove(s.carry, s.carry + n, s.carry_count);
  }
  if (s.ended || out == end) {
    std::memset(out, 0, std::size_t(end - out));
    return Status::kOk;
  }

  // The decoder's state lives in locals: stores through `out` could alias the members.
  ScratchInput &in = c.in;
  Code *const table = s.table;
  const std::uint8_t *ip = in.data + in.position, *limit = in.data + in.valid;
  std::uint64_t acc = s.accumulator;
  std::uint32_t bits = s.bit_count, width = s.code_width, grow_at = s.grow_at, next_code = s.next_code,
                old_code = s.old_code;

  // New entry: the previous string plus this string's first byte. Once the table is full the
  // write lands in the spare last entry and nextCode stays.
  auto add = [&](std::uint8_t first) {
    table[next_code] = ((table[old_code] & kLengthAndFirst) + kOneLonger) | old_code | Code(first) << 32;
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
      // The common case: a known string that leaves room in the row.
      if (len - 1 < std::uint32_t(end - out) - 1) {
        expand(table, e, len, out);
        out += len;
        add(first_of(e));
        old_code = code;
        continue;
      }
    }

    std::uint8_t first;
    if (code == kEnd) {
      s.ended = true;
      break;
    } else if (code == kClear) {
      width = 9, grow_at = 511, next_code = kFirstFree, old_code = kNone;
      continue;
    } else if (old_code == kNone) {
      if (code > 255) continue;
      *out++ = std::uint8_t(code);
      old_code = code;
      if (out == end) break;
      continue;
    } else if (code > next_code) {
      continue;
    }
    // A string that fills the row or passes its end, or code == nextCode: the string of the
    // previous code followed by its own first byte.
    const Code e = code == next_code ? table[old_code] : table[code];
    const std::uint32_t len = length_of(e) + (code == next_code);
    first = first_of(e);
    std::uint8_t *dst = len <= std::uint32_t(end - out) ? out : s.stack;
    if (code == next_code) {
      expand(table, e, len - 1, dst);
      dst[len - 1] = first;
    } else {
      expand(table, e, len, dst);
    }
    if (dst == out) {
      out += len;
    } else {
      // What does not fit in this row starts the next one.
      const std::uint32_t room = std::uint32_t(end - out);
      std::memcpy(out, s.stack, room);
      s.carry_count = len - room;
      std::memcpy(s.carry, s.stack + room, s.carry_count);
      out = end;
    }
    add(first);
    old_code = code;
    if (out == end) break;
  }
  // EndOfInformation or the end of the data: the rest of the row is blank.
  std::memset(out, 0, std::size_t(end - out));
  in.position = std::min(std::uint32_t(ip - in.data), in.valid);
  s.accumulator = acc;
  s.bit_count = bits;
  s.code_width = width;
  s.grow_at = grow_at;
  s.next_code = next_code;
  s.old_code = old_code;
  return Status::kOk;
}

}  // namespace

const DecoderHooks kLzwDecoder{lzw_setup, lzw_strip_start, lzw_decode, lzw_cleanup};

}  // namespace grainwick
