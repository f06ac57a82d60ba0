// Failed calls in the store's operations: each is reported naming the file; whole changes and
// reads leave every file as it was; changes that a check refuses are refused before any write.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>
#include <memory>

#include "catalogue.h"
#include "check.h"
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

// Every call of every kind fails in turn, once or from then on. The operation throws naming a
// file of the data folder, or returns having done all of its work. After the next start (the
// journal played back, side files removed) check is clean and the files are as before the
// operation when it threw, as after it when it returned; a read changes nothing.
TEST(StoreFaults, EachFailedCallLeavesTheFilesAsBeforeOrAsAfter) {
  TempDir model;
  Catalogue built(model.path());
  build(built);
  const auto files = model.snapshot();
  using Step = std::function<void(Catalogue &)>;
  const Step valide_vide = [](Catalogue &c) { c.store.valide_record(Recording{}); };
  const struct {
    const char *name;
    Step set_up, run;
  } kCases[] = {
      // One operation a line.
      // clang-format off
      {"cree_dossier", {}, [](auto &c) { c.dossier("new"); }},
      {"modifie_dossier", {}, [](auto &c) { c.store.modifie_dossier(c.store.dossier()); }},
      {"nouveau_support", {}, [](auto &c) { c.store.nouveau_support(); }},
      {"new support", [](auto &c) { c.store.nouveau_support(); },
       [](auto &c) { c.store.valide_support(c.store.support()); }},
      {"existing support", {}, [](auto &c) { c.sur(1).store.valide_support(c.store.support()); }},
      {"supprime_support", {}, [](auto &c) { c.sur(0).store.supprime_support(); }},
      {"supprime_record", [](auto &c) { c.store.choisit_record(0); }, [](auto &c) { c.store.supprime_record(); }},
      {"Remplace_valeur", {}, [](auto &c) { Remplace_valeur(c.store, 1, "Drame", "Trag\351die"); }},
      {"ecrit_liste", {}, [](auto &c) { c.liste(1, {"Western"}); }},
      {"ecrit_planning", {}, [](auto &c) { c.store.ecrit_planning(Store::planning_defaut()); }},
      {"new recording", [](auto &c) { c.sur(1).store.nouveau_record(); }, valide_vide},
      {"changed recording", [](auto &c) { c.store.choisit_record(0); }, valide_vide},
      // Dossier 1 has every file, its planning included.
      {"supprime_dossier", [](auto &c) { c.store.ecrit_planning(c.store.lit_planning()); },
       [](auto &c) { c.store.supprime_dossier(1); }},
      {"lit_dossiers", {}, [](auto &c) { c.store.lit_dossiers(); }},
      {"lit_liste", {}, [](auto &c) { lit_liste(c.store, 1); }},
      {"scan_records", {}, [](auto &c) { c.recordings(); }},
      {"choisit_support", {}, [](auto &c) { c.store.choisit_support(0); }},
      // clang-format on
  };
  for (const auto &op : kCases) {
    std::map<std::string, std::string> after;
    std::array<int, FaultyIo::kCalls> calls{};
    auto attempt = [&](FaultyIo::Call call, int k, bool sticky) {
      SCOPED_TRACE(std::string(op.name) + ", call kind " + std::to_string(call) + ", call " +
                   std::to_string(k) + (sticky ? " and later" : ""));
      TempDir dir;
      for (const auto &[name, bytes] : files) dir.write(name, bytes);
      FaultyIo io;
      Catalogue c(dir.path(), io);
      c.store.ouvre_dossier(1);
      if (op.set_up) op.set_up(c);
      const auto before = dir.snapshot();
      io.arm(call, k, sticky);
      bool threw = false;
      try {
        op.run(c);
      } catch (const StoreError &e) {
        threw = true;
        EXPECT_NE(k, 0) << e.what();
        EXPECT_EQ(e.file().rfind(dir.path() + "/", 0), 0u) << e.what();
      }
      Store next(dir.path());
      repare(next);
      EXPECT_EQ(verifie(next), std::vector<Probleme>{});
      if (k == 0) {
        after = dir.snapshot();
        for (int i = 0; i < FaultyIo::kCalls; ++i) calls[i] = io.count(FaultyIo::Call(i));
      }
      EXPECT_TRUE(dir.snapshot() == (threw ? before : after)) << (threw ? "not as before" : "not as after");
    };
    attempt(FaultyIo::Open, 0, false);
    for (int call = 0; call < FaultyIo::kCalls; ++call)
      for (int k = 1; k <= calls[call]; ++k)
        for (bool sticky : {false, true}) attempt(FaultyIo::Call(call), k, sticky);
  }
}

TEST(StoreFaults, ReadOnlyCatalogueReadsAndRefusesChanges) {
  TempDir dir;
  build(*std::make_unique<Catalogue>(dir.path()));
  const auto before = dir.snapshot();
  FaultyIo io;
  io.read_only = true;
  Catalogue c(dir.path(), io);
  EXPECT_TRUE(c.store.lecture_seule());
  c.store.ouvre_dossier(1);
  EXPECT_EQ(c.recordings().size(), 3u);
  EXPECT_THROW(c.store.nouveau_support(), StoreError);
  EXPECT_TRUE(dir.snapshot() == before);
}

}  // namespace
