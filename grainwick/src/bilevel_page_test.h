// Bilevel test pages shared by the CCITT decoder and encoder tests: rows packed most significant
// bit first, 1 = white, drawn from a few patterns that stress the run-length codes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace grainwick::test_pages {

struct Page {
  std::uint32_t width, height, stride;
  std::vector<std::uint8_t> bits;
  Page(std::uint32_t w, std::uint32_t h) : width(w), height(h), stride((w + 7) / 8) {
    bits.assign(std::size_t(stride) * h, 0xFF);
  }
  std::uint8_t *row(std::uint32_t y) { return bits.data() + std::size_t(y) * stride; }
  void black(std::uint32_t x, std::uint32_t y) {
    if (x < width && y < height) row(y)[x >> 3] &= std::uint8_t(~(0x80u >> (x & 7)));
  }
};

inline bool white_at(const std::uint8_t *row, std::uint32_t x) { return row[x >> 3] & (0x80u >> (x & 7)); }

// First pixel where two rows differ, or -1.
inline long first_difference(const std::uint8_t *a, const std::uint8_t *b, std::uint32_t width) {
  for (std::uint32_t x = 0; x < width; ++x)
    if (white_at(a, x) != white_at(b, x)) return long(x);
  return -1;
}

// Patterns: white, black, alternate, noise, blocks, text, drift.
inline Page make_page(const std::string &pattern, std::uint32_t w, std::uint32_t h, unsigned seed) {
  Page p(w, h);
  std::mt19937 rng(seed);
  auto pick = [&](std::uint32_t n) { return n ? std::uint32_t(rng() % n) : 0u; };
  if (pattern == "black") {
    std::fill(p.bits.begin(), p.bits.end(), 0);
  } else if (pattern == "alternate") {  // a change at every pixel, shifted by one each row
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = y & 1; x < w; x += 2) p.black(x, y);
  } else if (pattern == "noise") {
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x)
        if (rng() & 1) p.black(x, y);
  } else if (pattern == "blocks") {
    for (int i = 0; i < 12; ++i) {
      const std::uint32_t x0 = pick(w), y0 = pick(h), bw = 1 + pick(w), bh = 1 + pick(h / 2 + 1);
      for (std::uint32_t y = y0; y < y0 + bh; ++y)
        for (std::uint32_t x = x0; x < x0 + bw; ++x) p.black(x, y);
    }
  } else if (pattern == "text") {  // lines of 5 x 7 glyphs with word gaps
    for (std::uint32_t top = 2; top + 7 < h; top += 11)
      for (std::uint32_t left = 3; left + 5 < w; left += 6) {
        if (pick(7) == 0) continue;
        for (std::uint32_t y = 0; y < 7; ++y)
          for (std::uint32_t x = 0; x < 5; ++x)
            if (pick(5) < 2) p.black(left + x, top + y);
      }
  } else if (pattern == "drift") {  // bars whose edges move by -4..4 per row: every mode
    std::vector<long> edges;
    for (long x = long(pick(9)); x < long(w); x += 2 + long(pick(40))) edges.push_back(x);
    for (std::uint32_t y = 0; y < h; ++y) {
      for (std::size_t i = 0; i + 1 < edges.size(); i += 2)
        for (long x = std::max(edges[i], 0L); x < edges[i + 1]; ++x) p.black(std::uint32_t(x), y);
      for (auto &e : edges) e += long(pick(9)) - 4;
      std::sort(edges.begin(), edges.end());
    }
  }
  return p;
}

}  // namespace grainwick::test_pages
