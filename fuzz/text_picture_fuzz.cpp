// libFuzzer target: a text picture (.SCM, .CMS) read and drawn from any bytes.
#include <QGuiApplication>
#include <cstdint>
#include <string>

#include "text_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz", *argv[] = {name, nullptr};
  static QGuiApplication *app = (qputenv("QT_QPA_PLATFORM", "offscreen"), new QGuiApplication(argc, argv));
  (void)app;
  image::TextPicture t = image::lit_text_picture(std::string(reinterpret_cast<const char *>(data), size));
  // Matching a new font name is fontconfig's work and costs more than all the rest: the
  // drawing uses one family, so that the runs go to the reading and the layout.
  t.police = "Liberation Sans";
  QImage drawn = image::dessine_text_picture(t);
  return drawn.isNull() ? 0 : 0;
}
