// The read exports: each call builds its own short-lived context, runs the reader and hands
// the result over as a DIB handle or as a device bitmap and palette.
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "fileio.h"
#include "frame.h"
#include "grainwick.h"
#include "reader.h"

namespace grainwick {

namespace {

std::atomic<HWND> owner_window{nullptr};

constexpr double kBitmapBudget = 8000000.0;
constexpr int16_t kFloydSteinberg = 4;

// Per-call state; nothing survives the call but what goes out through the out-parameters.
struct CallContext {
  GrainwickProgress progress = nullptr;
  int16_t scale_percent = 100;
  int16_t page = 0;
  bool stream_mode = false;
  std::uint32_t stream_length = 0;
  HWND owner = owner_window.load();
};

// The stream pointer must be the locked start of a block; its length is cut to the block's size.
bool stream_source(const void *stream, int32_t length, TiffSource &source) {
  if (!stream || length <= 0) return false;
  source.block = GlobalHandle(stream);
  if (!source.block) return false;
  source.stream_length = std::uint32_t(length);
  return true;
}

Status read_dib(CallContext &ctx, const TiffSource &source, HGLOBAL &dib) {
  if (ctx.page < 0) return Status::kShortRead;
  TiffImage image;
  Status status = image.open(source);
  if (status == Status::kOk) status = image.select(std::uint32_t(ctx.page));
  if (status == Status::kOk) status = image.get_dib(dib, ctx.progress);
  return status;
}

int dib_depth(HGLOBAL dib) {
  auto *h = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  int bits = h ? h->biBitCount : 0;
  GlobalUnlock(dib);
  return bits;
}

}  // namespace

bool change_depth(HGLOBAL dib, int16_t bits, HGLOBAL &changed) {
  changed = nullptr;
  int have = dib_depth(dib);
  if (bits <= 0) {
    if (have == 1) return true;  // already two greys
    changed = ColorToGrayscale(dib);
  } else if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
    return false;
  } else if (bits == have) {
    return true;
  } else if (bits > have) {
    changed = ImgIncreaseColors(dib, bits);
  } else {
    changed = ImgReduceColors(dib, int16_t(bits == 1 ? 2 : bits == 4 ? 16 : 256), kFloydSteinberg);
  }
  return changed != nullptr;
}

HWND current_owner_window() { return owner_window.load(); }

namespace {

// Brings the DIB to the asked depth; the old handle is freed when a new one replaces it.
bool apply_depth(HGLOBAL &dib, int16_t bits, int16_t convert) {
  if (!convert) return true;
  HGLOBAL changed;
  if (!change_depth(dib, bits, changed)) return false;
  if (changed) {
    GlobalFree(dib);
    dib = changed;
  }
  return true;
}

// A logical palette with one entry per colour-table entry; null for 24-bit DIBs.
HPALETTE palette_of(const BITMAPINFOHEADER *header, int colours) {
  if (colours <= 0 || colours > 256) return nullptr;
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::size_t(colours));
  auto *lp = reinterpret_cast<LOGPALETTE *>(buffer.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(colours);
  const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(header) + header->biSize);
  for (int i = 0; i < colours; ++i) lp->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
  return CreatePalette(lp);
}

}  // namespace

int device_bitmap(HGLOBAL dib, int16_t scale_percent, HWND owner, HBITMAP &bitmap, HPALETTE &palette) {
  bitmap = nullptr;
  palette = nullptr;
  auto *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  if (!header) return -1;
  const int colours = GetColorsInPalette(header);
  if (colours > 0) palette = palette_of(header, colours);
  const double bytes_per_pixel = colours == 2 ? 0.125 : colours == 16 ? 0.5 : colours == 256 ? 1.0 : 3.0;
  const double width = header->biWidth, height = header->biHeight;
  double scale = scale_percent * 0.01;
  double size = width * height * bytes_per_pixel * scale;
  if (size > kBitmapBudget) scale = kBitmapBudget / size;

  const auto *bits = reinterpret_cast<const BYTE *>(header) + header->biSize + 4 * std::size_t(colours);
  const auto *info = reinterpret_cast<const BITMAPINFO *>(header);
  HDC screen = GetDC(owner);
  HDC dc = CreateCompatibleDC(screen);
  if (!dc) {
    ReleaseDC(owner, screen);
    GlobalUnlock(dib);
    return -1;
  }
  SetStretchBltMode(dc, colours == 2 ? BLACKONWHITE : COLORONCOLOR);
  HPALETTE old_palette = palette ? SelectPalette(dc, palette, 0) : nullptr;
  if (palette) RealizePalette(dc);
  HGDIOBJ old_bitmap = nullptr;
  // Each pass shrinks by 5 % until a bitmap of the budget can be made.
  for (; scale > 0 && !bitmap; scale -= 0.05) {
    int w = int(width * scale), h = int(height * scale);
    if (double(w) * h * bytes_per_pixel > kBitmapBudget || w <= 0 || h <= 0) continue;
    HBITMAP made = colours == 2 ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(screen, w, h);
    if (!made) continue;
    HGDIOBJ previous = SelectObject(dc, made);
    if (!old_bitmap) old_bitmap = previous;
    if (StretchDIBits(dc, 0, 0, w, h, 0, 0, header->biWidth, header->biHeight, bits, info, DIB_RGB_COLORS,
                      SRCCOPY) > 0) {
      bitmap = made;
    } else {
      SelectObject(dc, old_bitmap);
      DeleteObject(made);
    }
  }
  if (old_bitmap) SelectObject(dc, old_bitmap);
  if (old_palette) SelectPalette(dc, old_palette, 0);
  DeleteDC(dc);
  ReleaseDC(owner, screen);
  GlobalUnlock(dib);
  return bitmap ? 1 : -1;
}

namespace {

int16_t read_to_dib(CallContext &ctx, const TiffSource &source, int16_t bits, int16_t convert, HGLOBAL &dib) {
  if (read_dib(ctx, source, dib) != Status::kOk) return -1;
  if (!apply_depth(dib, bits, convert)) {
    GlobalFree(dib);
    dib = nullptr;
    return -1;
  }
  return 1;
}

int16_t read_to_bitmap(CallContext &ctx, const TiffSource &source, int16_t bits, int16_t convert, HBITMAP *bitmap,
                       HPALETTE *palette) {
  if (!bitmap || !palette) return -1;
  HGLOBAL dib = nullptr;
  if (read_to_dib(ctx, source, bits, convert, dib) != 1) return -1;
  HBITMAP made;
  HPALETTE pal;
  int result = device_bitmap(dib, ctx.scale_percent, ctx.owner, made, pal);
  GlobalFree(dib);
  *bitmap = made;
  *palette = pal;
  return int16_t(result);
}

int16_t info_of(const TiffSource &source, int16_t page, int16_t *width, int16_t *height, int16_t *compression,
                int32_t *colour_map, int16_t *page_count, int16_t *bits_per_pixel) {
  for (int16_t *p : {width, height, compression, page_count, bits_per_pixel})
    if (p) *p = 0;
  if (colour_map) *colour_map = 0;
  if (page < 0) return -1;
  TiffImage image;
  Status status = image.open(source);
  if (status == Status::kOk) status = image.select(std::uint32_t(page));
  if (status != Status::kOk) return -1;
  const ImageDescription &d = image.description();
  if (width) *width = int16_t(d.width);
  if (height) *height = int16_t(d.length);
  if (compression) *compression = int16_t(d.compression);
  if (colour_map) *colour_map = d.color_map.empty() ? 0 : 1;
  if (page_count) *page_count = int16_t(image.image_count());
  if (bits_per_pixel) *bits_per_pixel = int16_t(d.file_depth());
  return 1;
}

}  // namespace

}  // namespace grainwick

using namespace grainwick;

extern "C" {

int16_t InitDLL(HWND window) {
  owner_window = window;
  return 1;
}

int16_t readtiffile(const char *file_name, int16_t bits, int16_t convert, int16_t page, int16_t scale_percent,
                    HBITMAP *bitmap, HPALETTE *palette, GrainwickProgress progress, int16_t) {
  if (!file_name) return -1;
  CallContext ctx;
  ctx.progress = progress;
  ctx.page = page;
  ctx.scale_percent = scale_percent;
  TiffSource source;
  source.file_name = file_name;
  return read_to_bitmap(ctx, source, bits, convert, bitmap, palette);
}

int16_t readtiffiledib(const char *file_name, int16_t bits, int16_t convert, int16_t page, HGLOBAL *dib,
                       GrainwickProgress progress, int16_t) {
  if (!file_name || !dib) return -1;
  CallContext ctx;
  ctx.progress = progress;
  ctx.page = page;
  TiffSource source;
  source.file_name = file_name;
  HGLOBAL made = nullptr;
  if (read_to_dib(ctx, source, bits, convert, made) != 1) return -1;
  *dib = made;
  return 1;
}

int16_t readtiffilestream(const void *stream, int32_t stream_length, int16_t bits, int16_t convert, int16_t page,
                          int16_t scale_percent, HBITMAP *bitmap, HPALETTE *palette, GrainwickProgress progress,
                          int16_t) {
  CallContext ctx;
  TiffSource source;
  if (!stream_source(stream, stream_length, source)) return -1;
  ctx.progress = progress;
  ctx.page = page;
  ctx.scale_percent = scale_percent;
  ctx.stream_mode = true;
  ctx.stream_length = source.stream_length;
  return read_to_bitmap(ctx, source, bits, convert, bitmap, palette);
}

int16_t readtiffiledibstream(const void *stream, int32_t stream_length, int16_t bits, int16_t convert,
                             int16_t page, HGLOBAL *dib, GrainwickProgress progress, int16_t) {
  if (!dib) return -1;
  CallContext ctx;
  TiffSource source;
  if (!stream_source(stream, stream_length, source)) return -1;
  ctx.progress = progress;
  ctx.page = page;
  ctx.stream_mode = true;
  ctx.stream_length = source.stream_length;
  HGLOBAL made = nullptr;
  if (read_to_dib(ctx, source, bits, convert, made) != 1) return -1;
  *dib = made;
  return 1;
}

int16_t getinfo(const char *file_name, int16_t page, int16_t *width, int16_t *height, int16_t *compression,
                int32_t *colour_map, int16_t *page_count, int16_t *bits_per_pixel) {
  TiffSource source;
  if (file_name) source.file_name = file_name;
  if (!file_name) {
    info_of(source, -1, width, height, compression, colour_map, page_count, bits_per_pixel);
    return -1;
  }
  return info_of(source, page, width, height, compression, colour_map, page_count, bits_per_pixel);
}

int16_t getinfostream(const void *stream, int32_t stream_length, int16_t page, int16_t *width, int16_t *height,
                      int16_t *compression, int32_t *colour_map, int16_t *page_count, int16_t *bits_per_pixel) {
  TiffSource source;
  bool ok = stream_source(stream, stream_length, source);
  return info_of(source, ok ? page : int16_t(-1), width, height, compression, colour_map, page_count,
                 bits_per_pixel);
}

}  // extern "C"
