// The readers behind the picture control, with the call shapes the control was built against:
// a file name, the depth asked (1, 4, 8, 24, or 0 for grey), the dither flag, and the device
// bitmap and palette handed back through out-parameters. A result of 1 or more is success;
// otherwise the result is an error code whose text `texte_erreur` gives. Whatever comes back
// through the out-parameters belongs to the caller, on failure too.
//
// BMP, JPEG, GIF, PNG, PCX and Photo CD are decoded by GraphicsMagick, each by its own coder
// whatever the bytes say; DXF drawings are parsed with dxflib and drawn with QPainter; Windows
// metafiles are played by libwmf. Drawing text needs a QGuiApplication.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "platform/gdi.h"

namespace image {

// Error codes (the string table of the readers). Grainwick's -1 takes the first text.
inline constexpr std::int16_t kErrLecture = -1;    // the file cannot be read
inline constexpr std::int16_t kErrFormat = -2;     // damaged, or not of the reader's format
inline constexpr std::int16_t kErrTaille = -3;     // beyond the size the readers accept
inline constexpr std::int16_t kErrBitmap = -4;     // the device bitmap cannot be made
inline constexpr std::int16_t kErrArguments = -5;  // a depth or argument the reader refuses

std::string texte_erreur(std::int16_t code);

// Files above this size are refused before any decoding.
inline constexpr std::int64_t kTailleMax = 256ll << 20;

using Progress = std::int16_t (*)(std::int16_t);

// ---- GraphicsMagick: BMP, JPEG, GIF, PNG, PCX, Photo CD ----
std::int16_t InitDll(HWND owner);
std::int16_t readbmpfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress progress, std::int16_t reserved);
// `scale` divides the size of the picture: 1, 2, 4 or 8.
std::int16_t readjpgfile(const char *name, std::int16_t bits, std::int16_t scale, std::int16_t dither,
                         HBITMAP *bitmap, HPALETTE *palette, Progress progress, std::int16_t reserved);
// *transparent: index of the transparent colour, -1 when none.
std::int16_t readgiffile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress progress, std::int16_t reserved,
                         std::int16_t *transparent);
std::int16_t readpngfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress progress, std::int16_t reserved);
std::int16_t readpcxfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress progress, std::int16_t reserved);
// mode: 0 192 x 128, 1 384 x 256, 2 768 x 512.
std::int16_t readpcdfile(const char *name, std::int16_t bits, std::int16_t dither, std::int16_t mode,
                         HBITMAP *bitmap, HPALETTE *palette, Progress progress, std::int16_t reserved);
// Facts without decoding: the format (up to 5 characters and a zero), size, bits per pixel,
// the horizontal and vertical resolution in dots per inch, the compression (at most 279
// characters and a zero).
std::int16_t fileinfo(const char *name, char *type, std::int16_t *width, std::int16_t *height,
                      std::int16_t *bits, std::int16_t *x_dpi, std::int16_t *y_dpi, char *compression,
                      std::int16_t reserved);
inline constexpr std::size_t kCompressionText = 280;

// ---- DXF drawings ----
std::int16_t readdxftoddb(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                          HPALETTE *palette, Progress progress, std::int16_t reserved);
// The size and depth of the bitmap readdxftoddb makes.
std::int16_t getdxfinfo(const char *name, std::int16_t *width, std::int16_t *height, std::int16_t *bits);
// The drawing of DXF text held in memory; a null image when it holds no drawing.
QImage dessine_dxf(const std::string &text);

// ---- Windows metafiles ----
// Plays the metafile into a picture at its own size; a null image when it cannot.
QImage lit_wmf(const std::string &name);

// The bytes of a file, at most `limit`; false when it cannot be opened or read.
bool lit_fichier(const std::string &name, std::string &bytes, std::int64_t limit);

}  // namespace image
