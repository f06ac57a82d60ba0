#include "store.h"

#include <gtest/gtest.h>

#include "temp_dir_test.h"

using namespace store;

namespace {

class StoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  Store s{dir.path()};

  void SetUp() override { s.today = [] { return std::string("15/06/2000"); }; }

  int make_dossier(const std::string &titre) {
    s.vide_dossier();
    s.dossier.set_titre(titre);
    return s.cree_dossier();
  }
  int add_support(const std::string &ref) {
    s.nouveau_support();
    s.support.set_reference(ref);
    s.ouvre_supports();
    int n = s.nombre_supports();
    s.ecrit_support(n);
    s.ferme_supports();
    return n;
  }
  int add_record(const std::string &titre) {
    s.nouveau_record();
    s.record.set_titre(titre);
    s.ouvre_records();
    int n = s.nombre_records();
    s.ecrit_record(n);
    s.ferme_records();
    return n;
  }
};

TEST_F(StoreTest, FileNamesPadTheDossierNumberToThreeDigits) {
  EXPECT_EQ(s.nom_fichier("SUPPORTS.", 7), dir.path() + "/SUPPORTS.007");
  EXPECT_EQ(s.nom_fichier("PLANNING.", 12), dir.path() + "/PLANNING.012");
  EXPECT_EQ(s.nom_fichier("CT.", 1000), dir.path() + "/CT.1000");
}

TEST_F(StoreTest, NewDossierCreatesItsFilesEmptyOnFirstOpen) {
  EXPECT_EQ(make_dossier("Films"), 0);
  EXPECT_EQ(s.dossier_courant, 0);
  s.ouvre_supports();
  EXPECT_EQ(s.nombre_supports(), 0);
  s.ouvre_records();
  EXPECT_EQ(s.nombre_records(), 0);
  for (const char *f : {"SUPPORTS.000", "RECORDS.000", "RECORDS1.000", "CT.000", "AWARD.000"}) {
    EXPECT_TRUE(dir.exists(f)) << f;
    EXPECT_EQ(dir.size(f), 0u) << f;
  }
  s.ouvre_planning();
  s.lit_planning();
  EXPECT_EQ(dir.size("PLANNING.000"), 490u);
  EXPECT_EQ(s.planning.date_prevue(1), "00/00/0000");
  EXPECT_EQ(s.planning.heure(10), "00:00");
  EXPECT_EQ(s.planning.film(5), "");
}

TEST_F(StoreTest, NewSupportAndRecordingTakeNumbersAndDefaults) {
  make_dossier("Films");
  s.nouveau_support();
  EXPECT_EQ(s.support.numero(), 1);
  EXPECT_EQ(s.support.date(), "15/06/2000");
  EXPECT_EQ(s.support.emprunt_au(), "15/06/2000");
  EXPECT_EQ(s.support.pret_a(), "");
  // The number is consumed even if the support is never written.
  s.ouvre_mainfile();
  s.lit_dossier(0);
  s.ferme_mainfile();
  EXPECT_EQ(s.dossier.dernier_support(), 1);

  add_support("A");
  s.support_courant = 0;
  s.nouveau_record();
  EXPECT_EQ(s.record.numero(), 1);
  EXPECT_EQ(s.record.numero_support(), 2);
  EXPECT_EQ(s.record.annee(), 2000);
  EXPECT_EQ(s.record.date(), "15/06/2000");
  EXPECT_EQ(s.generique.denomination(1), "");
}

TEST_F(StoreTest, RemovedSupportShiftsRecordsAndItsNumberIsNotReused) {
  make_dossier("Films");
  add_support("one");
  add_support("two");
  add_support("three");
  s.ouvre_supports();
  s.supprime_support(1);
  ASSERT_EQ(s.nombre_supports(), 2);
  s.lit_support(0);
  EXPECT_EQ(s.support.numero(), 1);
  s.lit_support(1);
  EXPECT_EQ(s.support.numero(), 3);
  EXPECT_EQ(s.support.reference(), "three");
  s.ferme_supports();
  s.nouveau_support();
  EXPECT_EQ(s.support.numero(), 4);
}

TEST_F(StoreTest, SecondRecordingsFileIsBackFilledToMatch) {
  make_dossier("Films");
  TDataRecord r;
  std::string five;
  for (int i = 0; i < 5; ++i) {
    r.set_numero(i + 1);
    five.append(reinterpret_cast<const char *>(r.bytes.data()), r.bytes.size());
  }
  dir.write("RECORDS.000", five);
  s.ouvre_records();
  EXPECT_EQ(dir.size("RECORDS1.000"), 5u * 246);
  EXPECT_EQ(dir.size("CT.000"), 0u);  // credits and awards are created empty, not filled
  s.ferme_records();
}

TEST_F(StoreTest, RemovingRecordingsKeepsTheFourFilesParallel) {
  make_dossier("Films");
  add_support("A");
  s.support_courant = 0;
  add_record("first");
  add_record("second");
  add_record("third");
  s.ouvre_records();
  s.lit_record(2);
  s.generique.set_nom(1, "kept with third");
  s.ecrit_record(2);
  s.supprime_record(1);
  EXPECT_EQ(s.nombre_records(), 2);
  s.lit_record(1);
  EXPECT_EQ(s.record.titre(), "third");
  EXPECT_EQ(s.generique.nom(1), "kept with third");
  s.supprime_record(0);
  s.supprime_record(0);
  s.ferme_records();
  for (const char *f : {"RECORDS.000", "RECORDS1.000", "CT.000", "AWARD.000"}) EXPECT_EQ(dir.size(f), 0u) << f;
  add_record("again");
  EXPECT_EQ(dir.size("CT.000"), 3690u);
}

TEST_F(StoreTest, DeletingASupportsRecordingsKeepsTheOthersInOrder) {
  make_dossier("Films");
  add_support("A");
  add_support("B");
  for (int i = 0; i < 600; ++i) {  // several scan blocks, interleaved supports
    s.support_courant = i % 3 == 0 ? 1 : 0;
    s.nouveau_record();
    s.record.set_titre("r" + std::to_string(i));
    s.generique.set_nom(1, "n" + std::to_string(i));
    s.ouvre_records();
    s.ecrit_record(s.nombre_records());
    s.ferme_records();
  }
  s.ouvre_records();
  EXPECT_EQ(s.supprime_records_du_support(2), 200);
  ASSERT_EQ(s.nombre_records(), 400);
  int k = 0;
  for (int i = 0; i < 600; ++i) {
    if (i % 3 == 0) continue;
    s.lit_record(k++);
    ASSERT_EQ(s.record.titre(), "r" + std::to_string(i));
    ASSERT_EQ(s.generique.nom(1), "n" + std::to_string(i));
  }
  EXPECT_EQ(s.supprime_records_du_support(1), 400);
  EXPECT_EQ(s.nombre_records(), 0);
  s.ferme_records();
  for (const char *f : {"RECORDS.000", "RECORDS1.000", "CT.000", "AWARD.000"}) EXPECT_EQ(dir.size(f), 0u) << f;
}

TEST_F(StoreTest, ShortParallelFileFailsWithoutWritingAnything) {
  make_dossier("Films");
  add_support("A");
  s.support_courant = 0;
  add_record("first");
  add_record("second");
  // Another program left the credits file one record short.
  dir.write("CT.000", dir.read("CT.000").substr(0, 3690));
  std::string records_before = dir.read("RECORDS.000");
  s.ouvre_records();
  try {
    s.lit_record(1);
    FAIL() << "reading past the credits file must fail";
  } catch (const StoreError &e) {
    EXPECT_EQ(e.operation(), "read");
    EXPECT_NE(e.file().find("CT.000"), std::string::npos);
  }
  s.record.set_titre("new");
  EXPECT_THROW(s.ecrit_record(2), StoreError);  // would leave a hole in the credits file
  EXPECT_THROW(s.supprime_record(0), StoreError);
  EXPECT_THROW(s.supprime_records_du_support(1), StoreError);
  s.ferme_records();
  EXPECT_EQ(dir.read("RECORDS.000"), records_before);
  EXPECT_THROW(s.scan_records([](int, const RecordingView &) {}), StoreError);
}

TEST_F(StoreTest, PartialTailIsIgnoredAndReadingPastTheEndFails) {
  make_dossier("Films");
  add_support("A");
  add_support("B");
  dir.write("SUPPORTS.000", dir.read("SUPPORTS.000") + std::string(10, 'z'));
  s.ouvre_supports();
  EXPECT_EQ(s.nombre_supports(), 2);
  EXPECT_THROW(s.lit_support(2), StoreError);
  EXPECT_THROW(s.ecrit_support(3), StoreError);
  s.ferme_supports();
  EXPECT_THROW(s.lit_support(0), StoreError);  // closed file
}

TEST_F(StoreTest, ScansLeaveTheCurrentBuffersAlone) {
  make_dossier("Films");
  add_support("A");
  add_support("B");
  s.support_courant = 1;
  for (int i = 0; i < 300; ++i) add_record("r" + std::to_string(i));  // more than one scan block
  s.ouvre_supports();
  s.lit_support(1);
  s.ferme_supports();
  s.ouvre_records();
  s.lit_record(7);
  s.ferme_records();
  TDataRecord current = s.record;
  int seen = 0;
  s.scan_records([&](int n, const RecordingView &v) {
    EXPECT_EQ(v.record.titre(), "r" + std::to_string(n));
    ++seen;
  });
  s.scan_supports([&](int, const TDataSupport &) {});
  EXPECT_EQ(seen, 300);
  EXPECT_EQ(s.record, current);
  EXPECT_EQ(s.support.reference(), "B");
}

TEST_F(StoreTest, FailuresNameTheFile) {
  Store nowhere(dir.file("missing/sub"));
  try {
    nowhere.ouvre_mainfile();
    FAIL();
  } catch (const StoreError &e) {
    EXPECT_EQ(e.operation(), "create");
    EXPECT_NE(e.file().find("MAINFILE"), std::string::npos);
  }
  s.dossier_courant = -1;
  EXPECT_THROW(s.ouvre_supports(), StoreError);
}

TEST_F(StoreTest, TitleChecksIgnoreTheOwnRecordAndCompareExactly) {
  make_dossier("Films");
  make_dossier("S\xe9ries");
  EXPECT_TRUE(s.titre_pris("Films", 1));
  EXPECT_FALSE(s.titre_pris("Films", 0));  // modifying dossier 0 without changing its title
  EXPECT_FALSE(s.titre_pris("FILMS", -1));
  make_dossier("FILMS");
  // Opening by title takes the last upper-cased match.
  EXPECT_EQ(s.trouve_dossier("films"), 2);
  EXPECT_EQ(s.trouve_dossier("Films"), 2);
  EXPECT_EQ(s.trouve_dossier("s\xe9ries"), 1);
  EXPECT_EQ(s.trouve_dossier("absent"), -1);
}

TEST_F(StoreTest, DeletingAMiddleDossierRenamesTheLaterFilesDown) {
  for (const char *t : {"zero", "one", "two"}) {
    make_dossier(t);
    add_support(std::string("support of ") + t);
    s.ouvre_planning();
    s.ferme_planning();
  }
  s.dossier_courant = 1;
  s.supprime_dossier(1);
  EXPECT_EQ(s.dossier_courant, -1);
  EXPECT_EQ(dir.size("MAINFILE"), 2u * 666);
  std::vector<TDataDossier> all = s.lit_dossiers();
  EXPECT_EQ(all[1].titre(), "two");
  EXPECT_FALSE(dir.exists("SUPPORTS.002"));
  EXPECT_FALSE(dir.exists("PLANNING.002"));
  EXPECT_TRUE(dir.exists("PLANNING.001"));
  s.dossier_courant = 1;
  s.ouvre_supports();
  s.lit_support(0);
  EXPECT_EQ(s.support.reference(), "support of two");
  s.ferme_supports();
  // Its counters came along: the next support of the former dossier 2 continues its numbering.
  s.nouveau_support();
  EXPECT_EQ(s.support.numero(), 2);
}

TEST_F(StoreTest, DeletingTheOnlyDossierLeavesNothingBehind) {
  make_dossier("only");
  add_support("A");
  s.support_courant = 0;
  add_record("r");
  s.ouvre_planning();
  s.ferme_planning();
  s.supprime_dossier(0);
  EXPECT_EQ(dir.size("MAINFILE"), 0u);
  for (const char *f : {"SUPPORTS.000", "RECORDS.000", "RECORDS1.000", "CT.000", "AWARD.000", "PLANNING.000"})
    EXPECT_FALSE(dir.exists(f)) << f;
  EXPECT_THROW(s.supprime_dossier(0), StoreError);
}

}  // namespace
