// The reader's input buffer, shared by the row decoders.
//
// Strip data are pulled through one scratch buffer that is refilled from the file in whole
// buffers. Decoders keep their own state across rows, so a strip is one continuous code stream;
// the reader resets the buffer, the bit accumulator and the decoders at every strip start.
#pragma once

#include <cstdint>
#include <functional>

namespace grainwick {

struct ScratchInput {
  std::uint8_t *data = nullptr;  // scratch buffer, `capacity` bytes
  std::uint32_t capacity = 0;    // scratchSize
  std::uint32_t position = 0;    // scratchPosition; the buffer is empty when position == valid
  std::uint32_t valid = 0;       // bytes of `data` that hold file content
  bool reverse_bits = false;     // FillOrder 2: every refilled byte is bit-reversed
  bool exhausted = false;        // a refill found no more bytes in the file
  // Reads up to `count` bytes from the file's current position; returns the count read.
  std::function<std::uint32_t(std::uint8_t *, std::uint32_t)> read;
  // When set (a file already in memory), a refill points `data` at the next bytes in place
  // instead of copying them: sets the pointer and returns how many there are.
  std::function<std::uint32_t(std::uint8_t *&)> view{};

  // CCITT bit accumulator: the next `bit_count` unread bits sit in the high end. The bits below
  // them are 0 or copies of the bytes that follow, which are or-ed in again as they are read.
  std::uint64_t accumulator = 0;
  int bit_count = 0;

  // Strip start: buffer empty, accumulator clear.
  void reset() {
    position = valid = 0;
    exhausted = false;
    accumulator = 0;
    bit_count = 0;
  }
};

// Bit-reversed value of every byte, for FillOrder 2.
extern const std::uint8_t kReversedBits[256];

// Refills the whole buffer from the file. False when the file had nothing more to give.
bool refill_scratch(ScratchInput &in);

// Next byte of the strip (LZW input); false at the end of the data.
inline bool next_byte(ScratchInput &in, std::uint8_t &byte) {
  if (in.position >= in.valid && !refill_scratch(in)) return false;
  byte = in.data[in.position++];
  return true;
}

// Adds the next big-endian 16-bit word below the valid bits of the accumulator (CCITT input).
// At the end of the data nothing is added and false is returned; a lone last byte counts as
// the high half of a word.
inline bool top_up_word(ScratchInput &in) {
  if (in.position >= in.valid && !refill_scratch(in)) return false;
  std::uint32_t word = std::uint32_t(in.data[in.position++]) << 8;
  if (in.position < in.valid || refill_scratch(in)) word |= in.data[in.position++];
  in.accumulator |= std::uint64_t(word) << (48 - in.bit_count);
  in.bit_count += 16;
  return true;
}

}  // namespace grainwick
