// Decode time of Grainwick against libtiff on the same files held in memory, plus the two
// heaviest conversions. Grainwick's time includes the DIB's row fix-ups (bottom-up rows, blue-
// green-red order, 0 = black); libtiff's is its strips alone, into a buffer left unfilled as a
// caller's fresh one is.
//   grainwick_reader_bench [ROUNDS [CASE [ours|libtiff]]]
// (default 9 rounds; only cases whose name holds CASE; a third argument runs only that decoder,
// for a profiler)
// Each round times both decoders in turn, repeating short decodes until they take about 20 ms,
// and gives one ratio Grainwick / libtiff; a case prints the median times, the median ratio and
// the lowest and highest ratio of its rounds. Every Grainwick DIB is checked against libtiff's
// strips turned into DIB rows.
//
// The 24-bit image is 3000 x 1800: at 3000 x 2000 its DIB would pass the reader's limit of
// 16,318,464 bytes and the read would be refused.
#include <tiffio.h>
#include <time.h>
#include <unistd.h>

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "grainwick.h"
#include "timing.h"

namespace {

struct Image {
  std::uint32_t width, height;
  std::uint16_t bits, samples, photometric;
  std::vector<std::uint8_t> rows;
  std::vector<std::uint16_t> map;  // 3 × 256 for palette images
  std::size_t row_bytes() const { return (std::size_t(width) * bits * samples + 7) / 8; }
};

// A page of text: lines of word-like black blocks on white.
Image text_page() {
  Image img{2480, 3508, 1, 1, 0, {}, {}};
  img.rows.assign(img.row_bytes() * img.height, 0);
  std::uint32_t seed = 1;
  auto rnd = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
  for (std::uint32_t line = 200; line + 40 < img.height - 200; line += 60) {
    std::uint32_t x = 200;
    while (x < img.width - 300) {
      std::uint32_t word = 40 + rnd() % 160;
      for (std::uint32_t y = line; y < line + 36; ++y)
        for (std::uint32_t i = x; i < x + word; ++i)
          if ((rnd() & 7) != 0 && ((i / 6 + y / 9) % 3 != 0))
            img.rows[y * img.row_bytes() + i / 8] |= 0x80 >> (i % 8);
      x += word + 25;
    }
  }
  return img;
}

// Smooth colour fields with a little noise, like a photograph.
Image photo(std::uint32_t w, std::uint32_t h, bool palette) {
  Image img{w, h, 8, std::uint16_t(palette ? 1 : 3), std::uint16_t(palette ? 3 : 2), {}, {}};
  img.rows.resize(img.row_bytes() * h);
  std::uint32_t seed = 7;
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) {
      double fx = x / double(w), fy = y / double(h);
      int noise = int((seed = seed * 1664525 + 1013904223) >> 29);
      int r = int(128 + 100 * std::sin(fx * 6 + fy * 2)) + noise;
      int g = int(128 + 90 * std::cos(fy * 5 - fx)) + noise;
      int b = int(128 + 80 * std::sin((fx + fy) * 4)) + noise;
      std::uint8_t *p = img.rows.data() + y * img.row_bytes() + x * img.samples;
      if (palette) {
        *p = std::uint8_t(((r >> 5) << 5) | ((g >> 5) << 2) | (b >> 6));
      } else {
        p[0] = std::uint8_t(std::clamp(r, 0, 255)), p[1] = std::uint8_t(std::clamp(g, 0, 255)),
        p[2] = std::uint8_t(std::clamp(b, 0, 255));
      }
    }
  if (palette) {
    img.map.resize(768);
    for (int i = 0; i < 256; ++i) {
      img.map[i] = std::uint16_t(((i >> 5) * 36) * 257);
      img.map[256 + i] = std::uint16_t((((i >> 2) & 7) * 36) * 257);
      img.map[512 + i] = std::uint16_t(((i & 3) * 85) * 257);
    }
  }
  return img;
}

// A scanned page of typed text at `dpi`: glyphs of two to four strokes with ragged edges, a
// faint speckle over the paper and a grey band of toner along the left edge.
Image scanned_text(std::uint32_t dpi) {
  const std::uint32_t w = dpi * 827 / 100, h = dpi * 1169 / 100;
  Image img{w, h, 1, 1, 0, {}, {}};
  const std::size_t rb = img.row_bytes();
  img.rows.assign(rb * h, 0);
  std::uint32_t seed = dpi;
  auto rnd = [&] { return (seed = seed * 1103515245 + 12345) >> 8; };
  auto ink = [&](std::uint32_t x, std::uint32_t y) {
    if (x < w && y < h) img.rows[y * rb + x / 8] |= std::uint8_t(0x80 >> (x % 8));
  };
  const std::uint32_t cell_w = dpi / 10, cell_h = dpi * 14 / 100, pitch = dpi * 22 / 100;
  const double thick = dpi / 150.0;
  for (std::uint32_t top = dpi; top + cell_h < h - dpi; top += pitch) {
    if (rnd() % 11 == 0) continue;  // paragraph break
    const std::uint32_t right = w - dpi - (rnd() % 5 == 0 ? rnd() % (w / 2) : 0);
    for (std::uint32_t left = dpi; left + cell_w < right; left += cell_w + dpi / 60) {
      if (rnd() % 6 == 0) continue;  // space
      const int strokes = 2 + int(rnd() % 3);
      for (int k = 0; k < strokes; ++k) {
        const double x0 = rnd() % cell_w, y0 = rnd() % cell_h, x1 = rnd() % cell_w, y1 = rnd() % cell_h;
        const double dx = x1 - x0, dy = y1 - y0, len2 = std::max(1.0, dx * dx + dy * dy);
        for (std::uint32_t y = 0; y < cell_h; ++y)
          for (std::uint32_t x = 0; x < cell_w; ++x) {
            const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0);
            const double ex = x - x0 - t * dx, ey = y - y0 - t * dy;
            if (ex * ex + ey * ey < thick * thick * (0.6 + (rnd() % 100) / 120.0)) ink(left + x, top + y);
          }
      }
    }
  }
  for (std::uint32_t i = 0; i < w * h / 3000; ++i) ink(rnd() % w, rnd() % h);
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < dpi / 8; ++x)
      if (rnd() % 4 != 0) ink(x, y);
  return img;
}

// A photograph: soft light over large shapes, fine texture and sensor noise in every channel.
Image photograph(std::uint32_t w, std::uint32_t h, bool grey) {
  Image img{w, h, 8, std::uint16_t(grey ? 1 : 3), std::uint16_t(grey ? 1 : 2), {}, {}};
  img.rows.resize(img.row_bytes() * h);
  std::uint32_t seed = 11;
  auto rnd = [&] { return (seed = seed * 1664525 + 1013904223) >> 24; };
  auto lattice = [](std::uint32_t x, std::uint32_t y) {
    std::uint32_t v = x * 374761393u + y * 668265263u;
    v = (v ^ (v >> 13)) * 1274126177u;
    return double((v ^ (v >> 16)) & 255) / 255.0;
  };
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) {
      const double fx = x / double(w), fy = y / double(h);
      const double gx = x / 6.0, gy = y / 6.0, tx = gx - std::floor(gx), ty = gy - std::floor(gy);
      const auto ix = std::uint32_t(gx), iy = std::uint32_t(gy);
      const double texture = (lattice(ix, iy) * (1 - tx) + lattice(ix + 1, iy) * tx) * (1 - ty) +
                             (lattice(ix, iy + 1) * (1 - tx) + lattice(ix + 1, iy + 1) * tx) * ty;
      const double light =
          0.55 + 0.35 * std::sin(fx * 3.1 + 0.4) * std::cos(fy * 2.3) + (fy > 0.62 ? -0.2 : 0.0);
      const double base[3] = {170 * light + 40 * std::sin(fx * 9), 150 * light + 30 * std::cos(fy * 7),
                              120 * light + 60 * (fy < 0.62 ? 1 - fy : 0)};
      std::uint8_t *p = img.rows.data() + y * img.row_bytes() + x * img.samples;
      for (int c = 0; c < img.samples; ++c) {
        const int noise = int(rnd() % 7 + rnd() % 7) - 6;
        p[c] = std::uint8_t(std::clamp(int(base[grey ? 1 : c] + 36 * texture) + noise, 0, 255));
      }
    }
  return img;
}

// A screenshot: a flat desktop, windows with flat faces, graded title bars, lines of small
// anti-aliased text and a few icons; with `palette`, the colours of a 3-3-2 map.
Image screenshot(std::uint32_t w, std::uint32_t h, bool palette) {
  Image img{w, h, 8, std::uint16_t(palette ? 1 : 3), std::uint16_t(palette ? 3 : 2), {}, {}};
  std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
  auto put = [&](std::uint32_t x, std::uint32_t y, int r, int g, int b) {
    if (x >= w || y >= h) return;
    std::uint8_t *p = rgb.data() + (std::size_t(y) * w + x) * 3;
    p[0] = std::uint8_t(r), p[1] = std::uint8_t(g), p[2] = std::uint8_t(b);
  };
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) put(x, y, 58, 110, 165);
  std::uint32_t seed = 5;
  auto rnd = [&] { return (seed = seed * 1103515245 + 12345) >> 8; };
  for (int win = 0; win < 4; ++win) {
    const std::uint32_t x0 = 40 + win * w / 6, y0 = 30 + win * h / 9, ww = w / 2, wh = h / 2;
    for (std::uint32_t y = y0; y < y0 + wh; ++y)
      for (std::uint32_t x = x0; x < x0 + ww; ++x) {
        if (y < y0 + 28)
          put(x, y, 30 + int(120 * (x - x0) / ww), 60 + int(80 * (x - x0) / ww), 140);
        else if (x == x0 || x == x0 + ww - 1 || y == y0 + wh - 1)
          put(x, y, 90, 90, 90);
        else
          put(x, y, 246, 246, 244);
      }
    for (std::uint32_t line = y0 + 40; line + 12 < y0 + wh; line += 18) {
      std::uint32_t x = x0 + 12;
      const std::uint32_t stop = x0 + ww - 20 - rnd() % (ww / 2);
      while (x + 8 < stop) {
        const std::uint32_t word = 3 + rnd() % 8;
        for (std::uint32_t c = 0; c < word && x + 8 < stop; ++c, x += 7)
          for (std::uint32_t dy = 0; dy < 10; ++dy)
            for (std::uint32_t dx = 0; dx < 6; ++dx)
              if (rnd() % 3 == 0) {
                const int v = rnd() % 2 ? 20 : 140;
                put(x + dx, line + dy, v, v, v + 10);
              }
        x += 7;
      }
    }
    for (int icon = 0; icon < 6; ++icon)
      for (std::uint32_t y = 0; y < 32; ++y)
        for (std::uint32_t x = 0; x < 32; ++x)
          put(x0 + ww - 40 - icon * 40 + x, y0 + wh - 40 + y, int(8 * x), int(8 * y), int(rnd() % 256));
  }
  img.rows.resize(img.row_bytes() * h);
  for (std::size_t i = 0; i < std::size_t(w) * h; ++i) {
    const std::uint8_t *p = rgb.data() + 3 * i;
    if (palette)
      img.rows[i] = std::uint8_t((p[0] >> 5) << 5 | (p[1] >> 5) << 2 | p[2] >> 6);
    else
      std::memcpy(img.rows.data() + 3 * i, p, 3);
  }
  if (palette) {
    img.map.resize(768);
    for (int i = 0; i < 256; ++i) {
      img.map[i] = std::uint16_t(((i >> 5) * 36) * 257);
      img.map[256 + i] = std::uint16_t((((i >> 2) & 7) * 36) * 257);
      img.map[512 + i] = std::uint16_t(((i & 3) * 85) * 257);
    }
  }
  return img;
}

// `rows_per_strip` 0 takes libtiff's default of about 8 KB a strip.
std::vector<std::uint8_t> encode(const Image &img, int compression, int predictor, int group3 = 0,
                                 std::uint32_t rows_per_strip = 0) {
  std::string path = "/tmp/grainwick-bench-" + std::to_string(::getpid()) + ".tif";
  TIFF *tif = TIFFOpen(path.c_str(), "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, img.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, img.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, img.bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, img.samples);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, img.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  if (predictor > 1) TIFFSetField(tif, TIFFTAG_PREDICTOR, predictor);
  if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, group3);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip ? rows_per_strip : TIFFDefaultStripSize(tif, 0));
  if (!img.map.empty())
    TIFFSetField(tif, TIFFTAG_COLORMAP, img.map.data(), img.map.data() + 256, img.map.data() + 512);
  std::vector<std::uint8_t> row(img.row_bytes());
  for (std::uint32_t y = 0; y < img.height; ++y) {
    std::memcpy(row.data(), img.rows.data() + y * img.row_bytes(), row.size());
    TIFFWriteScanline(tif, row.data(), y, 0);
  }
  TIFFClose(tif);
  std::vector<std::uint8_t> bytes;
  if (FILE *f = std::fopen(path.c_str(), "rb")) {
    std::uint8_t buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
  }
  std::remove(path.c_str());
  return bytes;
}

// libtiff's output buffer, left unfilled as a caller's fresh buffer is: value-initialising it
// would add a pass over the image to libtiff's time that no real caller pays.
template <class T>
struct Unfilled : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = Unfilled<U>;
  };
  template <class U>
  void construct(U *p) noexcept {
    ::new (static_cast<void *>(p)) U;
  }
};
using Buffer = std::vector<std::uint8_t, Unfilled<std::uint8_t>>;

// libtiff over a memory buffer.
struct Memory {
  const std::vector<std::uint8_t> *bytes;
  toff_t pos = 0;
};
tsize_t mem_read(thandle_t h, tdata_t out, tsize_t n) {
  auto *m = static_cast<Memory *>(h);
  tsize_t left = tsize_t(m->bytes->size()) - tsize_t(m->pos);
  n = std::max<tsize_t>(0, std::min(n, left));
  std::memcpy(out, m->bytes->data() + m->pos, size_t(n));
  m->pos += toff_t(n);
  return n;
}
tsize_t mem_write(thandle_t, tdata_t, tsize_t) {
  return 0;
}
toff_t mem_seek(thandle_t h, toff_t off, int whence) {
  auto *m = static_cast<Memory *>(h);
  m->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? m->pos + off : m->bytes->size() + off;
  return m->pos;
}
int mem_close(thandle_t) {
  return 0;
}
toff_t mem_size(thandle_t h) {
  return static_cast<Memory *>(h)->bytes->size();
}
int mem_map(thandle_t, tdata_t *, toff_t *) {
  return 0;
}
void mem_unmap(thandle_t, tdata_t, toff_t) {}

// Into `out`, a Buffer when timed; the pixel check gives a zero-filled vector, so that bits
// libtiff leaves alone (the padding of a bilevel row) compare as ours do.
template <class Out>
__attribute__((noinline)) bool libtiff_decode(const std::vector<std::uint8_t> &bytes, Out &out) {
  Memory m{&bytes};
  TIFF *tif =
      TIFFClientOpen("mem", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
  if (!tif) return false;
  tmsize_t strip_size = TIFFStripSize(tif);
  tstrip_t strips = TIFFNumberOfStrips(tif);
  out.resize(std::size_t(strip_size) * strips);
  bool ok = true;
  for (tstrip_t s = 0; s < strips; ++s)
    ok = ok &&
         TIFFReadEncodedStrip(tif, s, out.data() + std::size_t(s) * std::size_t(strip_size), strip_size) >= 0;
  TIFFClose(tif);
  return ok;
}

constexpr auto millis = bench::thread_millis;
using bench::median;

__attribute__((noinline)) HGLOBAL grainwick_decode(HGLOBAL block, std::int32_t length) {
  HGLOBAL dib = nullptr;
  void *p = GlobalLock(block);
  if (readtiffiledibstream(p, length, 0, 0, 0, &dib, nullptr, 0) != 1) dib = nullptr;
  GlobalUnlock(block);
  return dib;
}

// Whether the DIB holds libtiff's strips as DIB rows: bottom-up, blue-green-red, 0 = black.
bool same_pixels(HGLOBAL dib, const std::vector<std::uint8_t> &file) {
  std::vector<std::uint8_t> strips;
  if (!dib || !libtiff_decode(file, strips)) return false;
  const auto *h = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  const std::uint32_t w = std::uint32_t(h->biWidth), rows = std::uint32_t(h->biHeight), bits = h->biBitCount;
  const std::uint8_t *pixels = reinterpret_cast<const std::uint8_t *>(h + 1) + 4 * h->biClrUsed;
  const std::size_t stride = dib_stride(w, int(bits)), row_bytes = (std::size_t(w) * bits + 7) / 8;
  Memory m{&file};
  TIFF *tif =
      TIFFClientOpen("mem", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
  std::uint16_t photometric = 0;
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFClose(tif);
  bool same = true;
  std::vector<std::uint8_t> want(row_bytes);
  for (std::uint32_t y = 0; y < rows && same; ++y) {
    const std::uint8_t *in = strips.data() + y * row_bytes;
    for (std::size_t i = 0; i < row_bytes; ++i) want[i] = photometric == 0 ? std::uint8_t(~in[i]) : in[i];
    if (bits == 24)
      for (std::size_t i = 0; i + 2 < row_bytes; i += 3) std::swap(want[i], want[i + 2]);
    same = std::memcmp(want.data(), pixels + (rows - 1 - y) * stride, row_bytes) == 0;
  }
  GlobalUnlock(dib);
  return same;
}

}  // namespace

int main(int argc, char **argv) {
  // As in the writer bench: fixed thresholds, so that both sides reuse their memory as a
  // long-running program does, rather than some rounds getting it fresh from the kernel
  // depending on which cases ran before.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const char *only = argc > 2 ? argv[2] : nullptr;
  const std::string side = argc > 3 ? argv[3] : "";
  TIFFSetWarningHandler(nullptr);
  // Pictures are made on first use, so that a run of one case makes only its own, and then lent,
  // not copied, to every case that encodes them.
  auto once = [](auto make) {
    return [make]() -> const Image & {
      static const Image img = make();
      return img;
    };
  };
  auto page = once([] { return text_page(); });
  auto colour = once([] { return photo(3000, 1800, false); });
  auto indexed = once([] { return photo(3000, 2000, true); });
  auto scan300 = once([] { return scanned_text(300); });
  auto scan200 = once([] { return scanned_text(200); });
  auto camera = once([] { return photograph(2400, 1600, false); });
  auto camera_grey = once([] { return photograph(2400, 1600, true); });
  auto screen = once([] { return screenshot(1920, 1080, false); });
  auto screen_map = once([] { return screenshot(1920, 1080, true); });
  constexpr int kG4 = COMPRESSION_CCITTFAX4, kG3 = COMPRESSION_CCITTFAX3, kPack = COMPRESSION_PACKBITS,
                kLzw = COMPRESSION_LZW, kNone = COMPRESSION_NONE;
  struct Case {
    const char *name;
    std::function<std::vector<std::uint8_t>()> make;
  } cases[] = {
      {"2480x3508 bilevel G4", [&] { return encode(page(), kG4, 1); }},
      {"2480x3508 bilevel G3 1D", [&] { return encode(page(), kG3, 1); }},
      {"2480x3508 bilevel PackBits", [&] { return encode(page(), kPack, 1); }},
      {"3000x1800 24-bit LZW", [&] { return encode(colour(), kLzw, 1); }},
      {"3000x1800 24-bit LZW predictor", [&] { return encode(colour(), kLzw, 2); }},
      {"3000x1800 24-bit none", [&] { return encode(colour(), kNone, 1); }},
      {"3000x2000 8-bit palette LZW", [&] { return encode(indexed(), kLzw, 1); }},
      {"scan 300 dpi G4", [&] { return encode(scan300(), kG4, 1); }},
      {"scan 300 dpi G4 one strip", [&] { return encode(scan300(), kG4, 1, 0, 100000); }},
      {"scan 300 dpi G3 1D", [&] { return encode(scan300(), kG3, 1); }},
      {"scan 300 dpi G3 1D 1 row/strip", [&] { return encode(scan300(), kG3, 1, 0, 1); }},
      {"scan 300 dpi PackBits", [&] { return encode(scan300(), kPack, 1); }},
      {"scan 300 dpi LZW", [&] { return encode(scan300(), kLzw, 1); }},
      {"scan 200 dpi G4", [&] { return encode(scan200(), kG4, 1); }},
      {"scan 200 dpi G3 1D", [&] { return encode(scan200(), kG3, 1); }},
      {"scan 200 dpi PackBits", [&] { return encode(scan200(), kPack, 1); }},
      {"photograph 24-bit LZW", [&] { return encode(camera(), kLzw, 1); }},
      {"photograph 24-bit LZW predictor", [&] { return encode(camera(), kLzw, 2); }},
      {"photograph 24-bit LZW pred. one strip", [&] { return encode(camera(), kLzw, 2, 0, 100000); }},
      {"photograph 24-bit LZW pred. 1 row/strip", [&] { return encode(camera(), kLzw, 2, 0, 1); }},
      {"photograph 8-bit grey LZW predictor", [&] { return encode(camera_grey(), kLzw, 2); }},
      {"photograph 24-bit PackBits", [&] { return encode(camera(), kPack, 1); }},
      {"photograph 24-bit none 1 row/strip", [&] { return encode(camera(), kNone, 1, 0, 1); }},
      {"photograph 24-bit none one strip", [&] { return encode(camera(), kNone, 1, 0, 100000); }},
      {"photograph 8-bit grey none", [&] { return encode(camera_grey(), kNone, 1); }},
      {"screenshot 24-bit LZW", [&] { return encode(screen(), kLzw, 1); }},
      {"screenshot 24-bit LZW predictor", [&] { return encode(screen(), kLzw, 2); }},
      {"screenshot 24-bit PackBits", [&] { return encode(screen(), kPack, 1); }},
      {"screenshot 8-bit palette LZW", [&] { return encode(screen_map(), kLzw, 1); }},
      {"screenshot 8-bit palette PackBits", [&] { return encode(screen_map(), kPack, 1); }},
  };
  std::printf("%-40s %8s %9s %9s %7s %13s %s\n", "case", "file KB", "ours ms", "libtiff", "ratio", "low-high",
              "check");
  HGLOBAL photo_dib = nullptr;
  int failures = 0;
  for (auto &c : cases) {
    if (only && !std::strstr(c.name, only)) continue;
    const std::vector<std::uint8_t> file = c.make();
    HGLOBAL block = GlobalAlloc(GHND, file.size());
    std::memcpy(GlobalLock(block), file.data(), file.size());
    GlobalUnlock(block);
    const auto length = std::int32_t(file.size());
    HGLOBAL first = grainwick_decode(block, length);
    const bool same = same_pixels(first, file);
    failures += !same;
    if (!photo_dib && first && std::strstr(c.name, "24-bit none") == c.name + 10)
      photo_dib = first;
    else
      GlobalFree(first);
    // Short decodes repeat so that a timing covers about 20 ms.
    const double once = millis([&] { GlobalFree(grainwick_decode(block, length)); });
    const int repeat = std::max(1, int(20 / std::max(once, 0.01)));
    if (!side.empty()) {
      for (int i = 0; i < rounds * repeat; ++i) {
        Buffer out;
        if (side == "ours")
          GlobalFree(grainwick_decode(block, length));
        else
          libtiff_decode(file, out);
      }
      GlobalFree(block);
      continue;
    }
    std::vector<double> ours, theirs, ratios;
    for (int r = 0; r < rounds; ++r) {
      // Decodes alternate one by one, so that a busy spell of the machine falls on both alike.
      // A fresh output buffer per decode on both sides: each makes a new image.
      double a = 0, b = 0;
      for (int i = 0; i < repeat; ++i) {
        a += millis([&] { GlobalFree(grainwick_decode(block, length)); });
        b += millis([&] {
          Buffer out;
          libtiff_decode(file, out);
        });
      }
      ours.push_back(a / repeat);
      theirs.push_back(b / repeat);
      ratios.push_back(a / b);
    }
    std::printf("%-40s %8zu %9.2f %9.2f %7.2f %6.2f-%-6.2f %s\n", c.name, file.size() / 1024, median(ours),
                median(theirs), median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), same ? "same" : "PIXELS DIFFER");
    GlobalFree(block);
  }
  if (photo_dib) {
    const double reduce = millis([&] { GlobalFree(ReduceColorToColor(photo_dib, 256, 0)); });
    const double dither = millis([&] { GlobalFree(DitherToBW(photo_dib, 4)); });
    std::printf("%-40s %18.2f\n", "ReduceColorToColor 256, 3000x1800", reduce);
    std::printf("%-40s %18.2f\n", "DitherToBW Floyd-Steinberg", dither);
    GlobalFree(photo_dib);
  }
  return failures ? 1 : 0;
}
