#include "decoders.h"

#include "ccitt.h"

namespace grainwick {

namespace {

// Uncompressed rows are read straight from the file; a short read is a read error. A row of a
// file in memory goes from there to the DIB in one pass with its fix-ups; FillOrder 2 reverses
// the bits of every byte before the fix-ups.
Status none_setup(DecoderContext &) {
  return Status::kOk;
}
void none_strip_start(DecoderContext &) {}
Status none_decode(DecoderContext &c, std::uint8_t *row) {
  const std::uint32_t n = c.bytes_per_row;
  if (c.file->is_stream() && !c.in.reverse_bits) {
    std::uint8_t *at = nullptr;
    if (c.file->view(at, n) != n) return Status::kShortRead;
    fix_copy(row, at, n, c.fixups);
    return Status::kOk;
  }
  if (c.file->read(row, n) != n) return Status::kShortRead;
  if (c.in.reverse_bits)
    for (std::uint32_t i = 0; i < n; ++i) row[i] = kReversedBits[row[i]];
  fix_row(row, n, c.fixups);
  return Status::kOk;
}
void none_cleanup(DecoderContext &) {}
constexpr DecoderHooks kNoneDecoder{none_setup, none_strip_start, none_decode, none_cleanup, true};

// The CCITT decoders live in their own file behind ccitt.h; these hooks only adapt them.
Status ccitt_setup(DecoderContext &c) {
  CcittDecoderPtr d = ccitt_create(c.compression, c.width);
  if (!d) return Status::kNoMemory;
  c.state = d.release();
  return Status::kOk;
}
void ccitt_strip_start(DecoderContext &c) {
  ccitt_reset(*static_cast<CcittDecoder *>(c.state));
}
Status ccitt_decode(DecoderContext &c, std::uint8_t *row) {
  return ccitt_decode_row(*static_cast<CcittDecoder *>(c.state), c.in, row);
}
void ccitt_cleanup(DecoderContext &c) {
  CcittDecoderDeleter{}(static_cast<CcittDecoder *>(c.state));
  c.state = nullptr;
}
constexpr DecoderHooks kCcittDecoder{ccitt_setup, ccitt_strip_start, ccitt_decode, ccitt_cleanup};

}  // namespace

const DecoderHooks *decoder_for(int compression) {
  switch (compression) {
    case 1:
      return &kNoneDecoder;
    case 2:
    case 3:
    case 4:
      return &kCcittDecoder;
    case 5:
      return &kLzwDecoder;
    case 32773:
      return &kPackBitsDecoder;
    default:
      return nullptr;
  }
}

}  // namespace grainwick
