// A catalogue written through the store's own operations, for tests: each call adds to what the
// calls before it made, on a fixed today.
//   Catalogue c(dir.path());
//   c.liste(1, {"Drame"}).dossier("Films").support("VHS", "K7-001").record("Titre", [](store::Recording &r) {
//     r.record.set_theme("Drame");
//   });
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lists.h"
#include "store.h"

inline constexpr const char *kToday = "15/06/2000";

class Catalogue {
 public:
  template <class Record>
  using Edit = std::function<void(Record &)>;

  explicit Catalogue(const std::string &dir, store::Io &io = store::system_io()) : store(dir, io) {
    store.today = [] { return std::string(kToday); };
  }
  store::Store store;

  // Replaces reference list `kind` (1..12).
  Catalogue &liste(int kind, const std::vector<std::string> &entries) {
    return store::ecrit_liste(store, kind, entries), *this;
  }
  // Creates a dossier and leaves it open with nothing current.
  Catalogue &dossier(const std::string &titre, const Edit<store::TDataDossier> &more = {}) {
    store::TDataDossier d;
    d.set_titre(titre);
    if (more) more(d);
    return store.cree_dossier(d), *this;
  }
  // Adds a support to the open dossier and leaves it current: the recordings that follow go on it.
  Catalogue &support(const std::string &type, const std::string &reference,
                     const Edit<store::TDataSupport> &more = {}) {
    store.nouveau_support();
    store::TDataSupport s = store.support();
    s.set_support(type);
    s.set_reference(reference);
    if (more) more(s);
    return store.valide_support(s), *this;
  }
  // Makes support n of the open dossier current again.
  Catalogue &sur(int n) { return store.choisit_support(n), *this; }
  // Adds a recording, with the store's defaults, on the current support.
  Catalogue &record(const std::string &titre, const Edit<store::Recording> &more = {}) {
    store.nouveau_record();
    store::Recording r = store.recording();
    r.record.set_titre(titre);
    if (more) more(r);
    return store.valide_record(r), *this;
  }

  // What the files of dossier d (the open one by default) hold, in file order.
  std::vector<store::TDataSupport> supports(int d = -1) {
    std::vector<store::TDataSupport> all;
    store.scan_supports([&](int, const store::TDataSupport &s) { all.push_back(s); }, d);
    return all;
  }
  std::vector<store::Recording> recordings(int d = -1) {
    std::vector<store::Recording> all;
    auto add = [&](int, const store::RecordingView &v) {
      all.push_back({v.record, v.record1, v.generique, v.recompense});
    };
    store.scan_records(add, d);
    return all;
  }
};
