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

int pb_decode(DecoderContext &c, std::uint8_t *row) {
  ScratchInput &in = c.in;
  std::uint8_t *out = row;
  std::uint8_t *const end = row + c.bytes_per_row;
  while (out < end) {
    std::uint8_t control;
    // The data ended inside the strip: the row keeps what was decoded.
    if (!next_byte(in, control)) return kStatusOk;
    int n = std::int8_t(control);
    if (n >= 0) {
      std::uint32_t count = std::uint32_t(n) + 1;
      if (count > std::uint32_t(end - out)) return kStatusCorrupt;
      while (count) {
        if (in.position >= in.valid && !refill_scratch(in)) return kStatusOk;
        std::uint32_t piece = std::min(count, in.valid - in.position);
        std::memcpy(out, in.data + in.position, piece);
        in.position += piece;
        out += piece;
        count -= piece;
      }
    } else if (n != -128) {
      std::uint32_t count = std::uint32_t(1 - n);
      if (count > std::uint32_t(end - out)) return kStatusCorrupt;
      std::uint8_t value;
      if (!next_byte(in, value)) return kStatusOk;
      std::memset(out, value, count);
      out += count;
    }
  }
  return kStatusOk;
}

}  // namespace

const DecoderHooks kPackBitsDecoder{pb_setup, pb_strip_start, pb_decode, pb_cleanup};

}  // namespace grainwick
