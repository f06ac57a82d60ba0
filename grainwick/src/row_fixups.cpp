#include "row_fixups.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GRAINWICK_SSSE3 1
#endif

namespace grainwick {

namespace {

// Every function here reads `src` and writes `dst`, which may be the same row.

void invert(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n) {
  std::uint32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, src + i, 8);
    w = ~w;
    std::memcpy(dst + i, &w, 8);
  }
  for (; i < n; ++i) dst[i] = std::uint8_t(~src[i]);
}

// Whole pixels from byte `i` on: first and third byte exchanged, every byte xor `m`.
void swap_from(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t i, std::uint32_t n, std::uint8_t m) {
  const std::uint8_t *q = src + i, *const whole = src + i + (n - i) / 3 * 3, *const end = src + n;
  std::uint8_t *o = dst + i;
  for (; q < whole; q += 3, o += 3) {
    const std::uint8_t a = q[0], b = q[1], c = q[2];
    o[0] = std::uint8_t(c ^ m);
    o[1] = std::uint8_t(b ^ m);
    o[2] = std::uint8_t(a ^ m);
  }
  for (; q < end; ++q, ++o) *o = std::uint8_t(*q ^ m);
}

#ifdef GRAINWICK_SSSE3
// Shuffle masks for 16 pixels (48 bytes, three vectors): output vector o takes from input
// vector v the bytes mask[o][v] names; 0x80 gives zero, and the three parts are or-ed.
struct SwapMasks {
  alignas(16) std::uint8_t m[3][3][16];
  constexpr SwapMasks() : m() {
    for (int j = 0; j < 48; ++j) {
      const int src = 3 * (j / 3) + 2 - j % 3;
      for (int v = 0; v < 3; ++v) m[j / 16][v][j % 16] = std::uint8_t(src / 16 == v ? src % 16 : 0x80);
    }
  }
};
constexpr SwapMasks kSwapMasks;

// From byte `i` (a pixel boundary) on, 48 bytes at a time; returns where it stopped.
__attribute__((target("ssse3"))) std::uint32_t swap_ssse3(std::uint8_t *dst, const std::uint8_t *src,
                                                          std::uint32_t i, std::uint32_t n, std::uint8_t m) {
  const __m128i x = _mm_set1_epi8(char(m));
  __m128i mask[3][3];
  for (int o = 0; o < 3; ++o)
    for (int v = 0; v < 3; ++v)
      mask[o][v] = _mm_load_si128(reinterpret_cast<const __m128i *>(kSwapMasks.m[o][v]));
  for (; i + 48 <= n; i += 48) {
    const auto *q = reinterpret_cast<const __m128i *>(src + i);
    auto *o = reinterpret_cast<__m128i *>(dst + i);
    const __m128i a = _mm_loadu_si128(q), b = _mm_loadu_si128(q + 1), c = _mm_loadu_si128(q + 2);
    const __m128i o0 = _mm_or_si128(_mm_shuffle_epi8(a, mask[0][0]), _mm_shuffle_epi8(b, mask[0][1]));
    const __m128i o1 =
        _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, mask[1][0]), _mm_shuffle_epi8(b, mask[1][1])),
                     _mm_shuffle_epi8(c, mask[1][2]));
    const __m128i o2 = _mm_or_si128(_mm_shuffle_epi8(b, mask[2][1]), _mm_shuffle_epi8(c, mask[2][2]));
    _mm_storeu_si128(o, _mm_xor_si128(o0, x));
    _mm_storeu_si128(o + 1, _mm_xor_si128(o1, x));
    _mm_storeu_si128(o + 2, _mm_xor_si128(o2, x));
  }
  return i;
}

// AVX2 shuffles stay within 16-byte lanes. An output lane starting at byte p takes its bytes
// from p - 2 to p + 18, which two loads, at p - 2 and p + 2, hold between them: mask [k][0]
// picks from the first, [k][1] from the second, for the k-th vector of a 96-byte step that
// starts on a pixel.
struct WideSwapMasks {
  alignas(32) std::uint8_t m[3][2][32];
  constexpr WideSwapMasks() : m() {
    for (int q = 0; q < 96; ++q) {
      const int src = 3 * (q / 3) + 2 - q % 3, lane = q / 16 * 16, k = q / 32, j = q % 32;
      const int low = src - (lane - 2), high = src - (lane + 2);
      const bool from_low = low >= 0 && low < 16;
      m[k][0][j] = std::uint8_t(from_low ? low : 0x80);
      m[k][1][j] = std::uint8_t(from_low ? 0x80 : high);
    }
  }
};
constexpr WideSwapMasks kWideSwapMasks;

// As swap_ssse3 up to `end`, for a copy only: it reads two bytes either side of what it writes,
// so `i` >= 2 and no read passes `n`. 96 bytes at a time; with `Stream`, `dst + i` must be
// 32-byte aligned.
template <bool Stream>
__attribute__((target("avx2"))) std::uint32_t swap_avx2(std::uint8_t *dst, const std::uint8_t *src,
                                                        std::uint32_t i, std::uint32_t end, std::uint32_t n,
                                                        std::uint8_t m) {
  const __m256i x = _mm256_set1_epi8(char(m));
  __m256i mask[3][2];
  for (int k = 0; k < 3; ++k)
    for (int h = 0; h < 2; ++h)
      mask[k][h] = _mm256_load_si256(reinterpret_cast<const __m256i *>(kWideSwapMasks.m[k][h]));
  for (; i + 96 <= end && i + 98 <= n; i += 96)
    for (int k = 0; k < 3; ++k) {
      const std::uint8_t *q = src + i + 32 * k;
      const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(q - 2));
      const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(q + 2));
      const __m256i v = _mm256_xor_si256(
          _mm256_or_si256(_mm256_shuffle_epi8(low, mask[k][0]), _mm256_shuffle_epi8(high, mask[k][1])), x);
      auto *o = reinterpret_cast<__m256i *>(dst + i + 32 * k);
      if constexpr (Stream)
        _mm256_stream_si256(o, v);
      else
        _mm256_storeu_si256(o, v);
    }
  return i;
}

bool has_avx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

bool has_ssse3() {
  static const bool yes = __builtin_cpu_supports("ssse3");
  return yes;
}
#endif

#ifdef GRAINWICK_SSSE3
// A copy of the whole pixels from `lo` to `hi` with ordinary stores, where the last narrow block
// overlaps the one before it.
void swap_span(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t lo, std::uint32_t hi,
               std::uint32_t n, std::uint8_t m) {
  if (hi - lo < 48) return swap_from(dst, src, lo, hi, m);
  std::uint32_t i = lo < 2 ? swap_ssse3(dst, src, lo, lo + 48, m) : lo;
  i = swap_ssse3(dst, src, swap_avx2<false>(dst, src, i, hi, n, m), hi, m);
  if (i < hi) swap_ssse3(dst, src, hi - 48, hi, m);
}
#endif

void swap_rgb(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n, std::uint8_t m, bool stream) {
  std::uint32_t i = 0;
#ifdef GRAINWICK_SSSE3
  const std::uint32_t whole = n / 3 * 3;
  if (dst != src && has_avx2()) {
    std::uint32_t a = 0, b = 0;
    if (stream && whole >= 3 * 192) {
      // Streaming stores only on whole cache lines: a line they write in part costs a read and
      // a write in memory, and one shared with ordinary stores is flushed early. The ends go
      // the ordinary way, after the streamed middle.
      a = 3;
      while (reinterpret_cast<std::uintptr_t>(dst + a) % 64 != 0) a += 3;
      b = swap_avx2<true>(dst, src, a, a + (whole - a) / 192 * 192, n, m);
    }
    swap_span(dst, src, 0, a, n, m);
    swap_span(dst, src, b, whole, n, m);
    i = whole;
  } else if (has_ssse3()) {
    i = swap_ssse3(dst, src, 0, n, m);
  }
#endif
  swap_from(dst, src, i, n, m);
}

// Predictor 2 over 3-byte pixels as three running sums, stored swapped or not, xor `m`.
template <bool Swap, bool Invert>
void predict3(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n) {
  constexpr std::uint8_t m = Invert ? 0xFF : 0;
  std::uint8_t r = 0, g = 0, b = 0;
  // Pointers rather than a 32-bit index: the index arithmetic cost more than the sums.
  const std::uint8_t *q = src, *const whole = src + n / 3 * 3;
  std::uint8_t *o = dst;
  for (; q < whole; q += 3, o += 3) {
    r = std::uint8_t(r + q[0]);
    g = std::uint8_t(g + q[1]);
    b = std::uint8_t(b + q[2]);
    o[0] = std::uint8_t((Swap ? b : r) ^ m);
    o[1] = std::uint8_t(g ^ m);
    o[2] = std::uint8_t((Swap ? r : b) ^ m);
  }
  // A row that is not whole pixels (never for 24 bits): its last bytes still follow the rule.
  const std::uint32_t left = n % 3;
  if (left > 0) o[0] = std::uint8_t((r + q[0]) ^ m);
  if (left > 1) o[1] = std::uint8_t((g + q[1]) ^ m);
}

void predict1(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n, std::uint8_t m) {
  std::uint8_t sum = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    sum = std::uint8_t(sum + src[i]);
    dst[i] = std::uint8_t(sum ^ m);
  }
}

}  // namespace

void fix_copy(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t n, const RowFixups &f) {
  // Rows of no bytes (0 bits per sample) come with no source at all.
  if (n == 0) return;
  const std::uint8_t m = f.invert ? 0xFF : 0;
  if (f.predict && f.back == 3) {
    if (f.swap_rgb)
      f.invert ? predict3<true, true>(dst, src, n) : predict3<true, false>(dst, src, n);
    else
      f.invert ? predict3<false, true>(dst, src, n) : predict3<false, false>(dst, src, n);
    return;
  }
  if (f.predict) {
    predict1(dst, src, n, m);
    if (f.swap_rgb) swap_rgb(dst, dst, n, 0, false);
    return;
  }
  if (f.swap_rgb)
    swap_rgb(dst, src, n, m, f.stream);
  else if (f.invert)
    invert(dst, src, n);
  else if (dst != src)
    std::memcpy(dst, src, n);
}

void end_streaming() {
#ifdef GRAINWICK_SSSE3
  _mm_sfence();
#endif
}

}  // namespace grainwick
