#include "generique.h"

#include <algorithm>

#include "tree.h"

namespace browse {

std::string mot_vide(int langue) {
  return langue == 0 ? "Vide" : "Free";
}

LigneSaisie ligne_saisie(std::string_view premier, std::string_view second, std::string_view troisieme,
                         std::string_view vide) {
  LigneSaisie l;
  if (premier.empty()) {
    l.affiche = vide;
    return l;
  }
  l.textes = {std::string(premier), std::string(second), second.empty() ? "" : std::string(troisieme)};
  l.affiche = l.textes[0];
  if (!second.empty()) l.affiche += " : " + l.textes[1];
  if (!l.textes[2].empty()) l.affiche += " - " + l.textes[2];
  return l;
}

void trie_lignes(std::vector<LigneSaisie> &lignes) {
  std::ranges::stable_sort(
      lignes, [](const LigneSaisie &a, const LigneSaisie &b) { return key_less(a.affiche, b.affiche); });
}

std::vector<LigneSaisie> lignes_generique(const store::TDataGenerique &g, std::string_view vide) {
  std::vector<LigneSaisie> lignes;
  for (int i = 1; i <= store::kCredits; ++i)
    lignes.push_back(ligne_saisie(g.denomination(i), g.nom(i), g.role(i), vide));
  trie_lignes(lignes);
  return lignes;
}

std::vector<LigneSaisie> lignes_recompense(const store::TDataRecompense &r, std::string_view vide) {
  std::vector<LigneSaisie> lignes;
  for (int i = 1; i <= store::kAwards; ++i)
    lignes.push_back(ligne_saisie(r.recompense(i), r.categorie(i), r.annee_recompense(i), vide));
  trie_lignes(lignes);
  return lignes;
}

namespace {

// Slot i takes line i; slots without a line are emptied.
template <class Record, class Set>
void range(std::vector<LigneSaisie> lignes, Record &r, int slots, const std::array<Set, 3> &champs) {
  trie_lignes(lignes);
  for (int i = 1; i <= slots; ++i) {
    static const LigneSaisie vide;
    const LigneSaisie &l = std::size_t(i) <= lignes.size() ? lignes[std::size_t(i) - 1] : vide;
    for (std::size_t k = 0; k < 3; ++k) (r.*champs[k])(i, l.textes[k]);
  }
}

}  // namespace

void range_generique(std::vector<LigneSaisie> lignes, store::TDataGenerique &g) {
  using G = store::TDataGenerique;
  range(std::move(lignes), g, store::kCredits, std::array{&G::set_denomination, &G::set_nom, &G::set_role});
}

void range_recompense(std::vector<LigneSaisie> lignes, store::TDataRecompense &r) {
  using R = store::TDataRecompense;
  range(std::move(lignes), r, store::kAwards,
        std::array{&R::set_recompense, &R::set_categorie, &R::set_annee_recompense});
}

std::vector<TexteGenerique> dessin_generique(const std::vector<std::string> &distri,
                                             const store::TDataGenerique &g, int largeur) {
  using T = TexteGenerique;
  std::vector<T> textes;
  const int centre = (largeur + 1) / 2;
  int y = 0;
  for (const std::string &fonction : distri) {
    // An empty entry would match every empty slot.
    if (fonction.empty()) continue;
    bool premier = true;
    for (int i = 1; i <= store::kCredits; ++i) {
      if (g.denomination(i) != fonction) continue;
      const std::string role = g.role(i);
      if (premier) {
        y += 10;
        textes.push_back(
            {fonction, role.empty() ? centre - 10 : centre, y, role.empty() ? T::droite : T::centre, true});
        if (!role.empty()) y += 20;
        premier = false;
      }
      if (role.empty()) {
        textes.push_back({g.nom(i), centre + 10, y, T::gauche, false});
      } else {
        textes.push_back({g.nom(i), centre - 10, y, T::droite, false});
        textes.push_back({role, centre + 10, y, T::gauche, false});
      }
      y += 20;
    }
  }
  return textes;
}

}  // namespace browse
