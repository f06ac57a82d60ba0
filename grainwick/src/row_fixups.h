// Fix-ups the reader applies to a decoded row before it stays in the DIB: undoing horizontal
// differencing, complementing WhiteIsZero data and turning RGB into the DIB's BGR order. They
// run in one pass over the row where they combine, since every byte of the image goes through
// here.
#pragma once

#include <cstdint>

namespace grainwick {

struct RowFixups {
  bool predict = false;    // predictor 2: add the byte `back` places before, left to right
  std::uint32_t back = 1;  // 3 for 24-bit rows, else 1
  bool invert = false;     // complement every byte (after predicting)
  bool swap_rgb = false;   // exchange the first and third byte of each 3-byte pixel (last)
  bool stream = false;     // a copy may write past the cache: the image would not stay in it
  bool any() const { return predict || invert || swap_rgb; }
};

// Writes the `n` bytes at `src` to `dst` with `f` applied, in the order predict, invert, swap;
// `dst` may be `src`.
void fix_copy(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n, const RowFixups &f);
// Orders the streaming stores of `stream` copies before whatever follows: call once the image is
// done.
void end_streaming();
inline void fix_row(std::uint8_t *row, std::uint32_t n, const RowFixups &f) {
  fix_copy(row, row, n, f);
}

}  // namespace grainwick
