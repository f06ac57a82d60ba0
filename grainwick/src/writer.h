// The TIFF writer: one DIB as one image of a TIFF file or memory stream, new or appended.
//
// The export layer describes the wanted file through an option list (options.h); the writer
// applies the file-exists policy, writes the strips with the chosen compression and then the
// directory, its arrays first. A write that fails leaves no partial file behind: a new file is
// written under a temporary name and renamed at the end, an appended file is cut back to its
// old size, and a memory stream is built aside and copied into the caller's block only at the
// end.
//
// Choices where the file format leaves room:
// - "TIFF_ROWSPERSTRIP" of 0 (or without digits) means one row per strip; more rows than the
//   image has means one strip.
// - Bilevel images are stored with bit 1 white. CCITT images (modified Huffman included) say
//   WhiteIsZero, since their codes name white and black runs; the others say BlackIsZero. A
//   1-bit DIB whose entry 0 is the lighter colour is turned over on the way out, so that readers
//   see the colours the DIB shows.
// - The directory holds at most 19 entries (the full tag list), so it always fits.
// - Widths, heights and rows per strip above 65535 are written as LONG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bitsink.h"
#include "grainwick.h"

namespace grainwick {

// Writer status codes (inside the library; the exports reduce them to 1 / -1).
inline constexpr int kWriteFailed = 0;
inline constexpr int kWriteOk = 1;
inline constexpr int kWriteCancelled = 215;

// Text of the Software tag.
inline constexpr char kSoftwareName[] = "Grainwick TIFF writer 1.0";

// Writes `dib` to the file `name` (empty: the "FILENAME" option, else "junk.jnk"), as the
// option list asks. `owner` is the window the overwrite question belongs to.
int write_tiff_file(const std::string &name, HGLOBAL dib, HGLOBAL options, GrainwickProgress progress,
                    HWND owner = nullptr);

// Writes `dib` into the memory stream held by `block`, of which `length` bytes are valid.
// With "APPEND" the image is added to the stream's TIFF file, otherwise the stream starts again
// at length 0. On success the block holds the new stream (it may have been reallocated, and
// moved even when locked) and `length` its size; on failure neither changes, unless `scratch`
// says the block is the writer's own to spoil (a block just made for this call): it is then
// written in place, without a copy.
int write_tiff_stream(HGLOBAL block, std::uint32_t &length, HGLOBAL dib, HGLOBAL options,
                      GrainwickProgress progress, HWND owner = nullptr, bool scratch = false);

// The device bitmap as a DIB of its depth (1, 4, 8; 16 and more: 24), read through a memory
// context with `palette` selected; null on failure.
HGLOBAL dib_from_bitmap(HBITMAP bitmap, HPALETTE palette, HWND owner);

// PackBits: one row, appended to `out`. Runs of 2 to 128 equal bytes become a repeat; literal
// runs hold up to 128 bytes and stop before a repeated pair.
void packbits_encode_row(const std::uint8_t *row, std::size_t count, std::vector<std::uint8_t> &out);

// TIFF LZW: codes most significant bit first, widths 9 to 12, Clear (256) at the start of every
// strip and whenever the table is full, the prefix carried from row to row within a strip.
class LzwEncoder {
 public:
  LzwEncoder();
  // Clear code at 9 bits and an empty table.
  void start_strip(BitSink &out);
  void encode_row(const std::uint8_t *row, std::size_t count, BitSink &out);
  // The pending prefix, EndOfInformation (257), and zero bits up to the byte boundary.
  void end_strip(BitSink &out);

 private:
  void reset();
  static constexpr int kHashBits = 16;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  // Open addressing: each slot holds (byte << 24) | (prefix << 12) | code, so that one load
  // both finds and tells the entry; a prefix never reaches 4095, so no entry looks empty.
  std::uint32_t slot_[1 << kHashBits];
  std::uint32_t next_code_ = 258;
  int width_ = 9;
  int prefix_ = -1;
};

}  // namespace grainwick
