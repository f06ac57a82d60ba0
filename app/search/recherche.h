// Trecherche: the search window. The user lists criteria (field, operator, value, link), keeps
// them in query files and runs them over the open dossier; the criteria live in the program's
// EtatRecherche between two showings. The handlers only ask the user and call requetes.h.
#pragma once

#include <QDialog>
#include <functional>

#include "requetes.h"
#include "textes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace ui {
class Prompts;
}

namespace search {

class Trecherche : public QDialog {
  Q_OBJECT
 public:
  Trecherche(store::Store &store, EtatRecherche &etat, ui::Prompts &prompts, int langue,
             QWidget *parent = nullptr);

  // Texts, field labels, link words and operators of the language, then the in-memory query.
  void FormShow();

  QComboBox *champs, *donnee_liste, *operateurs, *liens;
  QLineEdit *donnee_texte;
  QListWidget *selec;
  QPushButton *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn2, *BitBtn1, *BitBtn9;
  QToolButton *image_fichier, *dossier_ok, *BitBtn3;

  // The criteria as the window holds them, before OK or a search stores them.
  const TDataRequetes &travail() const { return travail_; }

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void champsChange(const QString &texte);
  void donneeChange(const QString &texte);
  void affecte_operateur();
  void icone_selection();
  void charge_requetes();
  // selec again from the working copy; line `choisie` selected (-1: none).
  void remplit_selec(int choisie);
  // Field, free text and list value cleared after a deletion.
  void efface_saisie();
  // A failed file command is reported and leaves the window open.
  void commande(const std::function<void()> &corps);

  void BitBtn4Click();
  void BitBtn5Click();
  void BitBtn6Click();
  void BitBtn2Click();
  void BitBtn1Click();
  void image_fichierClick();
  void dossier_okClick();
  void BitBtn3Click();

  store::Store &store_;
  EtatRecherche &etat_;
  ui::Prompts &prompts_;
  const int langue_;
  ui::Registre registre_;
  QStackedWidget *valeur_;  // donnee_texte or donnee_liste
  TDataRequetes travail_;
  bool numerique_ = false;  // the value being edited reads as a number
};

}  // namespace search
