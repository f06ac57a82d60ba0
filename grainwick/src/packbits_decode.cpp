// PackBits (compression 32773): control byte n, 0..127 copies n + 1 literal bytes, -1..-127
// repeats the next byte 1 - n times, -128 does nothing. Rows are packed separately, so a run
// that would pass the end of the row is corrupt data. The input buffer is refilled whenever it
// runs dry, so a row needs no more than the buffer holds at a time.
#include <algorithm>
#include <cstring>

#include "decoders.h"

namespace grainwick {

namespace {

Status pb_setup(DecoderContext &) { return Status::kOk; }
void pb_strip_start(DecoderContext &) {}
void pb_cleanup(DecoderContext &) {}

// Runs are at most 128 bytes: eight-byte stores, the last one overlapping, beat memset's
// set-up at these lengths.
inline void put_word(std::uint8_t *p, std::uint64_t w) { std::memcpy(p, &w, 8); }
inline std::uint64_t get_word(const std::uint8_t *p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

// A literal run, xor `flip` (all ones when the image is WhiteIsZero).
inline void put_literal(std::uint8_t *out, const std::uint8_t *src, std::uint32_t n, std::uint64_t flip) {
  if (n >= 8) {
    std::uint32_t i = 0;
    for (; i + 8 < n; i += 8) put_word(out + i, get_word(src + i) ^ flip);
    put_word(out + n - 8, get_word(src + n - 8) ^ flip);
  } else {
    for (std::uint32_t i = 0; i < n; ++i) out[i] = std::uint8_t(src[i] ^ flip);
  }
}

// A repeat run of `n` >= 2 bytes.
inline void put_repeat(std::uint8_t *out, std::uint8_t value, std::uint32_t n) {
  if (n >= 8) {
    const std::uint64_t w = value * 0x0101010101010101ull;
    for (std::uint32_t i = 0; i + 8 < n; i += 8) {
      // An empty asm hides that the value is the same each time, so that the loop is not
      // turned back into a memset (rep stos).
      std::uint64_t v = w;
      __asm__("" : "+r"(v));
      put_word(out + i, v);
    }
    put_word(out + n - 8, w);
  } else if (n >= 4) {
    const std::uint32_t w = value * 0x01010101u;
    std::memcpy(out, &w, 4);
    std::memcpy(out + n - 4, &w, 4);
  } else {
    out[0] = out[1] = out[n - 1] = value;
  }
}

Status pb_decode(DecoderContext &c, std::uint8_t *row) {
  ScratchInput &in = c.in;
  const std::uint64_t flip = c.invert ? ~std::uint64_t(0) : 0;
  std::uint8_t *out = row;
  std::uint8_t *const end = row + c.bytes_per_row;
  const std::uint8_t *ip = in.data + in.position, *limit = in.data + in.valid;
  // Input runs dry: refill the buffer; false at the end of the data.
  auto refill = [&] {
    in.position = in.valid;
    if (!refill_scratch(in)) return false;
    ip = in.data;
    limit = ip + in.valid;
    return true;
  };
  Status status = Status::kOk;
  while (out < end) {
    if (ip == limit && !refill()) goto ended;
    {
      const int n = std::int8_t(*ip++);
      if (n >= 0) {
        std::uint32_t count = std::uint32_t(n) + 1;
        if (count > std::uint32_t(end - out)) {
          status = Status::kCorrupt;
          break;
        }
        while (count) {
          if (ip == limit && !refill()) goto ended;
          const std::uint32_t piece = std::min(count, std::uint32_t(limit - ip));
          put_literal(out, ip, piece, flip);
          ip += piece;
          out += piece;
          count -= piece;
        }
      } else if (n != -128) {
        const std::uint32_t count = std::uint32_t(1 - n);
        if (count > std::uint32_t(end - out)) {
          status = Status::kCorrupt;
          break;
        }
        if (ip == limit && !refill()) goto ended;
        put_repeat(out, std::uint8_t(*ip++ ^ flip), count);
        out += count;
      }
    }
    continue;
  ended:
    // The data ended inside the strip: the row keeps what was decoded and the rest is blank
    // (zero bytes, complemented like any other for WhiteIsZero).
    std::memset(out, int(flip & 0xFF), std::size_t(end - out));
    break;
  }
  in.position = std::min(std::uint32_t(ip - in.data), in.valid);
  return status;
}

}  // namespace

const DecoderHooks kPackBitsDecoder{pb_setup, pb_strip_start, pb_decode, pb_cleanup};

}  // namespace grainwick
