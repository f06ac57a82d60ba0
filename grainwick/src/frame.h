// Internal pieces of the export layer that tests reach directly.
#pragma once

#include "grainwick.h"

namespace grainwick {

// Device bitmap and palette of a DIB, `scale_percent` of its size and shrunk in steps of 5 %
// until it fits 8,000,000 bytes. 1 when a bitmap was made; the palette may be set either way.
int device_bitmap(HGLOBAL dib, int16_t scale_percent, HWND owner, HBITMAP &bitmap, HPALETTE &palette);

}  // namespace grainwick
