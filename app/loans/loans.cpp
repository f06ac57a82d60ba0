#include "loans.h"

#include <unordered_map>

namespace loans {

Saisie lit_saisie(const store::TDataSupport &s, Sorte sorte) {
  if (sorte == Sorte::pret) return {s.pret_a(), s.pret_du(), s.pret_au(), s.pret_observations()};
  return {s.emprunt_a(), s.emprunt_du(), s.emprunt_au(), s.emprunt_observations()};
}

void ecrit_saisie(store::TDataSupport &s, Sorte sorte, const Saisie &e) {
  if (sorte == Sorte::pret) {
    s.set_pret_a(e.a);
    s.set_pret_du(e.du);
    s.set_pret_au(e.au);
    s.set_pret_observations(e.observations);
    if (!s.pret_a_view().empty()) s.set_emprunt_a("");
  } else {
    s.set_emprunt_a(e.a);
    s.set_emprunt_du(e.du);
    s.set_emprunt_au(e.au);
    s.set_emprunt_observations(e.observations);
    if (!s.emprunt_a_view().empty()) s.set_pret_a("");
  }
}

int date_refusee(const Saisie &e) {
  if (!store::date_valide(e.du)) return 1;
  if (!store::date_valide(e.au)) return 2;
  return 0;
}

const char *mot_enregistrement(int langue) {
  return langue == 0 ? "Enregistrement" : "Record";
}

std::vector<browse::TreeLine> lignes_liste(store::Store &store, Sorte sorte, const std::string &today,
                                           const std::string &titre_records) {
  struct Choisi {
    int record;
    store::TDataSupport support;
    std::vector<std::string> titres;
  };
  std::vector<Choisi> choisis;
  store.scan_supports([&](int n, const store::TDataSupport &s) {
    if (!(sorte == Sorte::pret ? s.pret_a_view() : s.emprunt_a_view()).empty()) choisis.push_back({n, s, {}});
  });
  if (choisis.empty()) return {};
  // One pass over the recordings. Two supports of one numero (another program's file) both
  // take its recordings; a recording whose support is gone goes under none.
  std::unordered_multimap<std::int32_t, std::size_t> par_numero;
  for (std::size_t i = 0; i < choisis.size(); ++i) par_numero.emplace(choisis[i].support.numero(), i);
  store.scan_records_main([&](int, const store::TDataRecord &r) {
    auto [debut, fin] = par_numero.equal_range(r.numero_support());
    for (auto it = debut; it != fin; ++it) choisis[it->second].titres.push_back(r.titre());
  });

  std::vector<browse::TreeLine> lignes;
  for (const Choisi &c : choisis) {
    const Saisie e = lit_saisie(c.support, sorte);
    const std::string entree = std::to_string(c.record);
    lignes.push_back(
        {1, store::date_atteinte(e.au, today) ? "k7aimg" : "k7img", entree, c.support.reference()});
    lignes.push_back({2, "outimg", entree, e.du});
    lignes.push_back({2, "inimg", entree, e.au});
    lignes.push_back({2, "filmimg", entree, titre_records});
    for (const std::string &t : c.titres) lignes.push_back({3, "bandeimg", entree, t});
  }
  return lignes;
}

int support_de_ligne(const std::vector<browse::TreeLine> &lignes, int n) {
  if (n < 1 || n > static_cast<int>(lignes.size())) return -1;
  return std::stoi(lignes[static_cast<std::size_t>(n - 1)].entry);
}

}  // namespace loans
