#include "medias_logic.h"

#include <gtest/gtest.h>

namespace {

using namespace browse;

TEST(Medias, ThePreviewIsNaturalWhenItFitsAndScaledOtherwise) {
  struct Cas {
    int image_l, image_h;
    bool reduit;
  } const cas[] = {{40, 30, false}, {138, 156, false}, {139, 10, true}, {10, 157, true}, {0, 0, false}};
  for (const Cas &c : cas)
    EXPECT_EQ(dispose_apercu(168, 186, c.image_l, c.image_h).reduit, c.reduit)
        << c.image_l << "x" << c.image_h;
  const Apercu a = dispose_apercu(168, 186, 1, 1);
  EXPECT_EQ(std::tuple(a.x, a.y, a.largeur, a.hauteur), std::tuple(15, 15, 138, 156));
  EXPECT_EQ(dispose_apercu(20, 10, 1, 1).largeur, 0);  // a frame too small gives an empty area
}

TEST(Medias, TheBitmapPreviewFitsItsZoneKeepingProportions) {
  struct Cas {
    Taille image, attendu;
  } const cas[] = {{{40, 30}, {40, 30}},
                   {{276, 78}, {138, 39}},
                   {{100, 320}, {50, 160}},
                   {{5000, 1}, {138, 1}},
                   {{0, 30}, {0, 0}}};
  for (const Cas &c : cas) EXPECT_EQ(taille_apercu_bmp({138, 160}, c.image), c.attendu) << c.image.largeur;
}

TEST(Medias, TheBitmapChooserSpeaksTheRegionalLanguageByDefault) {
  struct Cas {
    TLanguage demandee;
    const char *slanguage, *caption;
  } const cas[] = {
      {TLanguage::laDefault, "FRA", "Ouverture (Bitmap)"}, {TLanguage::laDefault, "deu", "Öffnung (Bitmap)"},
      {TLanguage::laDefault, "ESN", "Abertura (Bitmap)"},  {TLanguage::laDefault, "it", "Apertura (Bitmap)"},
      {TLanguage::laDefault, "ENU", "Open (Bitmap)"},      {TLanguage::laDefault, "", "Open (Bitmap)"},
      {TLanguage::laItalian, "FRA", "Apertura (Bitmap)"}};
  for (const Cas &c : cas)
    EXPECT_STREQ(textes_bitmap(langue_bitmap(c.demandee, c.slanguage)).caption, c.caption) << c.slanguage;
}

TEST(Medias, TypeListsBeginWithEveryPattern) {
  const auto t = types_images(1);
  ASSERT_EQ(t.size(), 13u);
  EXPECT_EQ(t[0].nom, "All Images");
  EXPECT_EQ(t[0].motifs.size(), 12u);
  EXPECT_EQ(t[12].motifs, std::vector<std::string>{"*.wmf"});
  EXPECT_EQ(types_bitmap("Voir")[0].motifs, (std::vector<std::string>{"*.bmp", "*.ico", "*.wmf"}));
}

}  // namespace
