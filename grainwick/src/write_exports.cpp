// The write exports: bring the DIB (or the device bitmap made into a DIB) to the asked depth,
// describe the file through an option list and hand both to the writer.
#include <algorithm>
#include <cstring>

#include "frame.h"
#include "grainwick.h"
#include "options.h"
#include "writer.h"

namespace grainwick {

namespace {

constexpr SIZE_T kNewStreamBlock = 0x40000;

const char *compression_name(int16_t compression) {
  switch (compression) {
    case 2: return "MODCCITT";
    case 3: return "GROUP3";
    case 4: return "GROUP4";
    case 5: return "LZW";
    default: return "PACKBITS";
  }
}

// The option list the exports give the writer; null when memory runs out.
HGLOBAL export_options(int16_t compression, int16_t append) {
  HGLOBAL list = options_create();
  if (!list) return nullptr;
  bool ok = compression == 0 || compression == 1
                ? options_set(list, "COMPRESS", "OFF")
                : options_set(list, "COMPRESS", "ON") && options_set(list, "TIFF_COMPRESS", compression_name(compression));
  ok = ok && (append ? options_set(list, "APPEND", "ON") : options_set(list, "OVERWRITE", "ON"));
  if (!ok) {
    options_free(list);
    return nullptr;
  }
  return list;
}

// Runs `write` on the DIB at the asked depth; a converted copy is freed afterwards.
template <typename Write>
int16_t with_depth(HGLOBAL dib, int16_t compression, int16_t bits, int16_t append, Write write) {
  if (!dib) return -1;
  if (compression >= 2 && compression <= 4) bits = 1;
  HGLOBAL changed = nullptr;
  if (!change_depth(dib, bits, changed)) return -1;
  HGLOBAL options = export_options(compression, append);
  int status = options ? write(changed ? changed : dib, options) : kWriteFailed;
  if (options) options_free(options);
  if (changed) GlobalFree(changed);
  return status == kWriteOk ? 1 : -1;
}

int16_t dib_to_stream(void **stream, int32_t *stream_length, int16_t compression, int16_t bits, int16_t append,
                      HGLOBAL dib, GrainwickProgress progress) {
  if (!stream || !stream_length) return -1;
  HGLOBAL block = nullptr;
  const bool fresh = *stream == nullptr;
  std::uint32_t length = 0;
  if (fresh) {
    block = GlobalAlloc(GHND, kNewStreamBlock);
    if (!block) return -1;
  } else {
    block = GlobalHandle(*stream);
    if (!block) return -1;
    length = append ? std::uint32_t(std::max<int32_t>(*stream_length, 0)) : 0;
  }
  const HWND owner = current_owner_window();
  int16_t result = with_depth(dib, compression, bits, append, [&](HGLOBAL d, HGLOBAL options) {
    return write_tiff_stream(block, length, d, options, progress, owner, fresh);
  });
  if (result == 1 && length > 0x7FFFFFFFu) result = -1;
  if (result != 1) {
    if (fresh) GlobalFree(block);
    return -1;
  }
  void *p = GlobalLock(block);
  // A new block goes to the caller locked once; an existing one keeps the caller's lock count.
  if (!fresh) GlobalUnlock(block);
  *stream = p;
  *stream_length = int32_t(length);
  return 1;
}

}  // namespace

// The device bitmap as a DIB of its depth (16 bits and more: 24), read with the palette selected.
HGLOBAL dib_from_bitmap(HBITMAP bitmap, HPALETTE palette, HWND owner) {
  BITMAP bm{};
  if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) != int(sizeof bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return nullptr;
  const int bits = bm.bmBitsPixel == 1 ? 1 : bm.bmBitsPixel == 4 ? 4 : bm.bmBitsPixel == 8 ? 8 : 24;
  const std::uint32_t colours = bits <= 8 ? 1u << bits : 0;
  const std::size_t bytes = 40 + 4 * std::size_t(colours) + dib_stride(bm.bmWidth, bits) * std::size_t(bm.bmHeight);
  HGLOBAL dib = GlobalAlloc(GHND, bytes);
  if (!dib) return nullptr;
  auto *header = static_cast<BITMAPINFOHEADER *>(GlobalLock(dib));
  *header = BITMAPINFOHEADER{40, bm.bmWidth, bm.bmHeight, 1, WORD(bits), 0, 0, 0, 0, 0, 0};
  HDC screen = GetDC(owner);
  HDC dc = CreateCompatibleDC(screen);
  int rows = 0;
  if (dc) {
    HPALETTE old_palette = palette ? SelectPalette(dc, palette, 0) : nullptr;
    if (palette) RealizePalette(dc);
    rows = GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), reinterpret_cast<BYTE *>(header) + 40 + 4 * colours,
                     reinterpret_cast<BITMAPINFO *>(header), DIB_RGB_COLORS);
    if (old_palette) SelectPalette(dc, old_palette, 0);
    DeleteDC(dc);
  }
  ReleaseDC(owner, screen);
  header->biClrUsed = colours;
  header->biSizeImage = 0;
  GlobalUnlock(dib);
  if (rows != bm.bmHeight) {
    GlobalFree(dib);
    return nullptr;
  }
  return dib;
}

}  // namespace grainwick

using namespace grainwick;

extern "C" {

int16_t writetiffiledib(const char *file_name, int16_t compression, int16_t bits, int16_t append, HGLOBAL dib,
                        GrainwickProgress progress, int16_t) {
  if (!file_name || !*file_name) return -1;
  const HWND owner = current_owner_window();
  return with_depth(dib, compression, bits, append, [&](HGLOBAL d, HGLOBAL options) {
    return write_tiff_file(file_name, d, options, progress, owner);
  });
}

int16_t writetiffile(const char *file_name, int16_t compression, int16_t bits, int16_t append, HBITMAP bitmap,
                     HPALETTE palette, GrainwickProgress progress, int16_t reserved) {
  if (!file_name || !*file_name) return -1;
  HGLOBAL dib = dib_from_bitmap(bitmap, palette, current_owner_window());
  if (!dib) return -1;
  int16_t result = writetiffiledib(file_name, compression, bits, append, dib, progress, reserved);
  GlobalFree(dib);
  return result;
}

int16_t writetiffiledibstream(void **stream, int32_t *stream_length, int16_t compression, int16_t bits,
                              int16_t append, HGLOBAL dib, GrainwickProgress progress, int16_t) {
  return dib_to_stream(stream, stream_length, compression, bits, append, dib, progress);
}

int16_t writetiffilestream(void **stream, int32_t *stream_length, int16_t compression, int16_t bits, int16_t append,
                           HBITMAP bitmap, HPALETTE palette, GrainwickProgress progress, int16_t) {
  if (!stream || !stream_length) return -1;
  HGLOBAL dib = dib_from_bitmap(bitmap, palette, current_owner_window());
  if (!dib) return -1;
  int16_t result = dib_to_stream(stream, stream_length, compression, bits, append, dib, progress);
  GlobalFree(dib);
  return result;
}

}  // extern "C"
