// Encode time of Grainwick's writer against libtiff, both writing the same DIB to memory with
// the same compression and strip layout. libtiff's time includes turning the DIB rows into file
// rows (top-down, red-green-blue, 0 = white for fax), as a caller holding a DIB must do.
// Prints one line per case: sizes of both files, the median times, and the median, lowest and
// highest of the ratios Grainwick / libtiff of the rounds, each round timing both in turn.
// Each Grainwick file is also decoded by libtiff and checked against libtiff's own file.
//   writer_bench [ROUNDS [CASE]]   (default 9; only cases whose name holds CASE)
#include <malloc.h>
#include <tiffio.h>
#include <time.h>

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

struct Dib {
  HGLOBAL handle;
  std::uint32_t width, height;
  int bits;
  std::size_t stride;
  std::uint8_t *rows;  // bottom-up, locked while the bench runs
};

Dib make_dib(std::uint32_t w, std::uint32_t h, int bits) {
  const std::uint32_t colours = bits == 1 ? 2 : 0;
  const std::size_t stride = dib_stride(w, bits);
  HGLOBAL handle = GlobalAlloc(GHND, 40 + 4 * colours + stride * h);
  auto *hd = static_cast<BITMAPINFOHEADER *>(GlobalLock(handle));
  *hd = BITMAPINFOHEADER{40, LONG(w), LONG(h), 1, WORD(bits), 0, 0, 11811, 11811, colours, 0};
  auto *table = reinterpret_cast<RGBQUAD *>(hd + 1);
  if (bits == 1) table[1] = RGBQUAD{255, 255, 255, 0};
  return Dib{handle, w, h, bits, stride, reinterpret_cast<std::uint8_t *>(table + colours)};
}

// A page of text: lines of word-like black blocks on white (bit 1 white, as in a DIB).
Dib text_page() {
  Dib d = make_dib(2480, 3508, 1);
  std::memset(d.rows, 0xFF, d.stride * d.height);
  std::uint32_t seed = 1;
  auto rnd = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
  for (std::uint32_t line = 200; line + 40 < d.height - 200; line += 60) {
    std::uint32_t x = 200;
    while (x < d.width - 300) {
      std::uint32_t word = 40 + rnd() % 160;
      for (std::uint32_t y = line; y < line + 36; ++y)
        for (std::uint32_t i = x; i < x + word; ++i)
          if ((rnd() & 7) != 0 && ((i / 6 + y / 9) % 3 != 0))
            d.rows[(d.height - 1 - y) * d.stride + i / 8] &= std::uint8_t(~(0x80 >> (i % 8)));
      x += word + 25;
    }
  }
  return d;
}

// Smooth colour fields with a little noise, like a photograph.
Dib photo(std::uint32_t w, std::uint32_t h) {
  Dib d = make_dib(w, h, 24);
  std::uint32_t seed = 7;
  for (std::uint32_t y = 0; y < h; ++y)
    for (std::uint32_t x = 0; x < w; ++x) {
      double fx = x / double(w), fy = y / double(h);
      int noise = int((seed = seed * 1664525 + 1013904223) >> 29);
      int r = int(128 + 100 * std::sin(fx * 6 + fy * 2)) + noise;
      int g = int(128 + 90 * std::cos(fy * 5 - fx)) + noise;
      int b = int(128 + 80 * std::sin((fx + fy) * 4)) + noise;
      std::uint8_t *p = d.rows + (h - 1 - y) * d.stride + 3 * x;
      p[0] = std::uint8_t(std::clamp(b, 0, 255)), p[1] = std::uint8_t(std::clamp(g, 0, 255)),
      p[2] = std::uint8_t(std::clamp(r, 0, 255));
    }
  return d;
}

// libtiff over a growing memory buffer.
struct Memory {
  std::vector<std::uint8_t> bytes;
  toff_t pos = 0;
};
tsize_t mem_read(thandle_t h, tdata_t out, tsize_t n) {
  auto *m = static_cast<Memory *>(h);
  tsize_t left = tsize_t(m->bytes.size()) - tsize_t(m->pos);
  n = std::max<tsize_t>(0, std::min(n, left));
  std::memcpy(out, m->bytes.data() + m->pos, size_t(n));
  m->pos += toff_t(n);
  return n;
}
tsize_t mem_write(thandle_t h, tdata_t in, tsize_t n) {
  auto *m = static_cast<Memory *>(h);
  // Appending copies the bytes once; growing with resize would zero-fill them first.
  const auto *p = static_cast<const std::uint8_t *>(in);
  if (m->pos == m->bytes.size()) {
    m->bytes.insert(m->bytes.end(), p, p + n);
  } else {
    if (m->pos + toff_t(n) > m->bytes.size()) m->bytes.resize(m->pos + toff_t(n));
    std::memcpy(m->bytes.data() + m->pos, in, size_t(n));
  }
  m->pos += toff_t(n);
  return n;
}
toff_t mem_seek(thandle_t h, toff_t off, int whence) {
  auto *m = static_cast<Memory *>(h);
  m->pos = whence == SEEK_SET ? off : whence == SEEK_CUR ? m->pos + off : m->bytes.size() + off;
  return m->pos;
}
int mem_close(thandle_t) {
  return 0;
}
toff_t mem_size(thandle_t h) {
  return static_cast<Memory *>(h)->bytes.size();
}
int mem_map(thandle_t, tdata_t *, toff_t *) {
  return 0;
}
void mem_unmap(thandle_t, tdata_t, toff_t) {}

// Rows per strip as the Grainwick writer chooses them: about 8 KB a strip, at most 200 strips.
std::uint32_t rows_per_strip(const Dib &d) {
  std::uint64_t row_bytes = (std::uint64_t(d.width) * d.bits + 7) / 8;
  std::uint64_t strips =
      std::max<std::uint64_t>(1, std::min<std::uint64_t>(200, (row_bytes * d.height + 8095) / 8096));
  return std::uint32_t((d.height + strips - 1) / strips);
}

std::vector<std::uint8_t> libtiff_encode(const Dib &d, int compression) {
  Memory m;
  TIFF *tif =
      TIFFClientOpen("mem", "w", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
  const bool fax = compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, d.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, d.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, d.bits == 24 ? 8 : 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, d.bits == 24 ? 3 : 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
               d.bits == 24 ? PHOTOMETRIC_RGB
               : fax        ? PHOTOMETRIC_MINISWHITE
                            : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_FILLBITS);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip(d));
  const std::size_t row_bytes = (std::size_t(d.width) * d.bits + 7) / 8;
  std::vector<std::uint8_t> row(row_bytes);
  for (std::uint32_t y = 0; y < d.height; ++y) {
    const std::uint8_t *in = d.rows + (d.height - 1 - y) * d.stride;
    if (d.bits == 24) {
      for (std::uint32_t x = 0; x < d.width; ++x)
        row[3 * x] = in[3 * x + 2], row[3 * x + 1] = in[3 * x + 1], row[3 * x + 2] = in[3 * x];
    } else if (fax) {
      for (std::size_t i = 0; i < row_bytes; ++i) row[i] = std::uint8_t(~in[i]);
    } else {
      std::memcpy(row.data(), in, row_bytes);
    }
    TIFFWriteScanline(tif, row.data(), y, 0);
  }
  TIFFClose(tif);
  return std::move(m.bytes);
}

std::vector<std::uint8_t> grainwick_encode(const Dib &d, int16_t compression) {
  void *stream = nullptr;
  int32_t length = 0;
  std::vector<std::uint8_t> out;
  if (writetiffiledibstream(&stream, &length, compression, int16_t(d.bits), 0, d.handle, nullptr, 0) != 1)
    return out;
  out.assign(static_cast<std::uint8_t *>(stream), static_cast<std::uint8_t *>(stream) + length);
  HGLOBAL block = GlobalHandle(stream);
  GlobalUnlock(block);
  GlobalFree(block);
  return out;
}

// The decoded strips of a file, as libtiff gives them; empty when it cannot read the file.
std::vector<std::uint8_t> libtiff_decode(std::vector<std::uint8_t> bytes) {
  Memory m{std::move(bytes)};
  std::vector<std::uint8_t> out;
  TIFF *tif =
      TIFFClientOpen("mem", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map, mem_unmap);
  if (!tif) return out;
  tmsize_t strip_size = TIFFStripSize(tif);
  tstrip_t strips = TIFFNumberOfStrips(tif);
  out.resize(std::size_t(strip_size) * strips);
  for (tstrip_t s = 0; s < strips; ++s)
    if (TIFFReadEncodedStrip(tif, s, out.data() + std::size_t(s) * std::size_t(strip_size), strip_size) < 0) {
      out.clear();
      break;
    }
  TIFFClose(tif);
  return out;
}

constexpr auto millis = bench::thread_millis;
using bench::median;

}  // namespace

int main(int argc, char **argv) {
  // Both sides allocate tens of megabytes a round. With glibc's sliding thresholds some rounds
  // got their memory fresh from the kernel (8,700 page faults, three times the round's time) and
  // others did not; fixed thresholds let both reuse theirs, as a long-running program does.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  TIFFSetWarningHandler(nullptr);
  TIFFSetErrorHandler(nullptr);
  const Dib page = text_page(), colour = photo(3000, 2000);
  struct Case {
    const char *name;
    const Dib &dib;
    int16_t ours;
    int theirs;
  } cases[] = {
      {"2480x3508 bilevel G4", page, 4, COMPRESSION_CCITTFAX4},
      {"2480x3508 bilevel G3", page, 3, COMPRESSION_CCITTFAX3},
      {"2480x3508 bilevel PackBits", page, 32773 - 65536, COMPRESSION_PACKBITS},
      {"3000x2000 24-bit LZW", colour, 5, COMPRESSION_LZW},
      {"3000x2000 24-bit none", colour, 1, COMPRESSION_NONE},
  };
  std::printf("%-28s %10s %10s %7s %8s %8s %6s %11s %s\n", "case", "ours bytes", "libtiff", "size %",
              "ours ms", "libtiff", "ratio", "low-high", "check");
  int failures = 0;
  for (const auto &c : cases) {
    if (argc > 2 && !std::strstr(c.name, argv[2])) continue;
    std::vector<std::uint8_t> ours, theirs;
    std::vector<double> t_ours, t_theirs, ratios;
    for (int r = 0; r < rounds; ++r) {
      t_ours.push_back(millis([&] { ours = grainwick_encode(c.dib, c.ours); }));
      t_theirs.push_back(millis([&] { theirs = libtiff_encode(c.dib, c.theirs); }));
      ratios.push_back(t_ours.back() / t_theirs.back());
    }
    auto a = libtiff_decode(ours), b = libtiff_decode(theirs);
    bool same = !a.empty() && a == b;
    failures += !same;
    std::printf("%-28s %10zu %10zu %+6.2f%% %8.2f %8.2f %6.3f %5.2f-%-5.2f %s\n", c.name, ours.size(),
                theirs.size(), 100.0 * (double(ours.size()) - double(theirs.size())) / double(theirs.size()),
                median(t_ours), median(t_theirs), median(ratios),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), same ? "same pixels" : "PIXELS DIFFER");
  }
  GlobalUnlock(page.handle);
  GlobalFree(page.handle);
  GlobalUnlock(colour.handle);
  GlobalFree(colour.handle);
  return failures ? 1 : 0;
}
