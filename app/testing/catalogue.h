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
  explicit Catalogue(const std::string &dir, store::Io &io = store::system_io());
  store::Store store;

  // Replaces reference list `kind` (1..12).
  Catalogue &liste(int kind, const std::vector<std::string> &entries);
  // Creates a dossier and leaves it open with nothing current.
  Catalogue &dossier(const std::string &titre, const std::function<void(store::TDataDossier &)> &more = {});
  // Adds a support to the open dossier and leaves it current: the recordings that follow go on it.
  Catalogue &support(const std::string &type, const std::string &reference,
                     const std::function<void(store::TDataSupport &)> &more = {});
  // Makes support n of the open dossier current again.
  Catalogue &sur(int n);
  // Adds a recording, with the store's defaults, on the current support.
  Catalogue &record(const std::string &titre, const std::function<void(store::Recording &)> &more = {});

  // What the files of dossier d (the open one by default) hold, in file order.
  std::vector<store::TDataSupport> supports(int d = -1);
  std::vector<store::Recording> recordings(int d = -1);
};
