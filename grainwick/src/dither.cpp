// Reduction to black and white: ordered (Bayer), Burkes, Floyd-Steinberg or a plain threshold,
// on the tone-curved luminance, from the top image row down.

#include <algorithm>
#include <vector>

#include "convert_internal.h"
#include "grainwick.h"

namespace grainwick::convert {
namespace {

// Indexed [x mod 8][y mod 8], y counted from the top image row.
constexpr std::uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};

// The tone curve stops at 1 and 254. Errors are measured against those ends rather than 0 and
// 255, and the top of the curve is white in every Bayer cell, so that flat black and flat white
// come out without stray dots.
constexpr int kBlackLevel = 1;
constexpr int kWhiteLevel = 254;

// Margin of two cells on each side of the error rows: diffusion past the row ends lands there
// and is dropped.
constexpr int kMargin = 2;

}  // namespace
}  // namespace grainwick::convert

using namespace grainwick::convert;

extern "C" HGLOBAL DitherToBW(HGLOBAL dib, int16_t flags) {
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  const DibView &v = in.view();
  if (v.bits == 1) return nullptr;
  NewDib out(v.width, v.height, 1, 2, &v.header);
  if (!out.ok()) return nullptr;
  out.table()[1] = RGBQUAD{255, 255, 255, 0};
  out.header().biClrImportant = 2;

  // Tone-curved luminance per table entry; 24-bit rows are computed per pixel.
  std::uint8_t level_of_index[256];
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD &c = v.table[i];
    level_of_index[i] = kToneCurve[luminance(c.rgbRed, c.rgbGreen, c.rgbBlue)];
  }

  const int method = (flags & 1) ? 1 : (flags & 2) ? 2 : (flags & 4) ? 4 : 0;
  const std::size_t span = std::size_t(v.width) + 2 * kMargin;
  std::vector<int> err_cur(method >= 2 ? span : 0), err_next(method >= 2 ? span : 0);
  std::vector<std::uint8_t> level(std::size_t(v.width));

  for (int top = 0; top < v.height; ++top) {
    const int y = v.height - 1 - top;
    const std::uint8_t *src = v.row(y);
    if (v.bits == 24) {
      for (int x = 0; x < v.width; ++x, src += 3) level[x] = kToneCurve[luminance(src[2], src[1], src[0])];
    } else {
      for (int x = 0; x < v.width; ++x) level[x] = level_of_index[pixel_index(src, x, v.bits)];
    }
    std::uint8_t *dst = out.row(y);
    auto set_white = [dst](int x) { dst[x >> 3] |= std::uint8_t(0x80u >> (x & 7)); };

    switch (method) {
      case 1: {
        for (int x = 0; x < v.width; ++x)
          if (level[x] >= kWhiteLevel || kBayer[x & 7][top & 7] < level[x] / 4) set_white(x);
        break;
      }
      case 2:
      case 4: {
        int *e = err_cur.data() + kMargin;
        int *below = err_next.data() + kMargin;
        const int divisor = method == 2 ? 32 : 16;
        for (int x = 0; x < v.width; ++x) {
          int val = clamp255(level[x] + e[x] / divisor);
          int d;
          if (val >= 128) {
            set_white(x);
            d = val - kWhiteLevel;
          } else {
            d = val - kBlackLevel;
          }
          if (method == 2) {
            e[x + 1] += d * 8;
            e[x + 2] += d * 4;
            below[x - 2] += d * 2;
            below[x - 1] += d * 4;
            below[x] += d * 8;
            below[x + 1] += d * 4;
            below[x + 2] += d * 2;
          } else {
            e[x + 1] += d * 7;
            below[x - 1] += d * 3;
            below[x] += d * 5;
            below[x + 1] += d;
          }
        }
        err_cur.swap(err_next);
        std::fill(err_next.begin(), err_next.end(), 0);
        break;
      }
      default:
        for (int x = 0; x < v.width; ++x)
          if (level[x] >= 128) set_white(x);
    }
  }
  return out.release();
}
