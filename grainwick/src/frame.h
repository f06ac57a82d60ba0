// Internal pieces of the export layer that tests reach directly.
#pragma once

#include "grainwick.h"

namespace grainwick {

// Device bitmap and palette of a DIB, `scale_percent` of its size and shrunk in steps of 5 %
// until it fits 8,000,000 bytes. 1 when a bitmap was made; the palette may be set either way.
int device_bitmap(HGLOBAL dib, int16_t scale_percent, HWND owner, HBITMAP &bitmap, HPALETTE &palette);

// Brings a DIB to `bits` as the read and write exports do (1, 4, 8 or 24; 0 or negative: grey).
// `changed` gets a new DIB the caller owns, or null when the DIB is already right; the input is
// never freed. False for an unsupported `bits` or a failed conversion.
bool change_depth(HGLOBAL dib, int16_t bits, HGLOBAL &changed);

// The owner window recorded by InitDLL.
HWND current_owner_window();

}  // namespace grainwick
