// TIFF LZW (compression 5): codes of 9 to 12 bits, most significant bit first, Clear 256,
// EndOfInformation 257, the width growing one code early. A string may cross a row boundary:
// what does not fit in the row is carried into the next one.
//
// Every table entry below nextCode was made after the last Clear, with a prefix code below its
// own, so walking a chain always ends at a root within length[] steps. Codes that would break
// this (above nextCode, or above 255 right after a Clear) produce nothing.
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

struct Code {
  std::uint16_t prefix;  // the code this one extends; kNone for roots
  std::uint16_t length;  // bytes in the string
  std::uint8_t suffix;   // last byte of the string
  std::uint8_t first;    // first byte of the string
};

struct LzwState {
  Code table[kTableSize];
  std::uint8_t carry[kTableSize];  // bytes decoded beyond the previous row
  std::uint8_t stack[kTableSize + 1];
  std::uint32_t carry_count;
  std::uint32_t code_width;
  std::uint32_t next_mask;
  std::uint32_t next_code;
  std::uint32_t old_code;
  std::uint64_t accumulator;  // next unread bits at the top
  std::uint32_t bit_count;
  bool reset_pending;
  bool ended;  // EndOfInformation seen: the rest of the strip stays untouched
};

void reset(LzwState &s) {
  s.code_width = 9;
  s.next_mask = 511;
  s.next_code = kFirstFree;
  s.old_code = kNone;
  s.carry_count = 0;
  s.accumulator = 0;
  s.bit_count = 0;
  s.ended = false;
  for (std::uint32_t i = 0; i < 256; ++i) s.table[i] = Code{std::uint16_t(kNone), 1, std::uint8_t(i), std::uint8_t(i)};
  s.reset_pending = false;
}

int lzw_setup(DecoderContext &c) {
  auto *s = new (std::nothrow) LzwState;
  if (!s) return kStatusNoMemory;
  std::memset(static_cast<void *>(s), 0, sizeof *s);
  s->reset_pending = true;
  c.state = s;
  return kStatusOk;
}

void lzw_strip_start(DecoderContext &c) { static_cast<LzwState *>(c.state)->reset_pending = true; }

void lzw_cleanup(DecoderContext &c) {
  delete static_cast<LzwState *>(c.state);
  c.state = nullptr;
}

// Writes the string of `code` backwards from its end; `len` bytes.
inline void expand(const Code *table, std::uint32_t code, std::uint32_t len, std::uint8_t *dst) {
  std::uint8_t *p = dst + len;
  while (p > dst) {
    const Code &e = table[code];
    *--p = e.suffix;
    code = e.prefix;
  }
}

int lzw_decode(DecoderContext &c, std::uint8_t *row) {
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
  if (s.ended) return kStatusOk;

  // The decoder's state lives in locals: stores through `out` could alias the members.
  ScratchInput &in = c.in;
  Code *const table = s.table;
  std::uint64_t acc = s.accumulator;
  std::uint32_t bits = s.bit_count, width = s.code_width, next_mask = s.next_mask, next_code = s.next_code,
                old_code = s.old_code;
  int status = kStatusOk;
  while (out < end) {
    if (bits < width) {
      const std::uint8_t *data = in.data;
      std::uint32_t pos = in.position, valid = in.valid;
      while (bits <= 56) {
        if (pos >= valid) {
          in.position = pos;
          std::uint8_t b;
          if (!next_byte(in, b)) break;
          pos = in.position, valid = in.valid, data = in.data;
          acc |= std::uint64_t(b) << (56 - bits);
          bits += 8;
          continue;
        }
        acc |= std::uint64_t(data[pos++]) << (56 - bits);
        bits += 8;
      }
      in.position = std::min(pos, in.valid);
      // The data ended inside the strip: the row keeps what was decoded.
      if (bits < width) break;
    }
    std::uint32_t code = std::uint32_t(acc >> (64 - width));
    acc <<= width;
    bits -= width;

    if (code == kEnd) {
      s.ended = true;
      break;
    }
    if (code == kClear) {
      width = 9;
      next_mask = 511;
      next_code = kFirstFree;
      old_code = kNone;
      continue;
    }
    if (old_code == kNone) {
      if (code > 255) continue;
      *out++ = std::uint8_t(code);
      old_code = code;
      continue;
    }
    if (code > next_code) continue;

    std::uint8_t first;
    std::uint32_t len;
    if (code == next_code) {
      // The string of the previous code followed by its own first byte.
      first = table[old_code].first;
      len = table[old_code].length + 1u;
      if (std::uint32_t(end - out) >= len) {
        expand(table, old_code, len - 1, out);
        out[len - 1] = first;
        out += len;
      } else {
        expand(table, old_code, len - 1, s.stack);
        s.stack[len - 1] = first;
        goto split;
      }
    } else {
      first = table[code].first;
      len = table[code].length;
      if (len == 1) {
        *out++ = first;
      } else if (std::uint32_t(end - out) >= len) {
        expand(table, code, len, out);
        out += len;
      } else {
        expand(table, code, len, s.stack);
        goto split;
      }
    }
    goto add;
  split : {
    // What does not fit in this row starts the next one.
    std::uint32_t room = std::uint32_t(end - out);
    std::memcpy(out, s.stack, room);
    s.carry_count = len - room;
    std::memcpy(s.carry, s.stack + room, s.carry_count);
    out = end;
  }
  add:
    if (next_code < kTableSize) {
      table[next_code] = Code{std::uint16_t(old_code), std::uint16_t(table[old_code].length + 1), first,
                              table[old_code].first};
      ++next_code;
      if (next_code == next_mask && width < 12) {
        ++width;
        next_mask = (1u << width) - 1;
      }
    }
    old_code = code;
  }
  s.accumulator = acc;
  s.bit_count = bits;
  s.code_width = width;
  s.next_mask = next_mask;
  s.next_code = next_code;
  s.old_code = old_code;
  return status;
}

}  // namespace

const DecoderHooks kLzwDecoder{lzw_setup, lzw_strip_start, lzw_decode, lzw_cleanup};

}  // namespace grainwick
