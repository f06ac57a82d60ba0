// CCITT decoders checked against libtiff: files written by libtiff and tiffcp, decoded through
// a ScratchInput, compared pixel by pixel with libtiff's own decode and with the source image.
#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bilevel_page_test.h"
#include "ccitt.h"
#include "ccitt_tables.h"

namespace grainwick {
namespace {

namespace fs = std::filesystem;

using Image = test_pages::Page;
using test_pages::first_difference;

bool is_white(const std::uint8_t *row, std::uint32_t x) { return test_pages::white_at(row, x); }

Image make_image(const std::string &pattern, std::uint32_t w, std::uint32_t h, unsigned seed) {
  return test_pages::make_page(pattern, w, h, seed);
}

struct Decoded {
  std::vector<std::vector<std::uint8_t>> rows;
  std::vector<int> status;
};

// Decodes `strips` (raw strip bytes) through a ScratchInput of `capacity` bytes, resetting the
// input and the decoder at every strip start as the reader does.
Decoded decode(int compression, std::uint32_t width, std::uint32_t height, std::uint32_t rows_per_strip,
               const std::vector<std::vector<std::uint8_t>> &strips, bool reverse, std::uint32_t capacity) {
  Decoded out;
  auto dec = ccitt_create(compression, width);
  if (!dec) return out;
  std::vector<std::uint8_t> scratch(capacity);
  ScratchInput in;
  in.data = scratch.data();
  in.capacity = capacity;
  in.reverse_bits = reverse;
  const std::vector<std::uint8_t> *src = nullptr;
  std::size_t served = 0;
  in.read = [&](std::uint8_t *dst, std::uint32_t n) {
    const std::size_t k = std::min<std::size_t>(n, src->size() - served);
    std::copy_n(src->begin() + long(served), k, dst);
    served += k;
    return std::uint32_t(k);
  };
  const std::size_t stride = (width + 7) / 8;
  for (std::uint32_t y = 0; y < height; ++y) {
    if (y % rows_per_strip == 0) {
      const std::size_t s = y / rows_per_strip;
      src = s < strips.size() ? &strips[s] : &strips.back();
      served = 0;
      in.reset();
      ccitt_reset(*dec);
    }
    // One guard byte past the row catches writes beyond it.
    std::vector<std::uint8_t> row(stride + 1, 0x5A);
    out.status.push_back(int(ccitt_decode_row(*dec, in, row.data())));
    EXPECT_EQ(row[stride], 0x5A) << "write past the row, row " << y;
    row.pop_back();
    out.rows.push_back(std::move(row));
  }
  return out;
}

class TempDir {
 public:
  TempDir() {
    std::string templ = (fs::temp_directory_path() / "ccitt-test-XXXXXX").string();
    path_ = ::mkdtemp(templ.data()) ? templ : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  std::string file(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes `img` with libtiff, WhiteIsZero. Compression 2 is written by libtiff itself since
// tiffcp has no option for it.
bool write_tiff(const std::string &path, Image &img, int compression = COMPRESSION_NONE,
                std::uint32_t rows_per_strip = 0, bool lsb_first = false) {
  TIFF *tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, img.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, img.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip ? rows_per_strip : img.height);
  if (lsb_first) TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
  std::vector<std::uint8_t> line(img.stride);
  bool ok = true;
  for (std::uint32_t y = 0; y < img.height && ok; ++y) {
    for (std::uint32_t i = 0; i < img.stride; ++i) line[i] = std::uint8_t(~img.row(y)[i]);
    ok = TIFFWriteScanline(tif, line.data(), y, 0) == 1;
  }
  TIFFClose(tif);
  return ok;
}

// A compressed file as the decoders see it, and libtiff's decode of it (1 = white).
struct Reference {
  int compression = 0;
  std::uint32_t width = 0, height = 0, rows_per_strip = 0;
  bool reverse = false;
  std::vector<std::vector<std::uint8_t>> strips;
  std::vector<std::vector<std::uint8_t>> rows;
  // Rows libtiff warned about: its decoder looks ahead past the end of a strip and reports a
  // last row that ends in the final byte or two as short; those rows are checked against the
  // source image only.
  std::vector<bool> doubtful;
};

int libtiff_warnings = 0;
void count_warning(const char *, const char *, va_list) {
  ++libtiff_warnings;
}

bool load_reference(const std::string &path, Reference &ref) {
  TIFF *tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return false;
  std::uint16_t compression = 0, fill = 1, photometric = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &ref.width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &ref.height);
  TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fill);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &ref.rows_per_strip);
  ref.rows_per_strip = std::min(ref.rows_per_strip, ref.height);
  ref.compression = compression;
  ref.reverse = fill == FILLORDER_LSB2MSB;
  std::uint64_t *offsets = nullptr, *counts = nullptr;
  TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
  TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts);
  std::ifstream f(path, std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(f)), {});
  bool ok = offsets && counts;
  for (std::uint32_t s = 0; ok && s < TIFFNumberOfStrips(tif); ++s) {
    ok = offsets[s] + counts[s] <= file.size();
    if (ok)
      ref.strips.emplace_back(file.begin() + long(offsets[s]), file.begin() + long(offsets[s] + counts[s]));
  }
  const std::size_t stride = (ref.width + 7) / 8;
  for (std::uint32_t y = 0; ok && y < ref.height; ++y) {
    std::vector<std::uint8_t> row(TIFFScanlineSize(tif));
    const int warnings = libtiff_warnings;
    ok = TIFFReadScanline(tif, row.data(), y, 0) == 1;
    ref.doubtful.push_back(libtiff_warnings != warnings);
    row.resize(stride);
    if (photometric == PHOTOMETRIC_MINISWHITE)
      for (auto &b : row) b = std::uint8_t(~b);
    ref.rows.push_back(std::move(row));
  }
  TIFFClose(tif);
  return ok;
}

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
    for (std::size_t v = 0; v < owner.size(); ++v)
      EXPECT_EQ(owner[v] == -1, (v >> (peek - 8)) == 0) << "pattern " << v;
  }
}

struct Variant {
  const char *name;
  const char *tiffcp;  // nullptr: written by libtiff as compression 2
};

class CcittAgainstLibtiff : public ::testing::TestWithParam<Variant> {};

TEST_P(CcittAgainstLibtiff, EveryPixelMatches) {
  if (std::system("tiffcp >/dev/null 2>&1; test $? -ne 127") != 0) GTEST_SKIP() << "no tiffcp";
  TIFFSetWarningHandler(count_warning);
  const Variant v = GetParam();
  TempDir dir;
  // Layouts: fill order, rows per strip (0 = one strip) and scratch size.
  struct Layout {
    bool lsb_first;
    std::uint32_t rows_per_strip, capacity;
  };
  const Layout layouts[] = {{false, 0, 4096}, {true, 7, 5}, {false, 1, 1}};
  const std::uint32_t widths[] = {1, 7, 33, 1001, 2480, 5000};
  const char *patterns[] = {"white", "black", "alternate", "noise", "blocks", "text"};
  int files = 0, doubtful = 0, rows = 0;
  for (std::uint32_t w : widths)
    for (const char *pattern : patterns)
      for (const Layout &l : layouts) {
        const std::uint32_t h = w > 2000 ? 13 : 30;
        Image img = make_image(pattern, w, h, w * 31 + h);
        const std::string out = dir.file("out.tif");
        bool written;
        if (v.tiffcp) {
          const std::string src = dir.file("src.tif");
          ASSERT_TRUE(write_tiff(src, img));
          std::string cmd = std::string("tiffcp -c ") + v.tiffcp + (l.lsb_first ? " -f lsb2msb" : "") +
                            (l.rows_per_strip ? " -r " + std::to_string(l.rows_per_strip) : "") + " " + src +
                            " " + out + " 2>/dev/null";
          written = std::system(cmd.c_str()) == 0;
        } else {
          written = write_tiff(out, img, COMPRESSION_CCITTRLE, l.rows_per_strip, l.lsb_first);
        }
        ASSERT_TRUE(written) << v.name << " " << pattern << " width " << w;
        Reference ref;
        ASSERT_TRUE(load_reference(out, ref)) << "libtiff cannot read " << pattern;
        ASSERT_EQ(ref.reverse, l.lsb_first);
        const Decoded got =
            decode(ref.compression, w, h, ref.rows_per_strip, ref.strips, ref.reverse, l.capacity);
        ASSERT_EQ(got.rows.size(), h);
        for (std::uint32_t y = 0; y < h; ++y) {
          SCOPED_TRACE(std::string(v.name) + " " + pattern + " width " + std::to_string(w) + " row " +
                       std::to_string(y) + " layout " + std::to_string(&l - layouts));
          ASSERT_EQ(got.status[y], 1);
          ++rows;
          if (ref.doubtful[y]) {
            ++doubtful;
          } else {
            ASSERT_EQ(first_difference(got.rows[y].data(), ref.rows[y].data(), w), -1);
          }
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

// Hand-made code streams for cases an encoder does not produce.
struct BitWriter {
  std::vector<std::uint8_t> bytes;
  int used = 8;
  void put(std::uint32_t bits, int length) {
    for (int i = length - 1; i >= 0; --i) {
      if (used == 8) {
        bytes.push_back(0);
        used = 0;
      }
      if ((bits >> i) & 1) bytes.back() |= std::uint8_t(0x80u >> used);
      ++used;
    }
  }
  void code(ccitt::Code c) { put(c.bits, c.length); }
  void run(bool black, std::uint32_t r) {
    for (; r > ccitt::kMaxMakeUp; r -= ccitt::kMaxMakeUp) code(ccitt::make_up_code(black, 2560));
    if (r >= 64) code(ccitt::make_up_code(black, r / 64 * 64));
    code(black ? ccitt::kBlackTerminating[r % 64] : ccitt::kWhiteTerminating[r % 64]);
  }
  void mode(ccitt::Mode m) { code(ccitt::kModeCodes[int(m)]); }
};

Decoded decode_stream(int compression, std::uint32_t width, std::uint32_t rows,
                      const std::vector<std::uint8_t> &bytes) {
  return decode(compression, width, rows, rows, {bytes}, false, 4096);
}

// Pixels [from, to) of the row are black and all others white.
testing::AssertionResult black_span(const std::vector<std::uint8_t> &row, std::uint32_t width,
                                    std::uint32_t from, std::uint32_t to) {
  for (std::uint32_t x = 0; x < width; ++x)
    if (is_white(row.data(), x) == (x >= from && x < to)) return testing::AssertionFailure() << "pixel " << x;
  return testing::AssertionSuccess();
}

TEST(CcittOneDimensional, ExtendedMakeUpAddsToTheTerminatingCode) {
  BitWriter w;
  w.code(ccitt::make_up_code(false, 2560));
  w.code(ccitt::kWhiteTerminating[10]);  // white 2570
  w.run(true, 30);
  const Decoded d = decode_stream(3, 2600, 1, w.bytes);
  EXPECT_EQ(d.status[0], 1);
  EXPECT_TRUE(black_span(d.rows[0], 2600, 2570, 2600));
}

TEST(CcittOneDimensional, Group3RowsWithAndWithoutEol) {
  BitWriter w;
  w.code(ccitt::kEol);
  w.run(false, 3), w.run(true, 2), w.run(false, 5);  // no EOL before the second row
  w.run(false, 0), w.run(true, 10);
  w.put(0, 5), w.code(ccitt::kEol);  // EOL with fill bits
  w.run(false, 9), w.run(true, 1);
  const Decoded d = decode_stream(3, 10, 3, w.bytes);
  EXPECT_EQ(d.status, (std::vector<int>{1, 1, 1}));
  EXPECT_TRUE(black_span(d.rows[0], 10, 3, 5));
  EXPECT_TRUE(black_span(d.rows[1], 10, 0, 10));
  EXPECT_TRUE(black_span(d.rows[2], 10, 9, 10));
}

TEST(CcittOneDimensional, BadRowsEndWithStatus10KeepingWhatWasDecoded) {
  {  // black run past the width: painted up to the edge
    BitWriter w;
    w.run(false, 5), w.run(true, 8);
    const Decoded d = decode_stream(3, 10, 1, w.bytes);
    EXPECT_EQ(d.status[0], 10);
    EXPECT_TRUE(black_span(d.rows[0], 10, 5, 10));
  }
  {  // EOL inside a row, then a good row
    BitWriter w;
    w.run(false, 2), w.run(true, 3), w.code(ccitt::kEol);
    w.run(false, 1), w.run(true, 9);
    const Decoded d = decode_stream(3, 10, 2, w.bytes);
    EXPECT_EQ(d.status, (std::vector<int>{10, 1}));
    EXPECT_TRUE(black_span(d.rows[0], 10, 2, 5));
    EXPECT_TRUE(black_span(d.rows[1], 10, 1, 10));
  }
  {  // endless make-up codes cannot overflow the run
    BitWriter w;
    for (int i = 0; i < 5000; ++i) w.code(ccitt::make_up_code(false, 2560));
    EXPECT_EQ(decode_stream(2, 100, 1, w.bytes).status[0], 10);
  }
  {  // data ending inside a row, and rows asked for after the end
    BitWriter w;
    w.run(false, 20), w.run(true, 4);
    const Decoded d = decode_stream(2, 64, 3, w.bytes);
    EXPECT_EQ(d.status, (std::vector<int>{10, 10, 10}));
    EXPECT_TRUE(black_span(d.rows[0], 64, 20, 24));
  }
}

TEST(CcittGroup4, BadRowsEndWithStatus10KeepingWhatWasDecoded) {
  using ccitt::Mode;
  {  // horizontal white 2 black 3, then VR1 on the all-white reference puts a1 past the width
    BitWriter w;
    w.mode(Mode::kHorizontal), w.run(false, 2), w.run(true, 3), w.mode(Mode::kVR1);
    const Decoded d = decode_stream(4, 8, 1, w.bytes);
    EXPECT_EQ(d.status[0], 10);
    EXPECT_TRUE(black_span(d.rows[0], 8, 2, 5));
  }
  for (bool eofb : {false, true}) {  // an extension code or EOFB inside the image
    BitWriter w;
    w.mode(Mode::kV0);  // a good all-white row
    w.mode(Mode::kHorizontal), w.run(false, 1), w.run(true, 2);
    if (eofb) {
      w.code(ccitt::kEol), w.code(ccitt::kEol);
    } else {
      w.mode(Mode::kExtension);
    }
    w.put(0xFF, 8);
    const Decoded d = decode_stream(4, 8, 2, w.bytes);
    EXPECT_EQ(d.status, (std::vector<int>{1, 10}));
    EXPECT_TRUE(black_span(d.rows[1], 8, 1, 3));
  }
}

TEST(CcittCorruptInput, TruncatedStripsFailOnlyFromTheCut) {
  if (std::system("tiffcp >/dev/null 2>&1; test $? -ne 127") != 0) GTEST_SKIP() << "no tiffcp";
  TempDir dir;
  Image img = make_image("text", 1001, 60, 7);
  ASSERT_TRUE(write_tiff(dir.file("src.tif"), img));
  for (const char *c : {"g3:1d", "g4"}) {
    const std::string cmd =
        std::string("tiffcp -c ") + c + " " + dir.file("src.tif") + " " + dir.file("out.tif");
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    Reference ref;
    ASSERT_TRUE(load_reference(dir.file("out.tif"), ref));
    ref.strips[0].resize(ref.strips[0].size() / 2);
    const Decoded d = decode(ref.compression, 1001, 60, 60, ref.strips, false, 64);
    std::uint32_t y = 0;
    while (y < 60 && d.status[y] == 1) {
      EXPECT_EQ(first_difference(d.rows[y].data(), img.row(y), 1001), -1) << c << " row " << y;
      ++y;
    }
    EXPECT_GT(y, 10u) << c;
    EXPECT_LT(y, 50u) << c;
    for (; y < 60; ++y) EXPECT_EQ(d.status[y], 10) << c << " row " << y;
  }
}

TEST(CcittCorruptInput, RandomBytesStayInsideTheBuffers) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 600; ++round) {
    std::vector<std::uint8_t> bytes(1 + rng() % 300);
    // Mostly-one bytes make long valid-looking code sequences; mostly-zero bytes make EOLs.
    const int bias = round % 3;
    for (auto &b : bytes) {
      b = std::uint8_t(rng());
      if (bias == 1) b |= std::uint8_t(rng());
      if (bias == 2) b &= std::uint8_t(rng());
    }
    for (int compression = 2; compression <= 4; ++compression)
      for (std::uint32_t width : {1u, 9u, 200u}) {
        const Decoded d = decode(compression, width, 12, 5, {bytes}, round & 1, 3);
        for (int s : d.status) EXPECT_TRUE(s == 1 || s == 10);
      }
  }
}

}  // namespace
}  // namespace grainwick
