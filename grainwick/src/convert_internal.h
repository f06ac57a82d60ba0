// Shared pieces of the DIB conversions: reading a packed DIB safely, making new ones, and the
// luminance helpers.
//
// Every conversion reads its input through `DibView`, which is only filled after the header,
// the colour table and every pixel row are known to lie inside the block. Nothing downstream
// checks bounds again, so this is the one place that must stay strict.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32mem.h"

namespace grainwick::convert {

struct DibView {
  BITMAPINFOHEADER header{};
  int width = 0;
  int height = 0;
  int bits = 0;
  unsigned colours = 0;                  // entries in the stored colour table
  RGBQUAD table[256]{};                  // the stored table, zero beyond `colours`
  std::size_t stride = 0;                // bytes per row
  const std::uint8_t *pixels = nullptr;  // first stored row (the bottom image row)
  std::size_t total = 0;                 // bytes of header, table and rows
  const std::uint8_t *base = nullptr;    // the header: the packed DIB is [base, base + total)

  const std::uint8_t *row(int dib_row) const { return pixels + std::size_t(dib_row) * stride; }
};

// Checks a packed DIB of `size` bytes at `base`: 40-byte header, one plane, uncompressed,
// 1/4/8/24 bits, positive width and height, table and rows inside the block.
bool parse_dib(const void *base, std::size_t size, DibView &view);

// Header check only, for callers that report a wrong depth apart from a damaged header.
bool readable_header(const void *base, std::size_t size, BITMAPINFOHEADER &header);

// Keeps a DIB handle locked for the lifetime of the object.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL handle);
  ~LockedDib();
  LockedDib(const LockedDib &) = delete;
  LockedDib &operator=(const LockedDib &) = delete;
  bool ok() const { return ok_; }
  const DibView &view() const { return view_; }

 private:
  HGLOBAL handle_;
  void *base_ = nullptr;
  bool ok_ = false;
  DibView view_;
};

// A new zero-filled DIB handle, locked while this object lives. `release()` hands the handle
// over (unlocked); otherwise the destructor frees it, so failure paths never leak.
class NewDib {
 public:
  // Table of `table_entries` entries; resolution copied from `like` when given.
  NewDib(int width, int height, int bits, unsigned table_entries, const BITMAPINFOHEADER *like);
  ~NewDib();
  NewDib(const NewDib &) = delete;
  NewDib &operator=(const NewDib &) = delete;
  bool ok() const { return base_ != nullptr; }
  BITMAPINFOHEADER &header() { return *reinterpret_cast<BITMAPINFOHEADER *>(base_); }
  RGBQUAD *table() { return reinterpret_cast<RGBQUAD *>(base_ + sizeof(BITMAPINFOHEADER)); }
  std::uint8_t *row(int dib_row) { return pixels_ + std::size_t(dib_row) * stride_; }
  std::size_t stride() const { return stride_; }
  HGLOBAL release();

 private:
  HGLOBAL handle_ = nullptr;
  std::uint8_t *base_ = nullptr;
  std::uint8_t *pixels_ = nullptr;
  std::size_t stride_ = 0;
};

// Bytes of a packed DIB with the given shape, or 0 when it would not fit in memory sizes.
std::size_t dib_bytes(int width, int height, int bits, unsigned table_entries);

// Index of pixel x in a 1-, 4- or 8-bit row.
inline unsigned pixel_index(const std::uint8_t *row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

inline void set_index(std::uint8_t *row, int x, int bits, unsigned value) {
  switch (bits) {
    case 1:
      if (value) row[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
      break;
    case 4:
      row[x >> 1] |= std::uint8_t((x & 1) ? (value & 0x0F) : (value << 4));
      break;
    default:
      row[x] = std::uint8_t(value);
  }
}

// Row expanded to blue, green, red triplets (the 24-bit layout), whatever the depth.
void expand_row_bgr(const DibView &view, int dib_row, std::uint8_t *bgr);

inline int clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Y = (30 R + 59 G + 11 B) / 100.
inline int luminance(int r, int g, int b) {
  return (30 * r + 59 * g + 11 * b) / 100;
}

// The tone curve applied before bilevel dithering and to grey colour tables.
extern const std::uint8_t kToneCurve[256];

// A fixed palette and the palette index of every 15-bit colour (5 bits per channel, red high).
struct FixedPalette {
  std::vector<RGBQUAD> colours;
  std::vector<std::int16_t> inverse;
};
// The 16 standard colours (the low half of the system palette) and a 256-colour cube with greys.
const FixedPalette &fixed_palette16();
const FixedPalette &fixed_palette256();

// Free a handle if non-null (for chains of conversions).
inline void free_dib(HGLOBAL h) {
  if (h) GlobalFree(h);
}

}  // namespace grainwick::convert
