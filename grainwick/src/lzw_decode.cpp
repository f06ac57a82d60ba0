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

struct LzwState {
  std::uint16_t prefix[kTableSize];
  std::uint16_t length[kTableSize];
  std::uint8_t suffix[kTableSize];
  std::uint8_t carry[kTableSize];  // bytes decoded beyond the previous row
  std::uint8_t stack[kTableSize + 1];
  std::uint32_t carry_count;
  std::uint32_t code_width;
  std::uint32_t next_mask;
  std::uint32_t next_code;
  std::uint32_t old_code;
  std::uint32_t accumulator;
  std::uint32_t bit_count;
  std::uint8_t first_char;
  bool reset_pending;
  bool ended;  // EndOfInformation seen: the rest of the strip stays untouched
};

void clear_table(LzwState &s) {
  s.code_width = 9;
  s.next_mask = 511;
  s.next_code = kFirstFree;
  s.old_code = kNone;
}

void reset(LzwState &s) {
  clear_table(s);
  s.carry_count = 0;
  s.accumulator = 0;
  s.bit_count = 0;
  s.ended = false;
  for (std::uint32_t i = 0; i < 256; ++i) {
    s.prefix[i] = kNone;
    s.suffix[i] = std::uint8_t(i);
    s.length[i] = 1;
  }
  s.reset_pending = false;
}

int lzw_setup(DecoderContext &c) {
  auto *s = new (std::nothrow) LzwState;
  if (!s) return kStatusNoMemory;
  std::memset(s, 0, sizeof *s);
  s->reset_pending = true;
  c.state = s;
  return kStatusOk;
}

void lzw_strip_start(DecoderContext &c) { static_cast<LzwState *>(c.state)->reset_pending = true; }

void lzw_cleanup(DecoderContext &c) {
  delete static_cast<LzwState *>(c.state);
  c.state = nullptr;
}

// Writes the string of `code` (length `len`) followed, when `extra` >= 0, by that byte; bytes that
// do not fit before `end` go to the carry buffer. Returns the new output position.
inline std::uint8_t *emit(LzwState &s, std::uint32_t code, std::uint32_t len, int extra, std::uint8_t *out,
                          std::uint8_t *end) {
  std::uint32_t total = len + (extra >= 0 ? 1 : 0);
  if (std::uint32_t(end - out) >= total) {
    std::uint8_t *p = out + len;
    if (extra >= 0) *p = std::uint8_t(extra);
    for (std::uint32_t i = 0; i < len; ++i) {
      *--p = s.suffix[code];
      code = s.prefix[code];
    }
    return out + total;
  }
  std::uint8_t *p = s.stack + len;
  if (extra >= 0) *p = std::uint8_t(extra);
  for (std::uint32_t i = 0; i < len; ++i) {
    *--p = s.suffix[code];
    code = s.prefix[code];
  }
  std::uint32_t room = std::uint32_t(end - out);
  std::memcpy(out, s.stack, room);
  s.carry_count = total - room;
  std::memcpy(s.carry, s.stack + room, s.carry_count);
  return end;
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

  ScratchInput &in = c.in;
  std::uint32_t acc = s.accumulator, bits = s.bit_count;
  std::uint32_t width = s.code_width;
  while (out < end) {
    while (bits < width) {
      std::uint8_t b;
      if (in.position < in.valid) {
        b = in.data[in.position++];
      } else if (!next_byte(in, b)) {
        // The data ended inside the strip: the row keeps what was decoded.
        s.accumulator = acc;
        s.bit_count = bits;
        return kStatusOk;
      }
      acc |= std::uint32_t(b) << (24 - bits);
      bits += 8;
    }
    std::uint32_t code = acc >> (32 - width);
    acc <<= width;
    bits -= width;

    if (code == kEnd) {
      s.ended = true;
      break;
    }
    if (code == kClear) {
      clear_table(s);
      width = s.code_width;
      continue;
    }
    if (s.old_code == kNone) {
      if (code > 255) continue;
      *out++ = std::uint8_t(code);
      s.first_char = std::uint8_t(code);
      s.old_code = code;
      continue;
    }
    if (code > s.next_code) continue;

    const std::uint32_t old = s.old_code;
    if (code == s.next_code) {
      out = emit(s, old, s.length[old], s.first_char, out, end);
    } else {
      std::uint8_t *start = out;
      std::uint32_t len = s.length[code];
      out = emit(s, code, len, -1, out, end);
      // The first byte of the string just written, wherever it landed.
      s.first_char = start < end ? *start : s.carry[0];
    }
    if (s.next_code < kTableSize) {
      std::uint32_t n = s.next_code;
      s.prefix[n] = std::uint16_t(old);
      s.suffix[n] = s.first_char;
      s.length[n] = std::uint16_t(s.length[old] + 1);
      ++s.next_code;
      if (s.next_code == s.next_mask && width < 12) {
        width = ++s.code_width;
        s.next_mask = (1u << width) - 1;
      }
    }
    s.old_code = code;
  }
  s.accumulator = acc;
  s.bit_count = bits;
  return kStatusOk;
}

}  // namespace

const DecoderHooks kLzwDecoder{lzw_setup, lzw_strip_start, lzw_decode, lzw_cleanup};

}  // namespace grainwick
