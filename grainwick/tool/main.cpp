// grainwick-tool: the facts of a TIFF image, the image as a BMP file, or a BMP file as a TIFF
// image, through the library's exports.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "grainwick.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: grainwick-tool info FILE [PAGE]\n"
               "       grainwick-tool tobmp FILE OUT.bmp [--page N] [--bits B --convert]\n"
               "       grainwick-tool frombmp IN.bmp OUT.tif [--compression C] [--bits B] [--append]\n"
               "         C: none, modccitt, group3, group4, lzw, packbits or the export's number\n");
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

// A BMP file (uncompressed, 1, 4, 8 or 24 bits) as a packed bottom-up DIB with a 40-byte header.
HGLOBAL load_bmp(const char *path) {
  std::vector<unsigned char> f;
  if (FILE *in = std::fopen(path, "rb")) {
    unsigned char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, in)) > 0;) f.insert(f.end(), buf, buf + n);
    std::fclose(in);
  }
  if (f.size() < 14 + 40 || f[0] != 'B' || f[1] != 'M') return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, f.data() + 14, 40);
  if (h.biSize < 40 || h.biSize > f.size() - 14 || h.biCompression != 0 || h.biPlanes != 1 || h.biWidth <= 0 ||
      h.biHeight == 0 || h.biWidth > 0xFFFFFF || h.biHeight > 0xFFFFFF || h.biHeight < -0xFFFFFF)
    return nullptr;
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return nullptr;
  const std::size_t colours = bits <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << bits) : 0;
  if (colours > (bits <= 8 ? 1u << bits : 0u)) return nullptr;
  const bool top_down = h.biHeight < 0;
  const std::size_t rows = std::size_t(top_down ? -h.biHeight : h.biHeight), stride = dib_stride(h.biWidth, bits);
  std::uint32_t stored_at;
  std::memcpy(&stored_at, f.data() + 10, 4);
  std::size_t table_at = 14 + h.biSize, bits_at = stored_at;
  if (bits_at == 0) bits_at = table_at + 4 * colours;
  if (table_at + 4 * colours > f.size() || bits_at > f.size() || f.size() - bits_at < stride * rows) return nullptr;
  HGLOBAL dib = GlobalAlloc(GHND, 40 + 4 * colours + stride * rows);
  if (!dib) return nullptr;
  auto *out = static_cast<unsigned char *>(GlobalLock(dib));
  h.biSize = 40;
  h.biHeight = LONG(rows);
  h.biClrUsed = DWORD(colours);
  h.biSizeImage = 0;
  std::memcpy(out, &h, 40);
  std::memcpy(out + 40, f.data() + table_at, 4 * colours);
  unsigned char *pixels = out + 40 + 4 * colours;
  for (std::size_t r = 0; r < rows; ++r)
    std::memcpy(pixels + r * stride, f.data() + bits_at + (top_down ? rows - 1 - r : r) * stride, stride);
  GlobalUnlock(dib);
  return dib;
}

bool parse_compression(const char *text, int16_t &out) {
  static const struct {
    const char *name;
    int16_t code;
  } names[] = {{"none", 1}, {"modccitt", 2}, {"group3", 3}, {"group4", 4}, {"lzw", 5}, {"packbits", 32773 - 65536}};
  for (const auto &n : names)
    if (!std::strcmp(text, n.name)) {
      out = n.code;
      return true;
    }
  return parse_short(text, out);
}

int frombmp(int argc, char **argv) {
  if (argc < 4) return usage();
  int16_t compression = 1, bits = 0, append = 0;
  bool have_bits = false;
  for (int i = 4; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--compression") && i + 1 < argc) {
      if (!parse_compression(argv[++i], compression)) return usage();
    } else if (!std::strcmp(argv[i], "--bits") && i + 1 < argc) {
      if (!parse_short(argv[++i], bits)) return usage();
      have_bits = true;
    } else if (!std::strcmp(argv[i], "--append")) {
      append = 1;
    } else {
      return usage();
    }
  }
  HGLOBAL dib = load_bmp(argv[2]);
  if (!dib) {
    std::fprintf(stderr, "%s: not a readable BMP file (uncompressed, 1, 4, 8 or 24 bits)\n", argv[2]);
    return 1;
  }
  if (!have_bits) {
    bits = int16_t(static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib))->biBitCount);
    GlobalUnlock(dib);
  }
  int16_t result = writetiffiledib(argv[3], compression, bits, append, dib, nullptr, 0);
  GlobalFree(dib);
  if (result != 1) {
    std::fprintf(stderr, "%s: could not write the TIFF image (cannot create, not TIFF when appending, or bad depth)\n",
                 argv[3]);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  if (command == "info") return info(argc, argv);
  if (command == "tobmp") return tobmp(argc, argv);
  if (command == "frombmp") return frombmp(argc, argv);
  return usage();
}
