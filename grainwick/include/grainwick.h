/* Grainwick: TIFF reading and writing, and DIB conversions, as flat C exports.
 *
 * Every export returns 1 for success and -1 for failure unless stated otherwise. Images cross
 * the boundary as handles; whoever receives a handle owns it and frees it (DIB handles with
 * GlobalFree, bitmaps and palettes with DeleteObject).
 */
#ifndef GRAINWICK_H
#define GRAINWICK_H

#include "platform/win32mem.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- frame and read exports ---- */

/* ---- write exports ---- */

/* ---- DIB conversions ---- */

#ifdef __cplusplus
}
#endif

#endif
