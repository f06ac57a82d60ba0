#include "scratch.h"

namespace grainwick {

namespace {
constexpr std::uint8_t reverse(std::uint8_t b) {
  std::uint8_t r = 0;
  for (int i = 0; i < 8; ++i)
    if (b & (1u << i)) r |= std::uint8_t(0x80u >> i);
  return r;
}
struct Table {
  std::uint8_t v[256];
  constexpr Table() : v() {
    for (int i = 0; i < 256; ++i) v[i] = reverse(std::uint8_t(i));
  }
};
constexpr Table kTable;
}  // namespace

const std::uint8_t kReversedBits[256] = {
#define R(i) kTable.v[i]
#define R4(i) R(i), R(i + 1), R(i + 2), R(i + 3)
#define R16(i) R4(i), R4(i + 4), R4(i + 8), R4(i + 12)
#define R64(i) R16(i), R16(i + 16), R16(i + 32), R16(i + 48)
    R64(0), R64(64), R64(128), R64(192)
#undef R64
#undef R16
#undef R4
#undef R
};

bool refill_scratch(ScratchInput &in) {
  in.position = 0;
  in.valid = 0;
  if (in.exhausted) return false;
  if (in.view && !in.reverse_bits) {
    std::uint8_t *at = nullptr;
    const std::uint32_t n = in.view(at);
    if (n == 0 || !at) {
      in.exhausted = true;
      return false;
    }
    in.data = at;
    in.valid = n;
    return true;
  }
  if (!in.read || !in.data || in.capacity == 0) return false;
  std::uint32_t n = in.read(in.data, in.capacity);
  if (n > in.capacity) n = in.capacity;
  if (n == 0) {
    in.exhausted = true;
    return false;
  }
  if (in.reverse_bits)
    for (std::uint32_t i = 0; i < n; ++i) in.data[i] = kReversedBits[in.data[i]];
  in.valid = n;
  return true;
}

}  // namespace grainwick
