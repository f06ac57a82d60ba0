// The search and results commands of the main window.
#include "aide.h"
#include "collection.h"
#include "mainform.h"
#include "prompts.h"
#include "recherche.h"
#include "resultat.h"
#include "saut.h"
#include "store.h"
#include "textes.h"

namespace shell {

namespace {
constexpr ui::Paire kPerime{"Ce résultat ne correspond plus au dossier ouvert : relancez la recherche.",
                            "This result no longer matches the open file: search again."};
}  // namespace

void Tmainform::recherche_bt_Click() {
  search::Trecherche recherche(store_, recherche_, prompts_, langue_, this);
  // Closed by its close box, the window wants no results whatever an earlier search left.
  const bool ferme = prompts_.execute(recherche);
  etat_commandes();
  if (ferme && recherche_.resultats_voulus) montre_resultats();
}

void Tmainform::resultat_bt_Click() {
  montre_resultats();
}

void Tmainform::montre_resultats() {
  search::Tresultat resultat(recherche_, langue_, this);
  ui::aide_f1(resultat, prompts_, langue_, "recherche");
  resultat.FormShow();
  if (!prompts_.execute(resultat) || !recherche_.resultats_voulus) return;
  const search::Resultat *choisi = resultat.choisi();
  if (!choisi) return;
  const search::Resultat hit = *choisi;
  commande([this, &hit] {
    if (!search::resultat_a_jour(store_, hit)) {
      prompts_.message(ui::Boite::information, ui::choisit(kPerime, langue_), ui::Boutons::ok);
      return;
    }
    const bool record = hit.sorte == search::Resultat::record;
    const int support = search::support_du_resultat(store_, hit);
    if (record) store_.choisit_record(hit.numero);
    store_.choisit_support(support);
    collection_->localise_element(record);
  });
}

}  // namespace shell
