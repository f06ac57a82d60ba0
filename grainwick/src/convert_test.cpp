// DIB conversions: exact results on small hand-built DIBs, dithering and palette invariants,
// the ReduceDib family's codes, and damaged headers.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "grainwick.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

using Indexes = std::vector<unsigned>;

const std::vector<RGBQUAD> kTwo = {quad(200, 10, 30), quad(5, 60, 250)};
std::vector<RGBQUAD> sixteen() {
  std::vector<RGBQUAD> t;
  for (int i = 0; i < 16; ++i) t.push_back(quad(i * 16, 255 - i * 16, (i * 37) % 256));
  return t;
}

// A conversion of the built DIB.
Dib converted(const DibBuilder &b, const std::function<HGLOBAL(HGLOBAL)> &convert) {
  Dib in(b.handle());
  return Dib(convert(in.get()));
}

// ---- widening ----

TEST(Widen, EveryStepKeepsColoursTableHeaderAndClearsPadding) {
  struct Case {
    int from, to;
    std::vector<RGBQUAD> table;
    HGLOBAL (*convert)(HGLOBAL);
    unsigned important;  // the colour count of the last step's source
  };
  std::vector<RGBQUAD> t256 = grey_table(256);
  t256[7] = quad(1, 2, 3);
  const Case cases[] = {{1, 4, kTwo, DIB1to4, 2},    {4, 8, sixteen(), DIB4To8, 16},   {1, 8, kTwo, DIB1To8, 16},
                        {8, 24, t256, DIB8To24, 0}, {1, 24, kTwo, DIB1To24, 0}, {4, 24, sixteen(), DIB4To24, 0}};
  for (const Case &c : cases)
    for (int width : {1, 7, 33}) {
      SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " bits, width " << width);
      Dib in(patterned(width, 3, c.from, c.table).handle());
      Dib out(c.convert(in.get()));
      ASSERT_TRUE(out);
      const BITMAPINFOHEADER h = out.header();
      const unsigned colours = c.to == 24 ? 0 : 1u << c.to;
      EXPECT_EQ(h.biBitCount, c.to);
      EXPECT_EQ(h.biClrUsed, colours);
      if (c.to < 24) {
        EXPECT_EQ(h.biClrImportant, c.important);
        EXPECT_EQ(h.biXPelsPerMeter, 2835);
        EXPECT_EQ(h.biYPelsPerMeter, 3780);
        EXPECT_EQ(h.biSizeImage, dib_stride(width, c.to) * 3);
      }
      EXPECT_EQ(h.biCompression, 0u);
      EXPECT_EQ(GlobalSize(out.get()), 40 + 4 * colours + dib_stride(width, c.to) * 3);
      for (unsigned i = 0; i < colours; ++i) EXPECT_EQ(out.entry(i), i < c.table.size() ? in.entry(i) : Rgb{}) << i;
      EXPECT_EQ(out.colours(), in.colours());  // with the table kept: the same indexes
      EXPECT_TRUE(out.padding_clear());
    }
}

TEST(Widen, IndexPastTheTableReadsAsBlack) {
  DibBuilder src(2, 1, 8, {quad(9, 9, 9)});
  src.index(1, 0, 200);
  Dib out = converted(src, DIB8To24);
  ASSERT_TRUE(out);
  EXPECT_EQ(out.colours(), (std::vector<Rgb>{grey(9), grey(0)}));
}

TEST(Widen, WrongDepthIsRefused) {
  Dib four(patterned(4, 2, 4, sixteen()).handle());
  Dib eight(patterned(4, 2, 8, grey_table(256)).handle());
  for (HGLOBAL r : {DIB1to4(four.get()), DIB4To8(eight.get()), DIB8To24(four.get()), DIB1To24(four.get()),
                    DIB4To24(eight.get())})
    EXPECT_EQ(r, nullptr);
}

TEST(IncreaseColors, TargetsAndTheSizeLimit) {
  Dib in(patterned(5, 3, 1, kTwo).handle());
  Dib eight(ImgIncreaseColors(in.get(), 8));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight.header().biBitCount, 8);
  EXPECT_EQ(ImgIncreaseColors(eight.get(), 4), nullptr);  // not deeper
  EXPECT_EQ(ImgIncreaseColors(eight.get(), 8), nullptr);
  EXPECT_EQ(ImgIncreaseColors(in.get(), 16), nullptr);
  // 3000 x 2000 x 3 = 18,000,000 bytes is past the limit; 8 bits (6,000,000) is not.
  Dib large(DibBuilder(3000, 2000, 4, sixteen()).handle());
  EXPECT_EQ(ImgIncreaseColors(large.get(), 24), nullptr);
  EXPECT_TRUE(Dib(ImgIncreaseColors(large.get(), 8)));
}

// ---- 24 to 1 bit ----

// Hand-computed error diffusion: each case's pixels (top row first) and the bilevel result.
TEST(ToOneBit, ErrorSharesAsComputedByHand) {
  struct Case {
    const char *why;
    int width, height;
    std::vector<Rgb> pixels;
    std::vector<Indexes> rows;
  };
  const Case cases[] = {
      // 128 grey is white (Y16 = 32768); its error -127 sends -47 right: 175 becomes exactly 128.
      {"truncated share to the right, white", 2, 1, {grey(128), grey(175)}, {{1, 1}}},
      {"truncated share to the right, black", 2, 1, {grey(128), grey(174)}, {{1, 0}}},
      // Bottom-left 128 (white, error -127): -47 up, -31 to the upper right. Bottom-right 0 stays
      // black with no error. Top-left 255 - 47 = 208 is white, error -47 sends -17 right. So the
      // top-right pixel ends at X - 31 - 17: white from 176. Work runs up from the stored row.
      {"diagonal quarter, black", 2, 2, {grey(255), grey(175), grey(128), grey(0)}, {{1, 0}, {1, 0}}},
      {"diagonal quarter, white", 2, 2, {grey(255), grey(176), grey(128), grey(0)}, {{1, 1}, {1, 0}}},
      // Red (Y16 19635) alone is black; its error brightens green (Y16 38505), which stays white,
      // and the shares reaching the last pixel clamp at 0.
      {"luminance weights", 3, 1, {{255, 0, 0}, {0, 255, 0}, {0, 0, 0}}, {{0, 1, 0}}},
  };
  for (const Case &c : cases) {
    Dib out = converted(DibBuilder::from_pixels(c.width, c.height, c.pixels), DIB24To1);
    ASSERT_TRUE(out) << c.why;
    for (int y = 0; y < c.height; ++y) EXPECT_EQ(out.indexes(y), c.rows[std::size_t(y)]) << c.why << ", row " << y;
    EXPECT_EQ(out.header().biClrUsed, 2u);
    EXPECT_EQ(out.header().biClrImportant, 2u);
    EXPECT_EQ((std::vector<Rgb>{out.entry(0), out.entry(1)}), (std::vector<Rgb>{grey(0), grey(255)}));
  }
}

TEST(ToOneBit, IndexedInputsMatchTheir24BitForm) {
  for (int width : {1, 7, 33}) {
    SCOPED_TRACE(width);
    for (int bits : {8, 4}) {
      DibBuilder b = bits == 8 ? patterned(width, 5, 8, grey_table(256)) : patterned(width, 5, 4, sixteen());
      Dib full = converted(b, bits == 8 ? DIB8To24 : DIB4To24);
      Dib expect(DIB24To1(full.get()));
      Dib got = converted(b, bits == 8 ? DIB8To1 : DIB4To1);
      ASSERT_TRUE(got);
      EXPECT_EQ(got.bytes(), expect.bytes());
      EXPECT_TRUE(got.padding_clear());
    }
  }
}

// ---- grey ----

TEST(Grey, TwentyFourBitsUsesThePlainWeights) {
  Dib out = converted(DibBuilder::from_pixels(4, 1, {{255, 0, 0}, grey(255), {0, 0, 100}, {0, 100, 0}}), ColorToGrayscale);
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 8);
  EXPECT_EQ(out.entry(77), grey(77));
  EXPECT_EQ(out.indexes(0), (Indexes{76, 255, 11, 59}));  // 30 x 255 / 100, ...
}

TEST(Grey, IndexedInputsGetAToneCurvedTableAndSamePixels) {
  Dib in(patterned(7, 2, 8, {quad(128, 128, 128), quad(255, 255, 255), quad(0, 0, 0), quad(155, 155, 155)}).handle());
  Dib out(ColorToGrayscale(in.get()));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 8);
  EXPECT_EQ(out.header().biClrUsed, 4u);
  EXPECT_EQ((std::vector<Rgb>{out.entry(0), out.entry(1), out.entry(2), out.entry(3)}),
            (std::vector<Rgb>{grey(89), grey(254), grey(1), grey(128)}));
  EXPECT_EQ(out.row(0), in.row(0));
  EXPECT_EQ(out.row(1), in.row(1));
  Dib mono(patterned(8, 1, 1, kTwo).handle());
  EXPECT_EQ(ColorToGrayscale(mono.get()), nullptr);
}

// ---- black and white dithering ----

// Grey 155 has luminance 155 and tone 128, the middle of the curve.
constexpr Rgb kMid{155, 155, 155};

DibBuilder flat(int w, int h, Rgb c) { return DibBuilder::from_pixels(w, h, std::vector<Rgb>(std::size_t(w * h), c)); }

TEST(DitherBW, BayerIsTheMatrixPatternFromTheTopRow) {
  static const int M[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
      {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
  };
  // Mid grey lights cells below 32; tone 32 (grey 70) only those below 8, which tells rows of
  // equal parity apart. A height that is not a multiple of 8 shows the row origin.
  for (auto [level, below] : {std::pair{kMid, 32}, {grey(70), 8}}) {
    Dib out = converted(flat(16, 11, level), [](HGLOBAL h) { return DitherToBW(h, 1); });
    ASSERT_TRUE(out);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 16; ++x) EXPECT_EQ(out.index(x, y), M[x % 8][y % 8] < below ? 1u : 0u) << x << "," << y;
  }
}

// The share of white pixels each method gives a flat level, and no padding carried over.
TEST(DitherBW, FlatLevelsKeepTheirShareOfWhite) {
  struct Case {
    std::vector<int> flags;
    int w, h;
    Rgb level;
    double low, high;
  };
  const Case cases[] = {
      {{0, 1, 2, 4}, 33, 9, grey(0), 0, 0},      {{0, 1, 2, 4}, 33, 9, grey(255), 1, 1},
      {{2, 4}, 64, 64, kMid, 0.45, 0.55},        // diffusion keeps mid grey near half
      {{2, 4}, 1, 40, kMid, 0.01, 0.99},         // and does not fail on one or two columns
      {{2, 4}, 2, 40, kMid, 0.01, 0.99},
  };
  for (const Case &c : cases)
    for (int flags : c.flags) {
      SCOPED_TRACE(testing::Message() << "flags " << flags << " level " << c.level.r << " width " << c.w);
      Dib out = converted(flat(c.w, c.h, c.level), [&](HGLOBAL h) { return DitherToBW(h, std::int16_t(flags)); });
      ASSERT_TRUE(out);
      const double share = out.count_white() / double(c.w * c.h);
      EXPECT_GE(share, c.low);
      EXPECT_LE(share, c.high);
      EXPECT_TRUE(out.padding_clear());
    }
}

TEST(DitherBW, EachMethodSpreadsItsOwnWeights) {
  // Tones 126, 100, 145 (greys 154, 137, 163). The first pixel is black with error 125.
  // Burkes: 100 + 1000/32 = 131 white (error -123); third: 145 + (500 - 984)/32 = 130 white.
  // Floyd-Steinberg: 100 + 875/16 = 154 white (error -100); third: 145 - 700/16 = 102 black.
  // Tone 70 (grey 111) after the same first pixel: 70 + 875/16 = 124 stays black, and its
  // error sends 7/16 of 124 on: 145 + 54 is white.
  // Floyd-Steinberg across rows: the top row ends on tone 126 (black, error 125). Were its
  // rightward share to wrap onto the start of the next row, the tone-100 pixel there would
  // become 154 and turn white.
  struct Case {
    int flags, width, height;
    std::vector<Rgb> pixels;
    std::vector<Indexes> rows;
  };
  const std::vector<Rgb> three = {grey(154), grey(137), grey(163)};
  const Case cases[] = {
      {2, 3, 1, three, {{0, 1, 1}}},
      {4, 3, 1, three, {{0, 1, 0}}},
      {0, 3, 1, three, {{0, 0, 1}}},
      {4, 3, 1, {grey(154), grey(111), grey(163)}, {{0, 0, 1}}},
      {4, 3, 2, {grey(0), grey(0), grey(154), grey(137), grey(0), grey(0)}, {{0, 0, 0}, {0, 0, 0}}},
  };
  for (const Case &c : cases) {
    Dib out = converted(DibBuilder::from_pixels(c.width, c.height, c.pixels),
                        [&](HGLOBAL h) { return DitherToBW(h, std::int16_t(c.flags)); });
    ASSERT_TRUE(out);
    for (int y = 0; y < c.height; ++y)
      EXPECT_EQ(out.indexes(y), c.rows[std::size_t(y)]) << "flags " << c.flags << " case " << (&c - cases);
  }
}

TEST(DitherBW, IndexedInputsUseTheirTableAndOneBitIsRefused) {
  DibBuilder eight(9, 3, 8, {quad(155, 155, 155), quad(154, 154, 154)});
  for (int x = 0; x < 9; ++x) eight.index(x, 1, 1);
  Dib in(eight.handle());
  Dib out(DitherToBW(in.get(), 0));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 1);
  EXPECT_EQ(out.count_white(), 18);
  EXPECT_EQ(out.indexes(1), Indexes(9, 0));
  Dib mono(patterned(8, 2, 1, kTwo).handle());
  EXPECT_EQ(DitherToBW(mono.get(), 4), nullptr);
  EXPECT_EQ(ImgReduceColors(mono.get(), 2, 4), nullptr);
  Dib via(ImgReduceColors(in.get(), 2, 0));
  ASSERT_TRUE(via);
  EXPECT_EQ(via.bytes(), out.bytes());
}

// ---- median cut ----

// 40 distinct colours on the 8-step grid, each used a different number of times.
DibBuilder forty_colours(std::vector<Rgb> &used) {
  DibBuilder b(41, 20, 24);
  used.clear();
  for (int i = 0; i < 40; ++i) used.push_back({(i * 8) % 256, (i * 56) % 256, 248 - (i * 24) % 248});
  int n = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 41; ++x, ++n) b.rgb(x, y, used[(n % 47) % 40]);  // colours 0-6 twice as often
  return b;
}

TEST(MedianCut, FewerSourceColoursThanAskedComeOutExactly) {
  std::vector<Rgb> used;
  Dib in(forty_colours(used).handle());
  Dib out(ReduceColorToColor(in.get(), 256, 0));
  ASSERT_TRUE(out);
  EXPECT_EQ((std::vector<long>{out.header().biBitCount, out.header().biClrUsed, out.header().biClrImportant}),
            (std::vector<long>{8, 256, 40}));
  std::set<std::array<int, 3>> expected, first40;
  for (Rgb c : used) expected.insert({c.r, c.g, c.b});
  for (unsigned i = 0; i < 40; ++i) first40.insert({out.entry(i).r, out.entry(i).g, out.entry(i).b});
  EXPECT_EQ(first40, expected);
  for (unsigned i = 40; i < 256; ++i) EXPECT_EQ(out.entry(i), (Rgb{0, 0, 0}));
  EXPECT_EQ(out.colours(), in.colours());
}

TEST(MedianCut, CutFollowsTheRunningCountAndBoxOrder) {
  // Four reds, one pixel each: the count first passes half at the third, so the boxes are
  // {0, 64, 128} (3 pixels, listed first, mean 64) and {192}.
  Dib out = converted(DibBuilder::from_pixels(4, 1, {{0, 0, 0}, {64, 0, 0}, {128, 0, 0}, {192, 0, 0}}),
                      [](HGLOBAL h) { return ReduceColorToColor(h, 2, 0); });
  ASSERT_TRUE(out);
  EXPECT_EQ((std::vector<Rgb>{out.entry(0), out.entry(1)}), (std::vector<Rgb>{{64, 0, 0}, {192, 0, 0}}));
  EXPECT_EQ(out.indexes(0), (Indexes{0, 0, 0, 1}));
}

TEST(MedianCut, ManyColoursGiveAtMostTheAskedNumber) {
  DibBuilder b(61, 47, 24);
  std::mt19937 rng(7);
  for (int y = 0; y < 47; ++y)
    for (int x = 0; x < 61; ++x) b.rgb(x, y, {int(rng() % 256), int(rng() % 256), int(rng() % 256)});
  Dib in(b.handle());
  for (int n : {1, 5, 16, 200, 256}) {
    for (int flags : {0, 4}) {
      SCOPED_TRACE(testing::Message() << n << " colours, flags " << flags);
      Dib out(ReduceColorToColor(in.get(), std::int16_t(n), std::int16_t(flags)));
      ASSERT_TRUE(out);
      EXPECT_EQ(out.header().biBitCount, n <= 16 ? 4 : 8);
      EXPECT_EQ(out.header().biClrImportant, unsigned(n));
      std::set<unsigned> indexes;
      for (int y = 0; y < 47; ++y)
        for (int x = 0; x < 61; ++x) indexes.insert(out.index(x, y));
      EXPECT_LT(*indexes.rbegin(), unsigned(n));
      EXPECT_TRUE(out.padding_clear());
    }
  }
}

TEST(MedianCut, NearestColoursWithoutDitherAndMeanKeptWithIt) {
  // A horizontal ramp cut to 4 colours: undithered pixels take a palette colour near their own;
  // dithered rows keep the ramp's average within a few levels.
  DibBuilder b(64, 16, 24);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) b.rgb(x, y, {x * 4, x * 4, x * 4});
  Dib in(b.handle());
  Dib plain(ReduceColorToColor(in.get(), 4, 0));
  Dib dithered(ReduceColorToColor(in.get(), 4, 4));
  ASSERT_TRUE(plain && dithered);
  double in_sum = 0, out_sum = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) {
      EXPECT_LE(std::abs(plain.colour(x, y).r - x * 4), 40) << x;
      in_sum += x * 4;
      out_sum += dithered.colour(x, y).r;
    }
  EXPECT_NEAR(out_sum / 1024, in_sum / 1024, 4.0);
}

TEST(MedianCut, IndexedSourcesAndRefusals) {
  Dib in4(patterned(7, 3, 4, sixteen()).handle());
  Dib out(ReduceColorToColor(in4.get(), 16, 0));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 4);
  std::vector<Rgb> cells = in4.colours();  // the histogram's 8-step cells
  for (Rgb &c : cells) c = {c.r & ~7, c.g & ~7, c.b & ~7};
  EXPECT_EQ(out.colours(), cells);
  EXPECT_EQ(ReduceColorToColor(in4.get(), 256, 0), nullptr);  // 4 bits, 16 colours < 256
  EXPECT_EQ(ReduceColorToColor(in4.get(), 300, 0), nullptr);
  EXPECT_EQ(ReduceColorToColor(in4.get(), 0, 0), nullptr);
  EXPECT_EQ(ImgReduceColors(in4.get(), 300, 0), nullptr);
  Dib in8(patterned(7, 3, 8, grey_table(16)).handle());  // 8 bits with 16 colours may ask 256
  Dib wide(ReduceColorToColor(in8.get(), 256, 0));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide.header().biClrImportant, 16u);
  Dib grey(ReduceColorToColor(in4.get(), 16, 8));
  ASSERT_TRUE(grey);
  Dib expect(ColorToGrayscale(in4.get()));
  EXPECT_EQ(grey.bytes(), expect.bytes());
}

TEST(MedianCut, FixedPalettes) {
  Dib in(DibBuilder::from_pixels(5, 2, {{255, 0, 0}, {0, 0, 128}, grey(192), {51, 102, 153}, grey(250)}).handle());
  Dib sixteen_out(ReduceColorToColor(in.get(), 16, 16));
  ASSERT_TRUE(sixteen_out);
  EXPECT_EQ(sixteen_out.header().biBitCount, 4);
  const Indexes got = sixteen_out.indexes(0);
  EXPECT_EQ((Indexes{got[0], got[1], got[2], got[4]}), (Indexes{9, 4, 7, 15}));
  Dib cube(ReduceColorToColor(in.get(), 256, 16));
  ASSERT_TRUE(cube);
  EXPECT_EQ(cube.header().biBitCount, 8);
  EXPECT_EQ((std::vector<Rgb>{cube.colour(0, 0), cube.colour(3, 0)}), (std::vector<Rgb>{{255, 0, 0}, {51, 102, 153}}));
  EXPECT_EQ(ReduceColorToColor(in.get(), 100, 16), nullptr);
}

// ---- palettes ----

TEST(Palettes, ColourCountsAndPaletteCopy) {
  struct Case {
    DWORD size;
    WORD bits;
    DWORD used;
    int colours;
  } cases[] = {{40, 8, 0, 256}, {40, 8, 17, 17}, {40, 24, 0, 0}, {40, 1, 0, 2}, {12, 1, 0, 0}};
  for (const Case &c : cases) {
    BITMAPINFOHEADER h{};
    h.biSize = c.size, h.biBitCount = c.bits, h.biClrUsed = c.used;
    EXPECT_EQ(GetColorsInPalette(&h), c.colours) << c.size << " " << c.bits << " " << c.used;
  }
  EXPECT_EQ(GetColorsInPalette(nullptr), 0);

  std::vector<std::uint8_t> buf(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto *lp = reinterpret_cast<LOGPALETTE *>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  PALETTEENTRY src[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  std::memcpy(lp->palPalEntry, src, sizeof src);
  HPALETTE pal = CreatePalette(lp);
  ASSERT_NE(pal, nullptr);
  PALETTEENTRY out[256]{};
  EXPECT_EQ(GetPalette(pal, out), 3);
  EXPECT_EQ(out[2].peRed, 7);
  EXPECT_EQ(out[2].peBlue, 9);
  EXPECT_EQ(out[3].peRed, 0);
  EXPECT_EQ(GetPalette(nullptr, out), 0);
  DeleteObject(pal);
}

// ---- ReduceDib family ----

// A locked movable block holding a DIB, as the in-place calls expect.
struct LockedBlock {
  HGLOBAL h;
  void *p;
  explicit LockedBlock(const DibBuilder &b) : h(b.handle()), p(GlobalLock(h)) {}
  // After an in-place change the block may have moved.
  void refresh() {
    GlobalUnlock(h);
    p = GlobalLock(h);
  }
  ~LockedBlock() {
    GlobalUnlock(h);
    GlobalFree(h);
  }
  // The block's current content, through a fresh lock as the contract asks.
  Dib copy() const { return Dib(new_block(block_bytes(h))); }
};

DibBuilder three_colour_image(int width, int height) {
  DibBuilder b(width, height, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.rgb(x, y, x < width / 3 ? Rgb{255, 0, 0} : x < 2 * width / 3 ? Rgb{0, 0, 255} : Rgb{255, 255, 255});
  return b;
}

TEST(ReduceDib, ReplacesTheBlockWithAnIndexedDib) {
  LockedBlock block(three_colour_image(9, 4));
  ASSERT_EQ(ReduceDib(block.p, 8, 0, 0, nullptr, 0, nullptr), 1);
  Dib out = block.copy();
  const BITMAPINFOHEADER h = out.header();
  EXPECT_EQ((std::vector<long>{h.biBitCount, h.biClrUsed, h.biWidth, h.biXPelsPerMeter}), (std::vector<long>{8, 3, 9, 2835}));
  EXPECT_EQ(GlobalSize(block.h), 40 + 3 * 4 + dib_stride(9, 8) * 4);
  // Colours are the centres of their histogram cells.
  EXPECT_EQ((std::vector<Rgb>{out.colour(0, 0), out.colour(4, 3), out.colour(8, 1)}),
            (std::vector<Rgb>{{252, 2, 4}, {4, 2, 252}, {252, 254, 252}}));
  EXPECT_TRUE(out.padding_clear());
}

TEST(ReduceDib, FourBitsAndSystemColoursAndGivenPalette) {
  DibBuilder ramp(40, 10, 24);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) ramp.rgb(x, y, {x * 6, 255 - x * 6, (x * y) % 256});
  {
    LockedBlock block(ramp);
    ASSERT_EQ(ReduceDib2(block.p, 0, 4, 1, 0, nullptr), 1);
    Dib out = block.copy();
    EXPECT_EQ(out.header().biBitCount, 4);
    EXPECT_LE(out.header().biClrUsed, 16u);
    EXPECT_GE(out.header().biClrUsed, 8u);
  }
  {
    LockedBlock block(flat(8, 8, {128, 0, 0}));
    ASSERT_EQ(ReduceDib(block.p, 0, 0, 0, nullptr, 0, nullptr), 1);
    Dib out = block.copy();
    EXPECT_EQ(out.header().biBitCount, 4);
    EXPECT_EQ(out.header().biClrUsed, 16u);
    EXPECT_EQ(out.entry(15), (Rgb{255, 255, 255}));
    for (Rgb c : out.colours()) EXPECT_EQ(c, (Rgb{128, 0, 0}));
  }
  {
    // Black and white given; grey 128 dithered comes out near half white, undithered all white.
    const DibBuilder mid = flat(32, 32, grey(128));
    RGBQUAD bw[2] = {quad(0, 0, 0), quad(255, 255, 255)};
    LockedBlock plain(mid), dithered(mid);
    ASSERT_EQ(ReduceDib(plain.p, 8, 0, 2, bw, 0, nullptr), 1);
    ASSERT_EQ(ReduceDib(dithered.p, 8, 1, 2, bw, 0, nullptr), 1);
    int white_plain = 0, white_dithered = 0;
    for (Rgb c : plain.copy().colours()) white_plain += c.r == 255;
    for (Rgb c : dithered.copy().colours()) white_dithered += c.r == 255;
    EXPECT_EQ(white_plain, 1024);
    EXPECT_GT(white_dithered, 1024 * 35 / 100);
    EXPECT_LT(white_dithered, 1024 * 65 / 100);
  }
}

TEST(ReduceDib, DitherLimitsTheErrorAndRunsSerpentine) {
  RGBQUAD bw[2] = {quad(0, 0, 0), quad(255, 255, 255)};
  auto reduced = [&](DibBuilder &b) {
    LockedBlock block(b);
    EXPECT_EQ(ReduceDib(block.p, 8, 1, 2, bw, 0, nullptr), 1);
    return block.copy();
  };
  // 128 goes white (error -127); its 7/16 share, -56, is limited to -32, so 160 lands on 128
  // and is white too (unlimited it would be 104, black).
  DibBuilder row = DibBuilder::from_pixels(2, 1, {grey(128), grey(160)});
  EXPECT_EQ(reduced(row).indexes(0), (Indexes{1, 1}));
  // Second row right to left: 160 white (error -95), so 140 gets -29 and is black; left to
  // right it would have been white.
  DibBuilder two = DibBuilder::from_pixels(3, 2, {grey(0), grey(0), grey(0), grey(0), grey(140), grey(160)});
  EXPECT_EQ(reduced(two).indexes(1), (Indexes{0, 0, 1}));
}

TEST(ReduceDib, FailureCodesLeaveTheBlockAlone) {
  LockedBlock eight(patterned(7, 3, 8, grey_table(256)));
  EXPECT_EQ(ReduceDib(eight.p, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_NOT_24_BITS);

  std::vector<std::uint8_t> not_a_block = three_colour_image(3, 3).bytes();
  EXPECT_EQ(ReduceDib(not_a_block.data(), 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);

  DibBuilder truncated = three_colour_image(6, 6);
  truncated.bytes().resize(truncated.bytes().size() - 1);
  LockedBlock short_block(truncated);
  EXPECT_EQ(ReduceDib(short_block.p, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);

  LockedBlock good(three_colour_image(30, 30));
  std::vector<std::uint8_t> before = good.copy().bytes();
  EXPECT_EQ(ReduceDib(good.p, 7, 0, 0, nullptr, 0, nullptr), GW_REDUCE_FAILED);
  EXPECT_EQ(ReduceDib(good.p, 8, 0, 5, nullptr, 0, nullptr), GW_REDUCE_FAILED);
  static std::vector<int> seen;
  seen.clear();
  auto stop_at_half = [](std::int16_t percent) -> std::int16_t {
    seen.push_back(percent);
    return percent < 50;
  };
  EXPECT_EQ(ReduceDib(good.p, 8, 1, 0, nullptr, 0, stop_at_half), GW_REDUCE_FAILED);
  EXPECT_EQ(good.copy().bytes(), before);
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GE(seen.back(), 50);

  seen.clear();
  auto go_on = [](std::int16_t percent) -> std::int16_t {
    seen.push_back(percent);
    return 1;
  };
  EXPECT_EQ(ReduceDib(good.p, 8, 1, 0, nullptr, 0, go_on), 1);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 100);
  EXPECT_GE(seen.size(), 16u);  // two passes, about every 3/25 of the rows
}

TEST(ReduceDib, CodesAreReportedOnlyWhenAsked) {
  LockedBlock eight(patterned(7, 3, 8, grey_table(256)));
  testing::internal::CaptureStderr();
  ReduceDib(eight.p, 8, 0, 0, nullptr, 0, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  ReduceDib(eight.p, 8, 0, 0, nullptr, 1, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string("Error: ") + ReduceDibErrorText(GW_REDUCE_NOT_24_BITS) + "\n");
}

TEST(ConvertDib, RoutesByDepthInPlace) {
  {
    DibBuilder src = three_colour_image(7, 3);
    Dib expect(DIB24To1(Dib(src.handle()).get()));
    LockedBlock block(src);
    ASSERT_EQ(ConvertDib(block.p, 24, 1, 0, 0, nullptr, 0, nullptr), 1);
    EXPECT_EQ(block.copy().bytes(), expect.bytes());
  }
  {
    DibBuilder src = patterned(7, 3, 8, grey_table(256));
    LockedBlock block(src);
    ASSERT_EQ(ConvertDib(block.p, 8, 8, 0, 0, nullptr, 0, nullptr), 1);  // same depth: nothing
    EXPECT_EQ(block.copy().bytes(), src.bytes());
    ASSERT_EQ(ConvertDib(block.p, 8, 4, 0, 0, nullptr, 0, nullptr), 1);
    block.refresh();
    Dib out = block.copy();
    EXPECT_EQ(out.header().biBitCount, 4);
    EXPECT_EQ(ConvertDib(block.p, 8, 4, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);  // wrong bits
  }
  {
    DibBuilder src = patterned(7, 3, 4, sixteen());
    LockedBlock block(src);
    ASSERT_EQ(ConvertDib(block.p, 4, 8, 0, 0, nullptr, 0, nullptr), 1);  // 4 to deeper: nothing
    EXPECT_EQ(block.copy().bytes(), src.bytes());
    ASSERT_EQ(ConvertDib(block.p, 4, 0, 0, 0, nullptr, 0, nullptr), 1);
    EXPECT_EQ(block.copy().entry(9), (Rgb{255, 0, 0}));
  }
  {
    LockedBlock block(three_colour_image(6, 2));
    RGBQUAD pal[2] = {quad(250, 0, 0), quad(0, 0, 0)};
    ASSERT_EQ(ConvertDib(block.p, 24, 8, 0, 2, pal, 0, nullptr), 1);
    Dib out = block.copy();
    EXPECT_EQ(out.header().biClrUsed, 2u);
    EXPECT_EQ(out.colour(0, 0), (Rgb{250, 0, 0}));
  }
}

TEST(ConvertDib2, GivesANewDibAndKeepsTheInput) {
  DibBuilder src = three_colour_image(9, 5);
  Dib in(src.handle());
  HGLOBAL out = reinterpret_cast<HGLOBAL>(&src);  // must be overwritten
  ASSERT_EQ(ConvertDib2(in.get(), &out, 24, 8, 0, 0, nullptr), 1);
  Dib reduced(out);
  EXPECT_EQ(reduced.header().biBitCount, 8);
  EXPECT_EQ(reduced.header().biClrUsed, 3u);
  EXPECT_EQ(in.bytes(), src.bytes());

  DibBuilder four = patterned(7, 3, 4, sixteen());
  Dib in4(four.handle());
  ASSERT_EQ(ConvertDib2(in4.get(), &out, 4, 4, 0, 0, nullptr), 1);
  Dib same(out);
  EXPECT_NE(same.get(), in4.get());
  EXPECT_EQ(same.bytes(), four.bytes());
  ASSERT_EQ(ConvertDib2(in4.get(), &out, 4, 8, 0, 0, nullptr), 1);  // 4 bits only go to target 0
  Dib still(out);
  EXPECT_EQ(still.header().biBitCount, 4);
  ASSERT_EQ(ConvertDib2(in4.get(), &out, 4, 0, 0, 0, nullptr), 1);
  Dib system(out);
  EXPECT_EQ(system.entry(12), (Rgb{0, 0, 255}));
  ASSERT_EQ(ConvertDib2(in4.get(), &out, 4, 1, 0, 0, nullptr), 1);
  Dib mono(out);
  EXPECT_EQ(mono.header().biBitCount, 1);

  EXPECT_EQ(ConvertDib2(in4.get(), nullptr, 4, 8, 0, 0, nullptr), GW_REDUCE_FAILED);
  EXPECT_EQ(ConvertDib2(nullptr, &out, 4, 8, 0, 0, nullptr), GW_REDUCE_READ_FAILED);
  EXPECT_EQ(out, nullptr);
}

// ---- damaged input ----

using Mutation = std::function<void(DibBuilder &)>;

// Every conversion export refuses `h`, hands back nothing and allocates nothing.
void expect_all_refuse(HGLOBAL h, int bits) {
  for (HGLOBAL r : {DIB1to4(h), DIB4To8(h), DIB8To24(h), DIB1To8(h), DIB1To24(h), DIB4To24(h), DIB24To1(h), DIB8To1(h),
                    DIB4To1(h), ImgIncreaseColors(h, 24), ImgIncreaseColors(h, 8), ImgReduceColors(h, 2, 4),
                    ImgReduceColors(h, 256, 4), DitherToBW(h, 1), ReduceColorToColor(h, 16, 0),
                    ReduceColorToColor(h, 16, 16), ColorToGrayscale(h)})
    EXPECT_EQ(Dib(r), nullptr);
  void *p = h ? GlobalLock(h) : nullptr;
  EXPECT_LT(ReduceDib(p, 8, 1, 0, nullptr, 0, nullptr), 0);
  EXPECT_LT(ConvertDib(p, std::int16_t(bits), 4, 1, 0, nullptr, 0, nullptr), 0);
  if (h) GlobalUnlock(h);
  HGLOBAL out = nullptr;
  EXPECT_LT(ConvertDib2(h, &out, std::int16_t(bits), 4, 1, 0, nullptr), 0);
  EXPECT_EQ(out, nullptr);
}

TEST(BadInput, EveryExportRefusesDamagedHeaders) {
  const std::vector<std::pair<const char *, Mutation>> damage = {
      {"header size 12", [](DibBuilder &b) { b.header().biSize = 12; }},
      {"two planes", [](DibBuilder &b) { b.header().biPlanes = 2; }},
      {"compressed", [](DibBuilder &b) { b.header().biCompression = 1; }},
      {"16 bits", [](DibBuilder &b) { b.header().biBitCount = 16; }},
      {"zero width", [](DibBuilder &b) { b.header().biWidth = 0; }},
      {"negative width", [](DibBuilder &b) { b.header().biWidth = -5; }},
      {"zero height", [](DibBuilder &b) { b.header().biHeight = 0; }},
      {"top-down", [](DibBuilder &b) { b.header().biHeight = -b.header().biHeight; }},
      {"huge width", [](DibBuilder &b) { b.header().biWidth = 0x7FFFFFFF; }},
      {"huge height", [](DibBuilder &b) { b.header().biHeight = 0x7FFFFFFF; }},
      {"rows past the end", [](DibBuilder &b) { b.header().biHeight += 1; }},
      {"too many colours", [](DibBuilder &b) { b.header().biClrUsed = b.header().biBitCount == 24 ? 0 : 300; }},
      {"colour count overflow", [](DibBuilder &b) { b.header().biClrUsed = 0xFFFFFFFF; }},
      {"cut short", [](DibBuilder &b) { b.bytes().resize(b.bytes().size() - 1); }},
      {"header only", [](DibBuilder &b) { b.bytes().resize(40); }},
      {"under a header", [](DibBuilder &b) { b.bytes().resize(20); }},
  };
  for (int bits : {1, 4, 8, 24}) {
    for (const auto &[name, mutate] : damage) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << name);
      // A 24-bit DIB has no table whatever biClrUsed says.
      if (bits == 24 && std::string(name).find("colour") != std::string::npos) continue;
      DibBuilder b = bits == 24 ? DibBuilder(9, 5, 24) : patterned(9, 5, bits, grey_table(1 << bits));
      mutate(b);
      expect_all_refuse(Dib(b.handle()), bits);
    }
  }
}

TEST(BadInput, NullHandles) {
  expect_all_refuse(nullptr, 24);
  EXPECT_EQ(ReduceDib(nullptr, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);
  EXPECT_EQ(ConvertDib(nullptr, 24, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);
}

}  // namespace
}  // namespace grainwick::test
