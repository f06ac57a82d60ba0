/* Grainwick: TIFF reading and writing, and DIB conversions, as flat C exports.
 *
 * Every export returns 1 for success and -1 for failure unless stated otherwise. Images cross
 * the boundary as handles; whoever receives a handle owns it and frees it (DIB handles with
 * GlobalFree, bitmaps and palettes with DeleteObject).
 */
#ifndef GRAINWICK_H
#define GRAINWICK_H

#include <stdint.h>

#include "platform/gdi.h"
#include "platform/win32mem.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- frame and read exports ---- */

/* Arguments and results marked "16-bit" are signed 16-bit values in full argument slots.
 *
 * The progress callback gets the percentage done (0 to 100); answering 0 stops the call, which
 * then fails. Pass null for no progress reports. The reserved arguments must be 0.
 *
 * bits / convert (read exports): with convert 0 the image keeps the depth the reader gives it
 * (1, 4, 8 or 24 bits). With convert non-zero, bits 1, 4, 8 or 24 brings it to that depth (more
 * colours: ImgIncreaseColors; fewer: ImgReduceColors with 2, 16 or 256 colours and
 * Floyd-Steinberg diffusion) and bits 0 or negative makes it grey (ColorToGrayscale). Any other
 * bits value fails. A DIB already at the asked depth is left alone.
 *
 * Memory streams: `stream` is the locked first byte of a movable global memory block (the
 * library finds the block with GlobalHandle) and `stream_length` its number of valid bytes. A
 * pointer that is not the start of a block fails. The block is only read.
 *
 * Results go out through the out-parameters only on success; the caller owns what it gets
 * (DIB handles: GlobalFree; bitmaps and palettes: DeleteObject). When only the making of the
 * device bitmap fails, *bitmap is null and *palette may already hold the palette, which the
 * caller then owns. The palette is null for 24-bit images. */
typedef int16_t (*GrainwickProgress)(int16_t percent);

/* Records the owner window (one value for the process, last call wins); returns 1. */
int16_t InitDLL(HWND owner_window);

/* Image number `page` (from 0) of a TIFF file as a device bitmap and palette. The bitmap is
 * scale_percent % of the image's size, shrunk further until it fits 8,000,000 bytes. */
int16_t readtiffile(const char *file_name, int16_t bits, int16_t convert, int16_t page, int16_t scale_percent,
                    HBITMAP *bitmap, HPALETTE *palette, GrainwickProgress progress, int16_t reserved);

/* As readtiffile, returning the DIB handle itself. */
int16_t readtiffiledib(const char *file_name, int16_t bits, int16_t convert, int16_t page, HGLOBAL *dib,
                       GrainwickProgress progress, int16_t reserved);

/* readtiffile on a memory stream. */
int16_t readtiffilestream(const void *stream, int32_t stream_length, int16_t bits, int16_t convert, int16_t page,
                          int16_t scale_percent, HBITMAP *bitmap, HPALETTE *palette, GrainwickProgress progress,
                          int16_t reserved);

/* readtiffiledib on a memory stream. */
int16_t readtiffiledibstream(const void *stream, int32_t stream_length, int16_t bits, int16_t convert,
                             int16_t page, HGLOBAL *dib, GrainwickProgress progress, int16_t reserved);

/* Facts of image `page` without decoding it: ImageWidth, ImageLength, the Compression tag value,
 * non-zero when the image has a ColorMap, the number of images in the file, and
 * BitsPerSample x SamplesPerPixel. All outputs are zeroed first; -1 for a file that is not TIFF,
 * a page beyond the last image or a directory that cannot be read. */
int16_t getinfo(const char *file_name, int16_t page, int16_t *width, int16_t *height, int16_t *compression,
                int32_t *colour_map, int16_t *page_count, int16_t *bits_per_pixel);

/* getinfo on a memory stream. */
int16_t getinfostream(const void *stream, int32_t stream_length, int16_t page, int16_t *width, int16_t *height,
                      int16_t *compression, int32_t *colour_map, int16_t *page_count, int16_t *bits_per_pixel);

/* ---- write exports ---- */

/* ---- DIB conversions ---- */

#ifdef __cplusplus
}
#endif

#endif
