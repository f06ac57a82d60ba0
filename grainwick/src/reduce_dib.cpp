// Two-pass colour quantizer for 24-bit DIBs (ReduceDib, ReduceDib2) and the depth router
// around it (ConvertDib, ConvertDib2).
//
// Pass one counts pixels in a 32 x 64 x 32 histogram (green keeps one more bit: the eye tells
// green steps apart best) and cuts it into boxes; pass two maps every pixel through an inverse
// colour map that is filled on demand, one 4 x 8 x 4 block of cells at a time, so that colours
// the image never uses cost nothing. The histogram array itself becomes that map.

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "convert_internal.h"
#include "grainwick.h"

namespace grainwick::convert {
namespace {

constexpr int kCells = 32 * 64 * 32;
inline int cell(int r5, int g6, int b5) {
  return (r5 << 11) | (g6 << 5) | b5;
}
// Axis order in boxes: 0 red (5 bits), 1 green (6 bits), 2 blue (5 bits).
constexpr int kAxisWeight[3] = {16, 12, 8};
constexpr int kAxisShift[3] = {3, 2, 3};

struct Failure {
  int code;
};

class Progress {
 public:
  Progress(GrainwickProgress proc, int height)
      : proc_(proc), step_(int(std::max<std::int64_t>(1, std::int64_t(height) * 3 / 25))) {}
  void phase(int from, int to) { from_ = from, to_ = to; }
  // Called after `done` of `total` rows; throws on a stop request.
  void rows(int done, int total) {
    if (!proc_ || (done % step_ && done != total)) return;
    int percent = from_ + int(std::int64_t(to_ - from_) * done / total);
    if (proc_(std::int16_t(percent)) == 0) throw Failure{GW_REDUCE_FAILED};
  }

 private:
  GrainwickProgress proc_;
  int step_;
  int from_ = 0, to_ = 100;
};

struct QBox {
  int lo[3], hi[3];
  std::int64_t volume;
  int occupied;
};

class Quantizer {
 public:
  Quantizer(const DibView &v, Progress &progress) : v_(v), progress_(progress) {
    try {
      cells_.assign(kCells, 0);
    } catch (const std::bad_alloc &) {
      throw Failure{GW_REDUCE_NO_HISTOGRAM};
    }
  }

  void count() {
    for (int top = 0; top < v_.height; ++top) {
      const std::uint8_t *p = v_.row(v_.height - 1 - top);
      for (int x = 0; x < v_.width; ++x, p += 3) {
        std::uint16_t &c = cells_[cell(p[2] >> 3, p[1] >> 2, p[0] >> 3)];
        if (c != 0xFFFF) ++c;
      }
      progress_.rows(top + 1, v_.height);
    }
  }

  std::vector<RGBQUAD> palette_from_histogram(int wanted) {
    std::vector<QBox> boxes;
    boxes.reserve(std::size_t(wanted));
    QBox all{{0, 0, 0}, {31, 63, 31}, 0, 0};
    update(all);
    boxes.push_back(all);
    while (int(boxes.size()) < wanted) {
      // Early cuts follow the populated regions, later ones the big boxes.
      QBox *pick = nullptr;
      if (int(boxes.size()) * 2 <= wanted) {
        for (auto &b : boxes)
          if (b.volume > 0 && (!pick || b.occupied > pick->occupied)) pick = &b;
      } else {
        for (auto &b : boxes)
          if (b.volume > 0 && (!pick || b.volume > pick->volume)) pick = &b;
      }
      if (!pick) break;
      int range[3];
      for (int a = 0; a < 3; ++a) range[a] = (pick->hi[a] - pick->lo[a]) * kAxisWeight[a];
      int axis = 1;
      if (range[0] > range[axis]) axis = 0;
      if (range[2] > range[axis]) axis = 2;
      QBox second = *pick;
      int middle = (pick->lo[axis] + pick->hi[axis]) / 2;
      pick->hi[axis] = middle;
      second.lo[axis] = middle + 1;
      update(*pick);
      update(second);
      boxes.push_back(second);
    }
    std::vector<RGBQUAD> palette;
    for (const QBox &b : boxes) palette.push_back(mean_colour(b));
    return palette;
  }

  // Output rows of `bits` depth into `out` (the pixel area of the new DIB).
  void map(const std::vector<RGBQUAD> &palette, bool dither, int bits, std::uint8_t *out,
           std::size_t stride) {
    palette_ = &palette;
    std::fill(cells_.begin(), cells_.end(), 0);
    if (!dither) {
      for (int top = 0; top < v_.height; ++top) {
        int y = v_.height - 1 - top;
        const std::uint8_t *p = v_.row(y);
        std::uint8_t *dst = out + std::size_t(y) * stride;
        for (int x = 0; x < v_.width; ++x, p += 3) set_index(dst, x, bits, lookup(p[2], p[1], p[0]));
        progress_.rows(top + 1, v_.height);
      }
      return;
    }
    // Serpentine Floyd-Steinberg; errors in sixteenths, one cell of margin at each end.
    const std::size_t span = (std::size_t(v_.width) + 2) * 3;
    std::vector<int> err_cur(span, 0), err_next(span, 0);
    for (int top = 0; top < v_.height; ++top) {
      int y = v_.height - 1 - top;
      const std::uint8_t *src = v_.row(y);
      std::uint8_t *dst = out + std::size_t(y) * stride;
      const int dir = (top & 1) ? -1 : 1;
      int x = dir > 0 ? 0 : v_.width - 1;
      int carry[3] = {0, 0, 0};  // 7/16 of the previous pixel's error, in sixteenths
      for (int n = 0; n < v_.width; ++n, x += dir) {
        const std::uint8_t *p = src + std::size_t(x) * 3;
        int *here = err_cur.data() + std::size_t(x + 1) * 3;
        int *below = err_next.data() + std::size_t(x + 1) * 3;
        int val[3];
        for (int c = 0; c < 3; ++c) val[c] = clamp255(p[c] + limit_error((here[c] + carry[c] + 8) >> 4));
        unsigned index = lookup(val[2], val[1], val[0]);
        set_index(dst, x, bits, index);
        const RGBQUAD &q = palette[index];
        const int chosen[3] = {q.rgbBlue, q.rgbGreen, q.rgbRed};
        for (int c = 0; c < 3; ++c) {
          int d = val[c] - chosen[c];
          carry[c] = d * 7;
          below[c - 3 * dir] += d * 3;
          below[c] += d * 5;
          below[c + 3 * dir] += d;
        }
      }
      err_cur.swap(err_next);
      std::fill(err_next.begin(), err_next.end(), 0);
      progress_.rows(top + 1, v_.height);
    }
  }

 private:
  // Errors below 16 pass; from 16 to 47 they grow by one for every two; then they stay at 32.
  static int limit_error(int e) {
    int a = e < 0 ? -e : e;
    int limited = a < 16 ? a : a < 48 ? 16 + (a - 16) / 2 : 32;
    return e < 0 ? -limited : limited;
  }

  std::uint16_t &at(int r, int g, int b) { return cells_[cell(r, g, b)]; }

  void update(QBox &box) {
    int lo[3] = {INT_MAX, INT_MAX, INT_MAX}, hi[3] = {-1, -1, -1};
    int occupied = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
      for (int g = box.lo[1]; g <= box.hi[1]; ++g)
        for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
          if (!at(r, g, b)) continue;
          ++occupied;
          const int c[3] = {r, g, b};
          for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], c[a]), hi[a] = std::max(hi[a], c[a]);
        }
    box.occupied = occupied;
    if (!occupied) {
      box.volume = 0;
      return;
    }
    std::int64_t volume = 0;
    for (int a = 0; a < 3; ++a) {
      box.lo[a] = lo[a];
      box.hi[a] = hi[a];
      std::int64_t d = std::int64_t(hi[a] - lo[a]) * kAxisWeight[a];
      volume += d * d;
    }
    box.volume = volume;
  }

  RGBQUAD mean_colour(const QBox &box) {
    std::int64_t total = 0, sum[3] = {0, 0, 0};
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
      for (int g = box.lo[1]; g <= box.hi[1]; ++g)
        for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
          std::int64_t n = at(r, g, b);
          if (!n) continue;
          total += n;
          const int c[3] = {r, g, b};
          for (int a = 0; a < 3; ++a) sum[a] += n * ((c[a] << kAxisShift[a]) + ((1 << kAxisShift[a]) >> 1));
        }
    if (!total) return RGBQUAD{0, 0, 0, 0};
    BYTE m[3];
    for (int a = 0; a < 3; ++a) m[a] = BYTE((sum[a] + total / 2) / total);
    return RGBQUAD{m[2], m[1], m[0], 0};
  }

  unsigned lookup(int r, int g, int b) {
    std::uint16_t &c = cells_[cell(r >> 3, g >> 2, b >> 3)];
    if (!c) fill_block(r >> 3, g >> 2, b >> 3);
    return c - 1u;
  }

  // Fills the 4 x 8 x 4 block of cells around (r5, g6, b5). Only palette colours that could be
  // nearest to some point of the block are tried per cell.
  void fill_block(int r5, int g6, int b5) {
    const std::vector<RGBQUAD> &pal = *palette_;
    const int base[3] = {(r5 & ~3) << 3, (g6 & ~7) << 2, (b5 & ~3) << 3};
    const int extent[3] = {4 * 8 - 1, 8 * 4 - 1, 4 * 8 - 1};  // block span in sample values
    std::vector<int> &cand = candidates_;
    cand.clear();
    std::vector<std::int64_t> min_dist(pal.size());
    std::int64_t best_max = INT64_MAX;
    for (std::size_t i = 0; i < pal.size(); ++i) {
      const int c[3] = {pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue};
      std::int64_t lo = 0, hi = 0;
      for (int a = 0; a < 3; ++a) {
        int from = base[a], to = base[a] + extent[a];
        int near = c[a] < from ? from - c[a] : c[a] > to ? c[a] - to : 0;
        int far = std::max(std::abs(c[a] - from), std::abs(c[a] - to));
        lo += std::int64_t(near) * near;
        hi += std::int64_t(far) * far;
      }
      min_dist[i] = lo;
      best_max = std::min(best_max, hi);
    }
    for (std::size_t i = 0; i < pal.size(); ++i)
      if (min_dist[i] <= best_max) cand.push_back(int(i));

    for (int dr = 0; dr < 4; ++dr)
      for (int dg = 0; dg < 8; ++dg)
        for (int db = 0; db < 4; ++db) {
          int cr = (((r5 & ~3) + dr) << 3) + 4, cg = (((g6 & ~7) + dg) << 2) + 2,
              cb = (((b5 & ~3) + db) << 3) + 4;
          int best = INT_MAX, index = 0;
          for (int i : cand) {
            int er = cr - pal[i].rgbRed, eg = cg - pal[i].rgbGreen, eb = cb - pal[i].rgbBlue;
            int d = er * er + eg * eg + eb * eb;
            if (d < best) best = d, index = i;
          }
          at((r5 & ~3) + dr, (g6 & ~7) + dg, (b5 & ~3) + db) = std::uint16_t(index + 1);
        }
  }

  const DibView &v_;
  Progress &progress_;
  std::vector<std::uint16_t> cells_;
  const std::vector<RGBQUAD> *palette_ = nullptr;
  std::vector<int> candidates_;
};

// The reduced DIB, packed, from a 24-bit view. Throws Failure.
std::vector<std::uint8_t> reduce(const DibView &v, int bits, bool dither, int palette_size,
                                 const RGBQUAD *given, GrainwickProgress proc) {
  if (bits != 0 && bits != 4 && bits != 8) throw Failure{GW_REDUCE_FAILED};
  const int out_bits = bits == 8 ? 8 : 4;
  const int most = bits == 8 ? 256 : 16;
  Progress progress(proc, v.height);
  Quantizer q(v, progress);
  std::vector<RGBQUAD> palette;
  if (bits == 0) {
    palette = fixed_palette16().colours;
    dither = true;
  } else if (palette_size > 0) {
    if (!given) throw Failure{GW_REDUCE_FAILED};
    palette.assign(given, given + std::min(palette_size, most));
  } else {
    progress.phase(0, 33);
    q.count();
    palette = q.palette_from_histogram(most);
    progress.phase(33, 100);
  }

  std::size_t bytes = dib_bytes(v.width, v.height, out_bits, unsigned(palette.size()));
  if (!bytes) throw Failure{GW_REDUCE_NO_MEMORY};
  std::vector<std::uint8_t> out;
  try {
    out.assign(bytes, 0);
  } catch (const std::bad_alloc &) {
    throw Failure{GW_REDUCE_NO_MEMORY};
  }
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = v.width;
  h.biHeight = v.height;
  h.biPlanes = 1;
  h.biBitCount = WORD(out_bits);
  h.biCompression = BI_RGB;
  std::size_t stride = dib_stride(v.width, out_bits);
  std::size_t image = stride * std::size_t(v.height);
  h.biSizeImage = image <= 0xFFFFFFFFu ? DWORD(image) : 0;
  h.biXPelsPerMeter = v.header.biXPelsPerMeter;
  h.biYPelsPerMeter = v.header.biYPelsPerMeter;
  h.biClrUsed = DWORD(palette.size());
  h.biClrImportant = DWORD(palette.size());
  std::memcpy(out.data(), &h, sizeof h);
  std::memcpy(out.data() + sizeof h, palette.data(), palette.size() * sizeof(RGBQUAD));
  q.map(palette, dither, out_bits, out.data() + sizeof h + palette.size() * sizeof(RGBQUAD), stride);
  return out;
}

// The block behind a locked pointer gets the new DIB; the handle stays, the address may move.
void replace_block(HGLOBAL block, const std::uint8_t *bytes, std::size_t size) {
  if (!GlobalReAlloc(block, size, GMEM_MOVEABLE)) throw Failure{GW_REDUCE_NO_MEMORY};
  void *p = GlobalLock(block);
  std::memcpy(p, bytes, size);
  GlobalUnlock(block);
}

void replace_block(HGLOBAL block, HGLOBAL dib) {
  LockedDib src(dib);
  if (!src.ok()) throw Failure{GW_REDUCE_FAILED};
  std::vector<std::uint8_t> copy(src.view().base, src.view().base + src.view().total);
  replace_block(block, copy.data(), copy.size());
}

HGLOBAL new_block(const std::vector<std::uint8_t> &bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  if (!h) throw Failure{GW_REDUCE_NO_MEMORY};
  std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

// Owns a temporary handle for the length of a conversion.
struct TempDib {
  HGLOBAL h;
  ~TempDib() { free_dib(h); }
};

// Finds and checks the block behind a locked DIB pointer.
HGLOBAL block_of(void *dib, DibView &view, int need_bits) {
  HGLOBAL block = GlobalHandle(dib);
  if (!block) throw Failure{GW_REDUCE_READ_FAILED};
  BITMAPINFOHEADER h;
  if (!readable_header(dib, GlobalSize(block), h)) throw Failure{GW_REDUCE_READ_FAILED};
  if (need_bits && h.biBitCount != need_bits) throw Failure{GW_REDUCE_NOT_24_BITS};
  if (!parse_dib(dib, GlobalSize(block), view)) throw Failure{GW_REDUCE_READ_FAILED};
  return block;
}

HGLOBAL to_bilevel_from(HGLOBAL dib, int bits) {
  HGLOBAL mono = bits == 4 ? DIB4To1(dib) : bits == 8 ? DIB8To1(dib) : DIB24To1(dib);
  if (!mono) throw Failure{GW_REDUCE_NO_MEMORY};
  return mono;
}

HGLOBAL widened(HGLOBAL dib, int bits) {
  HGLOBAL full = bits == 4 ? DIB4To24(dib) : DIB8To24(dib);
  if (!full) throw Failure{GW_REDUCE_NO_MEMORY};
  return full;
}

std::vector<std::uint8_t> reduce_handle(HGLOBAL dib24, int bits, bool dither, int palette_size,
                                        const RGBQUAD *palette, GrainwickProgress proc) {
  LockedDib in(dib24);
  if (!in.ok()) throw Failure{GW_REDUCE_READ_FAILED};
  return reduce(in.view(), bits, dither, palette_size, palette, proc);
}

int16_t finish(int code, int report) {
  if (code < 0 && report == 1) std::fprintf(stderr, "Error: %s\n", ReduceDibErrorText(code));
  return int16_t(code);
}

int16_t reduce_in_place(void *dib, int bits, int dither, int palette_size, const RGBQUAD *palette, int report,
                        GrainwickProgress progress) {
  try {
    DibView view;
    HGLOBAL block = block_of(dib, view, 24);
    std::vector<std::uint8_t> out = reduce(view, bits, dither != 0, palette_size, palette, progress);
    replace_block(block, out.data(), out.size());
    return 1;
  } catch (const Failure &f) {
    return finish(f.code, report);
  } catch (const std::bad_alloc &) {
    return finish(GW_REDUCE_NO_MEMORY, report);
  }
}

}  // namespace
}  // namespace grainwick::convert

using namespace grainwick::convert;

extern "C" {

const char *ReduceDibErrorText(int code) {
  switch (code) {
    case GW_REDUCE_NO_MEMORY:
      return "Not enough memory to reduce the colours";
    case GW_REDUCE_NO_HISTOGRAM:
      return "Not enough memory for the colour histogram";
    case GW_REDUCE_READ_FAILED:
      return "Could not read the bitmap";
    case GW_REDUCE_FAILED:
      return "Colour reduction failed";
    case GW_REDUCE_NOT_24_BITS:
      return "The bitmap is not a 24-bit image";
    default:
      return "Could not find String";
  }
}

int16_t ReduceDib(void *dib, int16_t bits, int16_t dither, int16_t palette_size, const RGBQUAD *palette,
                  int16_t report, GrainwickProgress progress) {
  return reduce_in_place(dib, bits, dither, palette_size, palette, report, progress);
}

int16_t ReduceDib2(void *dib, int32_t reserved, int16_t bits, int16_t dither, int16_t report,
                   GrainwickProgress progress) {
  (void)reserved;
  return reduce_in_place(dib, bits, dither, 0, nullptr, report, progress);
}

int16_t ConvertDib(void *dib, int16_t dib_bits, int16_t bits, int16_t dither, int16_t palette_size,
                   const RGBQUAD *palette, int16_t report, GrainwickProgress progress) {
  try {
    DibView view;
    HGLOBAL block = block_of(dib, view, 0);
    const int src = view.bits;
    if (src != dib_bits) throw Failure{GW_REDUCE_READ_FAILED};
    const bool to_palette = bits == 0 || bits == 4 || bits == 8;
    if (src == bits && palette_size <= 0) return 1;
    if (bits == 1 && src != 1) {
      TempDib mono{to_bilevel_from(block, src)};
      replace_block(block, mono.h);
      return 1;
    }
    if (src == 24 && to_palette) {
      std::vector<std::uint8_t> out = reduce(view, bits, dither != 0, palette_size, palette, progress);
      replace_block(block, out.data(), out.size());
      return 1;
    }
    if ((src == 8 && to_palette) || (src == 4 && (bits == 0 || bits == 4))) {
      TempDib full{widened(block, src)};
      std::vector<std::uint8_t> out =
          reduce_handle(full.h, bits, dither != 0, palette_size, palette, progress);
      replace_block(block, out.data(), out.size());
      return 1;
    }
    return 1;
  } catch (const Failure &f) {
    return finish(f.code, report);
  } catch (const std::bad_alloc &) {
    return finish(GW_REDUCE_NO_MEMORY, report);
  }
}

int16_t ConvertDib2(HGLOBAL dib, HGLOBAL *out, int16_t dib_bits, int16_t bits, int16_t dither, int16_t report,
                    GrainwickProgress progress) {
  if (out) *out = nullptr;
  try {
    if (!out) throw Failure{GW_REDUCE_FAILED};
    int src;
    std::vector<std::uint8_t> copy;
    {
      LockedDib in(dib);
      if (!in.ok()) throw Failure{GW_REDUCE_READ_FAILED};
      src = in.view().bits;
      if (src != dib_bits) throw Failure{GW_REDUCE_READ_FAILED};
      if (src == 24 && (bits == 0 || bits == 4 || bits == 8)) {
        *out = new_block(reduce(in.view(), bits, dither != 0, 0, nullptr, progress));
        return 1;
      }
    }
    if (bits == 1 && src != 1) {
      *out = to_bilevel_from(dib, src);
      return 1;
    }
    if ((src == 8 && (bits == 0 || bits == 4)) || (src == 4 && bits == 0)) {
      TempDib full{widened(dib, src)};
      *out = new_block(reduce_handle(full.h, bits, dither != 0, 0, nullptr, progress));
      return 1;
    }
    // Nothing to convert: the caller still gets a DIB of its own.
    LockedDib in(dib);
    if (!in.ok()) throw Failure{GW_REDUCE_READ_FAILED};
    *out = new_block(std::vector<std::uint8_t>(in.view().base, in.view().base + in.view().total));
    return 1;
  } catch (const Failure &f) {
    return finish(f.code, report);
  } catch (const std::bad_alloc &) {
    return finish(GW_REDUCE_NO_MEMORY, report);
  }
}

}  // extern "C"
