// The five dossier commands of the "Fichier" menu.
#include <QString>

#include "dossier_dialogs.h"
#include "mainform.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"

namespace shell {

void Tmainform::creer_dossier_meClick() {
  commande([this] {
    store_.vide_dossier();
    Tsaisie_dossier dialogue(store_, prompts_, langue_, this);
    if (prompts_.execute(dialogue)) store_.cree_dossier();
    rafraichit();
    premier_element();
    etat_commandes();
  });
}

void Tmainform::ouvre_dossier_meClick() {
  commande([this] {
    if (store_.lit_dossiers().empty()) {
      prompts_.message(Boite::information, Tarbre_dossier::texte(Tarbre_dossier::il_faut_creer, langue_),
                       Boutons::ok);
    } else {
      Tarbre_dossier choix(store_, langue_, this);
      if (prompts_.execute(choix) && !choix.choisi().isEmpty()) {
        ResultatOuverture r = ouvre_dossier(store_, ctext(choix.choisi()),
                                            [this] { return ctext(prompts_.saisie_code(langue_)); });
        if (r.etat == Ouverture::code_incorrect)
          prompts_.message(Boite::avertissement,
                           Tarbre_dossier::texte(Tarbre_dossier::code_incorrect, langue_), Boutons::ok);
        else if (r.etat == Ouverture::ouvert && !r.son.empty())
          prompts_.joue_son(qtext(r.son));
      }
    }
    store_.support_courant = store_.record_courant = -1;
    rafraichit();
    premier_element();
    etat_commandes();
  });
}

void Tmainform::modifier_dossier_meClick() {
  commande([this] {
    if (!lit_dossier_protege(store_, [this] { return ctext(prompts_.saisie_code(langue_)); })) {
      prompts_.message(Boite::avertissement, message(Msg::code_incorrect, langue_), Boutons::ok);
    } else {
      Tsaisie_dossier dialogue(store_, prompts_, langue_, this);
      if (prompts_.execute(dialogue)) ecrit_dossier_courant(store_);
    }
    rafraichit();
  });
}

void Tmainform::fermer_dossier_meClick() {
  commande([this] {
    store_.ferme_dossier();
    affiche_caption();
    vide_arbres();
    vide_pages();
    etat_commandes();
  });
}

void Tmainform::supprimer_dossier_meClick() {
  commande([this] {
    if (prompts_.message(Boite::avertissement, message(Msg::supprimer_dossier, langue_),
                         Boutons::ok_annuler) != Reponse::ok)
      return;
    store_.supprime_dossier(store_.dossier_courant);
    store_.ferme_dossier();
    affiche_caption();
    vide_arbres();
    vide_pages();
    etat_commandes();
  });
}

}  // namespace shell
