#include "planning_logic.h"

namespace loans {

std::string placeholder(int langue) {
  return langue == 0 ? "Aucun" : "None";
}

std::vector<browse::TreeLine> lignes_planning(const store::TDataPlanning &p, int langue) {
  std::vector<browse::TreeLine> lignes;
  lignes.reserve(kLignesPlanning);
  for (int i = 1; i <= store::kPlanned; ++i) {
    const std::string entree = std::to_string(i);
    // A cleared title frees the entry: what else it kept stays in the file, unseen.
    const bool libre = p.film(i).empty();
    auto texte = [&](std::string valeur) { return libre ? placeholder(langue) : valeur; };
    lignes.push_back({1, "", entree, texte(p.film(i))});
    lignes.push_back({2, "dateimg", entree, texte(p.date_prevue(i))});
    lignes.push_back({2, "heureimg", entree, texte(p.heure(i))});
    lignes.push_back({2, "showviewimg", entree, texte(p.showview(i))});
  }
  return lignes;
}

int entree_ligne(int ligne) {
  return ligne < 1 || ligne > kLignesPlanning ? 0 : (ligne - 1) / kLignesParEntree + 1;
}

void stocke_entree(store::TDataPlanning &p, int entree, const std::string &film, const std::string &date,
                   const std::string &heure, const std::string &showview) {
  p.set_film(entree, film);
  p.set_date_prevue(entree, date);
  p.set_heure(entree, heure);
  p.set_showview(entree, showview);
}

}  // namespace loans
