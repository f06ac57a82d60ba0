// The TIFF reader: one image (one image file directory) of a file or memory stream into a DIB.
//
// open() checks the header, counts the directories and reads the first one; select() moves to
// another directory; get_dib() decodes the strips row by row into a new DIB handle. Nothing
// stays open between calls on a disk file: each step opens and closes it.
//
// Everything taken from the file is checked before use: directories and arrays must lie inside
// the file, the directory chain may not loop, the image must fit the DIB limit before anything is
// allocated, and a strip that ends early decodes over what is there.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fileio.h"
#include "grainwick.h"
#include "status.h"

namespace grainwick {

// Largest (rows + 1) × DIB row bytes that one read may produce.
inline constexpr std::uint64_t kMaxDibBytes = 0xF90000;

struct ImageDescription {
  std::uint32_t width = 100;
  std::uint32_t length = 100;
  std::uint32_t bits_per_sample = 1;
  std::uint32_t compression = 1;
  std::uint32_t strips_per_image = 1;
  std::uint32_t strip_offset = 0;
  bool has_strip_offset = false;             // a single StripOffsets value was given
  std::vector<std::uint32_t> strip_offsets;  // StripOffsets with more than one value
  std::uint32_t rows_per_strip = 0xFFFFFFFF;
  std::uint32_t photometric = 0;
  std::uint32_t fill_order = 1;
  std::uint32_t x_resolution[2] = {300, 1};
  std::uint32_t y_resolution[2] = {300, 1};
  std::vector<std::uint32_t> color_map;  // red values, then green, then blue; empty when absent
  std::uint32_t samples_per_pixel = 1;
  std::uint32_t planar_configuration = 1;
  std::uint64_t bytes_per_row = 1;
  std::uint32_t resolution_unit = 2;
  std::uint32_t t4_options = 0;
  std::uint32_t predictor = 1;

  std::uint64_t file_depth() const { return std::uint64_t(bits_per_sample) * samples_per_pixel; }
};

// Where the TIFF data come from: a disk file by name, or a memory stream.
struct TiffSource {
  std::string file_name;
  HGLOBAL block = nullptr;
  std::uint32_t stream_length = 0;
  bool is_stream() const { return block != nullptr; }
};

struct TiffHeader {
  bool big_endian = false;
  std::uint32_t first_directory = 0;
};

// Header at the start of the file; kNotTiff when the byte-order mark is wrong, kShortRead when short.
Status read_tiff_header(FileObject &file, TiffHeader &header);
// Number of directories reachable from the first one (a loop in the chain ends the count).
std::uint32_t count_directories(FileObject &file, const TiffHeader &header);
// Offset of directory `n`; kShortRead when the chain is shorter or cannot be read.
Status directory_offset(FileObject &file, const TiffHeader &header, std::uint32_t n, std::uint32_t &offset);
// File position of the last directory's next-directory field (4 for a file without directories).
Status last_directory_link(FileObject &file, const TiffHeader &header, std::uint64_t &position);

class TiffImage {
 public:
  TiffImage() = default;
  TiffImage(const TiffImage &) = delete;
  TiffImage &operator=(const TiffImage &) = delete;

  // Opens the file or stream, reads the header and the first directory and counts the images.
  Status open(const TiffSource &source);
  // Selects image `n` (from 0); fails unless n < image_count().
  Status select(std::uint32_t n);
  // Decodes the selected image into a new DIB handle owned by the caller.
  Status get_dib(HGLOBAL &dib, GrainwickProgress progress);

  const ImageDescription &description() const { return desc_; }
  std::uint32_t image_count() const { return image_count_; }
  int dib_bits() const { return dib_bits_; }

 private:
  std::unique_ptr<FileObject> open_file() const;
  Status read_directory(FileObject &file, std::uint32_t offset);
  void build_dib_header();
  std::uint64_t strip_position(std::uint64_t strip) const;
  Status decode_rows(FileObject &file, BYTE *pixels, GrainwickProgress progress);

  TiffSource source_;
  TiffHeader header_;
  ImageDescription desc_;
  std::uint32_t image_count_ = 0;
  int dib_bits_ = 1;
  std::uint32_t dib_row_bytes_ = 0;
  BITMAPINFOHEADER dib_header_{};
  std::vector<RGBQUAD> colour_table_;
  bool grey_ramp_ = false;  // the 16-colour table is the grey ramp (2-bit grey expands onto it)
};

}  // namespace grainwick
