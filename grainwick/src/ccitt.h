// CCITT row decoders: modified Huffman (2), Group 3 one-dimensional (3) and Group 4 (4).
#pragma once

#include <cstdint>
#include <memory>

#include "scratch.h"
#include "status.h"

namespace grainwick {

struct CcittDecoder;

struct CcittDecoderDeleter {
  void operator()(CcittDecoder *d) const;
};
using CcittDecoderPtr = std::unique_ptr<CcittDecoder, CcittDecoderDeleter>;

// Null when `compression` is not 2, 3 or 4, the width is above 2^28 or the state cannot be
// allocated.
CcittDecoderPtr ccitt_create(int compression, std::uint32_t width);

// Strip start: the Group 4 reference line becomes all white.
void ccitt_reset(CcittDecoder &decoder);

// Decodes one row of `width` pixels into `row` ((width + 7) / 8 bytes, most significant bit
// first). The row starts all white (bits 1) and black runs are painted as 0 bits. kCorrupt for
// bad codes or data that ended before the row was complete.
Status ccitt_decode_row(CcittDecoder &decoder, ScratchInput &in, std::uint8_t *row);

}  // namespace grainwick
