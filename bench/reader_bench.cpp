// Decode time of Grainwick against libtiff on the same files held in memory, plus the two
// heaviest conversions. Prints one line per case with the ratio Grainwick / libtiff.
//
// The 24-bit image is 3000 x 1800: at 3000 x 2000 its DIB would pass the reader's limit of
// 16,318,464 bytes and the read would be refused.
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "grainwick.h"

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
          if ((rnd() & 7) != 0 && ((i / 6 + y / 9) % 3 != 0)) img.rows[y * img.row_bytes() + i / 8] |= 0x80 >> (i % 8);
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
        p[0] = std::uint8_t(std::clamp(r, 0, 255)), p[1] = std::uint8_t(std::clamp(g, 0, 255)), p[2] = std::uint8_t(std::clamp(b, 0, 255));
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

std::vector<std::uint8_t> encode(const Image &img, int compression, int predictor, int group3 = 0) {
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
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  if (!img.map.empty()) TIFFSetField(tif, TIFFTAG_COLORMAP, img.map.data(), img.map.data() + 256, img.map.data() + 512);
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
tsize_t mem_write(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t mem_seek(thandle_t h, toff_t off, int whence) {
  auto *m = static_cast<Memory *>(h);
  m->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? m->pos + off : m->bytes->size() + off;
  return m->pos;
}
int mem_close(thandle_t) { return 0; }
toff_t mem_size(thandle_t h) { return static_cast<Memory *>(h)->bytes->size(); }
int mem_map(thandle_t, tdata_t *, toff_t *) { return 0; }
void mem_unmap(thandle_t, tdata_t, toff_t) {}

__attribute__((noinline)) bool libtiff_decode(const std::vector<std::uint8_t> &bytes, std::vector<std::uint8_t> &out) {
  Memory m{&bytes};
  TIFF *tif = TIFFClientOpen("mem", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
  if (!tif) return false;
  tmsize_t strip_size = TIFFStripSize(tif);
  tstrip_t strips = TIFFNumberOfStrips(tif);
  out.resize(std::size_t(strip_size) * strips);
  bool ok = true;
  for (tstrip_t s = 0; s < strips; ++s)
    ok = ok && TIFFReadEncodedStrip(tif, s, out.data() + std::size_t(s) * std::size_t(strip_size), strip_size) >= 0;
  TIFFClose(tif);
  return ok;
}

double best_of(int runs, const std::function<void()> &fn) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

__attribute__((noinline)) HGLOBAL grainwick_decode(HGLOBAL block, std::int32_t length) {
  HGLOBAL dib = nullptr;
  void *p = GlobalLock(block);
  if (readtiffiledibstream(p, length, 0, 0, 0, &dib, nullptr, 0) != 1) dib = nullptr;
  GlobalUnlock(block);
  return dib;
}

}  // namespace

int main(int argc, char **argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  // An optional second argument keeps only the cases whose name contains it.
  const char *only = argc > 2 ? argv[2] : nullptr;
  TIFFSetWarningHandler(nullptr);
  // Pictures are made on first use, so that a run of one case makes only its own.
  auto page = [] { static const Image img = text_page(); return img; };
  auto colour = [] { static const Image img = photo(3000, 1800, false); return img; };
  auto indexed = [] { static const Image img = photo(3000, 2000, true); return img; };
  struct Case {
    const char *name;
    std::function<std::vector<std::uint8_t>()> make;
  } cases[] = {
      {"2480x3508 bilevel G4", [&] { return encode(page(), COMPRESSION_CCITTFAX4, 1); }},
      {"2480x3508 bilevel G3 1D", [&] { return encode(page(), COMPRESSION_CCITTFAX3, 1); }},
      {"2480x3508 bilevel PackBits", [&] { return encode(page(), COMPRESSION_PACKBITS, 1); }},
      {"3000x1800 24-bit LZW", [&] { return encode(colour(), COMPRESSION_LZW, 1); }},
      {"3000x1800 24-bit LZW predictor", [&] { return encode(colour(), COMPRESSION_LZW, 2); }},
      {"3000x1800 24-bit none", [&] { return encode(colour(), COMPRESSION_NONE, 1); }},
      {"3000x2000 8-bit palette LZW", [&] { return encode(indexed(), COMPRESSION_LZW, 1); }},
  };
  std::printf("%-34s %10s %12s %12s %8s\n", "case", "file KB", "grainwick ms", "libtiff ms", "ratio");
  HGLOBAL photo_dib = nullptr;
  for (auto &c : cases) {
    if (only && !std::strstr(c.name, only)) continue;
    const std::vector<std::uint8_t> file = c.make();
    HGLOBAL block = GlobalAlloc(GHND, file.size());
    std::memcpy(GlobalLock(block), file.data(), file.size());
    GlobalUnlock(block);
    bool ok = true;
    double ours = best_of(runs, [&] {
      HGLOBAL dib = grainwick_decode(block, std::int32_t(file.size()));
      ok = ok && dib;
      if (!photo_dib && dib && std::strstr(c.name, "24-bit none"))
        photo_dib = dib;
      else
        GlobalFree(dib);
    });
    // A fresh output buffer per decode on both sides: each makes a new image.
    double theirs = best_of(runs, [&] {
      std::vector<std::uint8_t> out;
      ok = libtiff_decode(file, out) && ok;
    });
    std::printf("%-34s %10zu %12.2f %12.2f %8.2f%s\n", c.name, file.size() / 1024, ours, theirs, ours / theirs,
                ok ? "" : "  (a decode failed)");
    GlobalFree(block);
  }
  if (photo_dib) {
    double reduce = best_of(std::min(runs, 3), [&] { GlobalFree(ReduceColorToColor(photo_dib, 256, 0)); });
    double dither = best_of(std::min(runs, 3), [&] { GlobalFree(DitherToBW(photo_dib, 4)); });
    std::printf("%-34s %23.2f\n", "ReduceColorToColor 256, 3000x1800", reduce);
    std::printf("%-34s %23.2f\n", "DitherToBW Floyd-Steinberg", dither);
    GlobalFree(photo_dib);
  }
  return 0;
}
