// CCITT decoders checked against libtiff: files written by libtiff and tiffcp, decoded through
// a ScratchInput, compared pixel by pixel with libtiff's own decode and with the source image;
// hand-made code streams for what no encoder writes.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ccitt.h"
#include "ccitt_tables.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

TEST(CcittTables, RunCodesArePrefixFreeAndFillTheCodeSpace) {
  // Each table may leave free only the patterns with eight leading zeros (EOL and fill).
  for (int black = 0; black < 2; ++black) {
    const int peek = black ? ccitt::kBlackPeek : ccitt::kWhitePeek;
    std::vector<int> owner(std::size_t(1) << peek, -1);
    auto claim = [&](ccitt::Code c, int id) {
      const int spare = peek - c.length;
      for (std::uint32_t i = 0; i < (1u << spare); ++i) {
        auto &o = owner[(std::uint32_t(c.bits) << spare) + i];
        ASSERT_EQ(o, -1) << "code " << id << " overlaps code " << o << (black ? " black" : " white");
        o = id;
      }
    };
    for (int r = 0; r < 64; ++r) claim(black ? ccitt::kBlackTerminating[r] : ccitt::kWhiteTerminating[r], r);
    for (int i = 0; i < 27; ++i) claim(black ? ccitt::kBlackMakeUp[i] : ccitt::kWhiteMakeUp[i], 64 * (i + 1));
    for (int i = 0; i < 13; ++i) claim(ccitt::kExtendedMakeUp[i], 1792 + 64 * i);
    for (std::size_t v = 0; v < owner.size(); ++v) EXPECT_EQ(owner[v] == -1, (v >> (peek - 8)) == 0) << "pattern " << v;
  }
}

struct Variant {
  const char *name;
  const char *tiffcp;  // nullptr: written by libtiff as compression 2, which tiffcp cannot make
};

class CcittAgainstLibtiff : public ::testing::TestWithParam<Variant> {};

TEST_P(CcittAgainstLibtiff, EveryPixelMatches) {
  const Variant v = GetParam();
  const std::string src = temp_dir() + "/ccitt-src.tif", out = temp_dir() + "/ccitt-out.tif";
  // Layouts: fill order, rows per strip (0 = one strip) and scratch size.
  struct Layout {
    bool lsb_first;
    std::uint32_t rows_per_strip, capacity;
  };
  const Layout layouts[] = {{false, 0, 4096}, {true, 7, 5}, {false, 1, 1}};
  int files = 0, doubtful = 0, rows = 0;
  for (std::uint32_t w : {1u, 7u, 33u, 1001u, 2480u, 5000u})
    for (const char *pattern : {"white", "black", "alternate", "noise", "blocks", "text"})
      for (const Layout &l : layouts) {
        const std::uint32_t h = w > 2000 ? 13 : 30;
        const Page img = make_page(pattern, w, h, w * 31 + h);
        bool written;
        if (v.tiffcp) {
          ASSERT_TRUE(write_tiff(src, bilevel_image(img)));
          written = tiffcp(std::string("-c ") + v.tiffcp + (l.lsb_first ? " -f lsb2msb" : "") +
                               (l.rows_per_strip ? " -r " + std::to_string(l.rows_per_strip) : ""),
                           src, out);
        } else {
          written = write_tiff(out, bilevel_image(img), l.rows_per_strip, COMPRESSION_CCITTRLE, l.lsb_first);
        }
        ASSERT_TRUE(written) << v.name << " " << pattern << " width " << w;
        LibtiffBilevel ref;
        ASSERT_TRUE(libtiff_bilevel(out, ref)) << "libtiff cannot read " << pattern;
        ASSERT_EQ(ref.reverse, l.lsb_first);
        const Decoded got = ccitt_decode_strips(ref.compression, w, h, ref.rows_per_strip, ref.strips, ref.reverse, l.capacity);
        ASSERT_EQ(got.rows.size(), h);
        for (std::uint32_t y = 0; y < h; ++y) {
          SCOPED_TRACE(std::string(v.name) + " " + pattern + " width " + std::to_string(w) + " row " +
                       std::to_string(y) + " layout " + std::to_string(&l - layouts));
          ASSERT_EQ(got.status[y], Status::kOk);
          ++rows;
          if (ref.doubtful[y])
            ++doubtful;
          else
            ASSERT_EQ(first_difference(got.rows[y].data(), ref.rows[y].data(), w), -1);
          ASSERT_EQ(first_difference(got.rows[y].data(), img.row(y), w), -1);
        }
        ++files;
      }
  EXPECT_EQ(files, 6 * 6 * 3);
  EXPECT_LT(doubtful * 20, rows) << "too few rows compared with libtiff";
}

INSTANTIATE_TEST_SUITE_P(Codings, CcittAgainstLibtiff,
                         ::testing::Values(Variant{"ModifiedHuffman", nullptr}, Variant{"Group3", "g3:1d"},
                                           Variant{"Group3Fill", "g3:1d:fill"}, Variant{"Group4", "g4"}),
                         [](const auto &info) { return std::string(info.param.name); });

// Hand-made code streams.
void code(BitWriter &w, ccitt::Code c) { w.put(c.bits, c.length); }
void run(BitWriter &w, bool black, std::uint32_t r) {
  for (; r > ccitt::kMaxMakeUp; r -= ccitt::kMaxMakeUp) code(w, ccitt::make_up_code(black, 2560));
  if (r >= 64) code(w, ccitt::make_up_code(black, r / 64 * 64));
  code(w, black ? ccitt::kBlackTerminating[r % 64] : ccitt::kWhiteTerminating[r % 64]);
}
void mode(BitWriter &w, ccitt::Mode m) { code(w, ccitt::kModeCodes[int(m)]); }

// Pixels [from, to) of the row are black and all others white.
testing::AssertionResult black_span(const Bytes &row, std::uint32_t width, std::uint32_t from, std::uint32_t to) {
  for (std::uint32_t x = 0; x < width; ++x)
    if (white_at(row.data(), x) == (x >= from && x < to)) return testing::AssertionFailure() << "pixel " << x;
  return testing::AssertionSuccess();
}

constexpr Status kOk = Status::kOk, kBad = Status::kCorrupt;
using ccitt::Mode;

struct StreamCase {
  const char *name;
  int compression;
  std::uint32_t width, rows;
  std::function<void(BitWriter &)> write;
  std::vector<Status> status;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> black;  // the black span of the first rows
};

// A bad row ends with kCorrupt but keeps what was decoded before the fault.
TEST(CcittCodeStreams, StatusAndPixelsOfEachRow) {
  const StreamCase cases[] = {
      {"extended make-up adds to the terminating code", 3, 2600, 1,
       [](BitWriter &w) { code(w, ccitt::make_up_code(false, 2560)), code(w, ccitt::kWhiteTerminating[10]), run(w, true, 30); },
       {kOk}, {{2570, 2600}}},
      {"Group 3 rows with and without EOL", 3, 10, 3,
       [](BitWriter &w) {
         code(w, ccitt::kEol), run(w, false, 3), run(w, true, 2), run(w, false, 5);  // no EOL before row 2
         run(w, false, 0), run(w, true, 10);
         w.put(0, 5), code(w, ccitt::kEol), run(w, false, 9), run(w, true, 1);  // EOL with fill bits
       },
       {kOk, kOk, kOk}, {{3, 5}, {0, 10}, {9, 10}}},
      {"black run past the width, painted to the edge", 3, 10, 1,
       [](BitWriter &w) { run(w, false, 5), run(w, true, 8); }, {kBad}, {{5, 10}}},
      {"EOL inside a row, then a good row", 3, 10, 2,
       [](BitWriter &w) { run(w, false, 2), run(w, true, 3), code(w, ccitt::kEol), run(w, false, 1), run(w, true, 9); },
       {kBad, kOk}, {{2, 5}, {1, 10}}},
      {"endless make-up codes cannot overflow the run", 2, 100, 1,
       [](BitWriter &w) {
         for (int i = 0; i < 5000; ++i) code(w, ccitt::make_up_code(false, 2560));
       },
       {kBad}, {}},
      {"data ending inside a row, and rows after the end", 2, 64, 3,
       [](BitWriter &w) { run(w, false, 20), run(w, true, 4); }, {kBad, kBad, kBad}, {{20, 24}}},
      {"Group 4 vertical mode past the width", 4, 8, 1,
       [](BitWriter &w) { mode(w, Mode::kHorizontal), run(w, false, 2), run(w, true, 3), mode(w, Mode::kVR1); },
       {kBad}, {{2, 5}}},
      {"Group 4 extension code inside the image", 4, 8, 2,
       [](BitWriter &w) {
         mode(w, Mode::kV0), mode(w, Mode::kHorizontal), run(w, false, 1), run(w, true, 2);
         mode(w, Mode::kExtension), w.put(0xFF, 8);
       },
       {kOk, kBad}, {{0, 0}, {1, 3}}},
      {"Group 4 EOFB inside the image", 4, 8, 2,
       [](BitWriter &w) {
         mode(w, Mode::kV0), mode(w, Mode::kHorizontal), run(w, false, 1), run(w, true, 2);
         code(w, ccitt::kEol), code(w, ccitt::kEol), w.put(0xFF, 8);
       },
       {kOk, kBad}, {{0, 0}, {1, 3}}},
  };
  for (const StreamCase &c : cases) {
    SCOPED_TRACE(c.name);
    BitWriter w;
    c.write(w);
    const Decoded d = ccitt_decode_strips(c.compression, c.width, c.rows, c.rows, {w.bytes}, false, 4096);
    EXPECT_EQ(d.status, c.status);
    for (std::size_t y = 0; y < c.black.size(); ++y)
      EXPECT_TRUE(black_span(d.rows[y], c.width, c.black[y].first, c.black[y].second)) << "row " << y;
  }
}

TEST(CcittCorruptInput, TruncatedStripsFailOnlyFromTheCut) {
  const std::string dir = temp_dir();
  const Page img = make_page("text", 1001, 60, 7);
  ASSERT_TRUE(write_tiff(dir + "/cut-src.tif", bilevel_image(img)));
  for (const char *c : {"g3:1d", "g4"}) {
    ASSERT_TRUE(tiffcp(std::string("-c ") + c, dir + "/cut-src.tif", dir + "/cut.tif"));
    LibtiffBilevel ref;
    ASSERT_TRUE(libtiff_bilevel(dir + "/cut.tif", ref));
    ref.strips[0].resize(ref.strips[0].size() / 2);
    const Decoded d = ccitt_decode_strips(ref.compression, 1001, 60, 60, ref.strips);
    std::uint32_t y = 0;
    for (; y < 60 && d.status[y] == kOk; ++y)
      EXPECT_EQ(first_difference(d.rows[y].data(), img.row(y), 1001), -1) << c << " row " << y;
    EXPECT_GT(y, 10u) << c;
    EXPECT_LT(y, 50u) << c;
    for (; y < 60; ++y) EXPECT_EQ(d.status[y], kBad) << c << " row " << y;
  }
}

TEST(CcittCorruptInput, RandomBytesStayInsideTheBuffers) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 600; ++round) {
    Bytes bytes(1 + rng() % 300);
    // Mostly-one bytes make long valid-looking code sequences; mostly-zero bytes make EOLs.
    for (auto &b : bytes) {
      b = std::uint8_t(rng());
      if (round % 3 == 1) b |= std::uint8_t(rng());
      if (round % 3 == 2) b &= std::uint8_t(rng());
    }
    for (int compression = 2; compression <= 4; ++compression)
      for (std::uint32_t width : {1u, 9u, 200u}) {
        const Decoded d = ccitt_decode_strips(compression, width, 12, 5, {bytes}, round & 1, 3);
        for (Status s : d.status) EXPECT_TRUE(s == kOk || s == kBad);
      }
  }
}

}  // namespace
}  // namespace grainwick::test
