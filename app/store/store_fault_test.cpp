// Failed writes and truncations in every operation that writes: the operation must say so and
// name the file. Changes that a check refuses are refused before anything is written.
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

TEST(StoreFaults, EveryFailedWriteOrTruncationThrowsNamingAFile) {
  // Choosing a support or a recording only reads.
  const Operation kWriting[] = {
      {"cree_dossier", [](Catalogue &c) { c.dossier("new"); }},
      {"modifie_dossier", [](Catalogue &c) { c.store.modifie_dossier(c.store.dossier()); }},
      {"new support", [](Catalogue &c) { c.support("VHS", "C"); }},
      {"existing support", [](Catalogue &c) { c.sur(1).store.valide_support(c.store.support()); }},
      {"supprime_support", [](Catalogue &c) { c.sur(0).store.supprime_support(); }},
      {"new recording", [](Catalogue &c) { c.sur(1).record("d"); }},
      {"supprime_record", [](Catalogue &c) { c.store.choisit_record(0), c.store.supprime_record(); }},
      {"supprime_dossier", [](Catalogue &c) { c.store.supprime_dossier(1); }},
      {"ecrit_liste", [](Catalogue &c) { c.liste(1, std::vector<std::string>(3, "Western")); }},
      {"Remplace_valeur", [](Catalogue &c) { Remplace_valeur(c.store, 1, "Drame", "Trag\351die"); }},
  };
  for (const auto &[name, run] : kWriting) {
    for (FaultyIo::Call call : {FaultyIo::Write, FaultyIo::Truncate}) {
      // k = 0 counts the calls the operation makes; then each of them fails in turn.
      for (int k = 0, calls = 0; k <= calls; ++k) {
        SCOPED_TRACE(std::string(name) + (call == FaultyIo::Write ? ", write " : ", truncation ") +
                     std::to_string(k));
        TempDir dir;
        FaultyIo io;
        Catalogue c(dir.path(), io);
        build(c);
        io.arm(call, k);
        try {
          run(c);
          calls = io.count(call);
          EXPECT_EQ(k, 0) << "returned as if it succeeded";
          EXPECT_TRUE(call == FaultyIo::Truncate || calls > 0);
        } catch (const StoreError &e) {
          EXPECT_NE(k, 0) << e.what();
          EXPECT_EQ(e.file().rfind(dir.path() + "/", 0), 0u) << e.what();
        }
      }
    }
  }
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

// Changes that must be whole or nothing under a failed call, and reads that must never change
// a file: each call of the listed kinds fails in turn, until the operation makes fewer calls.
TEST(StoreFaults, AFailedCallChangesNothing) {
  using Step = std::function<void(Catalogue &)>;
  const struct {
    const char *name;
    Step set_up, run;
    std::vector<FaultyIo::Call> calls;
  } kCases[] = {
      {"lit_dossiers", {}, [](Catalogue &c) { c.store.lit_dossiers(); }, {FaultyIo::Open}},
      {"lit_liste", {}, [](Catalogue &c) { lit_liste(c.store, 1); }, {FaultyIo::Open}},
      {"scan_records", {}, [](Catalogue &c) { c.recordings(); }, {FaultyIo::Open}},
      {"choisit_support", {}, [](Catalogue &c) { c.store.choisit_support(0); }, {FaultyIo::Open}},
      // Dossier 1 has every file, its planning included.
      {"supprime_dossier",
       [](Catalogue &c) { c.store.ecrit_planning(c.store.lit_planning()); },
       [](Catalogue &c) { c.store.supprime_dossier(1); },
       {FaultyIo::Rename, FaultyIo::Write, FaultyIo::Truncate, FaultyIo::Sync}},
      // A new recording has its number taken before; a changed one is recording 0.
      {"new recording",
       [](Catalogue &c) { c.sur(1).store.nouveau_record(); },
       [](Catalogue &c) { c.store.valide_record(Recording{}); },
       {FaultyIo::Write}},
      {"changed recording",
       [](Catalogue &c) { c.store.choisit_record(0); },
       [](Catalogue &c) { c.store.valide_record(Recording{}); },
       {FaultyIo::Write}},
  };
  for (const auto &k : kCases) {
    for (FaultyIo::Call call : k.calls) {
      for (int n = 1;; ++n) {
        SCOPED_TRACE(std::string(k.name) + ", call kind " + std::to_string(call) + ", call " +
                     std::to_string(n));
        TempDir dir;
        FaultyIo io;
        Catalogue c(dir.path(), io);
        build(c);
        if (k.set_up) k.set_up(c);
        const auto before = dir.snapshot();
        io.arm(call, n);
        try {
          k.run(c);
          EXPECT_GT(n, 1) << "no call of this kind";
          break;
        } catch (const StoreError &e) {
          EXPECT_TRUE(dir.snapshot() == before) << e.what();
        }
      }
    }
  }
}

}  // namespace
