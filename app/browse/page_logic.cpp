#include "page_logic.h"

#include <algorithm>
#include <cctype>

namespace browse {

int valeur_affichee(long long valeur, Bornes b) {
  return static_cast<int>(std::clamp<long long>(valeur, b.min, b.max));
}

int valeur_saisie(std::string_view t, Bornes b) {
  auto blanc = [](char c) { return c == ' ' || c == '\t'; };
  while (!t.empty() && blanc(t.front())) t.remove_prefix(1);
  while (!t.empty() && blanc(t.back())) t.remove_suffix(1);
  bool negatif = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negatif = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return b.min;
  // Past eleven digits the value is beyond any bound: no need to read further.
  long long v = 0;
  for (char c : t) {
    v = v * 10 + (c - '0');
    if (v > 99'999'999'999LL) break;
  }
  return valeur_affichee(negatif ? -v : v, b);
}

std::vector<std::string> prix_lignes(const store::TDataRecompense &r) {
  std::vector<std::string> lignes;
  for (int i = 1; i <= store::kAwards; ++i) {
    std::string nom = r.recompense(i);
    if (nom.empty()) continue;
    if (std::string c = r.categorie(i); !c.empty()) nom += " : " + c;
    if (std::string a = r.annee_recompense(i); !a.empty()) nom += " - " + a;
    lignes.push_back(std::move(nom));
  }
  return lignes;
}

Refus verifie_support(std::string_view type, std::string_view reference) {
  if (type.empty()) return Refus::type;
  if (reference.empty()) return Refus::reference;
  return Refus::aucun;
}

Refus verifie_record(std::string_view titre, std::string_view reference) {
  if (titre.empty()) return Refus::titre;
  if (reference.empty()) return Refus::reference;
  return Refus::aucun;
}

ContenuListe contenu_liste(const std::vector<std::string> &fichier, bool entree_vide, std::string_view valeur,
                           bool garde_absente) {
  ContenuListe c;
  c.entrees = fichier;
  bool absente =
      garde_absente && !valeur.empty() && std::find(fichier.begin(), fichier.end(), valeur) == fichier.end();
  if (absente) c.entrees.emplace_back(valeur);
  std::stable_sort(c.entrees.begin(), c.entrees.end(),
                   [](const std::string &a, const std::string &b) { return key_less(a, b); });
  if (entree_vide) c.entrees.insert(c.entrees.begin(), std::string());
  auto it = std::find(c.entrees.begin(), c.entrees.end(), valeur);
  if (it != c.entrees.end())
    c.choisie = static_cast<int>(it - c.entrees.begin());
  else
    c.choisie = entree_vide ? 0 : -1;
  return c;
}

Cible cible_ligne(int ligne, int grouping, const TreeLine *line) {
  if (ligne <= 0 || !line) return {};
  if (ligne == 1 && grouping != kGroupingReference && grouping != kGroupingTitle) return {};
  if (line->entry.empty()) return {};
  int numero = std::stoi(line->entry);
  if (is_support_icon(line->icon)) return {Cible::support, numero};
  if (line->icon == "filmimg") return {Cible::record, numero};
  return {};
}

int ligne_de(const std::vector<TreeLine> &lines, bool recordings, int numero) {
  if (numero < 0) return 0;
  std::string entree = store::nombre_zero(numero, 6);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TreeLine &l = lines[i];
    bool genre = recordings ? l.icon == "filmimg" : is_support_icon(l.icon);
    if (genre && l.entry == entree) return static_cast<int>(i) + 1;
  }
  return 0;
}

int premiere_ligne(const std::vector<TreeLine> &lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].entry.empty()) return static_cast<int>(i) + 1;
  return 0;
}

int support_de_numero(store::Store &store, std::int32_t numero) {
  int trouve = -1;
  store.scan_supports([&](int n, const store::TDataSupport &s) {
    if (trouve < 0 && s.numero() == numero) trouve = n;
  });
  return trouve;
}

}  // namespace browse
