// libFuzzer target: any bytes as a query file, read, listed, edited, written back and searched
// over a small fixed dossier in both languages.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "requetes.h"

namespace {

// The files are real; only the syncs are skipped, which would otherwise be most of each run.
struct SansSync : store::Io {
  int fsync(int) override { return 0; }
};
SansSync io;

// Two supports and three recordings whose fields hold what a fuzzed query can name: numbers,
// dates, awards and credits in first, middle and last slots.
store::Store &dossier() {
  static store::Store *s = [] {
    // In memory when the system offers it: replacing a file by a rename waits for the disk.
    std::string tmpl =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm/query-fuzz-XXXXXX" : "/tmp/query-fuzz-XXXXXX";
    if (!::mkdtemp(tmpl.data())) std::abort();
    static const std::string made = tmpl;
    std::atexit([] { std::filesystem::remove_all(made); });
    auto *st = new store::Store(tmpl, io);
    st->today = [] { return std::string("15/06/2000"); };
    store::TDataDossier d;
    d.set_titre("Films");
    st->cree_dossier(d);
    const char *types[] = {"VHS", "DVD"};
    for (int k = 0; k < 2; ++k) {
      st->nouveau_support();
      store::TDataSupport sup = st->support();
      sup.set_support(types[k]);
      sup.set_reference(k ? "12" : "K7-001");
      sup.set_duree(240 * k);
      sup.set_restant(-30);
      st->valide_support(sup);
      for (int i = 0; i < 2 - k; ++i) {
        st->nouveau_record();
        store::Recording r = st->recording();
        r.record.set_titre(i ? "1998" : "Alien");
        r.record.set_annee(1979 + i);
        r.record.set_theme("SF");
        r.record1.set_format("16/9");
        r.recompense.set_recompense(1 + 9 * i, "Oscar");
        r.recompense.set_annee_recompense(3, "1e3");
        r.generique.set_nom(1 + 29 * i, "Ridley Scott");
        st->valide_record(r);
      }
    }
    return st;
  }();
  return *s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  store::Store &s = dossier();
  const std::string path = s.path("q.req");
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  search::EtatRecherche etat;
  try {
    etat.ouvre(path, io);
  } catch (const store::StoreError &) {
    if (size >= search::TDataRequetes::record_size) std::abort();  // one whole record always reads
    return 0;
  }
  search::TDataRequetes q = etat.requete;
  const int n = search::nombre_criteres(q);
  if (n > search::kMaxCriteres || search::lignes_criteres(q).size() != static_cast<std::size_t>(n))
    std::abort();
  for (int langue = 0; langue < 2; ++langue) {
    const std::vector<search::Resultat> hits = search::cherche(s, q, langue, 0);
    if (n == 0 && !hits.empty()) std::abort();
    for (const search::Resultat &h : hits) search::support_du_resultat(s, h);
    const print::Filtres f = search::filtres(q, langue);
    if (f.support) f.support(s.support());
  }
  // The window's edits on what was read, then written back and read again unchanged.
  search::supprime_critere(q, size ? data[0] % (search::kSlots + 2) - 1 : 0);
  search::ajoute_critere(q, q.champ(0), "", q.donnee(n > 0 ? n - 1 : 0), q.operateur(0), q.lien(0));
  etat.enregistre(path, q, io);
  search::EtatRecherche relu;
  relu.ouvre(path, io);
  if (!(relu.requete == q)) std::abort();
  return 0;
}
