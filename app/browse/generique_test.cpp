#include "generique.h"

#include <gtest/gtest.h>

namespace {

using namespace browse;
using Textes = std::array<std::string, 3>;

Textes credit(const store::TDataGenerique &g, int i) {
  return {g.denomination(i), g.nom(i), g.role(i)};
}

TEST(Generique, LinesShowWhatTheyKeep) {
  const struct {
    Textes saisi;
    const char *affiche;
    Textes garde;
  } kCas[] = {
      {{"", "Anna", "Lui"}, "Vide", {}},  // no function: an empty slot
      {{"Acteur", "", "Lui"}, "Acteur", {"Acteur", "", ""}},
      {{"A : B", "Jean - Pierre : fils", "Le - chef"},
       "A : B : Jean - Pierre : fils - Le - chef",
       {"A : B", "Jean - Pierre : fils", "Le - chef"}},
  };
  for (const auto &c : kCas)
    EXPECT_EQ(ligne_saisie(c.saisi[0], c.saisi[1], c.saisi[2], "Vide"), (LigneSaisie{c.garde, c.affiche}));
}

// Slots are stored in the order of the lines, the empty ones where the placeholder sorts, and a
// reopened record is stored again unchanged.
TEST(Generique, SavedInDisplayOrderAndReopenedUnchanged) {
  for (const auto &[langue, ordre] : {std::pair{0, Textes{"Musique", "", ""}},     // "Vide" after it
                                      std::pair{1, Textes{"", "", "Musique"}}}) {  // "Free" before it
    store::TDataGenerique g, range, encore;
    g.set_denomination(3, "Musique");
    g.set_denomination(7, "Acteur");
    g.set_nom(7, "Jean - Pierre : fils");
    g.set_role(7, "Le chef");
    g.set_denomination(9, "Acteur");
    g.set_role(9, "Lui");  // a character without a name
    std::vector<LigneSaisie> lignes = lignes_generique(g, mot_vide(langue));
    std::swap(lignes[0], lignes[29]);  // the save sorts again
    range_generique(lignes, range);
    EXPECT_EQ(credit(range, 1), (Textes{"Acteur", "", ""}));
    EXPECT_EQ(credit(range, 2), (Textes{"Acteur", "Jean - Pierre : fils", "Le chef"}));
    EXPECT_EQ(Textes({range.denomination(3), range.denomination(4), range.denomination(30)}), ordre);
    range_generique(lignes_generique(range, mot_vide(langue)), encore);
    EXPECT_EQ(encore, range);
  }
}

TEST(Generique, ViewerPutsActorsUnderACentredFunctionAndDirectorsBesideIt) {
  using T = TexteGenerique;
  store::TDataGenerique g;
  const Textes credits[] = {
      {"Acteur", "Al", "Vincent"}, {"Real", "Mann", ""}, {"Acteur", "Bob", "Neil"}, {"Monteur", "X", ""}};
  for (int i = 0; i < 4; ++i) {
    g.set_denomination(i + 1, credits[i][0]);
    g.set_nom(i + 1, credits[i][1]);
    g.set_role(i + 1, credits[i][2]);
  }
  // "Monteur" is in no list; the empty entry matches no empty slot.
  EXPECT_EQ(dessin_generique({"Real", "", "Acteur"}, g, 401),
            (std::vector<T>{{"Real", 191, 10, T::droite, true},
                            {"Mann", 211, 10, T::gauche, false},
                            {"Acteur", 201, 40, T::centre, true},
                            {"Al", 191, 60, T::droite, false},
                            {"Vincent", 211, 60, T::gauche, false},
                            {"Bob", 191, 80, T::droite, false},
                            {"Neil", 211, 80, T::gauche, false}}));
}

}  // namespace
