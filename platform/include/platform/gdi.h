// Device bitmaps, palettes and memory device contexts, with their Win32 names and meaning.
//
// This is the small part of GDI that the TIFF library draws through: a device-dependent bitmap
// (HBITMAP) is made, selected into a memory device context (HDC), and a DIB is stretched into
// it; a logical palette (HPALETTE) goes with images that carry a colour table.
//
// The model, so that callers can rely on it:
// - The "screen" has a depth of 24 bits unless SetScreenBitsPixel says otherwise (1, 4, 8, 24 or
//   32). GetDC(any window) gives a screen device context; ReleaseDC gives it back.
// - A bitmap holds its rows top-down, each padded to 16 bits (bmWidthBytes), as Win32 device
//   bitmaps do. Depth 1 is monochrome: bit 1 is white, 0 black. Depths 4 and 8 hold indexes into
//   the palette selected in the device context they are drawn in (the default palette is black
//   and white). Depth 24 holds blue, green, red; depth 32 blue, green, red and a zero byte.
// - A memory device context starts with a 1 × 1 monochrome stock bitmap selected. A bitmap can be
//   selected into one context at a time. CreateCompatibleBitmap on a memory context gives the
//   depth of the bitmap selected there (so a fresh memory context gives a monochrome bitmap, the
//   classic trap); on a screen context or null it gives the screen depth.
// - DeleteObject fails (returns 0) for a bitmap or palette still selected into a context, and for
//   stock objects. DeleteDC does not delete the objects selected into it.
// - StretchDIBits copies with nearest-neighbour sampling whatever the stretch mode; the mode is
//   kept and reported. Colour to monochrome: luminance 128 or above is white. Colour to 4 or 8
//   bits: the nearest entry of the context's palette.
// - GetObjectA on a bitmap fills BITMAP, with bmBits pointing at the bitmap's rows (a platform
//   extension: Win32 leaves it null for device bitmaps); on a palette it writes the WORD entry
//   count.
// All calls are safe on null or foreign handles: they fail the way Win32 reports failure.
#pragma once

#include "platform/win32mem.h"

struct HWND__;
using HWND = HWND__ *;

struct GdiBitmap;
struct GdiPalette;
struct GdiDC;
// Any bitmap or palette handle converts to HGDIOBJ, as with Win32's untyped handles.
using HGDIOBJ = void *;
using HBITMAP = GdiBitmap *;
using HPALETTE = GdiPalette *;
using HDC = GdiDC *;
using COLORREF = DWORD;

#pragma pack(push, 1)
struct BITMAP {
  LONG bmType;  // 0
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;  // bytes per row, a multiple of 2
  WORD bmPlanes;  // 1
  WORD bmBitsPixel;
  void *bmBits;  // the rows, top-down
};
#pragma pack(pop)

inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr int GDI_ERROR = -1;

extern "C" {

// Screen depth used for screen contexts and bitmaps compatible with them. False for an
// unsupported depth (the depth then stays as it was).
BOOL SetScreenBitsPixel(int bits);
int GetScreenBitsPixel();

HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

// Bitmaps: `planes` must be 1; `bits_pixel` 1, 4, 8, 24 or 32; `bits` (optional) holds the
// rows top-down with 16-bit padding. Null for non-positive sizes or more than 256 MB.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_pixel, const void *bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Palettes: palVersion must be 0x300 and the entry count 1 to 256.
HPALETTE CreatePalette(const LOGPALETTE *palette);
// With `entries` null returns the palette's entry count; otherwise copies up to `count`
// entries from `start` and returns how many were copied.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY *entries);

// Bitmaps select into memory contexts only; the previous bitmap is returned (null on failure).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Returns the previous mode, 0 on failure.
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
// Returns the previously selected palette (the stock default palette at first).
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
// Returns the number of entries of the selected palette, GDI_ERROR without a context.
UINT RealizePalette(HDC dc);

// Stretches the source rectangle of a DIB (origin at its lower-left corner, as Win32 does for
// bottom-up DIBs) into the destination rectangle of the bitmap selected in `dc`; pixels falling
// outside the bitmap are clipped. Returns the number of source rows used, 0 on failure. Only
// uncompressed DIBs of 1, 4, 8 or 24 bits, DIB_RGB_COLORS and SRCCOPY are accepted.
int StretchDIBits(HDC dc, int x_dest, int y_dest, int dest_width, int dest_height, int x_src, int y_src,
                  int src_width, int src_height, const void *bits, const BITMAPINFO *info, UINT usage,
                  DWORD rop);

// Bytes written into `out` (BITMAP for bitmaps, a WORD entry count for palettes), 0 on failure.
// With `out` null returns the size that would be written.
int GetObjectA(HGDIOBJ object, int size, void *out);

// Reads rows [start, start + lines) of the bitmap counted from the bottom, as a bottom-up DIB of
// info->bmiHeader.biBitCount (1, 4, 8 or 24). Colour tables come from the palette selected in
// `dc` (black and white for 1 bit). With `bits` null and biBitCount 0 the header is filled with
// the bitmap's size and depth instead. Returns the number of rows copied, 0 on failure. `info`
// must have room for the colour table (2^bits entries up to 8 bits). The bitmap must not be
// selected into a context other than `dc`.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void *bits, BITMAPINFO *info, UINT usage);

// Deletes a bitmap or palette. 0 when the object is selected into a context, is a stock object or
// is null.
BOOL DeleteObject(HGDIOBJ object);
}
