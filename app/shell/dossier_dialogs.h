// The three dialogs of dossier management: the dossier dialog, the chooser, the password prompt.
#pragma once

#include <QDialog>

#include "records.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace store {
class Store;
}  // namespace store

namespace ui {
class Prompts;
}

namespace shell {

// Edits titre, code, notes and son of a dossier record, starting from `depart`; dossier() holds
// the edit once the dialog is validated.
class Tsaisie_dossier : public QDialog {
  Q_OBJECT
 public:
  Tsaisie_dossier(store::Store &store, const store::TDataDossier &depart, ui::Prompts &prompts, int langue,
                  QWidget *parent = nullptr);
  const store::TDataDossier &dossier() const { return dossier_; }

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void SetLingua(int langue);
  void filetodata();
  void datatofile();
  void okClick();
  void open_soundClick();

  store::Store &store_;
  store::TDataDossier dossier_;
  ui::Prompts &prompts_;
  QLineEdit *titre_, *code_, *son_;
  QPlainTextEdit *notes_;
  QPushButton *ok_, *annuler_, *open_sound_, *efface_image_;
  QLabel *l_titre_, *l_code_, *l_notes_, *l_son_;
};

// Lists the dossier titles; keeps the text of the chosen line.
class Tarbre_dossier : public QDialog {
  Q_OBJECT
 public:
  enum Message { il_faut_creer, code_incorrect };
  static QString texte(Message m, int langue);

  Tarbre_dossier(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent = nullptr);
  const QString &choisi() const { return choisi_; }

 private:
  void construire_arbre(store::Store &store);
  void arbreClick(QTreeWidgetItem *item);

  QTreeWidget *arbre_;
  QString choisi_;
};

// The password prompt: the typed characters show as '*', at most 10 of them.
class Tsaisie_code : public QDialog {
  Q_OBJECT
 public:
  explicit Tsaisie_code(int langue, QWidget *parent = nullptr);
  QString code() const;

 private:
  QLineEdit *code_;
};

// Runs Tsaisie_code: the typed text (at most 10 characters).
QString saisie_code(ui::Prompts &prompts, int langue);

}  // namespace shell
