// Colour reduction to at most 256 colours: median cut over a 15-bit histogram, an inverse table
// from 15-bit colours to palette indexes, and optional Floyd-Steinberg mapping. Also the two
// fixed palettes and the 2/16/256-colour dispatcher.

#include <algorithm>
#include <climits>
#include <vector>

#include "convert_internal.h"
#include "grainwick.h"

namespace grainwick::convert {
namespace {

constexpr int kCells = 1 << 15;

inline int key15(int r, int g, int b) {
  return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
}
// 5-bit channel of a 15-bit key: 0 red, 1 green, 2 blue.
inline int channel(int key, int axis) {
  return (key >> (10 - 5 * axis)) & 31;
}

std::vector<RGBQUAD> vga16_colours() {
  static const BYTE rgb[16][3] = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
  };
  std::vector<RGBQUAD> out;
  for (auto &c : rgb) out.push_back(RGBQUAD{c[2], c[1], c[0], 0});
  return out;
}

// A 6 x 6 x 6 cube and 40 greys between its grey steps.
std::vector<RGBQUAD> cube256_colours() {
  std::vector<RGBQUAD> out;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) out.push_back(RGBQUAD{BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0});
  for (int k = 1; k <= 40; ++k) {
    BYTE grey = BYTE((k * 255 + 20) / 41);
    out.push_back(RGBQUAD{grey, grey, grey, 0});
  }
  return out;
}

FixedPalette make_fixed(std::vector<RGBQUAD> colours) {
  FixedPalette p;
  p.colours = std::move(colours);
  p.inverse.resize(kCells);
  for (int key = 0; key < kCells; ++key) {
    int r = channel(key, 0) * 8 + 4, g = channel(key, 1) * 8 + 4, b = channel(key, 2) * 8 + 4;
    int best = INT_MAX, index = 0;
    for (std::size_t i = 0; i < p.colours.size(); ++i) {
      const RGBQUAD &c = p.colours[i];
      int dr = r - c.rgbRed, dg = g - c.rgbGreen, db = b - c.rgbBlue;
      int d = dr * dr + dg * dg + db * db;
      if (d < best) best = d, index = int(i);
    }
    p.inverse[key] = std::int16_t(index);
  }
  return p;
}

struct Box {
  int first, last;  // colours [first, last) of the sorted colour list
  int lo[3], hi[3];
  std::uint64_t count;
  int axis;
};

void shrink(Box &box, const std::vector<std::uint16_t> &keys, const std::vector<std::uint32_t> &hist) {
  for (int a = 0; a < 3; ++a) box.lo[a] = 31, box.hi[a] = 0;
  box.count = 0;
  for (int i = box.first; i < box.last; ++i) {
    int key = keys[i];
    for (int a = 0; a < 3; ++a) {
      int c = channel(key, a);
      box.lo[a] = std::min(box.lo[a], c);
      box.hi[a] = std::max(box.hi[a], c);
    }
    box.count += hist[key];
  }
  box.axis = 0;
  for (int a = 1; a < 3; ++a)
    if (box.hi[a] - box.lo[a] > box.hi[box.axis] - box.lo[box.axis]) box.axis = a;
}

// Largest count first; a new box goes after those of equal count.
void insert_box(std::vector<Box> &list, const Box &box) {
  auto at = std::find_if(list.begin(), list.end(), [&](const Box &b) { return b.count < box.count; });
  list.insert(at, box);
}

// Median cut: palette in `palette`, and for every 15-bit colour its palette index (-1: none).
void median_cut(const std::vector<std::uint32_t> &hist, int wanted, std::vector<RGBQUAD> &palette,
                std::vector<std::int16_t> &inverse) {
  std::vector<std::uint16_t> keys;
  for (int key = 0; key < kCells; ++key)
    if (hist[key]) keys.push_back(std::uint16_t(key));
  std::vector<Box> list;
  Box all{0, int(keys.size()), {}, {}, 0, 0};
  shrink(all, keys, hist);
  list.push_back(all);
  std::size_t target = std::min<std::size_t>(std::size_t(wanted), keys.size());

  while (list.size() < target) {
    auto it = std::find_if(list.begin(), list.end(), [](const Box &b) { return b.last - b.first > 1; });
    if (it == list.end()) break;
    Box box = *it;
    list.erase(it);
    int axis = box.axis;
    std::sort(keys.begin() + box.first, keys.begin() + box.last, [axis](std::uint16_t a, std::uint16_t b) {
      int ca = channel(a, axis), cb = channel(b, axis);
      return ca != cb ? ca < cb : a < b;
    });
    std::uint64_t running = 0;
    int cut = box.last;
    for (int i = box.first; i < box.last; ++i) {
      running += hist[keys[i]];
      if (running * 2 > box.count) {
        cut = i + 1;
        break;
      }
    }
    if (cut >= box.last) cut = box.last - 1;
    Box low{box.first, cut, {}, {}, 0, 0}, high{cut, box.last, {}, {}, 0, 0};
    shrink(low, keys, hist);
    shrink(high, keys, hist);
    insert_box(list, low);
    insert_box(list, high);
  }

  palette.clear();
  inverse.assign(kCells, -1);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Box &box = list[i];
    std::uint64_t sum[3] = {0, 0, 0};
    for (int k = box.first; k < box.last; ++k)
      for (int a = 0; a < 3; ++a) sum[a] += std::uint64_t(channel(keys[k], a)) * hist[keys[k]];
    int mean[3];
    for (int a = 0; a < 3; ++a) mean[a] = int((sum[a] + box.count / 2) / box.count) * 8;
    palette.push_back(RGBQUAD{BYTE(mean[2]), BYTE(mean[1]), BYTE(mean[0]), 0});
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
      for (int g = box.lo[1]; g <= box.hi[1]; ++g)
        for (int b = box.lo[2]; b <= box.hi[2]; ++b) inverse[(r << 10) | (g << 5) | b] = std::int16_t(i);
  }
  // Box ranges overlap; a colour of the image must still land in the box that holds it.
  for (std::size_t i = 0; i < list.size(); ++i)
    for (int k = list[i].first; k < list[i].last; ++k) inverse[keys[k]] = std::int16_t(i);
}

// Nearest palette colour by squared distance, searching outward from the nearest red.
class NearestSearch {
 public:
  explicit NearestSearch(const std::vector<RGBQUAD> &palette) {
    for (std::size_t i = 0; i < palette.size(); ++i)
      sorted_.push_back({palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue, int(i)});
    std::sort(sorted_.begin(), sorted_.end(), [](const Entry &a, const Entry &b) { return a.r < b.r; });
  }
  int find(int r, int g, int b) const {
    auto start =
        std::lower_bound(sorted_.begin(), sorted_.end(), r, [](const Entry &e, int v) { return e.r < v; });
    int best = INT_MAX, index = 0;
    auto consider = [&](const Entry &e) {
      int dr = e.r - r, dg = e.g - g, db = e.b - b;
      int d = dr * dr + dg * dg + db * db;
      if (d < best) best = d, index = e.index;
    };
    for (auto up = start; up != sorted_.end() && (up->r - r) * (up->r - r) < best; ++up) consider(*up);
    for (auto down = start; down != sorted_.begin();) {
      --down;
      if ((down->r - r) * (down->r - r) >= best) break;
      consider(*down);
    }
    return index;
  }

 private:
  struct Entry {
    int r, g, b, index;
  };
  std::vector<Entry> sorted_;
};

}  // namespace

const FixedPalette &fixed_palette16() {
  static const FixedPalette p = make_fixed(vga16_colours());
  return p;
}

const FixedPalette &fixed_palette256() {
  static const FixedPalette p = make_fixed(cube256_colours());
  return p;
}

}  // namespace grainwick::convert

using namespace grainwick::convert;

extern "C" {

HGLOBAL ReduceColorToColor(HGLOBAL dib, int16_t colours, int16_t flags) {
  if (flags & 8) return ColorToGrayscale(dib);
  if (colours <= 0 || colours > 256) return nullptr;
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  const DibView &v = in.view();
  if (v.bits <= 7 && v.colours < unsigned(colours)) return nullptr;

  std::vector<RGBQUAD> palette;
  std::vector<std::int16_t> inverse;
  std::vector<std::uint8_t> row_buffer(v.bits == 24 ? 0 : std::size_t(v.width) * 3);
  auto bgr_row = [&](int y) -> const std::uint8_t * {
    if (v.bits == 24) return v.row(y);
    expand_row_bgr(v, y, row_buffer.data());
    return row_buffer.data();
  };

  if (flags & 16) {
    if (colours != 16 && colours != 256) return nullptr;
    const FixedPalette &fixed = colours == 16 ? fixed_palette16() : fixed_palette256();
    palette = fixed.colours;
    inverse = fixed.inverse;
  } else {
    std::vector<std::uint32_t> hist(kCells, 0);
    for (int y = 0; y < v.height; ++y) {
      const std::uint8_t *p = bgr_row(y);
      for (int x = 0; x < v.width; ++x, p += 3) ++hist[key15(p[2], p[1], p[0])];
    }
    median_cut(hist, colours, palette, inverse);
  }

  const int out_bits = colours <= 16 ? 4 : 8;
  NewDib out(v.width, v.height, out_bits, 1u << out_bits, &v.header);
  if (!out.ok()) return nullptr;
  std::copy(palette.begin(), palette.end(), out.table());
  out.header().biClrImportant = DWORD(palette.size());

  if (!(flags & 6)) {
    for (int y = 0; y < v.height; ++y) {
      const std::uint8_t *p = bgr_row(y);
      std::uint8_t *dst = out.row(y);
      for (int x = 0; x < v.width; ++x, p += 3)
        set_index(dst, x, out_bits, unsigned(inverse[key15(p[2], p[1], p[0])]));
    }
    return out.release();
  }

  // Floyd-Steinberg per channel, top image row first; errors in sixteenths, one cell of margin.
  NearestSearch nearest(palette);
  const std::size_t span = (std::size_t(v.width) + 2) * 3;
  std::vector<int> err_cur(span, 0), err_next(span, 0);
  for (int top = 0; top < v.height; ++top) {
    const int y = v.height - 1 - top;
    const std::uint8_t *p = bgr_row(y);
    std::uint8_t *dst = out.row(y);
    int *e = err_cur.data() + 3;
    int *below = err_next.data() + 3;
    for (int x = 0; x < v.width; ++x, p += 3, e += 3, below += 3) {
      int val[3];
      for (int c = 0; c < 3; ++c) val[c] = clamp255(p[c] + e[c] / 16);
      int key = key15(val[2], val[1], val[0]);
      int index = inverse[key];
      if (index < 0) {
        index = nearest.find(channel(key, 0) * 8 + 4, channel(key, 1) * 8 + 4, channel(key, 2) * 8 + 4);
        inverse[key] = std::int16_t(index);
      }
      set_index(dst, x, out_bits, unsigned(index));
      const RGBQUAD &q = palette[index];
      const int chosen[3] = {q.rgbBlue, q.rgbGreen, q.rgbRed};
      for (int c = 0; c < 3; ++c) {
        int d = val[c] - chosen[c];
        e[3 + c] += d * 7;
        below[c - 3] += d * 3;
        below[c] += d * 5;
        below[3 + c] += d;
      }
    }
    err_cur.swap(err_next);
    std::fill(err_next.begin(), err_next.end(), 0);
  }
  return out.release();
}

HGLOBAL ImgReduceColors(HGLOBAL dib, int16_t colours, int16_t flags) {
  if (colours == 2) return DitherToBW(dib, flags);
  if (colours > 256) return nullptr;
  return ReduceColorToColor(dib, colours, flags);
}

}  // extern "C"
