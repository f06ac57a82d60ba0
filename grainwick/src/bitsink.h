// Output of the compressed-row encoders: codes packed most significant bit first.
//
// The writer empties `bytes` into its output buffer between rows; a partly filled last byte
// stays pending in the accumulator, so the next codes continue in it (codes of one strip are
// one continuous bit stream).
#pragma once

#include <cstdint>
#include <vector>

namespace grainwick {

struct BitSink {
  std::vector<std::uint8_t> bytes;  // complete bytes not yet handed to the writer
  std::uint32_t pending = 0;        // bits not yet forming a byte, right-aligned
  int pending_bits = 0;             // 0..7

  // Appends the low `length` bits of `code` (length 0..24), first bit at the high end.
  void put(std::uint32_t code, int length) {
    while (length > 0) {
      int take = length > 8 ? 8 : length;
      length -= take;
      pending = (pending << take) | ((code >> length) & ((1u << take) - 1));
      pending_bits += take;
      if (pending_bits >= 8) {
        pending_bits -= 8;
        bytes.push_back(static_cast<std::uint8_t>(pending >> pending_bits));
        pending &= (1u << pending_bits) - 1;
      }
    }
  }
  // Pads the current byte with zero bits.
  void align() {
    if (pending_bits) put(0, 8 - pending_bits);
  }
  bool aligned() const { return pending_bits == 0; }
};

}  // namespace grainwick
