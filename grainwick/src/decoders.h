// Row decoders: one hook table per compression, all registered in one table.
//
// The reader calls set-up once per image, strip start at the image start and at every strip
// change (after emptying the scratch input), decode for each row in turn and clean-up at the end.
// A decoder keeps its state across the rows of a strip: a strip is one continuous code stream.
#pragma once

#include <cstdint>

#include "fileio.h"
#include "row_fixups.h"
#include "scratch.h"
#include "status.h"

namespace grainwick {

struct DecoderContext {
  ScratchInput in;             // compressed input; empty at every strip start
  FileObject *file = nullptr;  // positioned at the strip's next unread byte (uncompressed rows)
  std::uint32_t width = 0;     // pixels per row
  std::uint32_t bytes_per_row = 0;
  int compression = 1;
  bool invert = false;    // PackBits: write every byte complemented (WhiteIsZero rows)
  RowFixups fixups;       // applied by decoders whose hooks say so, else by the reader
  void *state = nullptr;  // the decoder's own state, from set-up to clean-up
};

struct DecoderHooks {
  Status (*setup)(DecoderContext &);
  void (*strip_start)(DecoderContext &);
  // On success all bytes_per_row bytes are written, blank (zero) where the data ended.
  Status (*decode_row)(DecoderContext &, std::uint8_t *row);
  void (*cleanup)(DecoderContext &);
  // The decoder writes its rows with ctx.fixups applied, while it still has them at hand.
  bool applies_fixups = false;
};

// Null for a compression the reader does not take.
const DecoderHooks *decoder_for(int compression);

extern const DecoderHooks kLzwDecoder;       // 5
extern const DecoderHooks kPackBitsDecoder;  // 32773

}  // namespace grainwick
