#include "config.h"

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "store.h"

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
  TDataConfig back = lit_config(s);
  EXPECT_FALSE(back.fond_texture());
  EXPECT_EQ(back.fond_couleur(), 0x00336699u);
  EXPECT_EQ(back.index_arbre(), 3);
  EXPECT_EQ(back.couleur_arbre(), 0xFFu);
  EXPECT_EQ(dir.read("Moorkeep.CFG").substr(0, 9), std::string("Tapemoor\0", 9));

  dir.write("Moorkeep.CFG", "short");
  EXPECT_EQ(lit_config(s).index_arbre(), 1);
  EXPECT_EQ(dir.size("Moorkeep.CFG"), 331u);
}

}  // namespace
