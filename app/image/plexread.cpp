// BMP, JPEG, GIF, PNG, PCX and Photo CD through GraphicsMagick.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <mutex>

// Qt first: GraphicsMagick's headers define macros that Qt's would trip over.
// clang-format off
#include "device.h"
#include "readers.h"
#include <Magick++.h>
#include <magick/resource.h>
// clang-format on

namespace image {

namespace {

void start_magick() {
  static std::once_flag once;
  std::call_once(once, [] {
    Magick::InitializeMagick(nullptr);
    // A damaged header may announce any size; the control never needs more than this.
    MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, 30000);
    MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, 30000);
    MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, 64 << 20);
  });
}

// Decodes `bytes` with the named coder only. Returns 1, or an error code with `picture` still
// holding what could be read.
// `resolution` picks the resolution of a Photo CD image (0: the coder's choice).
std::int16_t decode(const std::string &bytes, const char *coder, unsigned resolution,
                    Magick::Image &picture) {
  start_magick();
  if (bytes.empty()) return kErrFormat;
  std::int16_t result = 1;
  try {
    Magick::Blob blob(bytes.data(), bytes.size());
    if (resolution) picture.subImage(resolution), picture.subRange(1);
    picture.read(blob, Magick::Geometry(), coder);
  } catch (const Magick::WarningCorruptImage &) {
    result = kErrFormat;
  } catch (const Magick::Warning &) {
    // The picture is whole; a note about an unusual but readable file is no failure.
  } catch (const Magick::ErrorResourceLimit &) {
    return kErrTaille;
  } catch (const std::exception &) {
    return kErrFormat;
  }
  if (picture.columns() == 0 || picture.rows() == 0) return kErrFormat;
  return result;
}

Raster raster_of(Magick::Image &picture) {
  Raster r;
  r.width = int(picture.columns());
  r.height = int(picture.rows());
  const std::size_t count = std::size_t(r.width) * std::size_t(r.height);
  if (picture.classType() == MagickLib::PseudoClass && picture.colorMapSize() > 0 &&
      picture.colorMapSize() <= 256) {
    const MagickLib::PixelPacket *px = picture.getConstPixels(0, 0, picture.columns(), picture.rows());
    const MagickLib::IndexPacket *ix = px ? picture.getConstIndexes() : nullptr;
    if (ix) {
      r.bits = 8;
      for (unsigned i = 0; i < picture.colorMapSize(); ++i) {
        Magick::ColorRGB c = picture.colorMap(i);
        r.colours.push_back(
            qRgb(int(c.red() * 255 + 0.5), int(c.green() * 255 + 0.5), int(c.blue() * 255 + 0.5)));
      }
      r.pixels.resize(count);
      for (std::size_t i = 0; i < count; ++i) r.pixels[i] = std::uint8_t(std::min<unsigned>(ix[i], 255));
      return r;
    }
  }
  r.bits = 24;
  r.pixels.resize(count * 3);
  picture.write(0, 0, picture.columns(), picture.rows(), "BGR", Magick::CharPixel, r.pixels.data());
  return r;
}

bool valid_bits(int bits) {
  return bits <= 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

std::int16_t read_with(const char *name, const char *coder, int bits, bool dither, unsigned resolution,
                       int scale, HBITMAP *bitmap, HPALETTE *palette, std::int16_t *transparent = nullptr) {
  if (!name || !bitmap || !palette || !valid_bits(bits)) return kErrArguments;
  *bitmap = nullptr;
  *palette = nullptr;
  std::string bytes;
  if (!lit_fichier(name, bytes, kTailleMax)) return kErrLecture;
  start_magick();  // before any image is made
  Magick::Image picture;
  std::int16_t result = decode(bytes, coder, resolution, picture);
  if (result < 1 && (picture.columns() == 0 || picture.rows() == 0)) return result;
  try {
    if (transparent) {
      *transparent = -1;
      if (picture.classType() == MagickLib::PseudoClass && picture.matte())
        for (unsigned i = 0; i < picture.colorMapSize() && i < 256; ++i)
          if (picture.colorMap(i).alphaQuantum() == MaxRGB) *transparent = std::int16_t(i);
    }
    if (scale > 1)
      picture.sample(Magick::Geometry(std::max<unsigned>(1, picture.columns() / unsigned(scale)),
                                      std::max<unsigned>(1, picture.rows() / unsigned(scale))));
    const bool paletted = picture.classType() == MagickLib::PseudoClass && picture.colorMapSize() <= 256;
    if (GetScreenBitsPixel() == 24 && (bits == 24 || (bits == 8 && !paletted))) {
      // True colour on a true-colour screen: straight into the device bitmap, no copy between.
      *bitmap = CreateCompatibleBitmap(nullptr, int(picture.columns()), int(picture.rows()));
      BITMAP bm{};
      if (!*bitmap || GetObjectA(*bitmap, sizeof bm, &bm) != int(sizeof bm))
        return result < 1 ? result : kErrBitmap;
      auto *rows = static_cast<std::uint8_t *>(bm.bmBits);
      if (bm.bmWidthBytes == bm.bmWidth * 3)
        picture.write(0, 0, picture.columns(), picture.rows(), "BGR", Magick::CharPixel, rows);
      else
        for (unsigned y = 0; y < picture.rows(); ++y)
          picture.write(0, int(y), picture.columns(), 1, "BGR", Magick::CharPixel,
                        rows + y * bm.bmWidthBytes);
      if (bits == 8) *palette = cube_in_place(*bitmap, dither);
      return result;
    }
    Raster r = to_depth(raster_of(picture), bits, dither);
    if (!to_device(r, bitmap, palette)) return result < 1 ? result : kErrBitmap;
  } catch (const std::exception &) {
    return result < 1 ? result : kErrFormat;
  }
  return result;
}

const char *compression_name(MagickLib::CompressionType c) {
  switch (c) {
    case MagickLib::UndefinedCompression:
    case MagickLib::NoCompression:
      return "NONE";
    case MagickLib::BZipCompression:
      return "BZIP";
    case MagickLib::FaxCompression:
      return "FAX";
    case MagickLib::Group4Compression:
      return "GROUP4";
    case MagickLib::JPEGCompression:
      return "JPEG";
    case MagickLib::LosslessJPEGCompression:
      return "LOSSLESSJPEG";
    case MagickLib::LZWCompression:
      return "LZW";
    case MagickLib::RLECompression:
      return "RLE";
    case MagickLib::ZipCompression:
      return "ZIP";
    default:
      return "UNKNOWN";
  }
}

// The coder a file name asks for, by the first four characters of its extension.
const char *coder_of(const std::string &name) {
  std::string ext;
  auto dot = name.find_last_of('.');
  if (dot != std::string::npos && name.find('/', dot) == std::string::npos) ext = name.substr(dot, 4);
  for (char &c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (ext == ".BMP" || ext == ".THB") return "BMP";
  if (ext == ".JPG" || ext == ".JPE" || ext == ".THJ") return "JPEG";
  if (ext == ".GIF") return "GIF";
  if (ext == ".PNG") return "PNG";
  if (ext == ".PCX") return "PCX";
  if (ext == ".PCD") return "PCD";
  return nullptr;
}

}  // namespace

bool lit_fichier(const std::string &name, std::string &bytes, std::int64_t limit) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  bytes.clear();
  char buffer[65536];
  while (in && std::int64_t(bytes.size()) < limit) {
    in.read(buffer,
            std::streamsize(std::min<std::int64_t>(sizeof buffer, limit - std::int64_t(bytes.size()))));
    bytes.append(buffer, std::size_t(in.gcount()));
  }
  return !in.bad();
}

std::string texte_erreur(std::int16_t code) {
  switch (code) {
    case kErrLecture:
      return "The picture file cannot be read";
    case kErrFormat:
      return "The picture file is damaged or not of its type";
    case kErrTaille:
      return "The picture is too large";
    case kErrBitmap:
      return "Not enough memory to show the picture";
    case kErrArguments:
      return "Colour depth not supported";
    default:
      return "Picture error " + std::to_string(code);
  }
}

std::int16_t InitDll(HWND) {
  start_magick();
  return 1;
}

std::int16_t readbmpfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress, std::int16_t) {
  return read_with(name, "BMP", bits, dither != 0, 0, 1, bitmap, palette);
}

std::int16_t readjpgfile(const char *name, std::int16_t bits, std::int16_t scale, std::int16_t dither,
                         HBITMAP *bitmap, HPALETTE *palette, Progress, std::int16_t) {
  if (scale != 1 && scale != 2 && scale != 4 && scale != 8) return kErrArguments;
  return read_with(name, "JPEG", bits, dither != 0, 0, scale, bitmap, palette);
}

std::int16_t readgiffile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress, std::int16_t, std::int16_t *transparent) {
  std::int16_t ignored = -1;
  return read_with(name, "GIF", bits, dither != 0, 0, 1, bitmap, palette,
                   transparent ? transparent : &ignored);
}

std::int16_t readpngfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress, std::int16_t) {
  return read_with(name, "PNG", bits, dither != 0, 0, 1, bitmap, palette);
}

std::int16_t readpcxfile(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                         HPALETTE *palette, Progress, std::int16_t) {
  return read_with(name, "PCX", bits, dither != 0, 0, 1, bitmap, palette);
}

std::int16_t readpcdfile(const char *name, std::int16_t bits, std::int16_t dither, std::int16_t mode,
                         HBITMAP *bitmap, HPALETTE *palette, Progress, std::int16_t) {
  // The coder numbers the resolutions of a Photo CD image from 1, 192 x 128.
  if (mode < 0 || mode > 2) return kErrArguments;
  return read_with(name, "PCD", bits, dither != 0, unsigned(mode) + 1, 1, bitmap, palette);
}

std::int16_t fileinfo(const char *name, char *type, std::int16_t *width, std::int16_t *height,
                      std::int16_t *bits, std::int16_t *x_dpi, std::int16_t *y_dpi, char *compression,
                      std::int16_t) {
  for (std::int16_t *p : {width, height, bits, x_dpi, y_dpi})
    if (p) *p = 0;
  if (type) type[0] = 0;
  if (compression) compression[0] = 0;
  if (!name) return kErrArguments;
  const char *coder = coder_of(name);
  if (!coder) return kErrFormat;
  std::string bytes;
  if (!lit_fichier(name, bytes, kTailleMax)) return kErrLecture;
  start_magick();
  Magick::Image picture;
  try {
    Magick::Blob blob(bytes.data(), bytes.size());
    picture.magick(coder);
    picture.ping(blob);
  } catch (const Magick::Warning &) {
  } catch (const std::exception &) {
    return kErrFormat;
  }
  if (picture.columns() == 0 || picture.rows() == 0) return kErrFormat;
  auto clamp16 = [](double v) { return std::int16_t(std::clamp(v, 0.0, 32767.0)); };
  if (width) *width = clamp16(picture.columns());
  if (height) *height = clamp16(picture.rows());
  if (bits) {
    const unsigned depth = std::min(8u, picture.depth());
    if (picture.classType() == MagickLib::PseudoClass && picture.colorMapSize() > 0)
      *bits = picture.colorMapSize() <= 2 ? 1 : picture.colorMapSize() <= 16 ? 4 : 8;
    else if (picture.type() == MagickLib::GrayscaleType || picture.type() == MagickLib::BilevelType)
      *bits = std::int16_t(depth);
    else
      *bits = std::int16_t(depth * 3);
  }
  if (x_dpi) *x_dpi = clamp16(picture.xResolution());
  if (y_dpi) *y_dpi = clamp16(picture.yResolution());
  if (type) {
    std::string t = picture.magick().substr(0, 5);
    std::memcpy(type, t.c_str(), t.size() + 1);
  }
  if (compression) {
    std::string c = compression_name(picture.compressType());
    std::memcpy(compression, c.c_str(), std::min(c.size() + 1, kCompressionText));
  }
  return 1;
}

}  // namespace image
