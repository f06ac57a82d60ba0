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

/* compression: 0 or 1 none, 2 CCITT modified Huffman, 3 CCITT Group 3 (one-dimensional),
 * 4 CCITT Group 4, 5 LZW, anything else PackBits. For 2, 3 and 4 the image is made bilevel.
 *
 * bits: the DIB is first brought to this depth as a read with convert set would do (1, 4, 8 or
 * 24; 0 or negative: grey); a DIB already at that depth is written as it is.
 *
 * append non-zero adds the image as a further image of an existing TIFF file (created when
 * missing); a file that exists but is not TIFF fails and is left untouched. append 0 replaces
 * the file. A failed or cancelled write leaves no partial file: a replaced file stays as it was,
 * an appended one is cut back to its old size.
 *
 * The DIB or bitmap and palette passed in stay the caller's. */

/* Writes the device bitmap (with its palette selected, for 1, 4 and 8 bits) as a TIFF image. */
int16_t writetiffile(const char *file_name, int16_t compression, int16_t bits, int16_t append, HBITMAP bitmap,
                     HPALETTE palette, GrainwickProgress progress, int16_t reserved);

/* Writes a packed DIB (handle) as a TIFF image. */
int16_t writetiffiledib(const char *file_name, int16_t compression, int16_t bits, int16_t append, HGLOBAL dib,
                        GrainwickProgress progress, int16_t reserved);

/* Memory-stream forms. *stream is null (a new block of 0x40000 bytes is made and the stream
 * starts empty) or the locked first byte of a movable global memory block holding
 * *stream_length valid bytes. With append 0 the stream starts again at length 0. On success
 * *stream is the locked first byte of the block (reallocated and possibly moved; the caller's
 * lock count is unchanged, and a new block comes locked once) and *stream_length the stream's
 * size; the caller owns the block. On failure neither the block nor the two values change. */
int16_t writetiffilestream(void **stream, int32_t *stream_length, int16_t compression, int16_t bits, int16_t append,
                           HBITMAP bitmap, HPALETTE palette, GrainwickProgress progress, int16_t reserved);
int16_t writetiffiledibstream(void **stream, int32_t *stream_length, int16_t compression, int16_t bits,
                              int16_t append, HGLOBAL dib, GrainwickProgress progress, int16_t reserved);

/* ---- DIB conversions ---- */

/* DIB handles here are packed, uncompressed, bottom-up DIBs with a 40-byte header (1, 4, 8 or
 * 24 bits). The handle-taking exports never change their input; each returns a new handle the
 * caller frees with GlobalFree, or null when the input is not a well-formed DIB of an accepted
 * depth or memory runs out.
 *
 * Method flags: 1 ordered (8 x 8 Bayer), 2 Burkes, 4 Floyd-Steinberg, 8 grey conversion,
 * 16 fixed palette; 0 plain threshold or nearest colour. The first of 1, 2, 4 that is set wins.
 * The fixed palettes of flag 16 are the 16 standard colours (black, maroon, green, olive, navy,
 * purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white) and a 6 x 6 x 6
 * colour cube followed by 40 greys; flag 16 needs 16 or 256 colours. */

/* biClrUsed, or 2^bits when it is 0, or 0 above 8 bits; 0 for a null or non-40-byte header. */
int GetColorsInPalette(const BITMAPINFOHEADER *header);
/* Copies the palette's entries (1 to 256) into `entries` (room for 256) and returns their
 * count; 0 for a null palette or one of more than 256 entries. */
int GetPalette(HPALETTE palette, PALETTEENTRY *entries);

/* One step deeper; indexes and colour table kept (4 and 8 bits) or replaced by the table
 * colours (24 bits). Null unless the input has exactly the expected depth. */
HGLOBAL DIB1to4(HGLOBAL dib);
HGLOBAL DIB4To8(HGLOBAL dib);
HGLOBAL DIB8To24(HGLOBAL dib);
HGLOBAL DIB1To8(HGLOBAL dib);
HGLOBAL DIB1To24(HGLOBAL dib);
HGLOBAL DIB4To24(HGLOBAL dib);
/* Black and white with a fixed error spread; 4 and 8 bits go through 24 bits. */
HGLOBAL DIB24To1(HGLOBAL dib);
HGLOBAL DIB8To1(HGLOBAL dib);
HGLOBAL DIB4To1(HGLOBAL dib);

/* To 4, 8 or 24 bits; null when not deeper or when the result would pass 16,000,000 bytes. */
HGLOBAL ImgIncreaseColors(HGLOBAL dib, int16_t bits);
/* 2 colours: DitherToBW (null for a 1-bit input); up to 256: ReduceColorToColor. */
HGLOBAL ImgReduceColors(HGLOBAL dib, int16_t colours, int16_t flags);
/* A 1-bit DIB (entry 0 black, entry 1 white) from a 4-, 8- or 24-bit DIB. */
HGLOBAL DitherToBW(HGLOBAL dib, int16_t flags);
/* A 4-bit (16 colours or fewer) or 8-bit DIB with a median-cut palette; flag 8 gives
 * ColorToGrayscale instead. Null for more than 256 colours, or for a 1- or 4-bit source that
 * has fewer table colours than asked. */
HGLOBAL ReduceColorToColor(HGLOBAL dib, int16_t colours, int16_t flags);
/* Grey colour table for 4 and 8 bits; an 8-bit grey DIB from 24 bits; null for 1 bit. */
HGLOBAL ColorToGrayscale(HGLOBAL dib);

/* Result codes of the ReduceDib family (1 is success). */
#define GW_REDUCE_NO_MEMORY (-86)
#define GW_REDUCE_NO_HISTOGRAM (-91)
#define GW_REDUCE_READ_FAILED (-100)   /* no block behind the pointer, bad header or size */
#define GW_REDUCE_FAILED (-102)        /* bad target or palette, or stopped by the callback */
#define GW_REDUCE_NOT_24_BITS (-103)

/* The text of a ReduceDib-family code; "Could not find String" for any other value. */
const char *ReduceDibErrorText(int code);

/* The progress callback (see above) gets the histogram pass as 0-33 % and the mapping as
 * 33-100 % (0-100 % when no histogram is needed), about every 3/25 of the rows; answering 0
 * stops the call with GW_REDUCE_FAILED. */

/* ReduceDib, ReduceDib2 and ConvertDib work in place. `dib` is the locked first byte of a
 * movable block (found with GlobalHandle); on success that same block holds the new DIB,
 * resized with GlobalReAlloc. The handle and the caller's lock count stay as they were, but the
 * block may have moved: take the address again with GlobalLock(handle) (and unlock it once
 * more) or unlock and relock. On failure the block is untouched.
 *
 * Target bits: 8 (256 colours), 4 (16 colours) or 0 (4 bits with the 16 standard colours,
 * always dithered). `dither` non-zero maps with serpentine Floyd-Steinberg. A positive
 * `palette_size` uses `palette` (RGBQUAD entries, at most 16 or 256 used) instead of a palette
 * computed from the image. With `report` 1 a failure is also written to the standard error as
 * "Error: " and its text. The new DIB has biClrUsed = biClrImportant = its palette size. */
int16_t ReduceDib(void *dib, int16_t bits, int16_t dither, int16_t palette_size, const RGBQUAD *palette,
                  int16_t report, GrainwickProgress progress);
/* ReduceDib with a palette from the image; `reserved` is ignored. */
int16_t ReduceDib2(void *dib, int32_t reserved, int16_t bits, int16_t dither, int16_t report,
                   GrainwickProgress progress);
/* Routes by depth: to 1 bit through DIB24To1 (and its 4- and 8-bit forms); 24 to 0/4/8 and
 * 8 to 0/4/8, 4 to 0/4 through 24 bits and ReduceDib; equal depths without a palette and every
 * other pair leave the DIB as it is and return 1. `dib_bits` must match the header. */
int16_t ConvertDib(void *dib, int16_t dib_bits, int16_t bits, int16_t dither, int16_t palette_size,
                   const RGBQUAD *palette, int16_t report, GrainwickProgress progress);
/* As ConvertDib for a handle, without a palette: 4 bits are reduced only for target 0, 24 bits
 * with ReduceDib2. The input stays as it is; on 1 `*out` receives a new DIB the caller owns (a
 * plain copy when nothing needed converting), on failure it is null. */
int16_t ConvertDib2(HGLOBAL dib, HGLOBAL *out, int16_t dib_bits, int16_t bits, int16_t dither, int16_t report,
                    GrainwickProgress progress);

#ifdef __cplusplus
}
#endif

#endif
