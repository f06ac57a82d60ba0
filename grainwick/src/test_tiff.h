// Test fixtures for the reader: source images, TIFF files written by libtiff (directly or
// through tiffcp), and pixel comparison against what libtiff decodes from the same file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32mem.h"

namespace grainwick::test {

enum class Kind { grey1, grey2, grey4, palette4, palette8, grey8, rgb24 };
const char *kind_name(Kind k);

struct SourceImage {
  std::uint32_t width = 0, height = 0;
  std::uint16_t bits = 1, samples = 1, photometric = 1;
  std::vector<std::uint8_t> rows;  // packed, top row first
  std::vector<std::uint16_t> red, green, blue;  // colour map when photometric is 3
  std::size_t row_bytes() const { return (std::size_t(width) * bits * samples + 7) / 8; }
};

// Deterministic content: gradients with noise, so that every pixel value and every code path is
// exercised. `flat` gives long runs instead (long LZW strings, PackBits repeats).
SourceImage make_image(Kind kind, std::uint32_t width, std::uint32_t height, bool flat = false);

// An uncompressed TIFF of `image`; false on any libtiff failure.
bool write_tiff(const std::string &path, const SourceImage &image, std::uint32_t rows_per_strip = 0,
                int compression = 1);
// Appends `images` as the pages of one file.
bool write_pages(const std::string &path, const std::vector<SourceImage> &images);

// Runs tiffcp with the given options; true when it succeeded.
bool tiffcp(const std::string &options, const std::string &in, const std::string &out);

// Pixels as libtiff sees them (RGBA, top row first); empty when libtiff cannot read the file.
std::vector<std::uint32_t> libtiff_rgba(const std::string &path, std::uint32_t &width, std::uint32_t &height,
                                        int page = 0);

// Colour of pixel (x, y from the top) of a DIB, packed like libtiff's RGBA (alpha 255).
std::uint32_t dib_pixel(const BITMAPINFOHEADER *dib, std::uint32_t x, std::uint32_t y);

// Counts the pixels where the DIB differs from libtiff's decoding; -1 when sizes differ.
long compare_with_libtiff(HGLOBAL dib, const std::string &path, int page = 0);

std::vector<std::uint8_t> read_file(const std::string &path);
void write_file(const std::string &path, const std::vector<std::uint8_t> &bytes);

// A movable block holding `bytes`, locked; free with GlobalUnlock + GlobalFree.
struct StreamBlock {
  HGLOBAL block = nullptr;
  void *data = nullptr;
  std::int32_t length = 0;
  explicit StreamBlock(const std::vector<std::uint8_t> &bytes);
  ~StreamBlock();
  StreamBlock(const StreamBlock &) = delete;
  StreamBlock &operator=(const StreamBlock &) = delete;
};

// A fresh directory under the system's temporary folder, removed with its files at exit.
std::string temp_dir();

// Offset of the 12-byte directory entry of `tag` in the first directory of a little-endian file.
std::size_t find_entry(const std::vector<std::uint8_t> &file, std::uint16_t tag);

}  // namespace grainwick::test
