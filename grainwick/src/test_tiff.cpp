#include "test_tiff.h"

#include <tiffio.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace grainwick::test {

const char *kind_name(Kind k) {
  switch (k) {
    case Kind::grey1: return "grey1";
    case Kind::grey2: return "grey2";
    case Kind::grey4: return "grey4";
    case Kind::palette4: return "palette4";
    case Kind::palette8: return "palette8";
    case Kind::grey8: return "grey8";
    case Kind::rgb24: return "rgb24";
  }
  return "?";
}

SourceImage make_image(Kind kind, std::uint32_t width, std::uint32_t height, bool flat) {
  SourceImage img;
  img.width = width;
  img.height = height;
  switch (kind) {
    case Kind::grey1: img.bits = 1; break;
    case Kind::grey2: img.bits = 2; break;
    case Kind::grey4: case Kind::palette4: img.bits = 4; break;
    case Kind::grey8: case Kind::palette8: img.bits = 8; break;
    case Kind::rgb24: img.bits = 8; img.samples = 3; img.photometric = 2; break;
  }
  if (kind == Kind::palette4 || kind == Kind::palette8) {
    img.photometric = 3;
    std::size_t n = std::size_t(1) << img.bits;
    for (std::size_t i = 0; i < n; ++i) {
      img.red.push_back(std::uint16_t(((i * 37) % 256) * 257));
      img.green.push_back(std::uint16_t(((i * 91 + 40) % 256) * 257));
      img.blue.push_back(std::uint16_t(((255 - i * 13) % 256) * 257));
    }
  }
  const std::uint32_t max = (1u << img.bits) - 1;
  img.rows.assign(img.row_bytes() * height, 0);
  std::uint32_t seed = 12345;
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t *row = img.rows.data() + img.row_bytes() * y;
    for (std::uint32_t x = 0; x < width; ++x) {
      for (std::uint32_t s = 0; s < img.samples; ++s) {
        seed = seed * 1103515245 + 12345;
        std::uint32_t v = flat ? ((x / 50 + y / 3 + s) % (max + 1)) : ((x * 7 + y * 3 + s * 50 + ((seed >> 16) % 5)) % (max + 1));
        std::uint64_t bit = (std::uint64_t(x) * img.samples + s) * img.bits;
        if (img.bits == 8) {
          row[bit / 8] = std::uint8_t(v);
        } else {
          int shift = 8 - img.bits - int(bit % 8);
          row[bit / 8] = std::uint8_t(row[bit / 8] | (v << shift));
        }
      }
    }
  }
  return img;
}

namespace {
bool write_directory(TIFF *tif, const SourceImage &img, std::uint32_t rows_per_strip, int compression) {
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, img.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, img.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, img.bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, img.samples);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, img.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip ? rows_per_strip : img.height);
  if (img.photometric == 3)
    TIFFSetField(tif, TIFFTAG_COLORMAP, img.red.data(), img.green.data(), img.blue.data());
  std::vector<std::uint8_t> row(img.row_bytes());
  for (std::uint32_t y = 0; y < img.height; ++y) {
    std::memcpy(row.data(), img.rows.data() + img.row_bytes() * y, row.size());
    if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) return false;
  }
  return TIFFWriteDirectory(tif) != 0;
}
}  // namespace

bool write_tiff(const std::string &path, const SourceImage &image, std::uint32_t rows_per_strip, int compression) {
  TIFF *tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  bool ok = write_directory(tif, image, rows_per_strip, compression);
  TIFFClose(tif);
  return ok;
}

bool write_pages(const std::string &path, const std::vector<SourceImage> &images) {
  TIFF *tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  bool ok = true;
  for (const auto &img : images) ok = ok && write_directory(tif, img, 0, 1);
  TIFFClose(tif);
  return ok;
}

bool tiffcp(const std::string &options, const std::string &in, const std::string &out) {
  std::string command = "tiffcp " + options + " '" + in + "' '" + out + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

std::vector<std::uint32_t> libtiff_rgba(const std::string &path, std::uint32_t &width, std::uint32_t &height, int page) {
  std::vector<std::uint32_t> pixels;
  TIFFSetWarningHandler(nullptr);
  TIFF *tif = TIFFOpen(path.c_str(), "r");
  if (!tif) return pixels;
  if (TIFFSetDirectory(tif, tdir_t(page))) {
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    pixels.resize(std::size_t(width) * height);
    if (!TIFFReadRGBAImageOriented(tif, width, height, pixels.data(), ORIENTATION_TOPLEFT, 0)) pixels.clear();
  }
  TIFFClose(tif);
  return pixels;
}

std::uint32_t dib_pixel(const BITMAPINFOHEADER *dib, std::uint32_t x, std::uint32_t y) {
  const int bits = dib->biBitCount;
  const std::size_t colours = bits <= 8 ? (dib->biClrUsed ? dib->biClrUsed : 1u << bits) : 0;
  const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const std::uint8_t *>(dib) + dib->biSize);
  const auto *pixels = reinterpret_cast<const std::uint8_t *>(table + colours);
  const std::uint8_t *row = pixels + dib_stride(dib->biWidth, bits) * std::size_t(dib->biHeight - 1 - LONG(y));
  std::uint8_t r, g, b;
  if (bits == 24) {
    b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
  } else {
    unsigned index = bits == 8 ? row[x] : bits == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15 : (row[x / 8] >> (7 - x % 8)) & 1;
    r = table[index].rgbRed, g = table[index].rgbGreen, b = table[index].rgbBlue;
  }
  return 0xFF000000u | std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | r;
}

long compare_with_libtiff(HGLOBAL dib, const std::string &path, int page) {
  std::uint32_t w = 0, h = 0;
  auto ref = libtiff_rgba(path, w, h, page);
  if (ref.empty()) return -1;
  const auto *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  long diff = -1;
  if (header && std::uint32_t(header->biWidth) == w && std::uint32_t(header->biHeight) == h) {
    diff = 0;
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x) diff += dib_pixel(header, x, y) != ref[std::size_t(y) * w + x];
  }
  GlobalUnlock(dib);
  return diff;
}

std::vector<std::uint8_t> read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string &path, const std::vector<std::uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

StreamBlock::StreamBlock(const std::vector<std::uint8_t> &bytes) {
  block = GlobalAlloc(GHND, bytes.size());
  data = GlobalLock(block);
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  length = std::int32_t(bytes.size());
}

StreamBlock::~StreamBlock() {
  GlobalUnlock(block);
  GlobalFree(block);
}

std::string temp_dir() {
  static std::string dir = [] {
    std::string d = (std::filesystem::temp_directory_path() / ("grainwick-test-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(d);
    static struct Remover {
      std::string path;
      ~Remover() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
      }
    } remover{d};
    return d;
  }();
  return dir;
}

std::size_t find_entry(const std::vector<std::uint8_t> &file, std::uint16_t tag) {
  auto get16 = [&](std::size_t at) { return std::uint16_t(file[at] | file[at + 1] << 8); };
  std::size_t ifd = file[4] | file[5] << 8 | std::size_t(file[6]) << 16 | std::size_t(file[7]) << 24;
  std::uint16_t n = get16(ifd);
  for (std::uint16_t i = 0; i < n; ++i) {
    std::size_t at = ifd + 2 + 12 * std::size_t(i);
    if (get16(at) == tag) return at;
  }
  return 0;
}

}  // namespace grainwick::test
