// Reader and decoders against libtiff: files written by libtiff and tiffcp from generated images,
// every pixel of Grainwick's DIB compared with libtiff's decoding of the same file; files
// patched by hand for the tag rules and for damage.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "grainwick.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

struct Case {
  Kind kind;
  std::uint32_t width;
  const char *options;  // tiffcp options; empty: the file as libtiff wrote it
};

std::string case_name(const testing::TestParamInfo<Case> &info) {
  std::string opts = info.param.options;
  for (char &c : opts)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return std::string(kind_name(info.param.kind)) + "_w" + std::to_string(info.param.width) + "_" +
         (opts.empty() ? "plain" : opts);
}

// The whole first image of a memory stream; 1 or -1. The DIB goes to `out` when given.
int read(const Bytes &file, Dib *out = nullptr, int16_t page = 0) {
  StreamBlock s(file);
  HGLOBAL dib = nullptr;
  const int r = readtiffiledibstream(s.data, s.length, 0, 0, page, &dib, nullptr, 0);
  if (out)
    out->reset(dib);
  else if (dib)
    GlobalFree(dib);
  return r;
}

// Reads the file from disk and from memory; both must match libtiff pixel for pixel.
void expect_same_as_libtiff(const std::string &path, int page = 0) {
  HGLOBAL dib = nullptr;
  ASSERT_EQ(readtiffiledib(path.c_str(), 0, 0, int16_t(page), &dib, nullptr, 0), 1) << path;
  Dib from_file(dib);
  EXPECT_EQ(compare_with_libtiff(dib, path, page), 0) << path;
  Dib from_stream;
  ASSERT_EQ(read(read_file(path), &from_stream, int16_t(page)), 1);
  EXPECT_EQ(compare_with_libtiff(from_stream.get(), path, page), 0) << path << " (stream)";
}

class AgainstLibtiff : public testing::TestWithParam<Case> {};

TEST_P(AgainstLibtiff, EveryPixelMatches) {
  const Case &c = GetParam();
  const std::string name = temp_dir() + "/" + case_name({c, 0});
  const std::string source = name + "-src.tif", target = name + ".tif";
  SourceImage img = make_image(c.kind, c.width, 23, std::strstr(c.options, "packbits") != nullptr);
  // Fax images are WhiteIsZero; the CCITT decoders paint black runs whatever the photometric tag
  // says, so a BlackIsZero fax file would show inverted against libtiff (tested apart below).
  if (std::strstr(c.options, "-c g")) img.photometric = 0;
  ASSERT_TRUE(write_tiff(source, img, 0));
  ASSERT_TRUE(!*c.options || tiffcp(c.options, source, target)) << c.options;
  expect_same_as_libtiff(*c.options ? target : source);
}

std::vector<Case> all_cases() {
  std::vector<Case> cases;
  for (Kind k :
       {Kind::grey1, Kind::grey2, Kind::grey4, Kind::palette4, Kind::palette8, Kind::grey8, Kind::rgb24})
    for (std::uint32_t w : {1u, 7u, 33u, 1001u}) {
      for (const char *o : {"", "-c none -r 4", "-c lzw", "-c lzw -r 5", "-c packbits", "-c packbits -r 3",
                            "-B -c lzw -r 7", "-B -c none"})
        cases.push_back({k, w, o});
      if (k == Kind::grey8 || k == Kind::palette8 || k == Kind::rgb24)
        for (const char *o : {"-c lzw:2", "-c lzw:2 -r 6 -B"}) cases.push_back({k, w, o});
      if (k == Kind::rgb24) cases.push_back({k, w, "-c none -p separate -r 5"});
      if (k == Kind::grey1)
        for (const char *o : {"-c g3:1d", "-c g3:1d:fill -r 4", "-c g4", "-c g4 -f lsb2msb -r 6",
                              "-c g3:1d -f lsb2msb", "-c none -f lsb2msb", "-c g4 -B"})
          cases.push_back({k, w, o});
    }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Reader, AgainstLibtiff, testing::ValuesIn(all_cases()), case_name);

// Long runs make LZW strings longer than a row, so they cross into the next row. One strip of
// 600 KB makes the LZW decoder drop old history, so strings whose copy has gone are rebuilt.
TEST(Decoders, LzwStringsCrossingRowsAndLongPackBitsRuns) {
  const std::string dir = temp_dir();
  for (std::uint32_t w : {1u, 3u, 9u, 3000u}) {
    const std::string src = dir + "/flat" + std::to_string(w) + ".tif";
    ASSERT_TRUE(write_tiff(src, make_image(Kind::grey8, w, 200, true)));
    for (const char *o : {"-c lzw", "-c lzw:2", "-c packbits", "-c lzw -r 200", "-c lzw:2 -r 200"}) {
      ASSERT_TRUE(tiffcp(o, src, src + ".out.tif"));
      expect_same_as_libtiff(src + ".out.tif");
    }
  }
  // 24 bits, 3000 wide: a PackBits row needs more input than the scratch buffer holds at a time.
  ASSERT_TRUE(write_tiff(dir + "/wide.tif", make_image(Kind::rgb24, 3000, 4)));
  ASSERT_TRUE(tiffcp("-c packbits", dir + "/wide.tif", dir + "/wide-pb.tif"));
  expect_same_as_libtiff(dir + "/wide-pb.tif");
  ASSERT_TRUE(write_tiff(dir + "/busy.tif", make_image(Kind::rgb24, 3000, 60)));
  ASSERT_TRUE(tiffcp("-c lzw:2 -r 60", dir + "/busy.tif", dir + "/busy-lzw.tif"));
  expect_same_as_libtiff(dir + "/busy-lzw.tif");
  // A DIB of 8 MB and more is written past the cache, uncompressed and PackBits rows alike.
  ASSERT_TRUE(write_tiff(dir + "/large.tif", make_image(Kind::rgb24, 1801, 1600)));
  ASSERT_TRUE(tiffcp("-c packbits", dir + "/large.tif", dir + "/large-pb.tif"));
  for (const char *name : {"/large.tif", "/large-pb.tif"}) expect_same_as_libtiff(dir + name);
}

// A file libtiff wrote, for patching by hand.
RawTiff written(Kind kind, std::uint32_t w, std::uint32_t h, std::uint32_t rows_per_strip = 0,
                int compression = 1) {
  const std::string path = temp_dir() + "/patched.tif";
  EXPECT_TRUE(write_tiff(path, make_image(kind, w, h), rows_per_strip, compression));
  return RawTiff::load(path);
}

TEST(Decoders, PackBitsRunPastRowEndFailsAndNoOpIsSkipped) {
  RawTiff t = written(Kind::grey8, 8, 2, 0, 32773);
  const std::size_t strip = t.long_value(kTagStripOffsets);
  // Row 1: -7, 0xAA (eight bytes); row 2: -128 (no-op), -7, 0x55.
  const std::uint8_t good[] = {0xF9, 0xAA, 0x80, 0xF9, 0x55};
  std::memcpy(t.f.data() + strip, good, sizeof good);
  Dib dib;
  ASSERT_EQ(read(t.f, &dib), 1);
  EXPECT_EQ(dib.row(0), Bytes(8, 0xAA));
  EXPECT_EQ(dib.row(1), Bytes(8, 0x55));
  const std::uint8_t bad[] = {0xF8, 0xAA};  // nine bytes into an eight-byte row
  std::memcpy(t.f.data() + strip, bad, sizeof bad);
  EXPECT_EQ(read(t.f), -1);
}

TEST(Decoders, CcittIgnoresBlackIsZero) {
  const std::string dir = temp_dir();
  SourceImage img = make_image(Kind::grey1, 50, 12);
  Bytes dibs[2];
  Dib dib;
  for (std::uint16_t photometric : {1, 0}) {  // WhiteIsZero last, to compare with libtiff
    img.photometric = photometric;
    ASSERT_TRUE(write_tiff(dir + "/bilevel.tif", img));
    ASSERT_TRUE(tiffcp("-c g4", dir + "/bilevel.tif", dir + "/g4.tif"));
    ASSERT_EQ(read(read_file(dir + "/g4.tif"), &dib), 1);
    dibs[photometric] = dib.bytes();
  }
  EXPECT_EQ(compare_with_libtiff(dib.get(), dir + "/g4.tif"), 0);
  EXPECT_EQ(dibs[0], dibs[1]);
}

TEST(Pages, SelectionAndCount) {
  const std::string path = temp_dir() + "/pages.tif";
  ASSERT_TRUE(write_pages(path, {make_image(Kind::grey8, 10, 4), make_image(Kind::rgb24, 20, 6),
                                 make_image(Kind::palette4, 30, 8)}));
  Info i = info(path, 2);
  EXPECT_EQ(
      (std::vector<int>{i.result, i.width, i.height, i.compression, i.colour_map != 0, i.pages, i.bits}),
      (std::vector<int>{1, 30, 8, 1, 1, 3, 4}));
  i = info(path, 1);
  EXPECT_EQ((std::vector<int>{i.result, i.bits, i.colour_map}), (std::vector<int>{1, 24, 0}));
  for (int p = 0; p < 3; ++p) expect_same_as_libtiff(path, p);
  HGLOBAL dib = nullptr;
  EXPECT_EQ(readtiffiledib(path.c_str(), 0, 0, 3, &dib, nullptr, 0), -1);
  EXPECT_EQ(readtiffiledib(path.c_str(), 0, 0, -1, &dib, nullptr, 0), -1);
  i = info(path, 3);
  EXPECT_EQ((std::vector<int>{i.result, i.pages}), (std::vector<int>{-1, 0}));

  // A chain that loops back onto itself counts each directory once and still ends.
  RawTiff loop = RawTiff::load(path);
  loop.set32(loop.directory(0) + 2 + 12 * loop.u16(loop.directory(0)), loop.u32(4));
  i = info(loop.f);
  EXPECT_EQ((std::vector<int>{i.result, i.pages}), (std::vector<int>{1, 1}));
}

TEST(TagRules, HeaderVersionIsIgnoredAndByteOrderMarkIsNot) {
  RawTiff t = written(Kind::grey8, 5, 5);
  t.set16(2, 43);
  EXPECT_EQ(read(t.f), 1);
  t.f[0] = 'X';
  EXPECT_EQ(read(t.f), -1);
}

TEST(TagRules, MissingPhotometricMeansWhiteIsZero) {
  RawTiff t = written(Kind::grey1, 16, 2);  // BlackIsZero as written
  Dib as_written, without;
  ASSERT_EQ(read(t.f, &as_written), 1);
  t.set16(t.entry(kTagPhotometric), 65000);  // the tag becomes unknown
  ASSERT_EQ(read(t.f, &without), 1);
  for (int y = 0; y < 2; ++y) {
    const Bytes a = as_written.row(y), b = without.row(y);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(a[i], std::uint8_t(~b[i])) << y;
  }
}

TEST(TagRules, SingleStripRowsPerStripCutsTheImage) {
  RawTiff t = written(Kind::grey8, 8, 100);
  for (auto [rows_per_strip, height] : {std::pair{10, 10}, {0, 100}}) {  // 0: one strip of the whole image
    t.set16(t.entry(kTagRowsPerStrip) + 8, std::uint16_t(rows_per_strip));
    Dib dib;
    ASSERT_EQ(read(t.f, &dib), 1);
    EXPECT_EQ(dib.header().biHeight, height) << rows_per_strip;
  }
}

TEST(TagRules, UnsupportedValuesFail) {
  RawTiff rgb = written(Kind::rgb24, 4, 4);
  EXPECT_EQ(read(rgb.f), 1);
  rgb.set16(rgb.long_value(kTagBitsPerSample) + 4, 16);  // 8, 8, 16
  EXPECT_EQ(read(rgb.f), -1);
  // Compression 7, photometric 4, planar configuration 3; no StripOffsets (the tag renamed).
  for (auto [tag, at, value] : {std::tuple{kTagCompression, 8, 7},
                                {kTagPhotometric, 8, 4},
                                {kTagPlanarConfiguration, 8, 3},
                                {kTagStripOffsets, 0, 65001}}) {
    RawTiff t = written(Kind::grey8, 4, 4);
    ASSERT_NE(t.entry(tag), 0u) << tag;
    t.set16(t.entry(tag) + std::size_t(at), std::uint16_t(value));
    EXPECT_EQ(read(t.f), -1) << tag;
  }
  const std::string dir = temp_dir();
  // Floating-point prediction, Group 3 two-dimensional coding and compressed separate planes.
  ASSERT_TRUE(write_tiff(dir + "/g8.tif", make_image(Kind::grey8, 40, 10)));
  ASSERT_TRUE(tiffcp("-c lzw:2", dir + "/g8.tif", dir + "/g8p.tif"));
  RawTiff pred = RawTiff::load(dir + "/g8p.tif");
  EXPECT_EQ(read(pred.f), 1);
  pred.set16(pred.entry(kTagPredictor) + 8, 3);
  EXPECT_EQ(read(pred.f), -1);
  for (auto [kind, options] : {std::pair{Kind::grey1, "-c g3:2d"}, {Kind::rgb24, "-c lzw -p separate"}}) {
    ASSERT_TRUE(write_tiff(dir + "/src.tif", make_image(kind, 40, 10)));
    ASSERT_TRUE(tiffcp(options, dir + "/src.tif", dir + "/refused.tif"));
    EXPECT_EQ(read(read_file(dir + "/refused.tif")), -1) << options;
  }
}

TEST(TagRules, ZeroImageLengthIsRefusedWithoutDividingByIt) {
  RawTiff t = written(Kind::grey8, 4, 4);
  t.set16(t.entry(kTagImageLength) + 8, 0);  // rows per strip is then capped to 0
  EXPECT_EQ(read(t.f), -1);
  const Info i = info(t.f);
  EXPECT_EQ((std::vector<int>{i.result, i.height}), (std::vector<int>{1, 0}));
}

TEST(TagRules, ColourMapWithBlackIsZeroStillGivesColours) {
  RawTiff t = written(Kind::palette8, 6, 3);
  t.set16(t.entry(kTagPhotometric) + 8, 1);
  Dib dib;
  ASSERT_EQ(read(t.f, &dib), 1);
  const SourceImage img = make_image(Kind::palette8, 6, 3);
  EXPECT_EQ(dib.entry(5), (Rgb{img.red[5] >> 8, img.green[5] >> 8, img.blue[5] >> 8}));
}

TEST(Limits, DibSizeLimitIsExact) {
  // 8 bits, 4096 wide: (3983 + 1) × 4096 = 16,318,464 is read, one row more is not.
  const std::string path = temp_dir() + "/limit.tif";
  for (std::uint32_t rows : {3983u, 3984u}) {
    ASSERT_TRUE(write_tiff(path, make_image(Kind::grey8, 4096, rows, true), 64, 5));
    HGLOBAL dib = nullptr;
    const int r = readtiffiledib(path.c_str(), 0, 0, 0, &dib, nullptr, 0);
    Dib owned(dib);
    EXPECT_EQ(r, rows == 3983 ? 1 : -1);
    EXPECT_EQ(compare_with_libtiff(dib, path), rows == 3983 ? 0 : -1);  // -1: no DIB
  }
}

TEST(Damage, TruncatedAndScrambledFilesNeverCrash) {
  const std::string dir = temp_dir();
  for (const char *o : {"-c lzw", "-c packbits", "-c g4", "-c g3:1d", "-c none"}) {
    ASSERT_TRUE(write_tiff(dir + "/d.tif", make_image(o[3] == 'g' ? Kind::grey1 : Kind::rgb24, 57, 40)));
    ASSERT_TRUE(tiffcp(std::string(o) + " -r 8", dir + "/d.tif", dir + "/d2.tif"));
    const Bytes whole = read_file(dir + "/d2.tif");
    // Cut at every length in steps, then flip bytes: each read returns -1 or a whole DIB.
    for (std::size_t cut = 1; cut < whole.size(); cut += 1 + whole.size() / 97) {
      const int r = read(Bytes(whole.begin(), whole.begin() + long(cut)));
      EXPECT_TRUE(r == 1 || r == -1);
    }
    std::uint32_t state = 7;
    for (int round = 0; round < 200; ++round) {
      Bytes damaged = whole;
      for (int k = 0; k < 4; ++k) {
        state = state * 1664525 + 1013904223;
        damaged[(state >> 8) % damaged.size()] = std::uint8_t(state >> 24);
      }
      const int r = read(damaged);
      EXPECT_TRUE(r == 1 || r == -1);
    }
  }
}

TEST(Damage, StripEndingEarlyKeepsDecodedRowsForLzwButNotForUncompressedRows) {
  for (int compression : {5, 1}) {
    // libtiff writes the strip before the directory: point the strip near the file's end.
    RawTiff t = written(Kind::grey8, 64, 64, 0, compression);
    t.set32(t.entry(kTagStripOffsets) + 8, std::uint32_t(t.f.size() - 10));
    EXPECT_EQ(read(t.f), compression == 5 ? 1 : -1);
  }
}

}  // namespace
}  // namespace grainwick::test
