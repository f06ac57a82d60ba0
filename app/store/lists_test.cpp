#include "lists.h"

#include <gtest/gtest.h>

#include "store.h"
#include "temp_dir_test.h"

using namespace store;

namespace {

class ListsTest : public ::testing::Test {
 protected:
  TempDir dir;
  Store s{dir.path()};

  // Two dossiers, each with one support and two recordings carrying the given wordings.
  void SetUp() override {
    for (int d = 0; d < 2; ++d) {
      s.vide_dossier();
      s.dossier.set_titre("D" + std::to_string(d));
      s.cree_dossier();
      s.nouveau_support();
      s.support.set_support(d == 0 ? "VHS longue durée 240m" : "VHS");  // 21 characters, cut to 20
      s.support.set_qualite("Bonne");
      s.ouvre_supports();
      s.ecrit_support(0);
      s.support_courant = 0;
      s.ferme_supports();
      for (const char *theme : {"Drame", "drame"}) {
        s.nouveau_record();
        s.record.set_theme(theme);
        s.record.set_qualite("Bonne");
        s.record1.set_format("4/3");
        s.generique.set_denomination(3, "Acteur");
        s.generique.set_denomination(30, "Acteur");
        s.recompense.set_recompense(2, "Palme");
        s.recompense.set_categorie(10, "Film");
        s.ouvre_records();
        s.ecrit_record(s.nombre_records());
        s.ferme_records();
      }
    }
  }

  template <class F>
  void each_record(F f) {
    for (int d = 0; d < 2; ++d) s.scan_records([&](int, const RecordingView &v) { f(v); }, d);
  }
};

TEST_F(ListsTest, MissingListIsCreatedEmptyAndEntriesKeepFileOrder) {
  EXPECT_TRUE(lit_liste(s, 1).empty());
  EXPECT_TRUE(dir.exists("THEME"));
  ecrit_liste(s, 1, {"Western", "", "Drame", std::string(45, 'x')});
  EXPECT_EQ(dir.size("THEME"), 4u * 41);
  std::vector<std::string> back = lit_liste(s, 1);
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[0], "Western");
  EXPECT_EQ(back[1], "");
  EXPECT_EQ(back[3], std::string(40, 'x'));
  ecrit_liste(s, 1, {"Seul"});
  EXPECT_EQ(lit_liste(s, 1), std::vector<std::string>{"Seul"});
  // The awards list and a dossier's awards file are different files.
  ecrit_liste(s, 7, {"Oscar"});
  EXPECT_EQ(dir.size("AWARD"), 41u);
  EXPECT_EQ(dir.size("AWARD.000"), 2u * 870);
  EXPECT_THROW(lit_liste(s, 13), std::out_of_range);
}

TEST_F(ListsTest, RenamingAThemeChangesExactMatchesInEveryDossier) {
  Remplace_valeur(s, 1, "Drame", "Tragédie");
  int renamed = 0, kept = 0;
  each_record([&](const RecordingView &v) {
    if (v.record.theme() == "Tragédie") ++renamed;
    if (v.record.theme() == "drame") ++kept;
  });
  EXPECT_EQ(renamed, 2);
  EXPECT_EQ(kept, 2);
}

TEST_F(ListsTest, SupportTypesAreMatchedAndStoredCutToTwentyCharacters) {
  Remplace_valeur(s, 8, "VHS longue durée 240m", "x");  // the stored value was cut: no match
  s.scan_supports([](int, const TDataSupport &sup) { EXPECT_NE(sup.support(), "x"); }, 0);
  Remplace_valeur(s, 8, "VHS", "Video Home System - longue");
  s.scan_supports([](int, const TDataSupport &sup) { EXPECT_EQ(sup.support(), "Video Home System - "); }, 1);
}

TEST_F(ListsTest, QualityRenamesSupportsAndRecordings) {
  Remplace_valeur(s, 9, "Bonne", "Très bonne");
  for (int d = 0; d < 2; ++d)
    s.scan_supports([](int, const TDataSupport &sup) { EXPECT_EQ(sup.qualite(), "Très bonne"); }, d);
  each_record([](const RecordingView &v) { EXPECT_EQ(v.record.qualite(), "Très bonne"); });
}

TEST_F(ListsTest, CreditAwardAndFormatColumnsFollowTheirKinds) {
  Remplace_valeur(s, 10, "Acteur", "Interprète");
  Remplace_valeur(s, 7, "Palme", "Palme d'or");
  Remplace_valeur(s, 11, "Film", "Meilleur film");
  Remplace_valeur(s, 12, "4/3", "Plein écran");
  each_record([](const RecordingView &v) {
    EXPECT_EQ(v.generique.denomination(3), "Interprète");
    EXPECT_EQ(v.generique.denomination(30), "Interprète");
    EXPECT_EQ(v.generique.denomination(1), "");
    EXPECT_EQ(v.recompense.recompense(2), "Palme d'or");
    EXPECT_EQ(v.recompense.categorie(10), "Meilleur film");
    EXPECT_EQ(v.record1.format(), "Plein écran");
  });
}

TEST_F(ListsTest, EmptyValuesAreNeverTouchedAndCurrentStateStays) {
  s.dossier_courant = 1;
  s.ouvre_records();
  s.lit_record(1);
  s.ferme_records();
  TDataRecord current = s.record;
  Remplace_valeur(s, 4, "", "Version originale");  // a freshly added, empty entry being named
  each_record([](const RecordingView &v) { EXPECT_EQ(v.record.version(), ""); });
  Remplace_valeur(s, 1, "drame", "Drame noir");
  EXPECT_EQ(s.record, current);
  EXPECT_EQ(s.dossier_courant, 1);
}

}  // namespace
