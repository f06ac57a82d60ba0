// Failed calls in the store's operations: each is reported naming the file; whole changes and
// reads leave every file as it was; changes that a check refuses are refused before any write.
#include <gtest/gtest.h>

#include <functional>

#include "catalogue.h"
#include "faulty_io.h"
#include "temp_dir.h"

using namespace store;

namespace {

using Operation = std::pair<const char *, std::function<void(Catalogue &)>>;

// Three dossiers, the middle one open; on each, recordings "a" and "c" on support A, "b" on B.
void build(Catalogue &c) {
  auto drame = [](Recording &r) { r.record.set_theme("Drame"); };
  c.liste(1, {"Drame"});
  for (const char *titre : {"zero", "one", "two"}) {
    c.dossier(titre).support("VHS", "A").record("a", drame);
    c.support("VHS", "B").record("b").sur(0).record("c");
  }
  c.store.ouvre_dossier(1);
}

TEST(StoreFaults, ShortParallelFileIsRefusedBeforeAnyWrite) {
  const Operation kRefused[] = {
      {"choisit_record", [](Catalogue &c) { c.store.choisit_record(1); }},
      {"scan_records", [](Catalogue &c) { c.recordings(); }},
      {"valide_record", [](Catalogue &c) { c.store.valide_record(c.store.recording()); }},  // a hole
      {"supprime_record", [](Catalogue &c) { c.store.choisit_record(0), c.store.supprime_record(); }},
      {"supprime_support", [](Catalogue &c) { c.store.supprime_support(); }},
  };
  for (const auto &[name, run] : kRefused) {
    SCOPED_TRACE(name);
    TempDir dir;
    Catalogue c(dir.path());
    c.dossier("Films").support("VHS", "A").record("first").record("second");
    c.store.nouveau_record();  // current at 2, where the credits file has no record before
    // Another program left the credits file one record short.
    dir.write("CT.000", dir.read("CT.000").substr(0, 3690));
    auto before = dir.snapshot();
    try {
      run(c);
      ADD_FAILURE() << "no failure";
    } catch (const StoreError &e) {
      EXPECT_EQ(e.file(), dir.file("CT.000")) << e.what();
    }
    EXPECT_TRUE(dir.snapshot() == before) << "the files changed";
  }
}

// Every call of the listed kinds fails in turn (k = 0 first counts them): the operation must
// throw naming a file of the data folder, never return as if it succeeded. Changes marked whole
// must then have changed nothing, and so must reads.
TEST(StoreFaults, EveryFailedCallIsReportedAndWholeChangesChangeNothing) {
  using Step = std::function<void(Catalogue &)>;
  using enum FaultyIo::Call;
  const std::vector<FaultyIo::Call> kChanges = {Write, Truncate};
  const Step valide_vide = [](Catalogue &c) { c.store.valide_record(Recording{}); };
  const struct {
    const char *name;
    Step set_up, run;
    std::vector<FaultyIo::Call> calls;
    bool whole;
  } kCases[] = {
      // One operation a line.
      // clang-format off
      {"cree_dossier", {}, [](auto &c) { c.dossier("new"); }, kChanges, false},
      {"modifie_dossier", {}, [](auto &c) { c.store.modifie_dossier(c.store.dossier()); }, kChanges, false},
      {"new support", {}, [](auto &c) { c.support("VHS", "C"); }, kChanges, false},
      {"existing support", {}, [](auto &c) { c.sur(1).store.valide_support(c.store.support()); },
       kChanges, false},
      {"supprime_support", {}, [](auto &c) { c.sur(0).store.supprime_support(); }, kChanges, false},
      {"supprime_record", {}, [](auto &c) { c.store.choisit_record(0), c.store.supprime_record(); },
       kChanges, false},
      {"Remplace_valeur", {}, [](auto &c) { Remplace_valeur(c.store, 1, "Drame", "Trag\351die"); },
       kChanges, false},
      {"ecrit_liste", {}, [](auto &c) { c.liste(1, {"Western"}); }, {Write, Truncate, Sync, Rename}, true},
      // A new recording has its number taken before; a changed one is recording 0.
      {"new recording", [](auto &c) { c.sur(1).store.nouveau_record(); }, valide_vide, kChanges, true},
      {"changed recording", [](auto &c) { c.store.choisit_record(0); }, valide_vide, kChanges, true},
      // Dossier 1 has every file, its planning included.
      {"supprime_dossier", [](auto &c) { c.store.ecrit_planning(c.store.lit_planning()); },
       [](auto &c) { c.store.supprime_dossier(1); }, {Rename, Write, Truncate, Sync}, true},
      {"lit_dossiers", {}, [](auto &c) { c.store.lit_dossiers(); }, {Open}, true},
      {"lit_liste", {}, [](auto &c) { lit_liste(c.store, 1); }, {Open}, true},
      {"scan_records", {}, [](auto &c) { c.recordings(); }, {Open}, true},
      {"choisit_support", {}, [](auto &c) { c.store.choisit_support(0); }, {Open}, true},
      // clang-format on
  };
  for (const auto &op : kCases) {
    for (FaultyIo::Call call : op.calls) {
      for (int k = 0, calls = 0; k <= calls; ++k) {
        SCOPED_TRACE(std::string(op.name) + ", call kind " + std::to_string(call) + ", call " +
                     std::to_string(k));
        TempDir dir;
        FaultyIo io;
        Catalogue c(dir.path(), io);
        build(c);
        if (op.set_up) op.set_up(c);
        const auto before = dir.snapshot();
        io.arm(call, k);
        try {
          op.run(c);
          calls = io.count(call);
          EXPECT_EQ(k, 0) << "returned as if it succeeded";
        } catch (const StoreError &e) {
          EXPECT_NE(k, 0) << e.what();
          EXPECT_EQ(e.file().rfind(dir.path() + "/", 0), 0u) << e.what();
          EXPECT_TRUE(!op.whole || dir.snapshot() == before) << e.what();
        }
      }
    }
  }
}

}  // namespace
