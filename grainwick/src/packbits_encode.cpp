// PackBits encoder, one row at a time (TIFF PackBits runs never cross rows).
#include "writer.h"

namespace grainwick {

void packbits_encode_row(const std::uint8_t *row, std::size_t count, std::vector<std::uint8_t> &out) {
  // Worst case: a lone literal byte then a pair, repeated (4 bytes for 3).
  const std::size_t start = out.size();
  out.resize(start + count + count / 2 + 2);
  std::uint8_t *o = out.data() + start;
  std::size_t i = 0;
  while (i < count) {
    if (i + 1 < count && row[i] == row[i + 1]) {
      std::size_t j = i + 2;
      while (j < count && j - i < 128 && row[j] == row[i]) ++j;
      *o++ = std::uint8_t(257 - (j - i));  // 1 - length
      *o++ = row[i];
      i = j;
    } else {
      std::size_t begin = i++;
      while (i < count && i - begin < 128 && !(i + 1 < count && row[i] == row[i + 1])) ++i;
      *o++ = std::uint8_t(i - begin - 1);
      for (std::size_t k = begin; k < i; ++k) *o++ = row[k];
    }
  }
  out.resize(std::size_t(o - out.data()));
}

}  // namespace grainwick
