// PackBits encoder, one row at a time (TIFF PackBits runs never cross rows).
#include <cstring>

#include "writer.h"

namespace grainwick {

namespace {

// The first repeat is found from the low end of a little-endian word.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__);

inline std::uint64_t load64(const std::uint8_t *p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

}  // namespace

void packbits_encode_row(const std::uint8_t *row, std::size_t count, std::vector<std::uint8_t> &out) {
  // Worst case: a lone literal byte then a pair, repeated (4 bytes for 3).
  const std::size_t start = out.size();
  out.resize(start + count + count / 2 + 2);
  std::uint8_t *o = out.data() + start;
  std::size_t i = 0;
  while (i < count) {
    if (i + 1 < count && row[i] == row[i + 1]) {
      // Blank stretches are the common case: compare eight bytes at a time.
      const std::size_t limit = count - i < 128 ? count : i + 128;
      const std::uint64_t pattern = 0x0101010101010101ull * row[i];
      std::size_t j = i + 2;
      while (j + 8 <= limit && load64(row + j) == pattern) j += 8;
      while (j < limit && row[j] == row[i]) ++j;
      *o++ = std::uint8_t(257 - (j - i));  // 1 - length
      *o++ = row[i];
      i = j;
    } else {
      std::size_t begin = i++;
      // Eight bytes at a time: a zero byte in (bytes ^ next bytes) is where a repeat starts.
      while (i + 9 <= count && i + 8 - begin <= 128) {
        const std::uint64_t x = load64(row + i) ^ load64(row + i + 1);
        const std::uint64_t zero = (x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull;
        if (zero) {
          i += std::size_t(__builtin_ctzll(zero) / 8);
          break;
        }
        i += 8;
      }
      while (i < count && i - begin < 128 && !(i + 1 < count && row[i] == row[i + 1])) ++i;
      *o++ = std::uint8_t(i - begin - 1);
      std::memcpy(o, row + begin, i - begin);
      o += i - begin;
    }
  }
  out.resize(std::size_t(o - out.data()));
}

}  // namespace grainwick
