// libFuzzer target: the facts of one image of a memory stream.
#include <cstdint>
#include <cstring>

#include "grainwick.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 1 || size > (1u << 22)) return 0;
  HGLOBAL block = GlobalAlloc(GHND, size - 1);
  void *stream = GlobalLock(block);
  if (size > 1) std::memcpy(stream, data + 1, size - 1);
  int16_t w, h, c, pages, bits;
  int32_t map;
  getinfostream(stream, int32_t(size - 1), int16_t(data[0] & 7), &w, &h, &c, &map, &pages, &bits);
  GlobalUnlock(block);
  GlobalFree(block);
  return 0;
}
