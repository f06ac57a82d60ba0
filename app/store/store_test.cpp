#include "store.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "faulty_io.h"
#include "temp_dir.h"

using namespace store;

namespace {

const char *const kRecordingFiles[] = {"RECORDS.000", "RECORDS1.000", "CT.000", "AWARD.000"};

class StoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  Store &s = c.store;
};

TEST_F(StoreTest, DossierFilesAreCreatedOnFirstUse) {
  c.dossier("Films");
  dir.write("RECORDS.000", std::string(5 * 1017, '\0'));  // written without its parallel files
  RecordingFiles files;
  s.open_recording_files(0, files);
  EXPECT_EQ(dir.size("RECORDS1.000"), 5u * 246);              // back-filled to match
  EXPECT_EQ(dir.size("CT.000") + dir.size("AWARD.000"), 0u);  // created empty, not filled
  EXPECT_EQ(s.nombre_supports(), 0);
  EXPECT_EQ(dir.size("SUPPORTS.000"), 0u);
  EXPECT_EQ(s.lit_planning(), Store::planning_defaut());
  EXPECT_EQ(dir.size("PLANNING.000"), 490u);
  EXPECT_EQ(Store::planning_defaut().heure(10), "00:00");
}

TEST_F(StoreTest, NewSupportAndRecordingTakeNumbersAndDefaults) {
  c.dossier("Films");
  s.nouveau_support();
  EXPECT_EQ(s.support().numero(), 1);
  EXPECT_EQ(s.support().date(), kToday);
  EXPECT_EQ(s.support().emprunt_au(), kToday);
  EXPECT_EQ(s.nombre_supports(), 0);  // nothing is written until it is validated
  s.relit_dossier();
  EXPECT_EQ(s.dossier().dernier_support(), 1);  // but the number is consumed

  c.support("VHS", "A");
  s.nouveau_record();
  EXPECT_EQ(s.record_courant(), 0);
  EXPECT_EQ(s.record().numero(), 1);
  EXPECT_EQ(s.record().numero_support(), 2);
  EXPECT_EQ(s.record().annee(), 2000);
  EXPECT_EQ(s.record().date(), kToday);
  s.choisit_support(-1);
  EXPECT_THROW(s.nouveau_record(), StoreError);
}

TEST_F(StoreTest, SupportsAreRewrittenInPlaceAndRemovedWithoutReusingTheirNumbers) {
  c.dossier("Films").support("VHS", "one").support("VHS", "two").support("VHS", "three");
  dir.write("SUPPORTS.000", dir.read("SUPPORTS.000") + std::string(10, 'z'));  // a partial record
  EXPECT_EQ(s.nombre_supports(), 3);
  EXPECT_THROW(s.choisit_support(3), StoreError);
  s.choisit_support(2);
  TDataSupport edited = s.support();
  edited.set_observation("rewritten in place");
  s.valide_support(edited);
  s.choisit_support(1);
  EXPECT_EQ(s.supprime_support(), 0);
  EXPECT_EQ(s.support_courant(), -1);
  std::vector<TDataSupport> left = c.supports();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].numero(), 1);
  EXPECT_EQ(left[1].numero(), 3);
  EXPECT_EQ(left[1].observation(), "rewritten in place");
  c.support("VHS", "four");
  EXPECT_EQ(s.support().numero(), 4);
  EXPECT_EQ(dir.size("SUPPORTS.000"), 3u * 1004);  // the partial record went with the removal
}

TEST_F(StoreTest, RemovingRecordingsKeepsTheFourFilesParallel) {
  c.dossier("Films").support("VHS", "A").record("first").record("second").record("third");
  s.choisit_record(2);
  Recording third = s.recording();
  third.generique.set_nom(1, "kept with third");
  s.valide_record(third);
  s.choisit_record(1);
  s.supprime_record();
  EXPECT_EQ(s.record_courant(), -1);
  std::vector<Recording> left = c.recordings();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].record.titre(), "third");
  EXPECT_EQ(left[1].generique.nom(1), "kept with third");
  for (int i = 0; i < 2; ++i) {
    s.choisit_record(0);
    s.supprime_record();
  }
  for (const char *f : kRecordingFiles) EXPECT_EQ(dir.size(f), 0u) << f;
}

TEST_F(StoreTest, DeletingASupportTakesItsRecordingsAndKeepsTheOthersInOrder) {
  c.dossier("Films").support("VHS", "A").support("VHS", "B");
  for (int i = 0; i < 600; ++i)  // several scan blocks, interleaved supports
    c.sur(i % 3 == 0 ? 1 : 0).record("r" + std::to_string(i), [&](Recording &r) {
      r.generique.set_nom(1, "n" + std::to_string(i));
    });
  s.choisit_support(1);
  EXPECT_EQ(s.supprime_support(), 200);
  std::vector<Recording> left = c.recordings();
  ASSERT_EQ(left.size(), 400u);
  for (std::size_t i = 0, k = 0; i < 600; ++i) {
    if (i % 3 == 0) continue;
    ASSERT_EQ(left[k].record.titre(), "r" + std::to_string(i));
    ASSERT_EQ(left[k++].generique.nom(1), "n" + std::to_string(i));
  }
  s.choisit_support(0);
  EXPECT_EQ(s.supprime_support(), 400);
  for (const char *f : kRecordingFiles) EXPECT_EQ(dir.size(f), 0u) << f;
  EXPECT_EQ(dir.size("SUPPORTS.000"), 0u);
}

TEST_F(StoreTest, FailuresNameTheFile) {
  FaultyIo io;
  io.arm(FaultyIo::Open, 1, true);
  try {
    Store(dir.path(), io).lit_dossiers();
    ADD_FAILURE();
  } catch (const StoreError &e) {
    EXPECT_EQ(e.operation(), "create");
    EXPECT_EQ(e.file(), dir.file("MAINFILE"));
  }
  EXPECT_THROW(s.nombre_supports(), StoreError);  // no dossier is open
}

TEST_F(StoreTest, DossiersAreModifiedInPlaceAndFoundByTitle) {
  c.dossier("Films").dossier("S\xe9ries");
  s.ouvre_dossier(0);
  TDataDossier d = s.dossier();
  d.set_notes("notes");
  s.modifie_dossier(d);
  EXPECT_EQ(s.lit_dossiers()[0].notes(), "notes");
  EXPECT_EQ(dir.size("MAINFILE"), 2u * 666);
  EXPECT_THROW(s.ouvre_dossier(2), StoreError);
  // Title checks ignore the dossier's own record and compare exactly.
  EXPECT_TRUE(s.titre_pris("Films", 1));
  EXPECT_FALSE(s.titre_pris("Films", 0));  // modifying dossier 0 without changing its title
  EXPECT_FALSE(s.titre_pris("FILMS", -1));
  c.dossier("FILMS");
  // Opening by title takes the last upper-cased match.
  EXPECT_EQ(s.trouve_dossier("films"), 2);
  EXPECT_EQ(s.trouve_dossier("Films"), 2);
  EXPECT_EQ(s.trouve_dossier("s\xe9ries"), 1);
  EXPECT_EQ(s.trouve_dossier("absent"), -1);
}

TEST_F(StoreTest, DeletedDossiersTakeTheirFilesAndTheLaterOnesMoveDown) {
  for (std::string t : {"zero", "one", "two"}) {
    c.dossier(t).support("VHS", "support of " + t).record("r");
    s.lit_planning();
  }
  s.supprime_dossier(1);
  EXPECT_EQ(s.dossier_courant(), -1);
  EXPECT_EQ(dir.size("MAINFILE"), 2u * 666);
  EXPECT_EQ(s.lit_dossiers()[1].titre(), "two");
  EXPECT_FALSE(dir.exists("SUPPORTS.002"));
  EXPECT_FALSE(dir.exists("PLANNING.002"));
  EXPECT_TRUE(dir.exists("PLANNING.001"));
  s.ouvre_dossier(1);
  EXPECT_EQ(c.supports()[0].reference(), "support of two");
  // Its counters came along: the next support of the former dossier 2 continues its numbering.
  s.nouveau_support();
  EXPECT_EQ(s.support().numero(), 2);
  // The last dossier's files are simply removed.
  s.supprime_dossier(1);
  s.supprime_dossier(0);
  EXPECT_EQ(dir.size("MAINFILE"), 0u);
  for (std::string f : {"SUPPORTS.", "RECORDS.", "RECORDS1.", "CT.", "AWARD.", "PLANNING."})
    EXPECT_FALSE(dir.exists(f + "000") || dir.exists(f + "001")) << f;
  EXPECT_THROW(s.supprime_dossier(0), StoreError);
}

}  // namespace
