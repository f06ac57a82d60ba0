// What the codec tests share: DIBs built and read back in plain memory, TIFF files written and
// decoded by libtiff (the reference every differential test measures against), raw directory
// access for patching files, bilevel pages and a driver for the CCITT decoders, and one
// temporary folder per test run.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "grainwick.h"
#include "platform/win32mem.h"
#include "status.h"
#include "tiff_tags.h"

namespace grainwick {

// Lets GoogleTest print a Status by its number.
inline void PrintTo(Status s, std::ostream *os) { *os << int(s); }

namespace test {

using Bytes = std::vector<std::uint8_t>;

// ---- files and folders ----

// A fresh folder under the system's temporary folder, removed with its files at exit.
std::string temp_dir();
Bytes read_file(const std::string &path);
void write_file(const std::string &path, const Bytes &bytes);

// A new movable block holding `bytes`, and the bytes of a block.
HGLOBAL new_block(const Bytes &bytes);
Bytes block_bytes(HGLOBAL h);

// A movable block holding `bytes`, locked; freed with the object.
struct StreamBlock {
  HGLOBAL block = nullptr;
  void *data = nullptr;
  std::int32_t length = 0;
  explicit StreamBlock(const Bytes &bytes);
  ~StreamBlock() { GlobalUnlock(block); GlobalFree(block); }
  StreamBlock(const StreamBlock &) = delete;
  StreamBlock &operator=(const StreamBlock &) = delete;
};

// getinfo's answers for page `page` of a file or a memory stream.
struct Info {
  int result;
  int16_t width, height, compression, pages, bits;
  int32_t colour_map;
};
// Inline, so that tests without the reader need not link it.
inline Info info(const std::string &path, int16_t page = 0) {
  Info i{};
  i.result = getinfo(path.c_str(), page, &i.width, &i.height, &i.compression, &i.colour_map, &i.pages, &i.bits);
  return i;
}
inline Info info(const Bytes &file, int16_t page = 0) {
  StreamBlock s(file);
  Info i{};
  i.result = getinfostream(s.data, s.length, page, &i.width, &i.height, &i.compression, &i.colour_map, &i.pages, &i.bits);
  return i;
}
inline Bytes bytes_at(const void *p, std::int32_t n) {
  return Bytes(static_cast<const std::uint8_t *>(p), static_cast<const std::uint8_t *>(p) + n);
}

// ---- DIBs ----

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};
inline RGBQUAD quad(int r, int g, int b) { return RGBQUAD{BYTE(b), BYTE(g), BYTE(r), 0}; }
inline Rgb grey(int v) { return {v, v, v}; }

// A packed DIB built in plain memory; rows addressed from the top of the image.
class DibBuilder {
 public:
  DibBuilder(int width, int height, int bits, std::vector<RGBQUAD> table = {}, LONG ppm_x = 2835, LONG ppm_y = 3780);
  // A 24-bit DIB of the given pixels, top row first.
  static DibBuilder from_pixels(int width, int height, const std::vector<Rgb> &pixels);
  std::uint8_t *row(int top) { return bytes_.data() + 40 + table_.size() * 4 + stride_ * std::size_t(h_ - 1 - top); }
  void index(int x, int top, unsigned v);
  void rgb(int x, int top, Rgb c) {
    std::uint8_t *p = row(top) + x * 3;
    p[0] = BYTE(c.b), p[1] = BYTE(c.g), p[2] = BYTE(c.r);
  }
  // Sets the padding bits and bytes of every row, which no conversion may carry over.
  void dirty_padding();
  Bytes &bytes() { return bytes_; }
  const Bytes &bytes() const { return bytes_; }
  BITMAPINFOHEADER &header() { return *reinterpret_cast<BITMAPINFOHEADER *>(bytes_.data()); }
  HGLOBAL handle() const { return new_block(bytes_); }

 private:
  int w_, h_, bits_;
  std::vector<RGBQUAD> table_;
  std::size_t stride_;
  Bytes bytes_;
};

// An indexed DIB with a pattern that mixes every index, its padding set.
DibBuilder patterned(int width, int height, int bits, const std::vector<RGBQUAD> &table);
std::vector<RGBQUAD> grey_table(int n);
// Busy content for round trips: long runs on the left half, noise on the right, every table
// entry used (2, 16 or 200 colours). `inverted` gives a 1-bit DIB whose entry 0 is white.
HGLOBAL busy_dib(int bits, int w, int h, bool inverted = false, LONG ppm = 3780);

// Owns a DIB handle and reads it back; rows addressed from the top of the image.
class Dib {
 public:
  explicit Dib(HGLOBAL h = nullptr) : h_(h) {}
  ~Dib() { reset(nullptr); }
  Dib(const Dib &) = delete;
  Dib &operator=(const Dib &) = delete;
  void reset(HGLOBAL h) { if (h_) GlobalFree(h_); h_ = h; }
  HGLOBAL get() const { return h_; }
  operator HGLOBAL() const { return h_; }
  Bytes bytes() const;  // empty for no DIB
  BITMAPINFOHEADER header() const;
  unsigned table_size() const;
  Rgb entry(unsigned i) const;
  Bytes row(int top) const;
  unsigned index(int x, int top) const;
  std::vector<unsigned> indexes(int top) const;  // one row
  Rgb colour(int x, int top) const;
  std::vector<Rgb> colours() const;  // top row first
  bool padding_clear() const;        // every bit past the last pixel of each row is zero
  int count_white() const;           // pixels of index 1 (bilevel)

 private:
  HGLOBAL h_;
};

// Pixels packed like libtiff's RGBA (alpha 255), top row first.
struct Pixels {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint32_t> rgba;
  bool operator==(const Pixels &) const = default;
};
// A DIB's pixels; none for no DIB.
Pixels dib_pixels(HGLOBAL dib);
// Pixels that differ; -1 when sizes differ or either has none.
long differences(const Pixels &a, const Pixels &b);
inline long compare_dibs(HGLOBAL a, HGLOBAL b) { return differences(dib_pixels(a), dib_pixels(b)); }

// ---- TIFF files through libtiff ----

enum class Kind { grey1, grey2, grey4, palette4, palette8, grey8, rgb24 };
const char *kind_name(Kind k);

struct SourceImage {
  std::uint32_t width = 0, height = 0;
  std::uint16_t bits = 1, samples = 1, photometric = 1;
  Bytes rows;                                   // packed, top row first
  std::vector<std::uint16_t> red, green, blue;  // colour map when photometric is 3
  std::size_t row_bytes() const { return (std::size_t(width) * bits * samples + 7) / 8; }
};

// Gradients with noise, so that every pixel value is used; `flat` gives long runs instead
// (long LZW strings, PackBits repeats).
SourceImage make_image(Kind kind, std::uint32_t width, std::uint32_t height, bool flat = false);

// A TIFF of `image` written by libtiff; false on any libtiff failure.
bool write_tiff(const std::string &path, const SourceImage &image, std::uint32_t rows_per_strip = 0,
                int compression = 1, bool lsb_first = false);
bool write_pages(const std::string &path, const std::vector<SourceImage> &images);
// Runs tiffcp with the given options; true when it succeeded.
bool tiffcp(const std::string &options, const std::string &in, const std::string &out);
// Pixels as libtiff sees them; none when libtiff cannot read the file.
Pixels libtiff_rgba(const std::string &path, int page = 0);
// Pixels where the DIB differs from libtiff's decoding; -1 when sizes differ.
inline long compare_with_libtiff(HGLOBAL dib, const std::string &path, int page = 0) {
  return differences(dib_pixels(dib), libtiff_rgba(path, page));
}

// The directories of a TIFF file in memory, in either byte order, for checks and patches.
struct RawTiff {
  Bytes f;
  bool big = false;
  explicit RawTiff(Bytes bytes) : f(std::move(bytes)), big(f.size() > 1 && f[0] == 'M') {}
  static RawTiff load(const std::string &path) { return RawTiff(read_file(path)); }
  std::uint32_t get(std::size_t at, int n) const;  // n bytes in the file's order
  void put(std::size_t at, std::uint32_t v, int n);
  std::uint32_t u16(std::size_t at) const { return get(at, 2); }
  std::uint32_t u32(std::size_t at) const { return get(at, 4); }
  void set16(std::size_t at, std::uint16_t v) { put(at, v, 2); }
  void set32(std::size_t at, std::uint32_t v) { put(at, v, 4); }
  std::size_t directory(int page) const;
  // Position of the entry of `tag` in directory `page`, or 0.
  std::size_t entry(std::uint16_t tag, int page = 0) const;
  std::uint32_t count(std::uint16_t tag, int page = 0) const { return u32(entry(tag, page) + 4); }
  std::uint32_t short_value(std::uint16_t tag, int page = 0) const { return u16(entry(tag, page) + 8); }
  std::uint32_t long_value(std::uint16_t tag, int page = 0) const { return u32(entry(tag, page) + 8); }
};

// ---- bilevel pages and the CCITT decoders ----

// Rows packed most significant bit first, 1 = white.
struct Page {
  std::uint32_t width, height, stride;
  Bytes bits;
  Page(std::uint32_t w, std::uint32_t h) : width(w), height(h), stride((w + 7) / 8), bits(std::size_t(stride) * h, 0xFF) {}
  std::uint8_t *row(std::uint32_t y) { return bits.data() + std::size_t(y) * stride; }
  const std::uint8_t *row(std::uint32_t y) const { return bits.data() + std::size_t(y) * stride; }
  void black(std::uint32_t x, std::uint32_t y) {
    if (x < width && y < height) row(y)[x >> 3] &= std::uint8_t(~(0x80u >> (x & 7)));
  }
};
inline bool white_at(const std::uint8_t *row, std::uint32_t x) { return row[x >> 3] & (0x80u >> (x & 7)); }
// First pixel where two rows differ, or -1.
long first_difference(const std::uint8_t *a, const std::uint8_t *b, std::uint32_t width);
// Patterns that stress the run-length codes: white, black, alternate, noise, blocks, text, drift.
Page make_page(const std::string &pattern, std::uint32_t w, std::uint32_t h, unsigned seed);
// The page as a WhiteIsZero image for write_tiff.
SourceImage bilevel_image(const Page &page);

// A bilevel file as libtiff sees it: the raw strips and libtiff's decoding (1 = white).
struct LibtiffBilevel {
  int compression = 0;
  std::uint32_t width = 0, height = 0, rows_per_strip = 0;
  bool reverse = false;  // FillOrder 2
  std::vector<Bytes> strips, rows;
  // Rows libtiff warned or failed about: its modified Huffman decoder looks past the end of a
  // strip and can misread a strip's last row.
  std::vector<bool> doubtful;
};
// False when libtiff cannot read the file or one of its rows.
bool libtiff_bilevel(const std::string &path, LibtiffBilevel &out);
// libtiff's decoding of `strips`, wrapped as a WhiteIsZero file of the page's size; empty when
// libtiff cannot write the file.
LibtiffBilevel libtiff_decode(int compression, const Page &page, std::uint32_t rows_per_strip,
                              const std::vector<Bytes> &strips);
// libtiff's own single strip for the page.
Bytes libtiff_encode(int compression, const Page &page);

struct Decoded {
  std::vector<Bytes> rows;
  std::vector<Status> status;
};
// Runs the CCITT decoder over `strips` through a scratch input of `capacity` bytes, restarting
// at every strip as the reader does; a guard byte past each row catches writes beyond it.
Decoded ccitt_decode_strips(int compression, std::uint32_t width, std::uint32_t height, std::uint32_t rows_per_strip,
                            const std::vector<Bytes> &strips, bool reverse = false, std::uint32_t capacity = 64);

// Codes packed most significant bit first.
struct BitWriter {
  Bytes bytes;
  int used = 8;
  void put(std::uint32_t bits, int length);
};

}  // namespace test
}  // namespace grainwick
