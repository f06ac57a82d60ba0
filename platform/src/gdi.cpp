#include "platform/gdi.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

enum class GdiKind { bitmap, palette, dc };

struct GdiBitmap {
  GdiKind kind = GdiKind::bitmap;
  int width = 0, height = 0, bits = 1;
  int stride = 0;  // 16-bit padded, rows top-down
  std::vector<BYTE> pixels;
  GdiDC *selected_in = nullptr;
  bool stock = false;
};

struct GdiPalette {
  GdiKind kind = GdiKind::palette;
  std::vector<PALETTEENTRY> entries;
  int selections = 0;
  bool stock = false;
};

struct GdiDC {
  GdiKind kind = GdiKind::dc;
  bool memory = false;
  GdiBitmap *bitmap = nullptr;
  GdiBitmap *stock_bitmap = nullptr;  // memory contexts: the 1 × 1 bitmap they start with
  GdiPalette *palette = nullptr;
  int stretch_mode = BLACKONWHITE;
};

namespace {

std::atomic<int> screen_bits{24};

// Every live handle, so that stale or foreign handles are refused instead of followed.
std::mutex live_mutex;
std::unordered_set<const void *> &live() {
  static std::unordered_set<const void *> set;
  return set;
}

template <class T>
T *track(T *object) {
  if (!object) return nullptr;
  std::lock_guard<std::mutex> guard(live_mutex);
  live().insert(object);
  return object;
}

void untrack(const void *object) {
  std::lock_guard<std::mutex> guard(live_mutex);
  live().erase(object);
}

bool is_live(const void *object) {
  if (!object) return false;
  std::lock_guard<std::mutex> guard(live_mutex);
  return live().count(object) != 0;
}

// All three kinds start with their kind tag, so a live handle can be told apart by it.
GdiKind kind_of(const void *object) { return *static_cast<const GdiKind *>(object); }

template <class T, GdiKind K>
T *as(const void *object) {
  if (!is_live(object) || kind_of(object) != K) return nullptr;
  return static_cast<T *>(const_cast<void *>(object));
}
GdiBitmap *as_bitmap(const void *o) { return as<GdiBitmap, GdiKind::bitmap>(o); }
GdiPalette *as_palette(const void *o) { return as<GdiPalette, GdiKind::palette>(o); }
GdiDC *as_dc(const void *o) { return as<GdiDC, GdiKind::dc>(o); }

GdiPalette *stock_palette() {
  static GdiPalette *p = [] {
    auto *pal = new GdiPalette;
    pal->entries = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    pal->stock = true;
    return track(pal);
  }();
  return p;
}

bool valid_depth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

GdiBitmap *make_bitmap(int width, int height, int bits) {
  if (width <= 0 || height <= 0 || !valid_depth(bits)) return nullptr;
  std::int64_t stride = ((std::int64_t(width) * bits + 15) / 16) * 2;
  if (stride * height > (std::int64_t(256) << 20)) return nullptr;
  auto *b = new (std::nothrow) GdiBitmap;
  if (!b) return nullptr;
  b->width = width;
  b->height = height;
  b->bits = bits;
  b->stride = int(stride);
  try {
    b->pixels.assign(std::size_t(stride * height), 0);
  } catch (const std::bad_alloc &) {
    delete b;
    return nullptr;
  }
  return track(b);
}

struct Rgb {
  BYTE r, g, b;
};

int luminance(Rgb c) { return (77 * c.r + 151 * c.g + 28 * c.b) >> 8; }

// Nearest palette index by squared distance; remembered per colour of the call.
class Nearest {
 public:
  explicit Nearest(const GdiPalette *palette) : palette_(palette) {}
  int operator()(Rgb c) {
    std::uint32_t key = (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
    if (key == last_key_) return last_;
    int best = 0;
    long best_d = -1;
    for (std::size_t i = 0; i < palette_->entries.size(); ++i) {
      const auto &e = palette_->entries[i];
      long dr = long(e.peRed) - c.r, dg = long(e.peGreen) - c.g, db = long(e.peBlue) - c.b;
      long d = dr * dr + dg * dg + db * db;
      if (best_d < 0 || d < best_d) best_d = d, best = int(i);
    }
    last_key_ = key;
    last_ = best;
    return best;
  }

 private:
  const GdiPalette *palette_;
  std::uint32_t last_key_ = 0xFFFFFFFF;
  int last_ = 0;
};

Rgb palette_colour(const GdiPalette *palette, int index) {
  if (index < 0 || std::size_t(index) >= palette->entries.size()) return {0, 0, 0};
  const auto &e = palette->entries[std::size_t(index)];
  return {e.peRed, e.peGreen, e.peBlue};
}

Rgb read_pixel(const GdiBitmap &b, const GdiPalette *palette, int x, int y) {
  const BYTE *row = b.pixels.data() + std::size_t(y) * std::size_t(b.stride);
  switch (b.bits) {
    case 1:
      return (row[x >> 3] & (0x80 >> (x & 7))) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    case 4:
      return palette_colour(palette, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
    case 8:
      return palette_colour(palette, row[x]);
    case 24:
      return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
    default:
      return {row[x * 4 + 2], row[x * 4 + 1], row[x * 4]};
  }
}

void write_pixel(GdiBitmap &b, Nearest &nearest, int x, int y, Rgb c) {
  BYTE *row = b.pixels.data() + std::size_t(y) * std::size_t(b.stride);
  switch (b.bits) {
    case 1: {
      BYTE mask = BYTE(0x80 >> (x & 7));
      if (luminance(c) >= 128)
        row[x >> 3] |= mask;
      else
        row[x >> 3] &= BYTE(~mask);
      break;
    }
    case 4: {
      int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = BYTE((row[x >> 1] & ~(15 << shift)) | (nearest(c) << shift));
      break;
    }
    case 8:
      row[x] = BYTE(nearest(c));
      break;
    case 24:
      row[x * 3] = c.b, row[x * 3 + 1] = c.g, row[x * 3 + 2] = c.r;
      break;
    default:
      row[x * 4] = c.b, row[x * 4 + 1] = c.g, row[x * 4 + 2] = c.r, row[x * 4 + 3] = 0;
  }
}

// Colours of a DIB's table; the count it has, or -1 when the header is not one we take.
int dib_colours(const BITMAPINFOHEADER &h) {
  if (h.biSize < 40 || h.biCompression != BI_RGB || h.biPlanes != 1) return -1;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24) return -1;
  if (h.biBitCount == 24) return 0;
  DWORD full = 1u << h.biBitCount;
  return int(h.biClrUsed && h.biClrUsed < full ? h.biClrUsed : full);
}

}  // namespace

extern "C" {

BOOL SetScreenBitsPixel(int bits) {
  if (!valid_depth(bits)) return 0;
  screen_bits = bits;
  return 1;
}

int GetScreenBitsPixel() { return screen_bits; }

HDC GetDC(HWND) {
  auto *dc = new (std::nothrow) GdiDC;
  if (!dc) return nullptr;
  dc->palette = stock_palette();
  ++dc->palette->selections;
  return track(dc);
}

int ReleaseDC(HWND, HDC dc) {
  GdiDC *d = as_dc(dc);
  if (!d || d->memory) return 0;
  if (d->palette) --d->palette->selections;
  untrack(d);
  delete d;
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  auto *dc = new (std::nothrow) GdiDC;
  if (!dc) return nullptr;
  dc->memory = true;
  GdiBitmap *stock = make_bitmap(1, 1, 1);
  if (!stock) {
    delete dc;
    return nullptr;
  }
  stock->stock = true;
  stock->selected_in = dc;
  dc->bitmap = stock;
  dc->stock_bitmap = stock;
  dc->palette = stock_palette();
  ++dc->palette->selections;
  return track(dc);
}

BOOL DeleteDC(HDC dc) {
  GdiDC *d = as_dc(dc);
  if (!d || !d->memory) return 0;
  if (d->bitmap) d->bitmap->selected_in = nullptr;
  // The stock bitmap dies with its context even when it was swapped out and never put back.
  untrack(d->stock_bitmap);
  delete d->stock_bitmap;
  if (d->palette) --d->palette->selections;
  untrack(d);
  delete d;
  return 1;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_pixel, const void *bits) {
  if (planes != 1) return nullptr;
  GdiBitmap *b = make_bitmap(width, height, int(bits_pixel));
  if (b && bits) std::memcpy(b->pixels.data(), bits, b->pixels.size());
  return b;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  int depth = screen_bits;
  if (dc) {
    GdiDC *d = as_dc(dc);
    if (!d) return nullptr;
    if (d->memory && d->bitmap) depth = d->bitmap->bits;
  }
  return make_bitmap(width, height, depth);
}

HPALETTE CreatePalette(const LOGPALETTE *palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0 || palette->palNumEntries > 256)
    return nullptr;
  auto *p = new (std::nothrow) GdiPalette;
  if (!p) return nullptr;
  p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return track(p);
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY *entries) {
  GdiPalette *p = as_palette(palette);
  if (!p) return 0;
  UINT size = UINT(p->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  std::copy_n(p->entries.begin() + start, n, entries);
  return n;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  GdiDC *d = as_dc(dc);
  if (!d) return nullptr;
  if (GdiBitmap *b = as_bitmap(object)) {
    if (!d->memory) return nullptr;
    if (b->selected_in && b->selected_in != d) return nullptr;
    GdiBitmap *old = d->bitmap;
    if (old) old->selected_in = nullptr;
    b->selected_in = d;
    d->bitmap = b;
    return old;
  }
  if (as_palette(object)) return nullptr;  // palettes go through SelectPalette
  return nullptr;
}

int SetStretchBltMode(HDC dc, int mode) {
  GdiDC *d = as_dc(dc);
  if (!d || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  int old = d->stretch_mode;
  d->stretch_mode = mode;
  return old;
}

int GetStretchBltMode(HDC dc) {
  GdiDC *d = as_dc(dc);
  return d ? d->stretch_mode : 0;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
  GdiDC *d = as_dc(dc);
  GdiPalette *p = as_palette(palette);
  if (!d || !p) return nullptr;
  GdiPalette *old = d->palette;
  if (old) --old->selections;
  ++p->selections;
  d->palette = p;
  return old;
}

UINT RealizePalette(HDC dc) {
  GdiDC *d = as_dc(dc);
  if (!d) return UINT(GDI_ERROR);
  return d->palette ? UINT(d->palette->entries.size()) : 0;
}

int StretchDIBits(HDC dc, int x_dest, int y_dest, int dest_width, int dest_height, int x_src, int y_src,
                  int src_width, int src_height, const void *bits, const BITMAPINFO *info, UINT usage,
                  DWORD rop) {
  GdiDC *d = as_dc(dc);
  if (!d || !d->bitmap || !bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
  const BITMAPINFOHEADER &h = info->bmiHeader;
  int colours = dib_colours(h);
  if (colours < 0 || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return 0;
  if (dest_width <= 0 || dest_height <= 0 || src_width <= 0 || src_height <= 0) return 0;
  const std::int64_t dib_w = h.biWidth, dib_h = h.biHeight < 0 ? -std::int64_t(h.biHeight) : h.biHeight;
  const bool bottom_up = h.biHeight > 0;
  if (x_src < 0 || y_src < 0 || x_src + std::int64_t(src_width) > dib_w || y_src + std::int64_t(src_height) > dib_h)
    return 0;
  const std::size_t stride = dib_stride(dib_w, h.biBitCount);
  const auto *pixels = static_cast<const BYTE *>(bits);
  const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(&h) + h.biSize);

  GdiBitmap &b = *d->bitmap;
  Nearest nearest(d->palette ? d->palette : stock_palette());
  std::vector<int> src_x(std::size_t(dest_width), 0);
  for (int i = 0; i < dest_width; ++i) src_x[std::size_t(i)] = x_src + int(std::int64_t(i) * src_width / dest_width);

  for (int j = 0; j < dest_height; ++j) {
    int ty = y_dest + j;
    if (ty < 0 || ty >= b.height) continue;
    // Row j of the destination counts from the top of the source rectangle.
    std::int64_t from_top_of_rect = std::int64_t(j) * src_height / dest_height;
    std::int64_t image_row = dib_h - (y_src + src_height) + from_top_of_rect;  // from the image's top
    std::int64_t stored = bottom_up ? dib_h - 1 - image_row : image_row;
    const BYTE *row = pixels + std::size_t(stored) * stride;
    for (int i = 0; i < dest_width; ++i) {
      int tx = x_dest + i;
      if (tx < 0 || tx >= b.width) continue;
      int sx = src_x[std::size_t(i)];
      Rgb c;
      if (h.biBitCount == 24) {
        c = {row[sx * 3 + 2], row[sx * 3 + 1], row[sx * 3]};
      } else {
        int index = h.biBitCount == 8   ? row[sx]
                    : h.biBitCount == 4 ? (row[sx >> 1] >> ((sx & 1) ? 0 : 4)) & 15
                                        : (row[sx >> 3] >> (7 - (sx & 7))) & 1;
        if (index < colours)
          c = {table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue};
        else
          c = {0, 0, 0};
      }
      write_pixel(b, nearest, tx, ty, c);
    }
  }
  return src_height;
}

int GetObjectA(HGDIOBJ object, int size, void *out) {
  if (GdiBitmap *b = as_bitmap(object)) {
    if (!out) return int(sizeof(BITMAP));
    if (size < int(sizeof(BITMAP))) return 0;
    BITMAP bm{0, b->width, b->height, b->stride, 1, WORD(b->bits), b->pixels.data()};
    std::memcpy(out, &bm, sizeof bm);
    return int(sizeof bm);
  }
  if (GdiPalette *p = as_palette(object)) {
    if (!out) return int(sizeof(WORD));
    if (size < int(sizeof(WORD))) return 0;
    WORD n = WORD(p->entries.size());
    std::memcpy(out, &n, sizeof n);
    return int(sizeof n);
  }
  return 0;
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void *bits, BITMAPINFO *info, UINT usage) {
  GdiDC *d = as_dc(dc);
  GdiBitmap *b = as_bitmap(bitmap);
  if (!d || !b || !info || usage != DIB_RGB_COLORS) return 0;
  if (b->selected_in && b->selected_in != d) return 0;
  BITMAPINFOHEADER &h = info->bmiHeader;
  if (h.biSize < 40) return 0;
  if (!bits && h.biBitCount == 0) {
    h.biWidth = b->width;
    h.biHeight = b->height;
    h.biPlanes = 1;
    h.biBitCount = WORD(b->bits == 32 ? 24 : b->bits);
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(dib_stride(b->width, h.biBitCount) * std::size_t(b->height));
    h.biClrUsed = 0;
    return b->height;
  }
  int out_bits = h.biBitCount;
  if (out_bits != 1 && out_bits != 4 && out_bits != 8 && out_bits != 24) return 0;
  const GdiPalette *palette = d->palette ? d->palette : stock_palette();

  // Colour table of the result.
  GdiPalette table_palette;
  RGBQUAD *table = reinterpret_cast<RGBQUAD *>(reinterpret_cast<BYTE *>(&h) + h.biSize);
  if (out_bits <= 8) {
    int n = 1 << out_bits;
    for (int i = 0; i < n; ++i) {
      Rgb c = out_bits == 1 ? (i ? Rgb{255, 255, 255} : Rgb{0, 0, 0}) : palette_colour(palette, i);
      table[i] = RGBQUAD{c.b, c.g, c.r, 0};
      table_palette.entries.push_back(PALETTEENTRY{c.r, c.g, c.b, 0});
    }
  }
  h.biWidth = b->width;
  h.biHeight = b->height;
  h.biPlanes = 1;
  h.biCompression = BI_RGB;
  h.biClrUsed = 0;
  h.biSizeImage = DWORD(dib_stride(b->width, out_bits) * std::size_t(b->height));
  if (!bits) return b->height;
  if (start >= UINT(b->height)) return 0;
  UINT count = std::min(lines, UINT(b->height) - start);
  const std::size_t stride = dib_stride(b->width, out_bits);
  GdiBitmap shaped;  // a one-row target that reuses the pixel writer
  shaped.width = b->width;
  shaped.height = 1;
  shaped.bits = out_bits;
  shaped.stride = int(stride);
  shaped.pixels.assign(stride, 0);
  Nearest nearest(&table_palette);
  auto *out = static_cast<BYTE *>(bits);
  for (UINT k = 0; k < count; ++k) {
    int dib_row = int(start + k);               // from the bottom
    int bitmap_row = b->height - 1 - dib_row;  // from the top
    if (out_bits == b->bits && out_bits <= 8) {
      std::memcpy(shaped.pixels.data(), b->pixels.data() + std::size_t(bitmap_row) * std::size_t(b->stride),
                  std::min<std::size_t>(stride, std::size_t(b->stride)));
    } else {
      std::fill(shaped.pixels.begin(), shaped.pixels.end(), 0);
      for (int x = 0; x < b->width; ++x) write_pixel(shaped, nearest, x, 0, read_pixel(*b, palette, x, bitmap_row));
    }
    std::memcpy(out + std::size_t(k) * stride, shaped.pixels.data(), stride);
  }
  return int(count);
}

BOOL DeleteObject(HGDIOBJ object) {
  if (GdiBitmap *b = as_bitmap(object)) {
    if (b->selected_in || b->stock) return 0;
    untrack(b);
    delete b;
    return 1;
  }
  if (GdiPalette *p = as_palette(object)) {
    if (p->selections > 0 || p->stock) return 0;
    untrack(p);
    delete p;
    return 1;
  }
  return 0;
}

}  // extern "C"
