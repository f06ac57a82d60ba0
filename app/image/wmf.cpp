// Windows metafiles, played by libwmf into a true-colour picture.
#include <algorithm>
#include <cmath>

// Qt first: libwmf's headers define U8 and U16 as macros.
// clang-format off
#include "readers.h"
#include <libwmf/api.h>
#include <libwmf/gd.h>
// clang-format on

namespace image {

namespace {

// A metafile gives its size in its own units; a damaged one may give anything.
constexpr unsigned kCoteMax = 2000;

std::uint32_t mot(const std::string &b, std::size_t at) {
  return std::uint8_t(b[at]) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}

void pose_mot(std::string &b, std::size_t at, std::uint32_t v) {
  b[at] = char(v & 0xff);
  b[at + 1] = char((v >> 8) & 0xff);
}

// libwmf allocates what the header announces (the largest record) and walks records by their
// own sizes; a damaged file may announce gigabytes. The header and every record must fit in
// the file, and the records must end with the end record. A pen may also be wider than the
// whole picture, which libwmf draws line by line for minutes: pens are kept within an eighth
// of the window (the frame of a placeable file until a window is set).
bool prepare(std::string &b) {
  const bool placeable = b.size() >= 22 && mot(b, 0) == 0xcdd7 && mot(b, 2) == 0x9ac6;
  std::size_t at = placeable ? 22 : 0;
  if (b.size() < at + 18 || mot(b, at + 2) != 9) return false;
  const std::size_t reste = b.size() - at;
  const std::size_t plus_grand = (mot(b, at + 12) | mot(b, at + 14) << 16) * std::size_t(2);
  if (plus_grand > reste) return false;
  auto signe = [&](std::size_t i) { return std::abs(int(std::int16_t(mot(b, i)))); };
  int cadre = placeable ? std::max(std::abs(int(std::int16_t(mot(b, 10))) - int(std::int16_t(mot(b, 6)))),
                                   std::abs(int(std::int16_t(mot(b, 12))) - int(std::int16_t(mot(b, 8)))))
                        : 0;
  for (at += 18; at + 6 <= b.size();) {
    const std::size_t taille = (mot(b, at) | mot(b, at + 2) << 16) * std::size_t(2);
    if (taille < 6 || taille > b.size() - at || taille > plus_grand) return false;
    const std::uint32_t fonction = mot(b, at + 4);
    if (fonction == 0) return true;
    if (fonction == 0x20c && taille >= 10) cadre = std::max(signe(at + 6), signe(at + 8));
    if (fonction == 0x2fa && taille >= 10) {
      const int largeur = std::max(1, (cadre > 0 ? cadre : 1000) / 8);
      if (signe(at + 8) > largeur) pose_mot(b, at + 8, std::uint32_t(largeur));
    }
    at += taille;
  }
  return false;
}

}  // namespace

QImage lit_wmf(const std::string &name) {
  std::string bytes;
  if (!lit_fichier(name, bytes, kTailleMax) || !prepare(bytes)) return {};
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  wmfAPI *api = nullptr;
  if (wmf_api_create(&api, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG,
                     &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return {};
  }
  QImage out;
  wmfD_Rect box{};
  unsigned w = 0, h = 0;
  if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(bytes.data()), long(bytes.size())) == wmf_E_None) {
    if (wmf_scan(api, 0, &box) == wmf_E_None && wmf_display_size(api, &w, &h, 96, 96) == wmf_E_None &&
        w > 0 && h > 0) {
      const double shrink = std::min(1.0, double(kCoteMax) / std::max(w, h));
      w = std::max(1u, unsigned(w * shrink));
      h = std::max(1u, unsigned(h * shrink));
      wmf_gd_t *device = WMF_GD_GetData(api);
      device->type = wmf_gd_image;
      device->bbox = box;
      device->width = w;
      device->height = h;
      if (wmf_play(api, 0, &box) == wmf_E_None && device->gd_image) {
        const int *pixels = wmf_gd_image_pixels(device->gd_image);
        if (pixels) {
          out = QImage(int(w), int(h), QImage::Format_RGB32);
          for (unsigned y = 0; y < h; ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
            for (unsigned x = 0; x < w; ++x) row[x] = QRgb(pixels[std::size_t(y) * w + x]) | 0xff000000;
          }
        }
      }
    }
    wmf_mem_close(api);
  }
  wmf_api_destroy(api);
  return out;
}

}  // namespace image
