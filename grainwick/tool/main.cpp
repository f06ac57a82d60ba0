// grainwick-tool: the facts of a TIFF image, or the image as a BMP file, through the library's
// exports.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "grainwick.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: grainwick-tool info FILE [PAGE]\n"
               "       grainwick-tool tobmp FILE OUT.bmp [--page N] [--bits B --convert]\n");
  return 2;
}

bool parse_short(const char *text, int16_t &out) {
  char *end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < -32768 || v > 32767) return false;
  out = int16_t(v);
  return true;
}

int info(int argc, char **argv) {
  if (argc < 3 || argc > 4) return usage();
  int16_t page = 0;
  if (argc == 4 && !parse_short(argv[3], page)) return usage();
  int16_t width, height, compression, pages, bits;
  int32_t colormap;
  if (getinfo(argv[2], page, &width, &height, &compression, &colormap, &pages, &bits) != 1) {
    std::fprintf(stderr, "%s: not a readable TIFF file, or no image %d in it\n", argv[2], page);
    return 1;
  }
  std::printf("width: %u\nheight: %u\ncompression: %u\ncolormap: %s\npages: %d\nbits: %d\n", unsigned(uint16_t(width)),
              unsigned(uint16_t(height)), unsigned(uint16_t(compression)), colormap ? "yes" : "no", pages, bits);
  return 0;
}

int tobmp(int argc, char **argv) {
  if (argc < 4) return usage();
  int16_t page = 0, bits = 0, convert = 0;
  bool have_bits = false;
  for (int i = 4; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--page") && i + 1 < argc) {
      if (!parse_short(argv[++i], page)) return usage();
    } else if (!std::strcmp(argv[i], "--bits") && i + 1 < argc) {
      if (!parse_short(argv[++i], bits)) return usage();
      have_bits = true;
    } else if (!std::strcmp(argv[i], "--convert")) {
      convert = 1;
    } else {
      return usage();
    }
  }
  if (have_bits != bool(convert)) return usage();

  HGLOBAL dib = nullptr;
  if (readtiffiledib(argv[2], bits, convert, page, &dib, nullptr, 0) != 1) {
    std::fprintf(stderr, "%s: could not read image %d (not TIFF, unsupported, damaged or too large)\n", argv[2], page);
    return 1;
  }
  const auto *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  std::size_t colours = header->biBitCount <= 8 ? (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount) : 0;
  std::size_t bytes = 40 + 4 * colours + dib_stride(header->biWidth, header->biBitCount) * std::size_t(header->biHeight);
  if (bytes > GlobalSize(dib)) bytes = GlobalSize(dib);
  BITMAPFILEHEADER file{0x4D42, DWORD(14 + bytes), 0, 0, DWORD(14 + 40 + 4 * colours)};
  int result = 0;
  if (FILE *out = std::fopen(argv[3], "wb")) {
    if (std::fwrite(&file, sizeof file, 1, out) != 1 || std::fwrite(header, 1, bytes, out) != bytes) result = 1;
    if (std::fclose(out) != 0) result = 1;
  } else {
    result = 1;
  }
  if (result) std::fprintf(stderr, "%s: cannot write the BMP file\n", argv[3]);
  GlobalUnlock(dib);
  GlobalFree(dib);
  return result;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  if (command == "info") return info(argc, argv);
  if (command == "tobmp") return tobmp(argc, argv);
  return usage();
}
