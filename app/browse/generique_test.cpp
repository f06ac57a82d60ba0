#include "generique.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace browse;
using T = TexteGenerique;
using Textes = std::array<std::string, 3>;

TEST(Generique, LinesShowWhatTheyKeep) {
  const struct {
    Textes saisi;
    const char *affiche;
    Textes garde;
  } kCas[] = {
      {{"", "Anna", "Lui"}, "Vide", {"", "", ""}},  // no function: an empty slot
      {{"Acteur", "", "Lui"}, "Acteur", {"Acteur", "", ""}},
      {{"R\xe9"
        "alisateur",
        "Anna", ""},
       "R\xe9"
       "alisateur : Anna",
       {"R\xe9"
        "alisateur",
        "Anna", ""}},
      {{"A : B", "Jean - Pierre : fils", "Le - chef"},
       "A : B : Jean - Pierre : fils - Le - chef",
       {"A : B", "Jean - Pierre : fils", "Le - chef"}},
  };
  for (const auto &c : kCas) {
    LigneSaisie l = ligne_saisie(c.saisi[0], c.saisi[1], c.saisi[2], "Vide");
    EXPECT_EQ(l.affiche, c.affiche);
    EXPECT_EQ(l.textes, c.garde) << c.affiche;
  }
}

// Slots are stored in the order of their lines, the empty ones where the placeholder sorts; a
// name with " : " or " - " comes back as it went in.
TEST(Generique, SavedInDisplayOrderAndReopenedUnchanged) {
  for (const auto &[langue, ordre] : {std::pair{0, Textes{"Musique", "", ""}},     // "Vide" after it
                                      std::pair{1, Textes{"", "", "Musique"}}}) {  // "Free" before
    store::TDataGenerique g;
    g.set_denomination(3, "Musique");
    g.set_denomination(7, "Acteur");
    g.set_nom(7, "Jean - Pierre : fils");
    g.set_role(7, "Le chef");
    g.set_denomination(9, "Acteur");  // a character without a name
    g.set_role(9, "Lui");
    std::vector<LigneSaisie> lignes = lignes_generique(g, mot_vide(langue));
    std::ranges::reverse(lignes);  // the save sorts again
    store::TDataGenerique range;
    range_generique(lignes, range);
    EXPECT_EQ(Textes({range.denomination(1), range.nom(1), range.role(1)}), Textes({"Acteur", "", ""}));
    EXPECT_EQ(Textes({range.denomination(2), range.nom(2), range.role(2)}),
              Textes({"Acteur", "Jean - Pierre : fils", "Le chef"}));
    EXPECT_EQ(Textes({range.denomination(3), range.denomination(4), range.denomination(30)}), ordre);
    std::vector<LigneSaisie> relues = lignes_generique(range, mot_vide(langue));
    std::ranges::reverse(relues);
    store::TDataGenerique encore;
    range_generique(relues, encore);
    EXPECT_EQ(encore, range);
  }
}

TEST(Generique, ViewerPutsActorsUnderACentredFunctionAndDirectorsBesideIt) {
  store::TDataGenerique g;
  g.set_denomination(1, "Acteur");
  g.set_nom(1, "Al");
  g.set_role(1, "Vincent");
  g.set_denomination(2,
                     "R\xe9"
                     "alisateur");
  g.set_nom(2, "Mann");
  g.set_denomination(3, "Acteur");
  g.set_nom(3, "Bob");
  g.set_role(3, "Neil");
  g.set_denomination(4, "Monteur");  // in no list: not drawn
  const std::vector<std::string> distri{
      "R\xe9"
      "alisateur",
      "", "Acteur", "Cadreur"};
  EXPECT_EQ(dessin_generique(distri, g, 401), (std::vector<T>{{"R\xe9"
                                                               "alisateur",
                                                               191, 10, T::droite, true},
                                                              {"Mann", 211, 10, T::gauche, false},
                                                              {"Acteur", 201, 40, T::centre, true},
                                                              {"Al", 191, 60, T::droite, false},
                                                              {"Vincent", 211, 60, T::gauche, false},
                                                              {"Bob", 191, 80, T::droite, false},
                                                              {"Neil", 211, 80, T::gauche, false}}));
}

}  // namespace
