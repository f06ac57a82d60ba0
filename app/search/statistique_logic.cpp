#include "statistique_logic.h"

#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "lists.h"
#include "store.h"

namespace search {
namespace {

using RecordField = std::string_view (store::TDataRecord::*)() const;

struct Graphique {
  int liste;          // reference list kind (lists.h)
  RecordField champ;  // compared value of a recording; none: the support type
  const char *titre_fr;
  const char *titre_en;
  const char *onglet_fr;
  const char *onglet_en;
};

constexpr Graphique kGraphiquesTable[kGraphiques] = {
    {1, &store::TDataRecord::theme_view, "Répartition des enregistrements par \"thème\"", "Theme", "Thème",
     "Theme"},
    {2, &store::TDataRecord::genre_view, "Répartition des enregistrements par \"genre\"", "King", "Genre",
     "Genre"},
    {3, &store::TDataRecord::nationalite_view, "Répartition des enregistrements par \"nationalité\"",
     "Nationality", "Nationalité", "Nationality"},
    {4, &store::TDataRecord::version_view, "Répartition des enregistrements par \"version\"", "Version",
     "Version", "Version"},
    {5, &store::TDataRecord::couleur_view, "Répartition des enregistrements par \"couleur\"", "Color",
     "Couleur", "Color"},
    {6, &store::TDataRecord::appreciation_view, "Répartition des enregistrements par \"appréciation\"",
     "Appreciation", "Appréciation", "Appreciation"},
    {8, nullptr, "Répartition des enregistrements par \"support\"", "Support", "Support", "Support"},
};

const Graphique &graphique_de(int n) {
  if (n < 1 || n > kGraphiques) throw std::out_of_range("statistics chart " + std::to_string(n));
  return kGraphiquesTable[n - 1];
}

// The slots each text fills: a text listed twice fills both. Looking a value up costs the same
// whatever the list's length, so a long list does not multiply the scan.
class Comptage {
 public:
  explicit Comptage(std::vector<Part> &parts) : parts_(parts) {
    for (std::size_t i = 0; i < parts.size(); ++i) index_[parts[i].libelle].push_back(i);
  }
  void compte(std::string_view valeur) {
    auto it = index_.find(valeur);
    if (it == index_.end()) return;
    for (std::size_t i : it->second) ++parts_[i].nombre;
  }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::vector<Part> &parts_;
  std::unordered_map<std::string, std::vector<std::size_t>, Hash, std::equal_to<>> index_;
};

}  // namespace

Statistique prepare(store::Store &s, int graphique, int langue) {
  const Graphique &g = graphique_de(graphique);
  Statistique st;
  st.graphique = graphique;
  for (std::string &e : store::lit_liste(s, g.liste)) st.parts.push_back({std::move(e), 0});
  const std::string vide = non_classe(langue);
  st.parts.push_back({vide, 0});
  Comptage c(st.parts);
  // An empty value counts as the not-classified label, in memory only.
  auto compte = [&](std::string_view v) { c.compte(v.empty() ? std::string_view(vide) : v); };
  if (g.champ)
    s.scan_records_main([&](int, const store::TDataRecord &r) { compte((r.*g.champ)()); });
  else
    s.scan_supports([&](int, const store::TDataSupport &r) { compte(r.support_view()); });
  for (const Part &p : st.parts) st.total += p.nombre;
  return st;
}

std::string titre_graphique(int graphique, int langue) {
  const Graphique &g = graphique_de(graphique);
  return langue == 0 ? g.titre_fr : g.titre_en;
}

std::string onglet(int graphique, int langue) {
  const Graphique &g = graphique_de(graphique);
  return langue == 0 ? g.onglet_fr : g.onglet_en;
}

std::string non_classe(int langue) {
  return langue == 0 ? "Non class\xe9" : "Not Classified";
}

std::string texte_pourcentage(double p, int langue) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f %%", p);
  std::string t = buf;
  if (langue == 0)
    for (char &ch : t)
      if (ch == '.') ch = ',';
  return t;
}

}  // namespace search
