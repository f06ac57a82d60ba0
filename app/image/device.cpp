#include "device.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstring>

namespace image {

namespace {

int luminance(int r, int g, int b) {
  return (r * 77 + g * 150 + b * 29) >> 8;
}
int luminance(QRgb c) {
  return luminance(qRed(c), qGreen(c), qBlue(c));
}

struct Bits {
  BITMAP bm{};
  bool ok = false;
  explicit Bits(HBITMAP bitmap) {
    ok = bitmap && GetObjectA(bitmap, sizeof bm, &bm) == int(sizeof bm) && bm.bmBits;
  }
  std::uint8_t *row(int y) const {
    return static_cast<std::uint8_t *>(bm.bmBits) + std::size_t(y) * bm.bmWidthBytes;
  }
};

// The sixteen colours every VGA screen has.
constexpr std::array<QRgb, 16> kVga = {0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080,
                                       0xff008080, 0xffc0c0c0, 0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00,
                                       0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};

// 8 x 8 ordered dither thresholds, 0 to 63.
constexpr std::uint8_t kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                       {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                       {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                       {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

// level(t)[v]: the 6 x 6 x 6 cube level of value v under ordered-dither threshold t; a level
// step is 51.
const std::array<std::uint8_t, 256> &level(int t) {
  static const auto table = [] {
    std::array<std::array<std::uint8_t, 256>, 64> l{};
    for (int t = 0; t < 64; ++t)
      for (int v = 0; v < 256; ++v) l[t][v] = std::uint8_t(std::min(5, (v + t * 51 / 64) / 51));
    return l;
  }();
  return table[std::size_t(t)];
}

std::vector<QRgb> cube_colours() {
  std::vector<QRgb> c;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) c.push_back(qRgb(r * 51, g * 51, b * 51));
  return c;
}

HPALETTE palette_of(const std::vector<QRgb> &colours) {
  const std::size_t n = std::min<std::size_t>(colours.size(), 256);
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
  auto *log = reinterpret_cast<LOGPALETTE *>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = WORD(n);
  for (std::size_t i = 0; i < n; ++i)
    log->palPalEntry[i] = {BYTE(qRed(colours[i])), BYTE(qGreen(colours[i])), BYTE(qBlue(colours[i])), 0};
  return CreatePalette(log);
}

int nearest_vga(int r, int g, int b) {
  int best = 0, best_d = 1 << 30;
  for (int i = 0; i < 16; ++i) {
    int dr = r - qRed(kVga[i]), dg = g - qGreen(kVga[i]), db = b - qBlue(kVga[i]);
    int d = dr * dr + dg * dg + db * db;
    if (d < best_d) best_d = d, best = i;
  }
  return best;
}

Raster expand_to_24(const Raster &in) {
  if (in.bits == 24) return in;
  Raster out{in.width, in.height, 24, {}, {}};
  out.pixels.resize(out.row_bytes() * std::size_t(in.height));
  std::uint8_t *o = out.pixels.data();
  for (std::uint8_t i : in.pixels) {
    QRgb c = i < in.colours.size() ? in.colours[i] : 0xff000000;
    *o++ = std::uint8_t(qBlue(c)), *o++ = std::uint8_t(qGreen(c)), *o++ = std::uint8_t(qRed(c));
  }
  return out;
}

Raster to_grey(const Raster &in) {
  Raster out{in.width, in.height, 8, {}, {}};
  for (int i = 0; i < 256; ++i) out.colours.push_back(qRgb(i, i, i));
  out.pixels.resize(std::size_t(in.width) * std::size_t(in.height));
  if (in.bits == 24) {
    const std::uint8_t *p = in.pixels.data();
    for (std::uint8_t &o : out.pixels) o = std::uint8_t(luminance(p[2], p[1], p[0])), p += 3;
  } else {
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
      std::uint8_t k = in.pixels[i];
      out.pixels[i] = std::uint8_t(k < in.colours.size() ? luminance(in.colours[k]) : 0);
    }
  }
  return out;
}

Raster to_mono(const Raster &in, bool dither) {
  Raster grey = to_grey(in);
  Raster out{in.width, in.height, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)}, std::move(grey.pixels)};
  if (!dither) {
    for (std::uint8_t &p : out.pixels) p = p >= 128 ? 1 : 0;
    return out;
  }
  // Floyd-Steinberg over two rows of errors.
  std::vector<int> cur(std::size_t(in.width) + 2), next(std::size_t(in.width) + 2);
  for (int y = 0; y < in.height; ++y) {
    std::uint8_t *row = out.pixels.data() + std::size_t(y) * std::size_t(in.width);
    std::fill(next.begin(), next.end(), 0);
    for (int x = 0; x < in.width; ++x) {
      int v = std::clamp(row[x] + cur[std::size_t(x) + 1] / 16, 0, 255);
      int chosen = v >= 128 ? 255 : 0;
      int e = v - chosen;
      row[x] = chosen ? 1 : 0;
      cur[std::size_t(x) + 2] += e * 7;
      next[std::size_t(x)] += e * 3;
      next[std::size_t(x) + 1] += e * 5;
      next[std::size_t(x) + 2] += e;
    }
    std::swap(cur, next);
  }
  return out;
}

Raster to_cube(const Raster &in, bool dither) {
  Raster out{in.width, in.height, 8, cube_colours(), {}};
  out.pixels.resize(std::size_t(in.width) * std::size_t(in.height));
  const std::uint8_t *p = in.pixels.data();
  std::uint8_t *o = out.pixels.data();
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x, p += 3) {
      const auto &l = level(dither ? kBayer[y & 7][x & 7] : 32);
      *o++ = std::uint8_t(l[p[2]] * 36 + l[p[1]] * 6 + l[p[0]]);
    }
  return out;
}

Raster to_vga(const Raster &in, bool dither) {
  Raster out{in.width, in.height, 4, {kVga.begin(), kVga.end()}, {}};
  out.pixels.resize(std::size_t(in.width) * std::size_t(in.height));
  const std::uint8_t *p = in.pixels.data();
  std::uint8_t *o = out.pixels.data();
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x, p += 3) {
      // Within a third of the closest steps of the palette (64), so that its own colours stay put.
      int t = dither ? (kBayer[y & 7][x & 7] - 32) * 2 / 3 : 0;
      *o++ = std::uint8_t(nearest_vga(std::clamp(p[2] + t, 0, 255), std::clamp(p[1] + t, 0, 255),
                                      std::clamp(p[0] + t, 0, 255)));
    }
  return out;
}

}  // namespace

TBitmap::~TBitmap() {
  if (handle_) DeleteObject(handle_);
  if (palette_) DeleteObject(palette_);
}

int TBitmap::width() const {
  Bits b(handle_);
  return b.ok ? b.bm.bmWidth : 0;
}

int TBitmap::height() const {
  Bits b(handle_);
  return b.ok ? b.bm.bmHeight : 0;
}

QImage TBitmap::to_qimage() const {
  Bits b(handle_);
  if (!b.ok) return {};
  const int w = b.bm.bmWidth, h = b.bm.bmHeight;
  if (b.bm.bmBitsPixel == 24) return QImage(b.row(0), w, h, b.bm.bmWidthBytes, QImage::Format_BGR888);
  std::array<QRgb, 256> table{};
  table[1] = qRgb(255, 255, 255);
  if (palette_) {
    PALETTEENTRY e[256];
    UINT n = GetPaletteEntries(palette_, 0, 256, e);
    for (UINT i = 0; i < n; ++i) table[i] = qRgb(e[i].peRed, e[i].peGreen, e[i].peBlue);
  }
  QImage out(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t *s = b.row(y);
    QRgb *d = reinterpret_cast<QRgb *>(out.scanLine(y));
    switch (b.bm.bmBitsPixel) {
      case 1:
        for (int x = 0; x < w; ++x) d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1 ? 0xffffffff : 0xff000000;
        break;
      case 4:
        for (int x = 0; x < w; ++x) d[x] = table[(s[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
        break;
      case 8:
        for (int x = 0; x < w; ++x) d[x] = table[s[x]];
        break;
      case 24:
        for (int x = 0; x < w; ++x, s += 3) d[x] = qRgb(s[2], s[1], s[0]);
        break;
      default:
        for (int x = 0; x < w; ++x, s += 4) d[x] = qRgb(s[2], s[1], s[0]);
    }
  }
  return out;
}

bool to_device(const Raster &raster, HBITMAP *bitmap, HPALETTE *palette) {
  *bitmap = nullptr;
  *palette = nullptr;
  if (raster.width <= 0 || raster.height <= 0) return false;
  if (raster.bits != 24 && !raster.colours.empty()) *palette = palette_of(raster.colours);
  const int screen = GetScreenBitsPixel();
  const int depth = raster.bits == 1 ? 1 : screen;
  // A screen of 4 or 8 bits holds indexes: bring the raster to the screen's depth first.
  if ((depth == 4 || depth == 8) && (raster.bits == 24 || raster.bits > depth)) {
    if (*palette) DeleteObject(*palette);
    return to_device(to_depth(raster, depth, false), bitmap, palette);
  }
  HBITMAP made = depth == 1 ? CreateBitmap(raster.width, raster.height, 1, 1, nullptr)
                            : CreateCompatibleBitmap(nullptr, raster.width, raster.height);
  Bits b(made);
  if (!b.ok) {
    if (made) DeleteObject(made);
    return false;
  }
  const std::size_t w = std::size_t(raster.width);
  std::array<std::array<std::uint8_t, 3>, 256> bgr{};
  for (std::size_t i = 0; i < raster.colours.size() && i < 256; ++i)
    bgr[i] = {std::uint8_t(qBlue(raster.colours[i])), std::uint8_t(qGreen(raster.colours[i])),
              std::uint8_t(qRed(raster.colours[i]))};
  for (int y = 0; y < raster.height; ++y) {
    const std::uint8_t *s = raster.pixels.data() + raster.row_bytes() * std::size_t(y);
    std::uint8_t *d = b.row(y);
    auto colour = [&](std::size_t x) -> QRgb {
      if (raster.bits == 24) return qRgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
      return s[x] < raster.colours.size() ? raster.colours[s[x]] : 0xff000000;
    };
    switch (depth) {
      case 1:
        std::memset(d, 0, std::size_t(b.bm.bmWidthBytes));
        for (std::size_t x = 0; x < w; ++x)
          if (luminance(colour(x)) >= 128) d[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
        break;
      case 4:
        std::memset(d, 0, std::size_t(b.bm.bmWidthBytes));
        for (std::size_t x = 0; x < w; ++x) d[x >> 1] |= std::uint8_t((s[x] & 15) << (x & 1 ? 0 : 4));
        break;
      case 8:
        std::memcpy(d, s, w);
        break;
      case 24:
        if (raster.bits == 24) {
          std::memcpy(d, s, w * 3);
          break;
        }
        for (std::size_t x = 0; x < w; ++x, d += 3) std::memcpy(d, bgr[s[x]].data(), 3);
        break;
      default:
        for (std::size_t x = 0; x < w; ++x) {
          QRgb c = colour(x);
          d[4 * x] = std::uint8_t(qBlue(c)), d[4 * x + 1] = std::uint8_t(qGreen(c));
          d[4 * x + 2] = std::uint8_t(qRed(c)), d[4 * x + 3] = 0;
        }
    }
  }
  *bitmap = made;
  return true;
}

HPALETTE cube_in_place(HBITMAP bitmap, bool dither) {
  Bits b(bitmap);
  if (!b.ok || b.bm.bmBitsPixel != 24) return nullptr;
  for (int y = 0; y < b.bm.bmHeight; ++y) {
    std::uint8_t *p = b.row(y);
    for (int x = 0; x < b.bm.bmWidth; ++x, p += 3) {
      const auto &l = level(dither ? kBayer[y & 7][x & 7] : 32);
      p[0] = std::uint8_t(l[p[0]] * 51), p[1] = std::uint8_t(l[p[1]] * 51), p[2] = std::uint8_t(l[p[2]] * 51);
    }
  }
  return palette_of(cube_colours());
}

Raster from_qimage(const QImage &picture) {
  Raster out;
  if (picture.isNull()) return out;
  out.width = picture.width();
  out.height = picture.height();
  if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
      picture.format() == QImage::Format_MonoLSB) {
    QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    out.bits = 8;
    for (QRgb c : indexed.colorTable()) out.colours.push_back(c | 0xff000000);
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y)
      std::memcpy(out.pixels.data() + std::size_t(y) * std::size_t(out.width), indexed.constScanLine(y),
                  std::size_t(out.width));
    return out;
  }
  // Transparent parts show the white of a blank picture.
  QImage flat = picture;
  if (picture.hasAlphaChannel()) {
    flat = QImage(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter p(&flat);
    p.drawImage(0, 0, picture);
  } else if (picture.format() != QImage::Format_RGB32) {
    flat = picture.convertToFormat(QImage::Format_RGB32);
  }
  out.pixels.resize(out.row_bytes() * std::size_t(out.height));
  std::uint8_t *o = out.pixels.data();
  for (int y = 0; y < out.height; ++y) {
    const QRgb *s = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
    for (int x = 0; x < out.width; ++x)
      *o++ = std::uint8_t(qBlue(s[x])), *o++ = std::uint8_t(qGreen(s[x])), *o++ = std::uint8_t(qRed(s[x]));
  }
  return out;
}

Raster to_depth(Raster raster, int bits, bool dither) {
  if (bits <= 0) return to_grey(raster);
  if (bits == 1) return to_mono(raster, dither);
  if (bits == 24) return expand_to_24(raster);
  const std::size_t room = bits == 4 ? 16 : 256;
  if (raster.bits != 24 && raster.colours.size() <= room) {
    raster.bits = bits;
    return raster;
  }
  Raster full = expand_to_24(raster);
  return bits == 4 ? to_vga(full, dither) : to_cube(full, dither);
}

}  // namespace image
