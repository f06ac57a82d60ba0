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

const std::vector<RGBQUAD> kTwo = {quad(200, 10, 30), quad(5, 60, 250)};
std::vector<RGBQUAD> sixteen() {
  std::vector<RGBQUAD> t;
  for (int i = 0; i < 16; ++i) t.push_back(quad(i * 16, 255 - i * 16, (i * 37) % 256));
  return t;
}
// ---- widening ----

TEST(Widen, OneStepKeepsIndexesTableAndPadding) {
  struct Case {
    int from, to;
    std::vector<RGBQUAD> table;
    HGLOBAL (*convert)(HGLOBAL);
    unsigned important;  // the colour count of the last step's source
  };
  const Case cases[] = {{1, 4, kTwo, DIB1to4, 2}, {4, 8, sixteen(), DIB4To8, 16}, {1, 8, kTwo, DIB1To8, 16}};
  for (const Case &c : cases) {
    for (int width : {1, 7, 33}) {
      SCOPED_TRACE(testing::Message() << c.from << " to " << c.to << " bits, width " << width);
      DibBuilder src = patterned(width, 3, c.from, c.table);
      Dib in(src.handle());
      Dib out(c.convert(in.get()));
      ASSERT_TRUE(out);
      BITMAPINFOHEADER h = out.header();
      EXPECT_EQ(h.biBitCount, c.to);
      EXPECT_EQ(h.biClrUsed, 1u << c.to);
      EXPECT_EQ(h.biClrImportant, c.important);
      EXPECT_EQ(h.biCompression, 0u);
      EXPECT_EQ(h.biXPelsPerMeter, 2835);
      EXPECT_EQ(h.biYPelsPerMeter, 3780);
      EXPECT_EQ(h.biSizeImage, dib_stride(width, c.to) * 3);
      EXPECT_EQ(GlobalSize(out.get()), 40 + (4u << c.to) + dib_stride(width, c.to) * 3);
      for (unsigned i = 0; i < (1u << c.to); ++i)
        EXPECT_EQ(out.entry(i), i < c.table.size() ? in.entry(i) : Rgb{}) << i;
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x) EXPECT_EQ(out.index(x, y), in.index(x, y)) << x << "," << y;
      EXPECT_TRUE(out.padding_clear());
    }
  }
}

TEST(Widen, EveryPathTo24BitsGivesTheTableColours) {
  struct Case {
    int bits;
    std::vector<RGBQUAD> table;
    HGLOBAL (*convert)(HGLOBAL);
  };
  std::vector<RGBQUAD> t256 = grey_table(256);
  t256[7] = quad(1, 2, 3);
  const Case cases[] = {{8, t256, DIB8To24}, {1, kTwo, DIB1To24}, {4, sixteen(), DIB4To24}};
  for (const Case &c : cases) {
    for (int width : {1, 7, 33}) {
      SCOPED_TRACE(testing::Message() << c.bits << " bits, width " << width);
      DibBuilder src = patterned(width, 3, c.bits, c.table);
      Dib in(src.handle());
      Dib out(c.convert(in.get()));
      ASSERT_TRUE(out);
      EXPECT_EQ(out.header().biBitCount, 24);
      EXPECT_EQ(out.header().biClrUsed, 0u);
      EXPECT_EQ(out.colours(), in.colours());
      EXPECT_TRUE(out.padding_clear());
    }
  }
}

TEST(Widen, IndexPastTheTableReadsAsBlack) {
  DibBuilder src(2, 1, 8, {quad(9, 9, 9)});
  src.index(0, 0, 0);
  src.index(1, 0, 200);
  Dib in(src.handle());
  Dib out(DIB8To24(in.get()));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.colour(0, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(out.colour(1, 0), (Rgb{0, 0, 0}));
}

TEST(Widen, WrongDepthIsRefused) {
  Dib four(patterned(4, 2, 4, sixteen()).handle());
  Dib eight(patterned(4, 2, 8, grey_table(256)).handle());
  EXPECT_EQ(DIB1to4(four.get()), nullptr);
  EXPECT_EQ(DIB4To8(eight.get()), nullptr);
  EXPECT_EQ(DIB8To24(four.get()), nullptr);
  EXPECT_EQ(DIB1To24(four.get()), nullptr);
  EXPECT_EQ(DIB4To24(eight.get()), nullptr);
}

TEST(IncreaseColors, TargetsAndTheSizeLimit) {
  DibBuilder src = patterned(5, 3, 1, kTwo);
  Dib in(src.handle());
  Dib eight(ImgIncreaseColors(in.get(), 8));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight.header().biBitCount, 8);
  EXPECT_EQ(eight.entry(1), (Rgb{5, 60, 250}));
  EXPECT_EQ(eight.colours(), in.colours());
  Dib full(ImgIncreaseColors(eight.get(), 24));
  ASSERT_TRUE(full);
  EXPECT_EQ(full.colours(), in.colours());
  EXPECT_EQ(ImgIncreaseColors(eight.get(), 4), nullptr);  // not deeper
  EXPECT_EQ(ImgIncreaseColors(eight.get(), 8), nullptr);
  EXPECT_EQ(ImgIncreaseColors(in.get(), 16), nullptr);

  // 3000 x 2000 x 3 = 18,000,000 bytes is past the limit; 8 bits (6,000,000) is not.
  DibBuilder big(3000, 2000, 4, sixteen());
  Dib large(big.handle());
  EXPECT_EQ(ImgIncreaseColors(large.get(), 24), nullptr);
  Dib ok(ImgIncreaseColors(large.get(), 8));
  EXPECT_TRUE(ok);
}

// ---- 24 to 1 bit ----

Dib bilevel_of(DibBuilder &b) {
  Dib in(b.handle());
  return Dib(DIB24To1(in.get()));
}

TEST(ToOneBit, ErrorGoesRightWithTruncatedShares) {
  // 128 grey is white (Y16 = 32768); its error -127 sends -47 right: 175 becomes exactly 128.
  DibBuilder b(2, 1, 24);
  b.rgb(0, 0, {128, 128, 128});
  b.rgb(1, 0, {175, 175, 175});
  Dib out = bilevel_of(b);
  ASSERT_TRUE(out);
  EXPECT_EQ(out.index(0, 0), 1u);
  EXPECT_EQ(out.index(1, 0), 1u);
  b.rgb(1, 0, {174, 174, 174});
  EXPECT_EQ(bilevel_of(b).index(1, 0), 0u);
}

TEST(ToOneBit, WorksUpFromTheFirstStoredRowWithDiagonalQuarter) {
  // Bottom-left 128 (white, error -127): -47 up, -31 to the upper right. Bottom-right 0 stays
  // black with no error. Top-left 255 - 47 = 208 is white, error -47 sends -17 right. So the
  // top-right pixel ends at X - 31 - 17: white from 176.
  for (int x : {175, 176}) {
    DibBuilder b(2, 2, 24);
    b.rgb(0, 1, {128, 128, 128});
    b.rgb(1, 1, {0, 0, 0});
    b.rgb(0, 0, {255, 255, 255});
    b.rgb(1, 0, {x, x, x});
    Dib out = bilevel_of(b);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.index(0, 1), 1u);
    EXPECT_EQ(out.index(1, 1), 0u);
    EXPECT_EQ(out.index(0, 0), 1u);
    EXPECT_EQ(out.index(1, 0), x == 176 ? 1u : 0u) << x;
  }
}

TEST(ToOneBit, LuminanceWeightsAndTable) {
  DibBuilder b(3, 1, 24);
  b.rgb(0, 0, {255, 0, 0});  // Y16 19635
  b.rgb(1, 0, {0, 255, 0});  // Y16 38505
  b.rgb(2, 0, {0, 0, 0});
  Dib out = bilevel_of(b);
  ASSERT_TRUE(out);
  EXPECT_EQ(out.index(1, 0), 1u);
  EXPECT_EQ(out.header().biClrUsed, 2u);
  EXPECT_EQ(out.header().biClrImportant, 2u);
  EXPECT_EQ(out.entry(0), (Rgb{0, 0, 0}));
  EXPECT_EQ(out.entry(1), (Rgb{255, 255, 255}));
  // Red alone is black; its red error brightens the green pixel, which stays white, and the
  // shares reaching the last pixel clamp at 0.
  EXPECT_EQ(out.index(0, 0), 0u);
}

TEST(ToOneBit, IndexedInputsMatchTheir24BitForm) {
  for (int width : {1, 7, 33}) {
    SCOPED_TRACE(width);
    DibBuilder eight = patterned(width, 5, 8, grey_table(256));
    DibBuilder four = patterned(width, 5, 4, sixteen());
    for (auto *b : {&eight, &four}) {
      Dib in(b->handle());
      Dib full(b->header().biBitCount == 8 ? DIB8To24(in.get()) : DIB4To24(in.get()));
      Dib expect(DIB24To1(full.get()));
      Dib got(b->header().biBitCount == 8 ? DIB8To1(in.get()) : DIB4To1(in.get()));
      ASSERT_TRUE(got);
      EXPECT_EQ(got.bytes(), expect.bytes());
      EXPECT_TRUE(got.padding_clear());
    }
  }
}

// ---- grey ----

TEST(Grey, TwentyFourBitsUsesThePlainWeights) {
  DibBuilder b(4, 1, 24);
  b.rgb(0, 0, {255, 0, 0});
  b.rgb(1, 0, {255, 255, 255});
  b.rgb(2, 0, {0, 0, 100});
  b.rgb(3, 0, {0, 100, 0});
  Dib in(b.handle());
  Dib out(ColorToGrayscale(in.get()));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 8);
  EXPECT_EQ(out.entry(77), (Rgb{77, 77, 77}));
  EXPECT_EQ(out.index(0, 0), 76u);  // 30 x 255 / 100
  EXPECT_EQ(out.index(1, 0), 255u);
  EXPECT_EQ(out.index(2, 0), 11u);
  EXPECT_EQ(out.index(3, 0), 59u);
}

TEST(Grey, IndexedInputsGetAToneCurvedTableAndSamePixels) {
  DibBuilder b =
      patterned(7, 2, 8, {quad(128, 128, 128), quad(255, 255, 255), quad(0, 0, 0), quad(155, 155, 155)});
  Dib in(b.handle());
  Dib out(ColorToGrayscale(in.get()));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 8);
  EXPECT_EQ(out.header().biClrUsed, 4u);
  EXPECT_EQ(out.entry(0), (Rgb{89, 89, 89}));
  EXPECT_EQ(out.entry(1), (Rgb{254, 254, 254}));
  EXPECT_EQ(out.entry(2), (Rgb{1, 1, 1}));
  EXPECT_EQ(out.entry(3), (Rgb{128, 128, 128}));
  EXPECT_EQ(out.row(0), in.row(0));
  EXPECT_EQ(out.row(1), in.row(1));
  Dib mono(patterned(8, 1, 1, kTwo).handle());
  EXPECT_EQ(ColorToGrayscale(mono.get()), nullptr);
}

// ---- black and white dithering ----

// Grey 155 has luminance 155 and tone 128, the middle of the curve.
constexpr Rgb kMid{155, 155, 155};

TEST(DitherBW, BayerOnMidGreyIsTheMatrixPatternFromTheTopRow) {
  static const int M[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
      {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
  };
  DibBuilder b(16, 11, 24);  // a height that is not a multiple of 8 shows the row origin
  b.fill(kMid);
  Dib in(b.handle());
  Dib out(DitherToBW(in.get(), 1));
  ASSERT_TRUE(out);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(out.index(x, y), M[x % 8][y % 8] < 32 ? 1u : 0u) << x << "," << y;
  // Tone 32 (grey 70) lights only cells below 8, which tells rows of equal parity apart.
  b.fill({70, 70, 70});
  Dib dark_in(b.handle());
  Dib dark(DitherToBW(dark_in.get(), 1));
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(dark.index(x, y), M[x % 8][y % 8] < 8 ? 1u : 0u) << x << "," << y;
}

TEST(DitherBW, FlatBlackAndWhiteStayPureWithEveryMethod) {
  for (int flags : {0, 1, 2, 4}) {
    for (Rgb c : {Rgb{0, 0, 0}, Rgb{255, 255, 255}}) {
      SCOPED_TRACE(testing::Message() << "flags " << flags << " level " << c.r);
      DibBuilder b(33, 9, 24);
      b.fill(c);
      Dib in(b.handle());
      Dib out(DitherToBW(in.get(), std::int16_t(flags)));
      ASSERT_TRUE(out);
      EXPECT_EQ(out.count_white(), c.r ? 33 * 9 : 0);
      EXPECT_TRUE(out.padding_clear());
    }
  }
}

TEST(DitherBW, DiffusionKeepsMidGreyNearHalf) {
  for (int flags : {2, 4}) {
    SCOPED_TRACE(flags);
    DibBuilder b(64, 64, 24);
    b.fill(kMid);
    Dib in(b.handle());
    Dib out(DitherToBW(in.get(), std::int16_t(flags)));
    ASSERT_TRUE(out);
    double share = out.count_white() / 4096.0;
    EXPECT_GT(share, 0.45);
    EXPECT_LT(share, 0.55);
  }
}

TEST(DitherBW, BurkesAndFloydSteinbergSpreadTheirOwnWeights) {
  // Tones 126, 100, 145 (greys 154, 137, 163). The first pixel is black with error 125.
  // Burkes: 100 + 1000/32 = 131 white (error -123); third: 145 + (500 - 984)/32 = 130 white.
  // Floyd-Steinberg: 100 + 875/16 = 154 white (error -100); third: 145 - 700/16 = 102 black.
  DibBuilder b(3, 1, 24);
  b.rgb(0, 0, {154, 154, 154});
  b.rgb(1, 0, {137, 137, 137});
  b.rgb(2, 0, {163, 163, 163});
  Dib in(b.handle());
  Dib burkes(DitherToBW(in.get(), 2));
  Dib fs(DitherToBW(in.get(), 4));
  Dib plain(DitherToBW(in.get(), 0));
  ASSERT_TRUE(burkes && fs && plain);
  EXPECT_EQ((std::array<unsigned, 3>{burkes.index(0, 0), burkes.index(1, 0), burkes.index(2, 0)}),
            (std::array<unsigned, 3>{0, 1, 1}));
  EXPECT_EQ((std::array<unsigned, 3>{fs.index(0, 0), fs.index(1, 0), fs.index(2, 0)}),
            (std::array<unsigned, 3>{0, 1, 0}));
  EXPECT_EQ((std::array<unsigned, 3>{plain.index(0, 0), plain.index(1, 0), plain.index(2, 0)}),
            (std::array<unsigned, 3>{0, 0, 1}));
  // Tone 70 (grey 111) after the same first pixel: 70 + 875/16 = 124 stays black.
  b.rgb(1, 0, {111, 111, 111});
  Dib in2(b.handle());
  Dib fs2(DitherToBW(in2.get(), 4));
  EXPECT_EQ(fs2.index(1, 0), 0u);
}

TEST(DitherBW, FloydSteinbergErrorDoesNotWrapAcrossRowEnds) {
  // The top row ends on tone 126 (black, error 125). Were its rightward share to wrap onto the
  // start of the next row, the tone-100 pixel there would become 154 and turn white.
  DibBuilder b(3, 2, 24);
  b.rgb(0, 0, {0, 0, 0});
  b.rgb(1, 0, {0, 0, 0});
  b.rgb(2, 0, {154, 154, 154});
  b.rgb(0, 1, {137, 137, 137});
  b.rgb(1, 1, {0, 0, 0});
  b.rgb(2, 1, {0, 0, 0});
  Dib in(b.handle());
  Dib out(DitherToBW(in.get(), 4));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.index(0, 1), 0u);
  for (int width : {1, 2}) {
    DibBuilder narrow(width, 40, 24);
    narrow.fill(kMid);
    Dib n(narrow.handle());
    for (int flags : {2, 4}) {
      Dib o(DitherToBW(n.get(), std::int16_t(flags)));
      ASSERT_TRUE(o);
      EXPECT_GT(o.count_white(), 0);
      EXPECT_LT(o.count_white(), width * 40);
    }
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
  for (int x = 0; x < 9; ++x) EXPECT_EQ(out.index(x, 1), 0u);
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
  DibBuilder b = forty_colours(used);
  Dib in(b.handle());
  Dib out(ReduceColorToColor(in.get(), 256, 0));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 8);
  EXPECT_EQ(out.header().biClrUsed, 256u);
  EXPECT_EQ(out.header().biClrImportant, 40u);
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
  DibBuilder b(4, 1, 24);
  for (int x = 0; x < 4; ++x) b.rgb(x, 0, {x * 64, 0, 0});
  Dib in(b.handle());
  Dib out(ReduceColorToColor(in.get(), 2, 0));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.entry(0), (Rgb{64, 0, 0}));
  EXPECT_EQ(out.entry(1), (Rgb{192, 0, 0}));
  EXPECT_EQ((std::array<unsigned, 4>{out.index(0, 0), out.index(1, 0), out.index(2, 0), out.index(3, 0)}),
            (std::array<unsigned, 4>{0, 0, 0, 1}));
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
  DibBuilder four = patterned(7, 3, 4, sixteen());
  Dib in4(four.handle());
  Dib out(ReduceColorToColor(in4.get(), 16, 0));
  ASSERT_TRUE(out);
  EXPECT_EQ(out.header().biBitCount, 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) {
      Rgb want = in4.colour(x, y), got = out.colour(x, y);
      EXPECT_EQ(got, (Rgb{want.r & ~7, want.g & ~7, want.b & ~7}));
    }
  EXPECT_EQ(ReduceColorToColor(in4.get(), 256, 0), nullptr);  // 4 bits, 16 colours < 256
  EXPECT_EQ(ReduceColorToColor(in4.get(), 300, 0), nullptr);
  EXPECT_EQ(ReduceColorToColor(in4.get(), 0, 0), nullptr);
  EXPECT_EQ(ImgReduceColors(in4.get(), 300, 0), nullptr);
  DibBuilder eight = patterned(7, 3, 8, grey_table(16));  // 8 bits with 16 colours may ask 256
  Dib in8(eight.handle());
  Dib wide(ReduceColorToColor(in8.get(), 256, 0));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide.header().biClrImportant, 16u);
  Dib grey(ReduceColorToColor(in4.get(), 16, 8));
  ASSERT_TRUE(grey);
  Dib expect(ColorToGrayscale(in4.get()));
  EXPECT_EQ(grey.bytes(), expect.bytes());
}

TEST(MedianCut, FixedPalettes) {
  DibBuilder b(5, 2, 24);
  b.rgb(0, 0, {255, 0, 0});
  b.rgb(1, 0, {0, 0, 128});
  b.rgb(2, 0, {192, 192, 192});
  b.rgb(3, 0, {51, 102, 153});
  b.rgb(4, 0, {250, 250, 250});
  Dib in(b.handle());
  Dib sixteen_out(ReduceColorToColor(in.get(), 16, 16));
  ASSERT_TRUE(sixteen_out);
  EXPECT_EQ(sixteen_out.header().biBitCount, 4);
  EXPECT_EQ(sixteen_out.index(0, 0), 9u);
  EXPECT_EQ(sixteen_out.index(1, 0), 4u);
  EXPECT_EQ(sixteen_out.index(2, 0), 7u);
  EXPECT_EQ(sixteen_out.index(4, 0), 15u);
  Dib cube(ReduceColorToColor(in.get(), 256, 16));
  ASSERT_TRUE(cube);
  EXPECT_EQ(cube.header().biBitCount, 8);
  EXPECT_EQ(cube.colour(3, 0), (Rgb{51, 102, 153}));
  EXPECT_EQ(cube.colour(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(ReduceColorToColor(in.get(), 100, 16), nullptr);
}

// ---- palettes ----

TEST(Palettes, ColourCountsAndPaletteCopy) {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biBitCount = 8;
  EXPECT_EQ(GetColorsInPalette(&h), 256);
  h.biClrUsed = 17;
  EXPECT_EQ(GetColorsInPalette(&h), 17);
  h.biBitCount = 24;
  h.biClrUsed = 0;
  EXPECT_EQ(GetColorsInPalette(&h), 0);
  h.biBitCount = 1;
  EXPECT_EQ(GetColorsInPalette(&h), 2);
  h.biSize = 12;
  EXPECT_EQ(GetColorsInPalette(&h), 0);
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
  Dib copy() const {
    auto *q = static_cast<std::uint8_t *>(GlobalLock(h));
    HGLOBAL c = GlobalAlloc(GHND, GlobalSize(h));
    std::memcpy(GlobalLock(c), q, GlobalSize(h));
    GlobalUnlock(c);
    GlobalUnlock(h);
    return Dib(c);
  }
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
  BITMAPINFOHEADER h = out.header();
  EXPECT_EQ(h.biBitCount, 8);
  EXPECT_EQ(h.biClrUsed, 3u);
  EXPECT_EQ(h.biWidth, 9);
  EXPECT_EQ(h.biXPelsPerMeter, 2835);
  EXPECT_EQ(GlobalSize(block.h), 40 + 3 * 4 + dib_stride(9, 8) * 4);
  // Colours are the centres of their histogram cells.
  EXPECT_EQ(out.colour(0, 0), (Rgb{252, 2, 4}));
  EXPECT_EQ(out.colour(4, 3), (Rgb{4, 2, 252}));
  EXPECT_EQ(out.colour(8, 1), (Rgb{252, 254, 252}));
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
    DibBuilder flat(8, 8, 24);
    flat.fill({128, 0, 0});
    LockedBlock block(flat);
    ASSERT_EQ(ReduceDib(block.p, 0, 0, 0, nullptr, 0, nullptr), 1);
    Dib out = block.copy();
    EXPECT_EQ(out.header().biBitCount, 4);
    EXPECT_EQ(out.header().biClrUsed, 16u);
    EXPECT_EQ(out.entry(15), (Rgb{255, 255, 255}));
    for (Rgb c : out.colours()) EXPECT_EQ(c, (Rgb{128, 0, 0}));
  }
  {
    // Black and white given; grey 128 dithered comes out near half white, undithered all white.
    DibBuilder grey(32, 32, 24);
    grey.fill({128, 128, 128});
    RGBQUAD bw[2] = {quad(0, 0, 0), quad(255, 255, 255)};
    LockedBlock plain(grey), dithered(grey);
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
  DibBuilder row(2, 1, 24);
  row.rgb(0, 0, {128, 128, 128});
  row.rgb(1, 0, {160, 160, 160});
  Dib one = reduced(row);
  EXPECT_EQ(one.index(0, 0), 1u);
  EXPECT_EQ(one.index(1, 0), 1u);
  // Second row right to left: 160 white (error -95), so 140 gets -29 and is black; left to
  // right it would have been white.
  DibBuilder two(3, 2, 24);
  two.rgb(1, 1, {140, 140, 140});
  two.rgb(2, 1, {160, 160, 160});
  Dib out = reduced(two);
  EXPECT_EQ((std::array<unsigned, 3>{out.index(0, 1), out.index(1, 1), out.index(2, 1)}),
            (std::array<unsigned, 3>{0, 0, 1}));
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

TEST(ReduceDib, CodesHaveTextsAndAreReportedWhenAsked) {
  for (int code : {GW_REDUCE_NO_MEMORY, GW_REDUCE_NO_HISTOGRAM, GW_REDUCE_READ_FAILED, GW_REDUCE_FAILED,
                   GW_REDUCE_NOT_24_BITS}) {
    EXPECT_STRNE(ReduceDibErrorText(code), "Could not find String") << code;
  }
  EXPECT_STREQ(ReduceDibErrorText(-1), "Could not find String");
  EXPECT_STREQ(ReduceDibErrorText(1), "Could not find String");

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
    DibBuilder src = three_colour_image(6, 2);
    LockedBlock block(src);
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
      Dib in(b.handle());
      HGLOBAL h = in.get();
      for (HGLOBAL r :
           {DIB1to4(h), DIB4To8(h), DIB8To24(h), DIB1To8(h), DIB1To24(h), DIB4To24(h), DIB24To1(h),
            DIB8To1(h), DIB4To1(h), ImgIncreaseColors(h, 24), ImgIncreaseColors(h, 8),
            ImgReduceColors(h, 2, 4), ImgReduceColors(h, 256, 4), DitherToBW(h, 1),
            ReduceColorToColor(h, 16, 0), ReduceColorToColor(h, 16, 16), ColorToGrayscale(h)}) {
        EXPECT_EQ(r, nullptr);
        if (r) GlobalFree(r);
      }
      void *p = GlobalLock(h);
      EXPECT_LT(ReduceDib(p, 8, 1, 0, nullptr, 0, nullptr), 0);
      EXPECT_LT(ConvertDib(p, std::int16_t(bits), 4, 1, 0, nullptr, 0, nullptr), 0);
      GlobalUnlock(h);
      HGLOBAL out = nullptr;
      EXPECT_LT(ConvertDib2(h, &out, std::int16_t(bits), 4, 1, 0, nullptr), 0);
      EXPECT_EQ(out, nullptr);
    }
  }
}

TEST(BadInput, NullHandles) {
  EXPECT_EQ(DIB1to4(nullptr), nullptr);
  EXPECT_EQ(DIB8To24(nullptr), nullptr);
  EXPECT_EQ(DIB24To1(nullptr), nullptr);
  EXPECT_EQ(DitherToBW(nullptr, 4), nullptr);
  EXPECT_EQ(ReduceColorToColor(nullptr, 16, 0), nullptr);
  EXPECT_EQ(ColorToGrayscale(nullptr), nullptr);
  EXPECT_EQ(ImgIncreaseColors(nullptr, 24), nullptr);
  EXPECT_EQ(ReduceDib(nullptr, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);
  EXPECT_EQ(ConvertDib(nullptr, 24, 8, 0, 0, nullptr, 0, nullptr), GW_REDUCE_READ_FAILED);
}

}  // namespace
}  // namespace grainwick::test
