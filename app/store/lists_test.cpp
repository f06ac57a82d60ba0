#include "lists.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

using namespace store;

namespace {

class ListsTest : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  Store &s = c.store;

  // Two dossiers, each with one support and two recordings carrying the given wordings.
  void SetUp() override {
    for (int d = 0; d < 2; ++d) {
      // The first support type has 21 characters and is stored cut to 20.
      c.dossier("D" + std::to_string(d))
          .support(d == 0 ? "VHS longue durée 240m" : "VHS", "",
                   [](TDataSupport &sup) { sup.set_qualite("Bonne"); });
      for (const char *theme : {"Drame", "drame"})
        c.record("", [&](Recording &r) {
          r.record.set_theme(theme);
          r.record.set_qualite("Bonne");
          r.record1.set_format("4/3");
          r.generique.set_denomination(3, "Acteur");
          r.generique.set_denomination(30, "Acteur");
          r.recompense.set_recompense(2, "Palme");
          r.recompense.set_categorie(10, "Film");
        });
    }
  }
};

// parametres_test saves a shorter list over a longer one.
TEST_F(ListsTest, MissingListReadsEmptyAndEntriesKeepFileOrder) {
  EXPECT_TRUE(lit_liste(s, 1).empty());
  EXPECT_FALSE(dir.exists("THEME"));
  ecrit_liste(s, 1, {"Western", "", "Drame", std::string(45, 'x')});
  EXPECT_EQ(dir.size("THEME"), 4u * 41);
  EXPECT_EQ(lit_liste(s, 1), (std::vector<std::string>{"Western", "", "Drame", std::string(40, 'x')}));
  // The awards list and a dossier's awards file are different files.
  ecrit_liste(s, 7, {"Oscar"});
  EXPECT_EQ(dir.size("AWARD"), 41u);
  EXPECT_EQ(dir.size("AWARD.000"), 2u * 870);
  EXPECT_THROW(lit_liste(s, 13), std::out_of_range);
}

TEST_F(ListsTest, RenamesReachTheFieldsOfTheirKindInEveryDossierButNeverEmptyValuesNorTheCurrentState) {
  s.ouvre_dossier(1);
  s.choisit_record(1);
  TDataRecord current = s.record();

  // Kind, old and new wording, the field it names, how many of the four recordings change.
  using Field = std::string (*)(const Recording &);
  const std::tuple<int, const char *, const char *, Field, int> kCases[] = {
      {1, "Drame", "Tragédie", [](const Recording &r) { return r.record.theme(); }, 2},  // exact matches only
      {9, "Bonne", "Très bonne", [](const Recording &r) { return r.record.qualite(); }, 4},
      {10, "Acteur", "Interprète", [](const Recording &r) { return r.generique.denomination(3); }, 4},
      {10, "Acteur", "Interprète", [](const Recording &r) { return r.generique.denomination(30); }, 4},
      {7, "Palme", "Palme d'or", [](const Recording &r) { return r.recompense.recompense(2); }, 4},
      {11, "Film", "Meilleur film", [](const Recording &r) { return r.recompense.categorie(10); }, 4},
      {12, "4/3", "Plein écran", [](const Recording &r) { return r.record1.format(); }, 4},
      // A freshly added, empty entry being named: empty values are never touched.
      {4, "", "Version originale", [](const Recording &r) { return r.record.version(); }, 0},
  };
  for (const auto &[kind, from, to, field, renamed] : kCases) {
    Remplace_valeur(s, kind, from, to);
    int seen = 0;
    for (int d = 0; d < 2; ++d)
      for (const Recording &r : c.recordings(d)) seen += field(r) == to;
    EXPECT_EQ(seen, renamed) << kind << " " << from;
  }
  for (int d = 0; d < 2; ++d) EXPECT_EQ(c.supports(d)[0].qualite(), "Très bonne");
  // Support types are matched and stored cut to 20 characters.
  Remplace_valeur(s, 8, "VHS longue durée 240m", "x");  // the stored value was cut: no match
  EXPECT_NE(c.supports(0)[0].support(), "x");
  Remplace_valeur(s, 8, "VHS", "Video Home System - longue");
  EXPECT_EQ(c.supports(1)[0].support(), "Video Home System - ");
  // The open dossier's current record stays as it was read, even when its own value is renamed.
  Remplace_valeur(s, 1, "drame", "Drame noir");
  EXPECT_EQ(s.record(), current);
  EXPECT_EQ(std::pair(s.dossier_courant(), s.record_courant()), std::pair(1, 1));
}

}  // namespace
