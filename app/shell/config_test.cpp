#include "config.h"

#include <gtest/gtest.h>

#include "store.h"
#include "temp_dir.h"

using namespace store;
using namespace std::string_literals;

namespace {

TEST(Config, DefaultsWrittenByteForByteSavedValuesComeBackShortFilesRenewed) {
  TempDir dir;
  Store s(dir.path());
  TDataConfig c = lit_config(s);
  std::string bitmap = dir.path() + "/grey.bmp";
  // "Tapemoor", reserved zeros, the bitmap as a 255-character text, button face, texture on,
  // tree mode 1, black titles, reserved zeros.
  std::string layout = "Tapemoor"s + std::string(35, '\0') + static_cast<char>(bitmap.size()) + bitmap +
                       std::string(255 - bitmap.size(), '\0') + "\x0f\x00\x00\x80\x01\x01\x00\x00\x00"s +
                       std::string(23, '\0');
  EXPECT_EQ(dir.read("Moorkeep.CFG"), layout);
  EXPECT_EQ(c.fond_bitmap(), bitmap);

  c.set_fond_texture(false);
  c.set_fond_couleur(0x00336699);
  c.set_index_arbre(3);
  c.set_couleur_arbre(0x000000FF);
  c.bytes[5] = 'X';  // the reserved text is rewritten on save
  ecrit_config(s, c);
  c.bytes[5] = 'o';
  EXPECT_EQ(lit_config(s), c);

  dir.write("Moorkeep.CFG", "short");
  EXPECT_EQ(lit_config(s).index_arbre(), 1);
  EXPECT_EQ(dir.size("Moorkeep.CFG"), 331u);
}

}  // namespace
