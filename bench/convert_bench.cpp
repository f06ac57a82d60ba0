// DIB conversions on a 3000 x 2000 24-bit picture: median cut to 256 colours and
// Floyd-Steinberg to black and white.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "grainwick.h"

namespace {

// Smooth colour ramps with a little noise, so that the histogram holds many thousand colours.
HGLOBAL photo_like(int width, int height) {
  std::size_t stride = dib_stride(width, 24);
  HGLOBAL h = GlobalAlloc(GHND, 40 + stride * height);
  auto *p = static_cast<std::uint8_t *>(GlobalLock(h));
  BITMAPINFOHEADER hd{};
  hd.biSize = 40;
  hd.biWidth = width;
  hd.biHeight = height;
  hd.biPlanes = 1;
  hd.biBitCount = 24;
  std::memcpy(p, &hd, 40);
  std::mt19937 rng(11);
  for (int y = 0; y < height; ++y) {
    std::uint8_t *row = p + 40 + stride * y;
    for (int x = 0; x < width; ++x) {
      int n = int(rng() % 9) - 4;
      row[x * 3] = std::uint8_t(std::clamp(x * 255 / width + n, 0, 255));
      row[x * 3 + 1] = std::uint8_t(std::clamp(y * 255 / height + n, 0, 255));
      row[x * 3 + 2] = std::uint8_t(std::clamp((x + y) * 255 / (width + height) + n, 0, 255));
    }
  }
  GlobalUnlock(h);
  return h;
}

void BM_ReduceColorToColor256(benchmark::State &state) {
  HGLOBAL in = photo_like(3000, 2000);
  for (auto _ : state) {
    HGLOBAL out = ReduceColorToColor(in, 256, std::int16_t(state.range(0)));
    if (!out) state.SkipWithError("no result");
    GlobalFree(out);
  }
  GlobalFree(in);
}
BENCHMARK(BM_ReduceColorToColor256)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_DitherToBWFloydSteinberg(benchmark::State &state) {
  HGLOBAL in = photo_like(3000, 2000);
  for (auto _ : state) {
    HGLOBAL out = DitherToBW(in, 4);
    if (!out) state.SkipWithError("no result");
    GlobalFree(out);
  }
  GlobalFree(in);
}
BENCHMARK(BM_DitherToBWFloydSteinberg)->Unit(benchmark::kMillisecond);

void BM_ReduceDib256(benchmark::State &state) {
  HGLOBAL in = photo_like(3000, 2000);
  std::size_t size = GlobalSize(in);
  for (auto _ : state) {
    state.PauseTiming();
    HGLOBAL work = GlobalAlloc(GHND, size);
    std::memcpy(GlobalLock(work), GlobalLock(in), size);
    GlobalUnlock(in);
    state.ResumeTiming();
    if (ReduceDib(GlobalLock(work), 8, std::int16_t(state.range(0)), 0, nullptr, 0, nullptr) != 1)
      state.SkipWithError("reduction failed");
    GlobalUnlock(work);
    GlobalFree(work);
  }
  GlobalFree(in);
}
BENCHMARK(BM_ReduceDib256)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
