// CCITT row encoders: modified Huffman (2), Group 3 one-dimensional (3) and Group 4 (4).
//
// Rows come as DIB rows: (width + 7) / 8 bytes, most significant bit first, bit 1 white and
// bit 0 black. Padding bits after `width` are ignored.
#pragma once

#include <cstdint>
#include <memory>

#include "bitsink.h"

namespace grainwick {

struct CcittEncoder;

struct CcittEncoderDeleter {
  void operator()(CcittEncoder *e) const;
};
using CcittEncoderPtr = std::unique_ptr<CcittEncoder, CcittEncoderDeleter>;

// Null when `compression` is not 2, 3 or 4, or the width is 0 or above 65535.
CcittEncoderPtr ccitt_encoder_create(int compression, std::uint32_t width);

// Start of a strip: the Group 4 reference line becomes all white. Group 3 opens every strip with
// an EOL (00 01) so that each strip decodes on its own; `first_of_image` changes nothing.
void ccitt_encoder_start_strip(CcittEncoder &encoder, BitSink &out, bool first_of_image);

// Encodes one row. Modified Huffman and Group 3 rows end on a byte boundary (Group 3: each row
// is followed by a byte-aligned EOL, the bytes 0x00 0x01); Group 4 rows are not aligned.
void ccitt_encode_row(CcittEncoder &encoder, const std::uint8_t *row, BitSink &out);

// End of a strip (Group 4: the last partial byte is completed; the others are aligned already).
void ccitt_encoder_end_strip(CcittEncoder &encoder, BitSink &out);

// End of the image: Group 3 appends RTC, the bytes 00 10 01 00 10 01 00 10 01.
void ccitt_encoder_finish(CcittEncoder &encoder, BitSink &out);

}  // namespace grainwick
