#include "config.h"

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "store.h"

using namespace store;

namespace {

TEST(Config, DefaultsWrittenByteForByteSavedValuesComeBackShortFilesRenewed) {
  TempDir dir;
  Store s(dir.path());
  TDataConfig c = lit_config(s);
  ASSERT_EQ(dir.size("Moorkeep.CFG"), 331u);
  std::string b = dir.read("Moorkeep.CFG");
  EXPECT_EQ(b.substr(0, 9), std::string("Tapemoor\0", 9));
  EXPECT_EQ(b.substr(9, 34), std::string(34, '\0'));
  std::string bitmap = dir.path() + "/grey.bmp";
  EXPECT_EQ(static_cast<unsigned char>(b[43]), bitmap.size());
  EXPECT_EQ(b.substr(44, bitmap.size()), bitmap);
  EXPECT_EQ(b.substr(299, 4), std::string("\x0f\x00\x00\x80", 4));
  EXPECT_EQ(b[303], 1);
  EXPECT_EQ(b.substr(304, 4), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(b.substr(308, 23), std::string(23, '\0'));
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
