#include "mainform_logic.h"

#include <algorithm>

#include "store.h"

namespace shell {

Disposition place_controles(int largeur, int hauteur) {
  Disposition d{std::max(largeur, 640), std::max(hauteur, 480), 0};
  d.panel3 = 425 + (d.largeur - 640) / 2;
  return d;
}

std::string caption_pour(const std::string *titre) {
  std::string c = kProgramTitle;
  if (titre) c += " - " + *titre;
  return c;
}

ValidationDossier valide_dossier(store::Store &store, std::string_view titre) {
  if (titre.empty()) return ValidationDossier::titre_vide;
  // The stored title is at most 40 characters: compare what will be stored, or a long title
  // could slip past and duplicate an existing one once cut.
  if (store.titre_pris(titre.substr(0, 40), store.dossier_courant()))
    return ValidationDossier::titre_existant;
  return ValidationDossier::ok;
}

std::vector<std::string> titres_dossiers(store::Store &store) {
  std::vector<std::string> titres;
  for (const store::TDataDossier &d : store.lit_dossiers())
    if (!d.titre().empty()) titres.push_back(d.titre());
  return titres;
}

namespace {
bool code_accepte(const store::TDataDossier &d, const std::function<std::string()> &demande_code) {
  return d.code().empty() || demande_code() == d.code();
}
}  // namespace

ResultatOuverture ouvre_dossier(store::Store &store, std::string_view titre,
                                const std::function<std::string()> &demande_code) {
  return ouvre_dossier(store, store.trouve_dossier(titre), demande_code);
}

ResultatOuverture ouvre_dossier(store::Store &store, int k,
                                const std::function<std::string()> &demande_code) {
  const std::vector<store::TDataDossier> dossiers = store.lit_dossiers();
  if (k < 0 || k >= static_cast<int>(dossiers.size())) return {Ouverture::introuvable, {}};
  const store::TDataDossier &choisi = dossiers[static_cast<std::size_t>(k)];
  if (!code_accepte(choisi, demande_code)) return {Ouverture::code_incorrect, {}};
  store.ouvre_dossier(k);
  return {Ouverture::ouvert, choisi.son()};
}

bool lit_dossier_protege(store::Store &store, const std::function<std::string()> &demande_code) {
  store.relit_dossier();
  return code_accepte(store.dossier(), demande_code);
}

}  // namespace shell
