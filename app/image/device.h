// Device bitmaps and palettes as the readers hand them over, and the way back to a QImage for
// drawing and saving. A reader works on a Raster (indexes or blue-green-red rows); the last step
// makes the device bitmap the control owns: monochrome for 1 bit, else compatible with the screen.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi.h"

namespace image {

// One image in memory before it becomes a device bitmap. For 1, 4 and 8 bits `pixels` holds one
// index byte per pixel into `colours`; for 24 bits three bytes per pixel, blue, green, red.
// Rows are top-down and unpadded.
struct Raster {
  int width = 0;
  int height = 0;
  int bits = 24;
  std::vector<QRgb> colours;
  std::vector<std::uint8_t> pixels;

  std::size_t row_bytes() const { return std::size_t(width) * (bits == 24 ? 3 : 1); }
};

// The control's picture: a device bitmap and its palette, deleted with the object.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(HBITMAP bitmap, HPALETTE palette) : handle_(bitmap), palette_(palette) {}
  ~TBitmap();
  TBitmap(const TBitmap &) = delete;
  TBitmap &operator=(const TBitmap &) = delete;

  HBITMAP handle() const { return handle_; }
  HPALETTE palette() const { return palette_; }
  bool empty() const { return handle_ == nullptr; }
  int width() const;
  int height() const;
  // The pixels as the screen would show them; a null image for an empty bitmap. A true-colour
  // bitmap is not copied: the image shows its rows and must not outlive it.
  QImage to_qimage() const;

 private:
  HBITMAP handle_ = nullptr;
  HPALETTE palette_ = nullptr;
};

using Picture = std::shared_ptr<const TBitmap>;

// Makes the device bitmap (and, for 1 to 8 bits, the logical palette) of a raster. False when
// the bitmap cannot be made; *palette may then be set and is the caller's.
bool to_device(const Raster &raster, HBITMAP *bitmap, HPALETTE *palette);

// A 24-bit device bitmap brought in place to the colours `to_depth` gives a true-colour raster
// at 8 bits; returns their palette (null when the bitmap is not 24 bits).
HPALETTE cube_in_place(HBITMAP bitmap, bool dither);

// A raster of a QImage: 24 bits, or 8 bits with its colour table for an indexed image.
Raster from_qimage(const QImage &picture);

// Brings a 24-bit raster to `bits` (1, 4, 8, 24, or 0 and below for grey), keeping the colours
// of an indexed source that already fits. With `dither` the error is spread (ordered dither for
// colour, error diffusion for black and white); without it each pixel takes the nearest colour.
Raster to_depth(Raster raster, int bits, bool dither);

}  // namespace image
