// The five dossier commands of the "Fichier" menu and the twelve reference-list commands.
#include <QString>

#include "collection.h"
#include "dossier_dialogs.h"
#include "mainform.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "parametres.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"

namespace shell {

using namespace ui;

void Tmainform::creer_dossier_meClick() {
  commande([this] {
    Tsaisie_dossier dialogue(store_, store::TDataDossier{}, prompts_, langue_, this);
    if (prompts_.execute(dialogue)) store_.cree_dossier(dialogue.dossier());
    affiche_caption();
    collection_->ouvre_collection();
  });
}

void Tmainform::ouvre_dossier_meClick() {
  commande([this] {
    if (store_.lit_dossiers().empty()) {
      prompts_.message(Boite::information, Tarbre_dossier::texte(Tarbre_dossier::il_faut_creer, langue_),
                       Boutons::ok);
    } else {
      Tarbre_dossier choix(store_, prompts_, langue_, this);
      if (prompts_.execute(choix) && !choix.choisi().isEmpty())
        ouvre_dossier_numero(store_.trouve_dossier(ctext(choix.choisi())), choix.choisi());
    }
    affiche_caption();
    collection_->ouvre_collection();
  });
}

void Tmainform::ouvre_dossier_numero(int k, const QString &nom) {
  ResultatOuverture r = ouvre_dossier(store_, k, [this] { return ctext(saisie_code(prompts_, langue_)); });
  if (r.etat == Ouverture::code_incorrect)
    prompts_.message(Boite::avertissement, Tarbre_dossier::texte(Tarbre_dossier::code_incorrect, langue_),
                     Boutons::ok);
  else if (r.etat == Ouverture::introuvable)
    prompts_.message(Boite::information, message(Msg::dossier_introuvable, langue_).arg(nom), Boutons::ok);
  else if (!r.son.empty())
    prompts_.joue_son(qtext(r.son));
}

void Tmainform::ouvre_dossier_option(const QString &numero) {
  commande([&] {
    bool nombre = false;
    const int k = numero.toInt(&nombre);
    ouvre_dossier_numero(nombre ? k : -1, numero);
    affiche_caption();
    collection_->ouvre_collection();
  });
}

void Tmainform::modifier_dossier_meClick() {
  commande([this] {
    if (!lit_dossier_protege(store_, [this] { return ctext(saisie_code(prompts_, langue_)); })) {
      prompts_.message(Boite::avertissement, message(Msg::code_incorrect, langue_), Boutons::ok);
    } else {
      Tsaisie_dossier dialogue(store_, store_.dossier(), prompts_, langue_, this);
      if (prompts_.execute(dialogue)) store_.modifie_dossier(dialogue.dossier());
    }
    affiche_caption();
  });
}

void Tmainform::fermer_dossier_meClick() {
  commande([this] {
    store_.ferme_dossier();
    affiche_caption();
    collection_->vide_collection();
  });
}

void Tmainform::supprimer_dossier_meClick() {
  commande([this] {
    if (prompts_.message(Boite::avertissement, message(Msg::supprimer_dossier, langue_),
                         Boutons::ok_annuler) != Reponse::ok)
      return;
    store_.supprime_dossier(store_.dossier_courant());
    affiche_caption();
    collection_->vide_collection();
  });
}

void Tmainform::ouvre_parametres(int list_kind) {
  commande([this, list_kind] {
    {
      TParametres editeur(store_, prompts_, langue_, list_kind, this);
      prompts_.execute(editeur);
    }
    // Renames reach the files at once: show them in the tree, the pages and the lists.
    collection_->relit_collection();
  });
}

}  // namespace shell
