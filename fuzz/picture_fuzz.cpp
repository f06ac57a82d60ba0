// libFuzzer target: the picture control's load of any bytes under each extension. The first
// byte picks the extension and the depth asked; the rest is the file.
#include <unistd.h>

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <string>

#include "loader.h"

// clang-format off
#include <magick/api.h>
// clang-format on

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // No ".tif": Grainwick's own targets (fuzz_read_dib, fuzz_getinfo) take TIFF files.
  static const char *const kExt[] = {".bmp", ".jpg", ".gif", ".png", ".pcx", ".pcd", ".thb",
                                     ".thj", ".cms", ".dxf", ".ico", ".wmf", ".scm", ".jpeg"};
  static int argc = 1;
  static char name[] = "fuzz", *argv[] = {name, nullptr};
  static QGuiApplication *app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv));
  // Headers that announce large pictures decode slowly, not differently: keep them small.
  static bool limits =
      (image::initialise_lecteurs(nullptr), SetMagickResourceLimit(PixelsResource, 1 << 20), true);
  (void)app, (void)limits;
  if (size < 1 || size > (1u << 20)) return 0;
  const std::string file = "/tmp/picture-fuzz-" + std::to_string(getpid()) + kExt[data[0] % 14];
  if (FILE *f = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
  }
  image::Reglages r;
  r.ImageReadRes = image::TLoadResolution(data[0] / 14 % 6);
  r.ImageDither = data[0] >= 128;
  r.TiffPage = data[0] & 3;
  image::charge(file, r);
  std::remove(file.c_str());
  return 0;
}
