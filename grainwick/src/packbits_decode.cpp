// PackBits (compression 32773): control byte n, 0..127 copies n + 1 literal bytes, -1..-127
// repeats the next byte 1 - n times, -128 does nothing. Rows are packed separately, so a run
// that would pass the end of the row is corrupt data. The input buffer is refilled whenever it
// runs dry, so a row needs no more than the buffer holds at a time.
#include <algorithm>
#include <cstring>

#include "decoders.h"

namespace grainwick {

namespace {

int pb_setup(DecoderContext &) { return kStatusOk; }
void pb_strip_start(DecoderContext &) {}
void pb_cleanup(DecoderContext &) {}

// Bytes out, complemented when the image is WhiteIsZero.
inline void put_literal(std::uint8_t *out, const std::uint8_t *src, std::uint32_t n, bool invert) {
  if (!invert) {
    std::memcpy(out, src, n);
    return;
  }
  std::uint32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, src + i, 8);
    w = ~w;
    std::memcpy(out + i, &w, 8);
  }
  for (; i < n; ++i) out[i] = std::uint8_t(~src[i]);
}

int pb_decode(DecoderContext &c, std::uint8_t *row) {
  ScratchInput &in = c.in;
  const bool invert = c.invert;
  const std::uint8_t flip = invert ? 0xFF : 0;
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
  int status = kStatusOk;
  while (out < end) {
    if (ip == limit && !refill()) goto ended;
    {
      const int n = std::int8_t(*ip++);
      if (n >= 0) {
        std::uint32_t count = std::uint32_t(n) + 1;
        if (count > std::uint32_t(end - out)) {
          status = kStatusCorrupt;
          break;
        }
        while (count) {
          if (ip == limit && !refill()) goto ended;
          const std::uint32_t piece = std::min(count, std::uint32_t(limit - ip));
          put_literal(out, ip, piece, invert);
          ip += piece;
          out += piece;
          count -= piece;
        }
      } else if (n != -128) {
        const std::uint32_t count = std::uint32_t(1 - n);
        if (count > std::uint32_t(end - out)) {
          status = kStatusCorrupt;
          break;
        }
        if (ip == limit && !refill()) goto ended;
        std::memset(out, *ip++ ^ flip, count);
        out += count;
      }
    }
    continue;
  ended:
    // The data ended inside the strip: the row keeps what was decoded, and what it held before
    // is complemented like any WhiteIsZero byte.
    if (invert)
      for (; out < end; ++out) *out = std::uint8_t(~*out);
    break;
  }
  in.position = std::min(std::uint32_t(ip - in.data), in.valid);
  return status;
}

}  // namespace

const DecoderHooks kPackBitsDecoder{pb_setup, pb_strip_start, pb_decode, pb_cleanup};

}  // namespace grainwick
