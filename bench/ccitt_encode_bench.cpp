// CCITT encoders against libtiff: a 2480 x 3508 text page (A4 at 300 dpi) encoded as one strip
// in Group 4, Group 3 and modified Huffman. libtiff writes to a memory TIFF through
// TIFFClientOpen; only the strip encode is timed on both sides. Prints the median times, the
// ratio ours / libtiff and the compressed sizes.
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "ccitt_encode.h"
#include "timing.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kWidth = 2480, kHeight = 3508, kStride = (kWidth + 7) / 8;

// Rows 1 = white: margins, lines of scaled random glyphs, a rule and, with `picture`, a
// dithered block of many short runs.
Bytes make_page(bool picture) {
  Bytes page(std::size_t(kStride) * kHeight, 0xFF);
  auto black = [&](std::uint32_t x, std::uint32_t y) {
    page[std::size_t(y) * kStride + (x >> 3)] &= std::uint8_t(~(0x80u >> (x & 7)));
  };
  std::mt19937 rng(7);
  for (std::uint32_t top = 250; top + 40 < 2600; top += 50)
    for (std::uint32_t left = 200; left + 24 < kWidth - 200; left += 24) {
      if (rng() % 7 == 0) continue;  // word gap
      const std::uint32_t glyph = rng();
      for (std::uint32_t gy = 0; gy < 7; ++gy)
        for (std::uint32_t gx = 0; gx < 5; ++gx)
          if ((glyph >> ((gy * 5 + gx) % 32)) & 1)
            for (std::uint32_t y = 0; y < 4; ++y)
              for (std::uint32_t x = 0; x < 4; ++x) black(left + gx * 4 + x, top + gy * 4 + y);
    }
  for (std::uint32_t y = 2650; y < 2656; ++y)
    for (std::uint32_t x = 200; x < kWidth - 200; ++x) black(x, y);
  for (std::uint32_t y = 2700; y < 3300 && picture; ++y)
    for (std::uint32_t x = 400; x < 2000; ++x)
      if ((x * 7 + y * 13 + (x * y) % 5) % 3 == 0) black(x, y);
  return page;
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

using bench::median;

std::size_t encode_ours(int compression, const Bytes &page, Bytes &out) {
  out.clear();
  auto enc = grainwick::ccitt_encoder_create(compression, kWidth);
  grainwick::BitSink sink;
  ccitt_encoder_start_strip(*enc, sink, true);
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    ccitt_encode_row(*enc, page.data() + std::size_t(y) * kStride, sink);
    if (sink.bytes.size() >= 16384) {  // the writer empties its buffer now and then
      out.insert(out.end(), sink.bytes.begin(), sink.bytes.end());
      sink.bytes.clear();
    }
  }
  ccitt_encoder_end_strip(*enc, sink);
  ccitt_encoder_finish(*enc, sink);
  out.insert(out.end(), sink.bytes.begin(), sink.bytes.end());
  return out.size();
}

// Memory file for TIFFClientOpen.
struct MemFile {
  Bytes data;
  std::size_t pos = 0;
};
tmsize_t mem_read(thandle_t h, void *buf, tmsize_t n) {
  auto *f = static_cast<MemFile *>(h);
  const std::size_t k =
      std::min<std::size_t>(std::size_t(n), f->data.size() - std::min(f->pos, f->data.size()));
  if (k) std::memcpy(buf, f->data.data() + f->pos, k);
  f->pos += k;
  return tmsize_t(k);
}
tmsize_t mem_write(thandle_t h, void *buf, tmsize_t n) {
  auto *f = static_cast<MemFile *>(h);
  if (f->pos + std::size_t(n) > f->data.size()) f->data.resize(f->pos + std::size_t(n));
  std::memcpy(f->data.data() + f->pos, buf, std::size_t(n));
  f->pos += std::size_t(n);
  return n;
}
toff_t mem_seek(thandle_t h, toff_t off, int whence) {
  auto *f = static_cast<MemFile *>(h);
  if (whence == SEEK_SET)
    f->pos = std::size_t(off);
  else if (whence == SEEK_CUR)
    f->pos += std::size_t(off);
  else
    f->pos = f->data.size() + std::size_t(off);
  return toff_t(f->pos);
}
int mem_close(thandle_t) {
  return 0;
}
toff_t mem_size(thandle_t h) {
  return toff_t(static_cast<MemFile *>(h)->data.size());
}

// Times TIFFWriteEncodedStrip of the whole page; returns the strip's compressed size.
std::size_t encode_libtiff(int compression, Bytes &inverted, double &secs) {
  MemFile file;
  file.data.reserve(1 << 22);
  TIFF *tif = TIFFClientOpen("page", "w", &file, mem_read, mem_write, mem_seek, mem_close, mem_size, nullptr,
                             nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
  if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 4);
  const auto t0 = std::chrono::steady_clock::now();
  const tmsize_t n = TIFFWriteEncodedStrip(tif, 0, inverted.data(), tmsize_t(inverted.size()));
  secs = seconds_since(t0);
  std::uint64_t *counts = nullptr;
  std::size_t size = 0;
  if (n > 0 && TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts) && counts) size = counts[0];
  TIFFClose(tif);
  return size;
}

void compare(const char *title, const Bytes &page) {
  Bytes inverted(page.size());  // libtiff's WhiteIsZero rows: 0 = white
  std::transform(page.begin(), page.end(), inverted.begin(), [](std::uint8_t b) { return std::uint8_t(~b); });
  struct Run {
    const char *name;
    int ours, theirs;
  } runs[] = {{"Group 4", 4, COMPRESSION_CCITTFAX4},
              {"Group 3", 3, COMPRESSION_CCITTFAX3},
              {"Modified Huffman", 2, COMPRESSION_CCITTRLE}};
  std::printf("%s, %u x %u, %zu bytes raw\n", title, kWidth, kHeight, page.size());
  for (const Run &r : runs) {
    std::vector<double> ours, theirs;
    Bytes out;
    std::size_t our_size = 0, their_size = 0;
    for (int i = 0; i < 15; ++i) {
      const auto t0 = std::chrono::steady_clock::now();
      our_size = encode_ours(r.ours, page, out);
      ours.push_back(seconds_since(t0));
      double secs = 0;
      their_size = encode_libtiff(r.theirs, inverted, secs);
      theirs.push_back(secs);
    }
    const double a = median(ours), b = median(theirs);
    std::printf("%-17s ours %7.2f ms  libtiff %7.2f ms  ratio %.2f  size ours %zu  libtiff %zu\n", r.name,
                a * 1e3, b * 1e3, a / b, our_size, their_size);
  }
}
}  // namespace

int main() {
  compare("text page", make_page(false));
  compare("text page with a dithered picture", make_page(true));
}
