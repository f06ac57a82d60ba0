// Tcollection: the browsing column (the grouping selector `rubrique`, the collection tree
// `arbre`, the support tree `arbrek7`, the two command bars) and the notebook of the support
// and recording pages. Its handlers ask the user, call the commands of commands.h and copy the
// result onto the controls; the main window places it and enables its commands.
#pragma once

#include <QWidget>
#include <functional>

#include "commands.h"
#include "medias.h"
#include "pages.h"
#include "saisie_generique.h"
#include "tarbre.h"
#include "textes.h"

class QComboBox;
class QStackedWidget;
class QTabBar;

namespace browse {

class Tcollection : public QWidget {
  Q_OBJECT
 public:
  Tcollection(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent = nullptr);

  // Texts of `langue`; the grouping and the tree-index preference.
  void SetLingua();
  void set_index_arbre(int index) { index_arbre_ = index; }
  // Reads the twelve reference lists into the selection lists.
  void Affecte_liste();
  // A dossier was opened (or created): its tree, the first entry current.
  void ouvre_collection();
  // The dossier was closed: empty trees and pages.
  void vide_collection();
  // After a failed command: the tree read again, the pages left as they are.
  void reconstruit();
  // The reference lists changed: lists, tree and pages read again.
  void relit_collection();
  // Shows the current support (and recording) in the "Référence" grouping.
  void localise_element(bool recording);
  // The pages again from the current records, the modes from the editing flags.
  void montre_pages();
  // Browsing locks the fields; editing opens them.
  void mode_pages();
  void TabSet1Change(int t);
  // The credits viewer, with the current recording's credits.
  void generique_bt_Click();
  // The current recording's poster in the viewer; its video in the player.
  void photo_bt_Click();
  void video_bt_Click();
  Tnormal &normal() const { return *normal_; }
  Tmultimedia &multimedia() const { return *multimedia_; }

  bool edition_support() const { return edition_support_; }
  bool edition_record() const { return edition_record_; }
  const Vue &vue() const { return vue_; }
  const ui::Registre &registre() const { return registre_; }
  QWidget *Panel3() const { return Panel3_; }
  // The panels painted with the preferences' background.
  std::array<ui::Fond *, 4> fonds() const { return {tx2_, tx3_, tx4_, tx5_}; }

  QComboBox *rubrique;
  Tarbre *arbre, *arbrek7;
  PageSupport *tx3_;
  PageRecord *tx5_;
  QTabBar *TabSet1;

 signals:
  // After every command: the main window enables its commands again.
  void etat_change();
  // A command failed and was reported: the main window makes itself consistent again.
  void echec();

 private:
  void cree_colonne();
  void cree_pages();
  TreeOptions options() const;
  // The command boundary: a failure is reported once and `echec` emitted; `etat_change` after.
  void commande(const std::function<void()> &corps);
  // Copies the Vue onto the trees and the notebook, and the current records onto the pages.
  void applique();
  void applique_arbre();
  // True when `refus` refused a validation, after telling the user.
  bool signale_refus(Refus refus);

  void rubriqueChange();
  void arbreClick();
  void arbrek7Click();
  void SajouterClick();
  void SsupprimerClick();
  void SmodifierClick();
  void SokClick();
  void EajouterClick();
  void EsupprimerClick();
  void EmodifierClick();
  void EokClick();
  void EgeneriqueClick();
  void ErecompensesClick();
  void EafficheClick();
  void EvideoClick();

  store::Store &store_;
  ui::Prompts &prompts_;
  const int langue_;
  ui::Registre registre_;
  Fichiers fichiers_;
  Vue vue_;
  int index_arbre_ = 1;
  bool edition_support_ = false, edition_record_ = false;
  // The recording being edited: its credits and awards dialogs change it, Eok writes it.
  store::Recording saisi_;
  Tvoir_generique *voir_generique_;
  // Every picture control of the program shares one undo history.
  image::UndoHistory historique_;
  Tnormal *normal_;
  Tmultimedia *multimedia_;
  ui::Fond *tx2_, *tx4_;
  QWidget *Panel3_;
  QStackedWidget *NoteBook1_;
  QWidget *barre_support_, *barre_enregistrement_;
};

}  // namespace browse
