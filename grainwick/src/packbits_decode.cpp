// PackBits (compression 32773): control byte n, 0..127 copies n + 1 literal bytes, -1..-127
// repeats the next byte 1 - n times, -128 does nothing. Rows are packed separately, so a run
// that would pass the end of the row is corrupt data. The input buffer is refilled whenever it
// runs dry, so a row needs no more than the buffer holds at a time.
#include <algorithm>
#include <cstring>

#include "decoders.h"

namespace grainwick {

namespace {

Status pb_setup(DecoderContext &) {
  return Status::kOk;
}
void pb_strip_start(DecoderContext &) {}
void pb_cleanup(DecoderContext &) {}

// Runs are at most 128 bytes: 16-byte stores, the last one overlapping, beat memset's and
// memcpy's set-up at these lengths. Nothing is written past the run: the row ends in the DIB.
using Block = std::uint8_t __attribute__((vector_size(16)));
inline Block load(const std::uint8_t *p) {
  Block b;
  std::memcpy(&b, p, 16);
  return b;
}
inline void store(std::uint8_t *p, Block b) {
  std::memcpy(p, &b, 16);
}

// A literal run, xor `flip` (all ones when the image is WhiteIsZero).
inline void put_literal(std::uint8_t *out, const std::uint8_t *src, std::uint32_t n, Block flip) {
  if (n >= 16) {
    for (std::uint32_t i = 0; i + 16 < n; i += 16) store(out + i, load(src + i) ^ flip);
    store(out + n - 16, load(src + n - 16) ^ flip);
  } else if (n >= 8) {
    const std::uint64_t f = flip[0] * 0x0101010101010101ull;
    std::uint64_t a, b;
    std::memcpy(&a, src, 8);
    std::memcpy(&b, src + n - 8, 8);
    a ^= f, b ^= f;
    std::memcpy(out, &a, 8);
    std::memcpy(out + n - 8, &b, 8);
  } else {
    for (std::uint32_t i = 0; i < n; ++i) out[i] = std::uint8_t(src[i] ^ flip[0]);
  }
}

// A repeat run of `n` >= 2 bytes.
inline void put_repeat(std::uint8_t *out, std::uint8_t value, std::uint32_t n) {
  if (n >= 16) {
    const Block v = value - Block{};
    for (std::uint32_t i = 0; i + 16 < n; i += 16) store(out + i, v);
    store(out + n - 16, v);
  } else if (n >= 4) {
    const std::uint64_t w = value * 0x0101010101010101ull;
    if (n >= 8) {
      std::memcpy(out, &w, 8);
      std::memcpy(out + n - 8, &w, 8);
    } else {
      std::memcpy(out, &w, 4);
      std::memcpy(out + n - 4, &w, 4);
    }
  } else {
    out[0] = out[1] = out[n - 1] = value;
  }
}

Status pb_decode(DecoderContext &c, std::uint8_t *row) {
  ScratchInput &in = c.in;
  const std::uint8_t flip_byte = c.invert ? 0xFF : 0;
  const Block flip = flip_byte - Block{};
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
  // While a whole run is surely in the buffer, no refill checks. A run of up to 16 bytes with
  // 16 bytes of the row left is one block store, a plain literal of 97 to 128 bytes with 128
  // left one 128-byte copy: the bytes past it are rewritten by the next runs.
fast:
  while (out < end && limit - ip > 129) {
    const int n = std::int8_t(*ip++);
    if (n >= 0) {
      const std::uint32_t count = std::uint32_t(n) + 1;
      if (count <= 16 && end - out >= 16) {
        store(out, load(ip) ^ flip);
      } else if (flip_byte == 0 && count > 96 && end - out >= 128) {
        std::memcpy(out, ip, 128);
      } else if (count <= std::uint32_t(end - out)) {
        put_literal(out, ip, count, flip);
      } else {
        in.position = std::uint32_t(ip - in.data);
        return Status::kCorrupt;
      }
      ip += count;
      out += count;
    } else if (n != -128) {
      const std::uint32_t count = std::uint32_t(1 - n);
      const std::uint8_t value = std::uint8_t(*ip++ ^ flip_byte);
      if (count <= 16 && end - out >= 16) {
        store(out, value - Block{});
      } else if (count <= std::uint32_t(end - out)) {
        put_repeat(out, value, count);
      } else {
        in.position = std::uint32_t(ip - in.data);
        return Status::kCorrupt;
      }
      out += count;
    }
  }
  while (out < end) {
    if (ip == limit && !refill()) goto ended;
    // A strip's first row starts on an empty buffer, and a refill can make room for runs again.
    if (limit - ip > 129) goto fast;
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
        put_repeat(out, std::uint8_t(*ip++ ^ flip_byte), count);
        out += count;
      }
    }
    continue;
  ended:
    // The data ended inside the strip: the row keeps what was decoded and the rest is blank
    // (zero bytes, complemented like any other for WhiteIsZero).
    std::memset(out, flip_byte, std::size_t(end - out));
    break;
  }
  in.position = std::min(std::uint32_t(ip - in.data), in.valid);
  return status;
}

}  // namespace

const DecoderHooks kPackBitsDecoder{pb_setup, pb_strip_start, pb_decode, pb_cleanup};

}  // namespace grainwick
