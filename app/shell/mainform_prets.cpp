// The loan and borrowing commands of the main window.
#include "collection.h"
#include "liste_pret.h"
#include "mainform.h"
#include "prompts.h"
#include "saisie_pret.h"
#include "store.h"

namespace shell {

void Tmainform::SpreteClick() {
  loans::Tsaisie_pret saisie(store_, prompts_, langue_, this);
  prompts_.execute(saisie);
}

void Tmainform::SemprunteClick() {
  loans::Tsaisie_emprunt saisie(store_, prompts_, langue_, this);
  prompts_.execute(saisie);
}

void Tmainform::Support2Click() {
  montre_liste_prets(false);
}

void Tmainform::Liste2Click() {
  montre_liste_prets(true);
}

void Tmainform::montre_liste_prets(bool emprunts) {
  commande([this, emprunts] {
    const int choisi = loans::choisit_support(emprunts ? loans::Sorte::emprunt : loans::Sorte::pret, store_,
                                              prompts_, langue_, this);
    if (choisi < 0) return;
    store_.choisit_support(choisi);
    collection_->localise_element(false);
  });
}

}  // namespace shell
