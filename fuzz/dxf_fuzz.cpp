// libFuzzer target: a DXF drawing parsed by dxflib and drawn, from any bytes.
#include <QGuiApplication>
#include <cstdint>
#include <string>

#include "readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz", *argv[] = {name, nullptr};
  static QGuiApplication *app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv));
  (void)app;
  if (size > (1u << 20)) return 0;
  image::dessine_dxf(std::string(reinterpret_cast<const char *>(data), size));
  return 0;
}
