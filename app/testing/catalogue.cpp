#include "catalogue.h"

Catalogue::Catalogue(const std::string &dir, store::Io &io) : store(dir, io) {
  store.today = [] { return std::string(kToday); };
}

Catalogue &Catalogue::liste(int kind, const std::vector<std::string> &entries) {
  store::ecrit_liste(store, kind, entries);
  return *this;
}

Catalogue &Catalogue::dossier(const std::string &titre, const std::function<void(store::TDataDossier &)> &more) {
  store::TDataDossier d;
  d.set_titre(titre);
  if (more) more(d);
  store.cree_dossier(d);
  return *this;
}

Catalogue &Catalogue::support(const std::string &type, const std::string &reference,
                              const std::function<void(store::TDataSupport &)> &more) {
  store.nouveau_support();
  store::TDataSupport s = store.support();
  s.set_support(type);
  s.set_reference(reference);
  if (more) more(s);
  store.valide_support(s);
  return *this;
}

Catalogue &Catalogue::sur(int n) {
  store.choisit_support(n);
  return *this;
}

Catalogue &Catalogue::record(const std::string &titre, const std::function<void(store::Recording &)> &more) {
  store.nouveau_record();
  store::Recording r = store.recording();
  r.record.set_titre(titre);
  if (more) more(r);
  store.valide_record(r);
  return *this;
}

std::vector<store::TDataSupport> Catalogue::supports(int d) {
  std::vector<store::TDataSupport> all;
  store.scan_supports([&](int, const store::TDataSupport &s) { all.push_back(s); }, d);
  return all;
}

std::vector<store::Recording> Catalogue::recordings(int d) {
  std::vector<store::Recording> all;
  store.scan_records([&](int, const store::RecordingView &v) {
    all.push_back({v.record, v.record1, v.generique, v.recompense});
  }, d);
  return all;
}
