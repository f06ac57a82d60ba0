// CCITT decode speed against libtiff on a 2480 x 3508 (A4, 300 dpi) text page held in memory.
// libtiff reads the strip through a memory mapping (TIFFReadEncodedStrip); Grainwick decodes
// row by row through a 4096-byte scratch buffer as its reader does.
#include <benchmark/benchmark.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "ccitt.h"

namespace {

constexpr std::uint32_t kWidth = 2480, kHeight = 3508, kStride = (kWidth + 7) / 8;

// Typed-page look: lines of 5 x 7 glyphs drawn at 4 x 4 pixels per dot, with word gaps,
// paragraph breaks and page margins. Bits: 1 = ink (WhiteIsZero).
std::vector<std::uint8_t> make_page() {
  std::vector<std::uint8_t> page(std::size_t(kStride) * kHeight, 0);
  std::mt19937 rng(2480);
  auto ink = [&](std::uint32_t x, std::uint32_t y) {
    page[std::size_t(y) * kStride + x / 8] |= std::uint8_t(0x80u >> (x & 7));
  };
  for (std::uint32_t top = 250; top + 40 < kHeight - 250; top += 50) {
    if (rng() % 9 == 0) continue;  // paragraph break
    const std::uint32_t right = kWidth - 200 - (rng() % 4 == 0 ? rng() % 1200 : 0);
    for (std::uint32_t left = 200; left + 24 < right; left += 24) {
      if (rng() % 6 == 0) continue;  // space
      for (std::uint32_t dy = 0; dy < 7; ++dy)
        for (std::uint32_t dx = 0; dx < 5; ++dx)
          if (rng() % 5 < 2)
            for (std::uint32_t y = 0; y < 4; ++y)
              for (std::uint32_t x = 0; x < 4; ++x) ink(left + dx * 4 + x, top + dy * 4 + y);
    }
  }
  return page;
}

std::vector<std::uint8_t> encode(const std::vector<std::uint8_t> &page, int compression) {
  char name[] = "/tmp/ccitt-bench-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd < 0) return {};
  ::close(fd);
  TIFF *tif = TIFFOpen(name, "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, kHeight);
  for (std::uint32_t y = 0; y < kHeight; ++y)
    TIFFWriteScanline(tif, const_cast<std::uint8_t *>(&page[std::size_t(y) * kStride]), y, 0);
  TIFFClose(tif);
  std::ifstream f(name, std::ios::binary);
  std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(f)), {});
  std::remove(name);
  return file;
}

struct MemoryFile {
  const std::vector<std::uint8_t> *bytes;
  toff_t pos = 0;
};

tsize_t mem_read(thandle_t h, tdata_t buf, tsize_t n) {
  auto *m = static_cast<MemoryFile *>(h);
  const tsize_t left = tsize_t(m->bytes->size() - m->pos);
  if (n > left) n = left;
  std::memcpy(buf, m->bytes->data() + m->pos, std::size_t(n));
  m->pos += toff_t(n);
  return n;
}
tsize_t mem_write(thandle_t, tdata_t, tsize_t) {
  return 0;
}
toff_t mem_seek(thandle_t h, toff_t off, int whence) {
  auto *m = static_cast<MemoryFile *>(h);
  if (whence == SEEK_CUR) off += m->pos;
  if (whence == SEEK_END) off += m->bytes->size();
  return m->pos = off;
}
int mem_close(thandle_t) {
  return 0;
}
toff_t mem_size(thandle_t h) {
  return static_cast<MemoryFile *>(h)->bytes->size();
}
int mem_map(thandle_t h, tdata_t *base, toff_t *size) {
  auto *m = static_cast<MemoryFile *>(h);
  *base = const_cast<std::uint8_t *>(m->bytes->data());
  *size = m->bytes->size();
  return 1;
}
void mem_unmap(thandle_t, tdata_t, toff_t) {}

const std::vector<std::uint8_t> &page() {
  static const std::vector<std::uint8_t> p = make_page();
  return p;
}

const std::vector<std::uint8_t> &file_for(int compression) {
  static const std::vector<std::uint8_t> g3 = encode(page(), COMPRESSION_CCITTFAX3);
  static const std::vector<std::uint8_t> g4 = encode(page(), COMPRESSION_CCITTFAX4);
  return compression == 4 ? g4 : g3;
}

void BM_Libtiff(benchmark::State &state) {
  MemoryFile m{&file_for(int(state.range(0)))};
  TIFFSetWarningHandler(nullptr);
  TIFF *tif = TIFFClientOpen("page", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map,
                             mem_unmap);
  if (!tif) {
    state.SkipWithError("libtiff cannot open the page");
    return;
  }
  std::vector<std::uint8_t> out(TIFFStripSize(tif));
  for (auto _ : state) {
    if (TIFFReadEncodedStrip(tif, 0, out.data(), tsize_t(out.size())) < 0)
      state.SkipWithError("libtiff decode failed");
    benchmark::DoNotOptimize(out.data());
  }
  TIFFClose(tif);
}

void BM_Grainwick(benchmark::State &state) {
  const int compression = int(state.range(0));
  const std::vector<std::uint8_t> &file = file_for(compression);
  // Single strip: its offset is the StripOffsets value, found through libtiff.
  MemoryFile m{&file};
  TIFF *info = TIFFClientOpen("page", "rm", &m, mem_read, mem_write, mem_seek, mem_close, mem_size, mem_map,
                              mem_unmap);
  std::uint64_t *offsets = nullptr, *counts = nullptr;
  TIFFGetField(info, TIFFTAG_STRIPOFFSETS, &offsets);
  TIFFGetField(info, TIFFTAG_STRIPBYTECOUNTS, &counts);
  const std::uint8_t *strip = file.data() + offsets[0];
  const std::size_t strip_size = counts[0];
  TIFFClose(info);

  auto dec = grainwick::ccitt_create(compression, kWidth);
  std::vector<std::uint8_t> scratch(4096), out(std::size_t(kStride) * kHeight);
  grainwick::ScratchInput in;
  in.data = scratch.data();
  in.capacity = std::uint32_t(scratch.size());
  std::size_t served = 0;
  in.read = [&](std::uint8_t *dst, std::uint32_t n) {
    const std::size_t k = std::min<std::size_t>(n, strip_size - served);
    std::memcpy(dst, strip + served, k);
    served += k;
    return std::uint32_t(k);
  };
  for (auto _ : state) {
    served = 0;
    in.reset();
    grainwick::ccitt_reset(*dec);
    for (std::uint32_t y = 0; y < kHeight; ++y)
      if (grainwick::ccitt_decode_row(*dec, in, &out[std::size_t(y) * kStride]) != grainwick::Status::kOk) {
        state.SkipWithError("grainwick decode failed");
        break;
      }
    benchmark::DoNotOptimize(out.data());
  }
  // The decode must be the page (rows are 1 = white, the page 1 = ink).
  for (std::size_t i = 0; i < out.size(); ++i)
    if (std::uint8_t(~out[i]) != page()[i]) {
      state.SkipWithError("grainwick decode differs from the page");
      break;
    }
  state.counters["bytes"] = double(strip_size);
}

}  // namespace

BENCHMARK(BM_Libtiff)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grainwick)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
