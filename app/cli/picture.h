// `tapemoor-cli picture`: a picture file loaded as the picture control loads it, on a 24-bit
// screen and with no window.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace cli {

// Kept free of Qt headers: the catalogue commands use `slots` as a plain name.
struct PictureArgs {
  const char *res = "auto";  // vga, mono, 16, 256, true or auto
  bool dither = false;
  std::int16_t page = 0;
  std::optional<std::string> png;
};

// False for a --res value that names no depth.
bool resolution_connue(const std::string &res);

// The facts on one tab-separated line: type, width, height, bits, compression, images, size,
// message. Exit status 1 for a missing file (its facts are printed), a reader failure (code and
// text on `err`), an extension no reader takes, or a PNG that cannot be written.
int cmd_picture(const std::string &file, PictureArgs args, std::ostream &out, std::ostream &err);

}  // namespace cli
