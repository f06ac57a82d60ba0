// Failed writes and truncations in every operation that writes: the operation must say so and
// name the file. Changes that are refused by a check are made before any write.
#include <gtest/gtest.h>

#include <functional>

#include "catalogue.h"
#include "faulty_io.h"
#include "lists.h"
#include "temp_dir.h"

using namespace store;

namespace {

struct Operation {
  const char *name;
  std::function<void(Catalogue &)> prepare, run;
};

void nothing(Catalogue &) {}

// Three dossiers, the middle one open; on each, recordings "a" and "c" on support A, "b" on B.
void build(Catalogue &c) {
  c.liste(1, {"Drame"});
  for (const char *titre : {"zero", "one", "two"})
    c.dossier(titre)
        .support("VHS", "A")
        .record("a", [](Recording &r) { r.record.set_theme("Drame"); })
        .support("VHS", "B")
        .record("b")
        .sur(0)
        .record("c");
  c.store.ouvre_dossier(1);
}

const Operation kWriting[] = {
    {"cree_dossier", nothing, [](Catalogue &c) { c.dossier("new"); }},
    {"modifie_dossier", nothing, [](Catalogue &c) { c.store.modifie_dossier(c.store.dossier()); }},
    {"new support", nothing, [](Catalogue &c) { c.support("VHS", "C"); }},
    {"existing support", [](Catalogue &c) { c.store.choisit_support(1); },
     [](Catalogue &c) { c.store.valide_support(c.store.support()); }},
    {"supprime_support", [](Catalogue &c) { c.store.choisit_support(0); },
     [](Catalogue &c) { c.store.supprime_support(); }},
    {"new recording", [](Catalogue &c) { c.store.choisit_support(1); }, [](Catalogue &c) { c.record("d"); }},
    {"supprime_record", [](Catalogue &c) { c.store.choisit_record(0); },
     [](Catalogue &c) { c.store.supprime_record(); }},
    {"supprime_dossier", nothing, [](Catalogue &c) { c.store.supprime_dossier(1); }},
    {"ecrit_liste", nothing, [](Catalogue &c) { c.liste(1, {"Western", "Drame"}); }},
    {"Remplace_valeur", nothing, [](Catalogue &c) { Remplace_valeur(c.store, 1, "Drame", "Trag\xe9" "die"); }},
};

TEST(StoreFaults, EveryFailedWriteOrTruncationThrowsNamingAFile) {
  for (const Operation &op : kWriting) {
    for (FaultyIo::Call call : {FaultyIo::Write, FaultyIo::Truncate}) {
      int calls = 0;
      // k = 0 counts the calls the operation makes; then each of them fails in turn.
      for (int k = 0; k <= calls; ++k) {
        SCOPED_TRACE(std::string(op.name) + (call == FaultyIo::Write ? ", write " : ", truncation ") +
                     std::to_string(k));
        TempDir dir;
        FaultyIo io;
        Catalogue c(dir.path(), io);
        build(c);
        op.prepare(c);
        io.arm(call, k);
        try {
          op.run(c);
          if (k == 0) calls = io.count(call);
          EXPECT_EQ(k, 0) << "returned as if it succeeded";
        } catch (const StoreError &e) {
          EXPECT_NE(k, 0) << e.what();
          EXPECT_EQ(io.failed(), 1);
          EXPECT_EQ(e.file().rfind(dir.path() + "/", 0), 0u) << e.what();
        }
      }
      if (call == FaultyIo::Write) {
        EXPECT_GT(calls, 0) << op.name;
      }
    }
  }
}

TEST(StoreFaults, ShortParallelFileIsRefusedBeforeAnyWrite) {
  const Operation kRefused[] = {
      {"choisit_record", nothing, [](Catalogue &c) { c.store.choisit_record(1); }},
      {"scan_records", nothing, [](Catalogue &c) { c.recordings(); }},
      {"valide_record", [](Catalogue &c) { c.store.nouveau_record(); },  // would leave a hole
       [](Catalogue &c) { c.store.valide_record(c.store.recording()); }},
      {"supprime_record", [](Catalogue &c) { c.store.choisit_record(0); },
       [](Catalogue &c) { c.store.supprime_record(); }},
      {"supprime_support", nothing, [](Catalogue &c) { c.store.supprime_support(); }},
  };
  for (const Operation &op : kRefused) {
    SCOPED_TRACE(op.name);
    TempDir dir;
    Catalogue c(dir.path());
    c.dossier("Films").support("VHS", "A").record("first").record("second");
    // Another program left the credits file one record short.
    dir.write("CT.000", dir.read("CT.000").substr(0, 3690));
    op.prepare(c);
    auto before = dir.snapshot();
    try {
      op.run(c);
      ADD_FAILURE() << "no failure";
    } catch (const StoreError &e) {
      EXPECT_EQ(e.file(), dir.file("CT.000")) << e.what();
    }
    EXPECT_EQ(dir.snapshot(), before);
  }
}

}  // namespace
