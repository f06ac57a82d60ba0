// Status codes of the reader and its row decoders, inside the library only: the exports reduce
// them to 1 / -1. The numbers are those the codes have always had.
#pragma once

namespace grainwick {

enum class Status : int {
  kTooLarge = 0,  // the DIB would pass kMaxDibBytes
  kOk = 1,
  kNotTiff = 2,
  kShortRead = 3,  // the file or stream ended, or a directory lies outside it
  kCannotOpen = 4,
  kNoMemory = 6,
  kBadHandle = 8,
  kUnsupported = 9,
  kCorrupt = 10,  // compressed data that break the coding's rules
  kCancelled = 23,
};

}  // namespace grainwick
