// Arbitrary bytes through the CCITT decoders. The first byte picks the coding, the width, the
// fill order and a strip restart; the second the scratch size, so buffer refills land at odd
// places; the rest is the strip.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ccitt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 2) return 0;
  static const std::uint32_t kWidths[] = {1, 7, 8, 33, 255, 1001, 1728, 2480};
  const std::uint8_t control = data[0];
  const int compression = 2 + (control & 3) % 3;
  const std::uint32_t width = kWidths[(control >> 2) & 7];
  const std::uint32_t capacity = 1 + data[1] * 17u;
  const std::uint8_t *strip = data + 2;
  const std::size_t strip_size = size - 2;

  auto dec = grainwick::ccitt_create(compression, width);
  if (!dec) __builtin_trap();
  std::vector<std::uint8_t> scratch(capacity);
  grainwick::ScratchInput in;
  in.data = scratch.data();
  in.capacity = capacity;
  in.reverse_bits = control & 0x20;
  std::size_t served = 0;
  in.read = [&](std::uint8_t *dst, std::uint32_t n) {
    const std::size_t k = n < strip_size - served ? n : strip_size - served;
    std::memcpy(dst, strip + served, k);
    served += k;
    return std::uint32_t(k);
  };
  // Exactly the row's bytes, so ASan sees any write past it.
  const std::size_t stride = (width + 7) / 8;
  for (int y = 0; y < 64; ++y) {
    if (y == 32 && (control & 0x40)) {  // a second strip over the same bytes
      served = 0;
      in.reset();
      grainwick::ccitt_reset(*dec);
    }
    std::vector<std::uint8_t> row(stride);
    const auto status = grainwick::ccitt_decode_row(*dec, in, row.data());
    if (status != grainwick::Status::kOk && status != grainwick::Status::kCorrupt) __builtin_trap();
  }
  return 0;
}
