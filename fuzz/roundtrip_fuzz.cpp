// libFuzzer target: the write side checked by the read side. Any input that Grainwick reads as
// a TIFF image is written again with every compression (the bilevel ones on its 1-bit form),
// into a new memory stream and appended to the stream read, and the image read back must show
// the same colours pixel for pixel.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "frame.h"
#include "grainwick.h"

namespace {

struct Locked {
  HGLOBAL h;
  const BITMAPINFOHEADER *p;
  explicit Locked(HGLOBAL handle) : h(handle), p(static_cast<const BITMAPINFOHEADER *>(GlobalLock(handle))) {}
  ~Locked() { GlobalUnlock(h); }
};

std::uint32_t colour_at(const BITMAPINFOHEADER *d, std::uint32_t x, std::uint32_t y) {
  const int bits = d->biBitCount;
  const std::size_t colours = bits <= 8 ? (d->biClrUsed ? d->biClrUsed : 1u << bits) : 0;
  const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const std::uint8_t *>(d) + d->biSize);
  const auto *row = reinterpret_cast<const std::uint8_t *>(table + colours) +
                    dib_stride(d->biWidth, bits) * std::size_t(d->biHeight - 1 - LONG(y));
  if (bits == 24) return std::uint32_t(row[3 * x]) | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
  unsigned i = bits == 8 ? row[x] : bits == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15 : (row[x / 8] >> (7 - x % 8)) & 1;
  return std::uint32_t(table[i].rgbBlue) | table[i].rgbGreen << 8 | table[i].rgbRed << 16;
}

void expect_same(HGLOBAL a, HGLOBAL b) {
  Locked la(a), lb(b);
  if (la.p->biWidth != lb.p->biWidth || la.p->biHeight != lb.p->biHeight) std::abort();
  for (LONG y = 0; y < la.p->biHeight; ++y)
    for (LONG x = 0; x < la.p->biWidth; ++x)
      if (colour_at(la.p, x, y) != colour_at(lb.p, x, y)) std::abort();
}

// Writes `dib` with `compression` and reads the last image back; aborts when they differ.
// A caller's stream block kept from run to run (rewritten with append 0), as a program that
// saves one image after another would hold it.
HGLOBAL kept_block() {
  static HGLOBAL block = GlobalAlloc(GHND, 0x40000);
  return block;
}

void round_trip(HGLOBAL dib, HGLOBAL expected, int16_t compression, int bits, const void *base, int32_t base_length,
                bool append) {
  // The run that also appends writes into a new block (null pointer); the others reuse one.
  HGLOBAL kept = kept_block();
  void *stream = append ? nullptr : GlobalLock(kept);
  int32_t length = append ? 0 : 1;
  if (writetiffiledibstream(&stream, &length, compression, int16_t(bits), 0, dib, nullptr, 0) != 1) std::abort();
  HGLOBAL back = nullptr;
  if (readtiffiledibstream(stream, length, 0, 0, 0, &back, nullptr, 0) != 1) std::abort();
  expect_same(expected, back);
  GlobalFree(back);
  HGLOBAL block = GlobalHandle(stream);
  if (append && block == kept) std::abort();
  GlobalUnlock(block);
  if (append) GlobalFree(block);

  // Appended to a copy of the input: the new image is one page further on.
  if (!append) return;
  int16_t w, h, c, pages = 0, b;
  int32_t map;
  if (getinfostream(base, base_length, 0, &w, &h, &c, &map, &pages, &b) != 1 || pages >= 8) return;
  HGLOBAL copy = GlobalAlloc(GHND, SIZE_T(base_length));
  void *p = GlobalLock(copy);
  std::memcpy(p, base, std::size_t(base_length));
  length = base_length;
  if (writetiffiledibstream(&p, &length, compression, int16_t(bits), 1, dib, nullptr, 0) == 1) {
    int16_t now = 0;
    if (getinfostream(p, length, 0, &w, &h, &c, &map, &now, &b) != 1 || now != pages + 1) std::abort();
    if (readtiffiledibstream(p, length, 0, 0, pages, &back, nullptr, 0) != 1) std::abort();
    expect_same(expected, back);
    GlobalFree(back);
  }
  GlobalUnlock(GlobalHandle(p));
  GlobalFree(GlobalHandle(p));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // The leading control byte of the other targets' seeds is skipped.
  if (size < 2 || size > (1u << 20)) return 0;
  ++data, --size;
  HGLOBAL block = GlobalAlloc(GHND, size);
  void *stream = GlobalLock(block);
  std::memcpy(stream, data, size);
  int16_t w, h, c, pages, bits;
  int32_t map;
  HGLOBAL dib = nullptr;
  // Small pictures only, to keep the rate up; the unit tests cover large ones.
  if (getinfostream(stream, int32_t(size), 0, &w, &h, &c, &map, &pages, &bits) == 1 &&
      std::uint32_t(std::uint16_t(w)) * std::uint16_t(h) <= 4096u &&
      readtiffiledibstream(stream, int32_t(size), 0, 0, 0, &dib, nullptr, 0) == 1) {
    int depth;
    {
      Locked l(dib);
      depth = l.p->biBitCount;
    }
    // Appending is tried with one compression per input, picked by the control byte.
    const int append_with = data[-1] % 6;
    int k = 0;
    for (int compression : {1, 5, 32773 - 65536})
      round_trip(dib, dib, int16_t(compression), depth, stream, int32_t(size), k++ == append_with);
    // The bilevel schemes take the 1-bit form the exports make.
    HGLOBAL bilevel = nullptr;
    if (grainwick::change_depth(dib, 1, bilevel)) {
      HGLOBAL source = bilevel ? bilevel : dib;
      for (int compression : {2, 3, 4})
        round_trip(source, source, int16_t(compression), 1, stream, int32_t(size), k++ == append_with);
      if (bilevel) GlobalFree(bilevel);
    }
    GlobalFree(dib);
  }
  GlobalUnlock(block);
  GlobalFree(block);
  return 0;
}
