// libFuzzer target: a whole-image read of a memory stream, with a depth change picked by the
// first byte so that the conversions run over whatever the reader produced.
#include <cstdint>
#include <cstring>

#include "grainwick.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 1 || size > (1u << 22)) return 0;
  const int16_t requests[][2] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {24, 1}, {8, 1}, {1, 1}, {0, 1}};
  const auto *request = requests[data[0] & 7];
  HGLOBAL block = GlobalAlloc(GHND, size - 1);
  void *stream = GlobalLock(block);
  if (size > 1) std::memcpy(stream, data + 1, size - 1);
  HGLOBAL dib = nullptr;
  int16_t page = int16_t((data[0] >> 3) & 3);
  // Large pictures are left to the unit tests: a few megapixels per run would keep the fuzzer at
  // a hundred runs a second. Conversions run on small ones only, for the same reason.
  int16_t w, h, c, pages, bits;
  int32_t map;
  if (getinfostream(stream, int32_t(size - 1), page, &w, &h, &c, &map, &pages, &bits) == 1 &&
      std::uint32_t(std::uint16_t(w)) * std::uint16_t(h) > (request[1] ? 16384u : 65536u)) {
    GlobalUnlock(block);
    GlobalFree(block);
    return 0;
  }
  if (readtiffiledibstream(stream, int32_t(size - 1), request[0], request[1], page, &dib, nullptr, 0) == 1)
    GlobalFree(dib);
  GlobalUnlock(block);
  GlobalFree(block);
  return 0;
}
