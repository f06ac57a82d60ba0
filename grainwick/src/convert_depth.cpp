// DIB reading and making, widening 1 -> 4 -> 8 -> 24 bits, 24 -> 1 bit, and grey conversion.

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "convert_internal.h"
#include "grainwick.h"

namespace grainwick::convert {

const std::uint8_t kToneCurve[256] = {
    1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,
    1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   1,   2,
    3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,
    23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  32,  33,  34,  35,  35,  36,  37,  39,  39,  40,
    41,  42,  43,  44,  45,  46,  47,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  58,
    59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,
    80,  81,  82,  83,  85,  86,  87,  88,  89,  90,  91,  93,  94,  95,  96,  97,  99,  100, 101, 102,
    103, 105, 106, 107, 108, 110, 112, 114, 115, 116, 118, 120, 122, 124, 126, 128, 130, 132, 134, 136,
    138, 140, 143, 145, 147, 149, 152, 154, 156, 159, 161, 164, 166, 169, 171, 174, 176, 178, 179, 181,
    183, 185, 186, 188, 189, 190, 192, 194, 196, 198, 200, 202, 204, 206, 208, 210, 212, 214, 217, 219,
    221, 224, 227, 230, 232, 235, 237, 239, 242, 245, 248, 251, 254, 254, 254, 254, 254, 254, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
    254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254, 254,
};

namespace {

unsigned table_size(const BITMAPINFOHEADER &h) {
  if (h.biBitCount > 8) return 0;
  return h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
}

}  // namespace

bool readable_header(const void *base, std::size_t size, BITMAPINFOHEADER &header) {
  if (!base || size < sizeof(BITMAPINFOHEADER)) return false;
  std::memcpy(&header, base, sizeof header);
  return header.biSize == sizeof(BITMAPINFOHEADER);
}

bool parse_dib(const void *base, std::size_t size, DibView &view) {
  BITMAPINFOHEADER h;
  if (!readable_header(base, size, h)) return false;
  if (h.biPlanes != 1 || h.biCompression != BI_RGB) return false;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24) return false;
  // Top-down (negative height) DIBs are not part of the handle format.
  if (h.biWidth <= 0 || h.biHeight <= 0) return false;
  unsigned colours = table_size(h);
  if (h.biBitCount <= 8 && colours > (1u << h.biBitCount)) return false;

  std::size_t offset = sizeof(BITMAPINFOHEADER) + std::size_t(colours) * sizeof(RGBQUAD);
  std::size_t stride = dib_stride(h.biWidth, h.biBitCount);
  if (offset > size) return false;
  // Division keeps the product from overflowing for absurd heights.
  if ((size - offset) / stride < std::size_t(h.biHeight)) return false;

  view.header = h;
  view.width = h.biWidth;
  view.height = h.biHeight;
  view.bits = h.biBitCount;
  view.colours = colours;
  std::memset(view.table, 0, sizeof view.table);
  if (colours) std::memcpy(view.table, static_cast<const std::uint8_t *>(base) + sizeof h, colours * 4);
  view.stride = stride;
  view.pixels = static_cast<const std::uint8_t *>(base) + offset;
  view.total = offset + stride * std::size_t(h.biHeight);
  view.base = static_cast<const std::uint8_t *>(base);
  return true;
}

LockedDib::LockedDib(HGLOBAL handle) : handle_(handle) {
  if (!handle_) return;
  base_ = GlobalLock(handle_);
  if (!base_) return;
  ok_ = parse_dib(base_, GlobalSize(handle_), view_);
}

LockedDib::~LockedDib() {
  if (base_) GlobalUnlock(handle_);
}

std::size_t dib_bytes(int width, int height, int bits, unsigned table_entries) {
  if (width <= 0 || height <= 0) return 0;
  std::size_t stride = dib_stride(width, bits);
  std::size_t head = sizeof(BITMAPINFOHEADER) + std::size_t(table_entries) * sizeof(RGBQUAD);
  if (std::size_t(height) > (std::numeric_limits<std::size_t>::max() - head) / stride) return 0;
  return head + stride * std::size_t(height);
}

NewDib::NewDib(int width, int height, int bits, unsigned table_entries, const BITMAPINFOHEADER *like) {
  std::size_t bytes = dib_bytes(width, height, bits, table_entries);
  if (!bytes) return;
  handle_ = GlobalAlloc(GHND, bytes);
  if (!handle_) return;
  base_ = static_cast<std::uint8_t *>(GlobalLock(handle_));
  if (!base_) {
    GlobalFree(handle_);
    handle_ = nullptr;
    return;
  }
  stride_ = dib_stride(width, bits);
  pixels_ = base_ + sizeof(BITMAPINFOHEADER) + std::size_t(table_entries) * sizeof(RGBQUAD);
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = WORD(bits);
  h.biCompression = BI_RGB;
  // Image sizes past 4 GB cannot be told in the field; 0 is the "compute it" value.
  std::size_t image = stride_ * std::size_t(height);
  h.biSizeImage = image <= 0xFFFFFFFFu ? DWORD(image) : 0;
  if (like) {
    h.biXPelsPerMeter = like->biXPelsPerMeter;
    h.biYPelsPerMeter = like->biYPelsPerMeter;
  }
  h.biClrUsed = table_entries;
  h.biClrImportant = 0;
  std::memcpy(base_, &h, sizeof h);
}

NewDib::~NewDib() {
  if (handle_) {
    GlobalUnlock(handle_);
    GlobalFree(handle_);
  }
}

HGLOBAL NewDib::release() {
  HGLOBAL h = handle_;
  if (h) GlobalUnlock(h);
  handle_ = nullptr;
  base_ = nullptr;
  return h;
}

void expand_row_bgr(const DibView &view, int dib_row, std::uint8_t *bgr) {
  const std::uint8_t *src = view.row(dib_row);
  if (view.bits == 24) {
    std::memcpy(bgr, src, std::size_t(view.width) * 3);
    return;
  }
  for (int x = 0; x < view.width; ++x) {
    const RGBQUAD &c = view.table[pixel_index(src, x, view.bits)];
    bgr[0] = c.rgbBlue;
    bgr[1] = c.rgbGreen;
    bgr[2] = c.rgbRed;
    bgr += 3;
  }
}

// A deeper copy: indexes kept (4 and 8 bits) or replaced by their table colours (24 bits).
HGLOBAL widen(HGLOBAL dib, int from_bits, int to_bits) {
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  const DibView &v = in.view();
  if (from_bits && v.bits != from_bits) return nullptr;
  if (to_bits <= v.bits) return nullptr;

  unsigned entries = to_bits == 24 ? 0 : (1u << to_bits);
  NewDib out(v.width, v.height, to_bits, entries, &v.header);
  if (!out.ok()) return nullptr;
  if (entries) {
    std::memcpy(out.table(), v.table, v.colours * sizeof(RGBQUAD));
    out.header().biClrImportant = v.colours;
  }
  for (int y = 0; y < v.height; ++y) {
    const std::uint8_t *src = v.row(y);
    std::uint8_t *dst = out.row(y);
    if (to_bits == 24) {
      expand_row_bgr(v, y, dst);
    } else {
      for (int x = 0; x < v.width; ++x) set_index(dst, x, to_bits, pixel_index(src, x, v.bits));
    }
  }
  return out.release();
}

// Bilevel with the fixed three-way error spread of the 24 -> 1 conversion, working from the
// first stored row upward on two rolling rows of the working copy.
HGLOBAL to_bilevel(HGLOBAL dib24) {
  LockedDib in(dib24);
  if (!in.ok() || in.view().bits != 24) return nullptr;
  const DibView &v = in.view();
  NewDib out(v.width, v.height, 1, 2, &v.header);
  if (!out.ok()) return nullptr;
  out.table()[1] = RGBQUAD{255, 255, 255, 0};
  out.header().biClrImportant = 2;

  std::size_t n = std::size_t(v.width) * 3;
  std::vector<std::uint8_t> cur(v.row(0), v.row(0) + n);
  std::vector<std::uint8_t> next(n);
  for (int y = 0; y < v.height; ++y) {
    bool has_next = y + 1 < v.height;
    if (has_next) std::memcpy(next.data(), v.row(y + 1), n);
    std::uint8_t *dst = out.row(y);
    for (int x = 0; x < v.width; ++x) {
      std::uint8_t *p = &cur[std::size_t(x) * 3];
      int b = p[0], g = p[1], r = p[2];
      bool white = 77 * r + 151 * g + 28 * b >= 32768;
      if (white) dst[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
      int target = white ? 255 : 0;
      bool right = x + 1 < v.width;
      for (int c = 0; c < 3; ++c) {
        int d = p[c] - target;
        if (!d) continue;
        int three_eighths = d * 3 / 8, quarter = d / 4;
        if (right) p[3 + c] = std::uint8_t(clamp255(p[3 + c] + three_eighths));
        if (has_next) {
          std::uint8_t *q = &next[std::size_t(x) * 3 + c];
          *q = std::uint8_t(clamp255(*q + three_eighths));
          if (right) q[3] = std::uint8_t(clamp255(q[3] + quarter));
        }
      }
    }
    cur.swap(next);
  }
  return out.release();
}

}  // namespace grainwick::convert

using namespace grainwick::convert;

extern "C" {

int GetColorsInPalette(const BITMAPINFOHEADER *header) {
  if (!header) return 0;
  BITMAPINFOHEADER h;
  std::memcpy(&h, header, sizeof h);
  if (h.biSize != sizeof h) return 0;
  return int(std::min<unsigned>(table_size(h), 0x7FFFFFFFu));
}

int GetPalette(HPALETTE palette, PALETTEENTRY *entries) {
  if (!palette || !entries) return 0;
  UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
  if (count == 0 || count > 256) return 0;
  return int(GetPaletteEntries(palette, 0, count, entries));
}

HGLOBAL DIB1to4(HGLOBAL dib) {
  return widen(dib, 1, 4);
}
HGLOBAL DIB4To8(HGLOBAL dib) {
  return widen(dib, 4, 8);
}
HGLOBAL DIB8To24(HGLOBAL dib) {
  return widen(dib, 8, 24);
}

HGLOBAL DIB1To8(HGLOBAL dib) {
  HGLOBAL four = DIB1to4(dib);
  if (!four) return nullptr;
  HGLOBAL eight = DIB4To8(four);
  GlobalFree(four);
  return eight;
}

HGLOBAL DIB4To24(HGLOBAL dib) {
  HGLOBAL eight = DIB4To8(dib);
  if (!eight) return nullptr;
  HGLOBAL full = DIB8To24(eight);
  GlobalFree(eight);
  return full;
}

HGLOBAL DIB1To24(HGLOBAL dib) {
  HGLOBAL eight = DIB1To8(dib);
  if (!eight) return nullptr;
  HGLOBAL full = DIB8To24(eight);
  GlobalFree(eight);
  return full;
}

HGLOBAL DIB24To1(HGLOBAL dib) {
  return to_bilevel(dib);
}

HGLOBAL DIB8To1(HGLOBAL dib) {
  HGLOBAL full = DIB8To24(dib);
  if (!full) return nullptr;
  HGLOBAL mono = to_bilevel(full);
  GlobalFree(full);
  return mono;
}

HGLOBAL DIB4To1(HGLOBAL dib) {
  HGLOBAL full = DIB4To24(dib);
  if (!full) return nullptr;
  HGLOBAL mono = to_bilevel(full);
  GlobalFree(full);
  return mono;
}

HGLOBAL ImgIncreaseColors(HGLOBAL dib, int16_t bits) {
  if (bits != 4 && bits != 8 && bits != 24) return nullptr;
  int width, height;
  {
    LockedDib in(dib);
    if (!in.ok() || bits <= in.view().bits) return nullptr;
    width = in.view().width;
    height = in.view().height;
  }
  // Twice the byte budget, so that half a byte per pixel stays an integer.
  std::uint64_t half_bytes = std::uint64_t(width) * std::uint64_t(height) *
                             std::uint64_t(bits == 4   ? 1
                                           : bits == 8 ? 2
                                                       : 6);
  if (half_bytes > 2ull * 16000000ull) return nullptr;
  return widen(dib, 0, bits);
}

HGLOBAL ColorToGrayscale(HGLOBAL dib) {
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  const DibView &v = in.view();
  if (v.bits == 1) return nullptr;
  if (v.bits <= 8) {
    NewDib out(v.width, v.height, v.bits, v.colours, &v.header);
    if (!out.ok()) return nullptr;
    out.header().biClrImportant = v.header.biClrImportant;
    for (unsigned i = 0; i < v.colours; ++i) {
      const RGBQUAD &c = v.table[i];
      std::uint8_t grey = kToneCurve[luminance(c.rgbRed, c.rgbGreen, c.rgbBlue)];
      out.table()[i] = RGBQUAD{grey, grey, grey, 0};
    }
    std::memcpy(out.row(0), v.pixels, v.stride * std::size_t(v.height));
    return out.release();
  }
  NewDib out(v.width, v.height, 8, 256, &v.header);
  if (!out.ok()) return nullptr;
  for (unsigned i = 0; i < 256; ++i) out.table()[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  for (int y = 0; y < v.height; ++y) {
    const std::uint8_t *src = v.row(y);
    std::uint8_t *dst = out.row(y);
    for (int x = 0; x < v.width; ++x, src += 3)
      dst[x] = std::uint8_t((11 * src[0] + 59 * src[1] + 30 * src[2]) / 100);
  }
  return out.release();
}

}  // extern "C"
