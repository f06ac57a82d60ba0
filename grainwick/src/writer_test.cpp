// The writer against libtiff: every depth and compression, new and appended files in both byte
// orders, each file checked by libtiff pixel for pixel and read back through Grainwick's reader;
// the file-choice rules, the failure paths and the write exports.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame.h"
#include "grainwick.h"
#include "options.h"
#include "platform/question.h"
#include "test_support.h"
#include "writer.h"

namespace grainwick::test {
namespace {

struct Options {
  HGLOBAL list = options_create();
  ~Options() { options_free(list); }
  Options &set(const char *k, const std::string &v) {
    EXPECT_TRUE(options_set(list, k, v));
    return *this;
  }
};

Options compressed(const char *name) {
  Options o;
  if (name) o.set("COMPRESS", "ON").set("TIFF_COMPRESS", name);
  return o;
}

// libtiff must decode page `page` equal to `dib`, and so must Grainwick's own reader.
void expect_reads_back(HGLOBAL dib, const std::string &path, int page = 0) {
  EXPECT_EQ(compare_with_libtiff(dib, path, page), 0) << path << " page " << page;
  HGLOBAL back = nullptr;
  ASSERT_EQ(readtiffiledib(path.c_str(), 0, 0, int16_t(page), &back, nullptr, 0), 1) << path;
  EXPECT_EQ(compare_dibs(dib, back), 0) << path << " (Grainwick reader)";
  GlobalFree(back);
}

struct Case {
  int bits;
  const char *compression;  // null: uncompressed
};

// Each depth with every compression it takes, odd widths, several strip layouts, FillOrder 2.
TEST(Writer, EveryDepthAndCompressionReadsBackExactly) {
  const Case cases[] = {{1, nullptr}, {1, "PACKBITS"}, {1, "LZW"}, {1, "MODCCITT"}, {1, "GROUP3"}, {1, "GROUP4"},
                        {4, nullptr}, {4, "PACKBITS"}, {4, "LZW"}, {8, nullptr}, {8, "PACKBITS"}, {8, "LZW"},
                        {24, nullptr}, {24, "PACKBITS"}, {24, "LZW"}};
  const std::string dir = temp_dir();
  for (const Case &c : cases)
    for (int w : {1, 13, 77, 301})
      for (const char *rows : {"", "1", "7", "1000", "0"})
        for (bool fill : {false, true}) {
          if (fill && c.bits != 1) continue;
          Dib dib(busy_dib(c.bits, w, 29, c.bits == 1 && w == 77));
          Options o = compressed(c.compression);
          if (*rows) o.set("TIFF_ROWSPERSTRIP", rows);
          if (fill) o.set("TIFF_FILLORDER", "2");
          std::string path = dir + "/m" + std::to_string(c.bits) + (c.compression ? c.compression : "NONE") + "_" +
                             std::to_string(w) + "_" + rows + (fill ? "f" : "") + ".tif";
          SCOPED_TRACE(path);
          ASSERT_EQ(write_tiff_file(path, dib, o.list, nullptr), kWriteOk);
          expect_reads_back(dib, path);
          RawTiff t = RawTiff::load(path);
          // The default layout is not checked here.
          const std::uint32_t rps =
              !*rows ? t.short_value(kTagRowsPerStrip) : *rows == '0' ? 1 : std::min(29, std::atoi(rows));
          EXPECT_EQ(t.short_value(kTagRowsPerStrip), rps);
          EXPECT_EQ(t.count(kTagStripOffsets), (29 + t.short_value(kTagRowsPerStrip) - 1) / t.short_value(kTagRowsPerStrip));
          EXPECT_EQ(t.entry(kTagFillOrder) != 0, fill);
        }
}

// LZW around the code-width changes and the full table: rows of random bytes whose lengths put
// the last code of a strip on each side of 512 and 4095, one strip per row.
TEST(Writer, LzwStripEndsAtEveryWidthBoundary) {
  const std::string dir = temp_dir();
  for (int w : {250, 253, 254, 255, 256, 257, 510, 511, 512, 1024, 2047, 3830, 3837, 3838, 3840, 5000}) {
    Dib dib(busy_dib(8, w * 2, 3));
    auto *hd = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
    hd->biWidth = w;  // the right half of make_dib's rows: noise only
    auto *px = reinterpret_cast<std::uint8_t *>(hd) + 40 + 4 * 200;
    std::uint32_t seed = std::uint32_t(w);
    for (std::size_t i = 0; i < dib_stride(w, 8) * 3; ++i) px[i] = BYTE((seed = seed * 69069u + 1) >> 24) % 200;
    GlobalUnlock(dib);
    Options o = compressed("LZW");
    o.set("TIFF_ROWSPERSTRIP", "1");
    std::string path = dir + "/lzw" + std::to_string(w) + ".tif";
    ASSERT_EQ(write_tiff_file(path, dib, o.list, nullptr), kWriteOk);
    expect_reads_back(dib, path);
  }
}

TEST(Writer, PackBitsRuns) {
  auto pack = [](std::vector<std::uint8_t> in) {
    std::vector<std::uint8_t> out;
    packbits_encode_row(in.data(), in.size(), out);
    return out;
  };
  EXPECT_EQ(pack({1, 2, 2, 2, 3}), (std::vector<std::uint8_t>{0, 1, 0xFE, 2, 0, 3}));
  EXPECT_EQ(pack({5, 5}), (std::vector<std::uint8_t>{0xFF, 5}));
  // A lone byte before each pair: the output outgrows the input by a third.
  std::vector<std::uint8_t> lone_pairs;
  for (int i = 0; i < 300; ++i) lone_pairs.insert(lone_pairs.end(), {std::uint8_t(i % 200 + 10), 7, 7});
  auto grown = pack(lone_pairs);
  ASSERT_EQ(grown.size(), 1200u);
  EXPECT_EQ(std::vector<std::uint8_t>(grown.end() - 4, grown.end()), (std::vector<std::uint8_t>{0, 109, 0xFF, 7}));
  std::vector<std::uint8_t> long_run(300, 9);
  EXPECT_EQ(pack(long_run), (std::vector<std::uint8_t>{0x81, 9, 0x81, 9, 0xD5, 9}));
  std::vector<std::uint8_t> distinct(130);
  for (int i = 0; i < 130; ++i) distinct[i] = std::uint8_t(i);
  auto out = pack(distinct);
  ASSERT_EQ(out.size(), 132u);
  EXPECT_EQ(out[0], 127);
  EXPECT_EQ(out[129], 1);
}

// Appending to files libtiff made, in both byte orders: the old pages stay, the new directory
// and its arrays follow the file's byte order.
TEST(Writer, AppendsToLittleAndBigEndianFiles) {
  const std::string dir = temp_dir();
  SourceImage base = make_image(Kind::rgb24, 31, 17);
  ASSERT_TRUE(write_tiff(dir + "/base.tif", base));
  ASSERT_TRUE(tiffcp("-B", dir + "/base.tif", dir + "/base-be.tif"));
  ASSERT_TRUE(tiffcp("-L", dir + "/base.tif", dir + "/base-le.tif"));
  for (const char *order : {"le", "be"})
    for (const Case &c : {Case{4, "LZW"}, Case{8, "PACKBITS"}, Case{24, nullptr}, Case{1, "GROUP4"}, Case{1, "GROUP3"}}) {
      std::string path = dir + "/app-" + order + std::to_string(c.bits) + (c.compression ? c.compression : "") + ".tif";
      std::filesystem::copy_file(dir + "/base-" + order + ".tif", path);
      const Pixels before = libtiff_rgba(path);
      Dib first(busy_dib(c.bits, 45, 40)), second(busy_dib(c.bits, 19, 11));
      Options o = compressed(c.compression);
      o.set("APPEND", "YES");
      ASSERT_EQ(write_tiff_file(path, first, o.list, nullptr), kWriteOk);
      ASSERT_EQ(write_tiff_file(path, second, o.list, nullptr), kWriteOk);
      SCOPED_TRACE(path);
      EXPECT_EQ(libtiff_rgba(path), before);
      expect_reads_back(first, path, 1);
      expect_reads_back(second, path, 2);
      RawTiff t = RawTiff::load(path);
      EXPECT_EQ(t.big, std::string(order) == "be");
      EXPECT_EQ(t.short_value(kTagImageWidth, 1), 45u);  // readable only in the file's own order
      EXPECT_EQ(t.directory(1) % 2, 0u);
      const Info i = info(path, 2);
      EXPECT_EQ((std::vector<int>{i.result, i.pages, i.bits}), (std::vector<int>{1, 3, c.bits}));
    }
}

using Values = std::vector<std::uint32_t>;

TEST(Writer, WorkedExamples) {
  auto written = [](const std::string &name, HGLOBAL dib, const Options &o) {
    EXPECT_EQ(write_tiff_file(temp_dir() + "/" + name, dib, o.list, nullptr), kWriteOk);
    return RawTiff::load(temp_dir() + "/" + name);
  };
  {  // 100 × 100 at 24 bits: 30,000 bytes make 4 strips of 25 rows; 2835 pels per metre is 72 dpi
    const RawTiff t = written("ex24.tif", Dib(busy_dib(24, 100, 100, false, 2835)), Options());
    const std::size_t counts = t.long_value(kTagStripByteCounts), xres = t.long_value(kTagXResolution);
    EXPECT_EQ((Values{t.count(kTagStripOffsets), t.count(kTagStripByteCounts), t.short_value(kTagRowsPerStrip),
                      t.short_value(kTagPhotometric), t.u32(xres), t.u32(xres + 4), t.short_value(kTagResolutionUnit),
                      t.u32(counts) + t.u32(counts + 4) + t.u32(counts + 8) + t.u32(counts + 12)}),
              (Values{4, 4, 25, 2, 7200, 100, 2, 30000}));
    // Tags in ascending order, as readers expect.
    const std::size_t ifd = t.directory(0);
    for (std::uint32_t i = 1; i < t.u16(ifd); ++i) EXPECT_LT(t.u16(ifd + 2 + 12 * (i - 1)), t.u16(ifd + 2 + 12 * i));
  }
  {  // TIFF_XRES 200 gives 20000/100; no resolution in the DIB gives 300 dpi
    Options o;
    o.set("TIFF_XRES", "200").set("TIFF_ARTIST", "Ann Example").set("TIFF_COPYRIGHT", "none");
    const RawTiff t = written("res.tif", Dib(busy_dib(8, 10, 10, false, 0)), o);
    EXPECT_EQ((Values{t.u32(t.long_value(kTagXResolution)), t.u32(t.long_value(kTagXResolution) + 4),
                      t.u32(t.long_value(kTagYResolution)), t.count(kTagArtist), t.count(kTagSoftware)}),
              (Values{20000, 100, 30000, 12, sizeof kSoftwareName}));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&t.f[t.long_value(kTagArtist)])), "ANN EXAMPLE");
    EXPECT_NE(t.entry(kTagCopyright), 0u);
  }
  {  // 4 bits: a ColorMap of 48 values, photometric 3; red of entry 1 is 8
    const RawTiff t = written("p4.tif", Dib(busy_dib(4, 9, 9)), Options());
    EXPECT_EQ((Values{t.short_value(kTagPhotometric), t.count(kTagColorMap), t.u16(t.long_value(kTagColorMap) + 2)}),
              (Values{3, 48, 8 * 257}));
  }
  {  // Group 3: T4Options 4, WhiteIsZero, and the image ends with RTC
    const RawTiff t = written("g3.tif", Dib(busy_dib(1, 50, 30)), compressed("GROUP3"));
    EXPECT_EQ((Values{t.long_value(kTagT4Options), t.short_value(kTagCompression), t.short_value(kTagPhotometric)}),
              (Values{4, 3, 0}));
    const std::uint32_t strips = t.count(kTagStripOffsets);
    std::uint32_t end = strips == 1 ? t.long_value(kTagStripOffsets) + t.long_value(kTagStripByteCounts)
                                    : t.u32(t.long_value(kTagStripOffsets) + 4 * (strips - 1)) +
                                          t.u32(t.long_value(kTagStripByteCounts) + 4 * (strips - 1));
    const std::uint8_t rtc[] = {0x00, 0x10, 0x01, 0x00, 0x10, 0x01, 0x00, 0x10, 0x01};
    ASSERT_GE(end, 9u);
    EXPECT_TRUE(std::equal(rtc, rtc + 9, t.f.begin() + end - 9));
  }
}

int answers_asked = 0;
int answer_with(HWND, const char *title, const char *text, void *context) {
  ++answers_asked;
  EXPECT_STREQ(title, "File Conflict");
  EXPECT_NE(std::string(text).find("File exists. Do you want to overwrite it?"), std::string::npos);
  return *static_cast<int *>(context);
}

TEST(Writer, FileChoiceAndOverwritePolicy) {
  const std::string dir = temp_dir() + "/choice";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/exists.tif";
  write_file(path, {'k', 'e', 'e', 'p'});
  Dib dib(busy_dib(8, 20, 20));
  auto untouched = [&] { return read_file(path) == std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}; };

  Options none, prompt;
  prompt.set("OVERWRITE", "PROMPT");
  EXPECT_EQ(write_tiff_file(path, dib, none.list, nullptr), kWriteFailed);
  EXPECT_TRUE(untouched());
  SetQuestionAnswerer(nullptr, nullptr);
  EXPECT_EQ(write_tiff_file(path, dib, prompt.list, nullptr), kWriteFailed);  // nobody answers: No
  EXPECT_TRUE(untouched());
  int no = IDNO, yes = IDYES;
  SetQuestionAnswerer(answer_with, &no);
  EXPECT_EQ(write_tiff_file(path, dib, prompt.list, nullptr), kWriteFailed);
  EXPECT_TRUE(untouched());
  SetQuestionAnswerer(answer_with, &yes);
  EXPECT_EQ(write_tiff_file(path, dib, prompt.list, nullptr), kWriteOk);
  SetQuestionAnswerer(nullptr, nullptr);
  EXPECT_EQ(answers_asked, 2);
  expect_reads_back(dib, path);

  // PATH goes in front of a bare name; FILENAME stands in for a missing one. Option values are
  // upper case, so the folder is named in capitals and reached from the working directory.
  std::filesystem::create_directories(dir + "/SUB");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  Options with_path;
  with_path.set("PATH", "SUB/");
  with_path.set("FILENAME", "named.tif");
  EXPECT_EQ(write_tiff_file("", dib, with_path.list, nullptr), kWriteOk);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::exists(dir + "/SUB/NAMED.TIF"));
  // Nothing but the written files is left in the folder (no temporary names).
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir + "/SUB"), {}), 1);
}

int16_t cancel_at_half(int16_t percent) { return percent < 50; }

// Every failure gives no file, or leaves the old one exactly as it was.
TEST(Writer, FailuresLeaveNoPartialFile) {
  const std::string dir = temp_dir() + "/fail";
  std::filesystem::create_directories(dir);
  Dib dib(busy_dib(24, 300, 200));
  Options o = compressed("LZW");

  Dib tiny(GlobalAlloc(GHND, 20));
  EXPECT_EQ(write_tiff_file(dir + "/a.tif", nullptr, o.list, nullptr), kWriteFailed);
  EXPECT_EQ(write_tiff_file(dir + "/a.tif", tiny, o.list, nullptr), kWriteFailed);
  Dib bits16(busy_dib(24, 10, 10));
  static_cast<BITMAPINFOHEADER *>(GlobalLock(bits16))->biBitCount = 16;
  GlobalUnlock(bits16);
  EXPECT_EQ(write_tiff_file(dir + "/a.tif", bits16, o.list, nullptr), kWriteFailed);
  EXPECT_EQ(write_tiff_file(dir + "/missing/a.tif", dib, o.list, nullptr), kWriteFailed);
  EXPECT_EQ(write_tiff_file(dir + "/a.tif", dib, o.list, cancel_at_half), kWriteCancelled);
  EXPECT_FALSE(std::filesystem::exists(dir + "/a.tif"));

  // Appending: a file that is not TIFF is not touched; a cancelled append is cut back.
  Options app = compressed("LZW");
  app.set("APPEND", "ON");
  const std::vector<std::uint8_t> text = {'n', 'o', 't', ' ', 't', 'i', 'f', 'f', '!', '\n'};
  write_file(dir + "/text.tif", text);
  EXPECT_EQ(write_tiff_file(dir + "/text.tif", dib, app.list, nullptr), kWriteFailed);
  EXPECT_EQ(read_file(dir + "/text.tif"), text);
  // Damaged chains whose link would land on other data are in testdata/tiff.
  ASSERT_EQ(write_tiff_file(dir + "/two.tif", dib, app.list, nullptr), kWriteOk);  // created when missing
  const auto before = read_file(dir + "/two.tif");
  EXPECT_EQ(write_tiff_file(dir + "/two.tif", dib, app.list, cancel_at_half), kWriteCancelled);
  EXPECT_EQ(read_file(dir + "/two.tif"), before);
  // A cancelled overwrite keeps the old file.
  Options over = compressed("LZW");
  over.set("OVERWRITE", "ON");
  EXPECT_EQ(write_tiff_file(dir + "/two.tif", dib, over.list, cancel_at_half), kWriteCancelled);
  EXPECT_EQ(read_file(dir + "/two.tif"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
}

TEST(WriteExports, DepthChangeAndCallerDibKept) {
  const std::string dir = temp_dir();
  Dib dib(busy_dib(24, 41, 23));
  const Bytes copy = dib.bytes();
  // Group 4 forces one bit whatever `bits` says; the result is what DitherToBW-style reduction gives.
  const std::string g4 = dir + "/exp-g4.tif";
  ASSERT_EQ(writetiffiledib(g4.c_str(), 4, 24, 0, dib, nullptr, 0), 1);
  Info i = info(g4, 0);
  EXPECT_EQ((std::vector<int>{i.result, i.compression, i.bits}), (std::vector<int>{1, 4, 1}));
  HGLOBAL expected = nullptr;
  ASSERT_TRUE(change_depth(dib, 1, expected));
  expect_reads_back(Dib(expected), g4);
  // bits 0: grey, 8 bits; any other compression code: PackBits; append adds a page.
  ASSERT_EQ(writetiffiledib(g4.c_str(), 77, 0, 1, dib, nullptr, 0), 1);
  i = info(g4, 1);
  EXPECT_EQ((std::vector<int>{i.result, i.compression, i.bits, i.pages}), (std::vector<int>{1, int16_t(32773), 8, 2}));
  EXPECT_EQ(writetiffiledib(g4.c_str(), 1, 3, 0, dib, nullptr, 0), -1);  // no 3-bit images
  EXPECT_EQ(writetiffiledib(g4.c_str(), 1, 24, 0, nullptr, nullptr, 0), -1);
  EXPECT_EQ(dib.bytes(), copy);
}

TEST(WriteExports, MemoryStreams) {
  const std::string dir = temp_dir();
  Dib dib(busy_dib(8, 64, 48));
  // A null pointer gets a new block holding exactly one TIFF file, the same bytes as on disk.
  void *stream = nullptr;
  int32_t length = 0;
  ASSERT_EQ(writetiffiledibstream(&stream, &length, 5, 8, 0, dib, nullptr, 0), 1);
  ASSERT_NE(stream, nullptr);
  HGLOBAL block = GlobalHandle(stream);
  EXPECT_EQ(GlobalSize(block), 0x40000u);
  ASSERT_EQ(writetiffiledib((dir + "/s.tif").c_str(), 5, 8, 0, dib, nullptr, 0), 1);
  const auto disk = read_file(dir + "/s.tif");
  EXPECT_EQ(bytes_at(stream, length), disk);

  // Appending grows the block in 0x40000 steps; the pointer handed back is the block's.
  Dib big(busy_dib(24, 400, 300));  // 360,000 bytes uncompressed
  ASSERT_EQ(writetiffiledibstream(&stream, &length, 1, 24, 1, big, nullptr, 0), 1);
  EXPECT_EQ(GlobalHandle(stream), block);
  EXPECT_EQ(GlobalSize(block), 0x80000u);
  write_file(dir + "/s2.tif", bytes_at(stream, length));
  expect_reads_back(dib, dir + "/s2.tif", 0);
  expect_reads_back(big, dir + "/s2.tif", 1);

  // A cancelled write or a bad DIB changes nothing the caller holds.
  const auto held = read_file(dir + "/s2.tif");
  void *before = stream;
  int32_t before_length = length;
  EXPECT_EQ(writetiffiledibstream(&stream, &length, 1, 24, 1, big, cancel_at_half, 0), -1);
  EXPECT_EQ(writetiffiledibstream(&stream, &length, 1, 24, 0, nullptr, nullptr, 0), -1);
  EXPECT_EQ(stream, before);
  EXPECT_EQ(length, before_length);
  EXPECT_EQ(bytes_at(stream, length), held);
  // append 0 starts again at length 0.
  ASSERT_EQ(writetiffiledibstream(&stream, &length, 5, 8, 0, dib, nullptr, 0), 1);
  EXPECT_EQ(length, int32_t(disk.size()));
  GlobalUnlock(block);
  GlobalFree(block);
}

// writetiffile and its stream form take a device bitmap and its palette.
TEST(WriteExports, FromDeviceBitmap) {
  const std::string dir = temp_dir();
  Dib dib(busy_dib(8, 33, 21));
  auto *hd = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
  LOGPALETTE *lp = static_cast<LOGPALETTE *>(std::malloc(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 200;
  const auto *table = reinterpret_cast<const RGBQUAD *>(hd + 1);
  for (int i = 0; i < 200; ++i) lp->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  HPALETTE palette = CreatePalette(lp);
  std::free(lp);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(33, 21, 1, 8, nullptr);
  SelectPalette(dc, palette, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_GT(StretchDIBits(dc, 0, 0, 33, 21, 0, 0, 33, 21, reinterpret_cast<const BYTE *>(table + 200),
                          reinterpret_cast<const BITMAPINFO *>(hd), DIB_RGB_COLORS, SRCCOPY), 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  GlobalUnlock(dib);

  const std::string path = dir + "/bitmap.tif";
  ASSERT_EQ(writetiffile(path.c_str(), 5, 8, 0, bitmap, palette, nullptr, 0), 1);
  // The palette has 200 colours; the device bitmap's DIB carries all 256 table entries.
  EXPECT_EQ(compare_with_libtiff(dib, path), 0);

  void *stream = nullptr;
  int32_t length = 0;
  ASSERT_EQ(writetiffilestream(&stream, &length, 5, 8, 0, bitmap, palette, nullptr, 0), 1);
  EXPECT_EQ(bytes_at(stream, length), read_file(path));
  HGLOBAL block = GlobalHandle(stream);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(writetiffile(path.c_str(), 5, 8, 0, nullptr, palette, nullptr, 0), -1);
  DeleteObject(bitmap);
  DeleteObject(palette);
}

TEST(Tool, FromBmp) {
  const std::string dir = temp_dir();
  Dib dib(busy_dib(4, 23, 17));
  ASSERT_EQ(writetiffiledib((dir + "/t.tif").c_str(), 1, 4, 0, dib, nullptr, 0), 1);
  const std::string tool = GRAINWICK_TOOL;
  ASSERT_EQ(std::system((tool + " tobmp " + dir + "/t.tif " + dir + "/t.bmp").c_str()), 0);
  ASSERT_EQ(std::system((tool + " frombmp " + dir + "/t.bmp " + dir + "/u.tif --compression lzw").c_str()), 0);
  ASSERT_EQ(std::system((tool + " frombmp " + dir + "/t.bmp " + dir + "/u.tif --compression group4 --append").c_str()), 0);
  expect_reads_back(dib, dir + "/u.tif");
  RawTiff t = RawTiff::load(dir + "/u.tif");
  EXPECT_EQ(t.short_value(kTagCompression, 0), 5u);
  EXPECT_EQ(t.short_value(kTagCompression, 1), 4u);
  EXPECT_NE(std::system((tool + " frombmp " + dir + "/t.tif " + dir + "/v.tif 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace grainwick::test
