// Tplanning: the recording plan of the open dossier, ten entries shown as a forty-line outline.
// The edits are stored into the buffer each time they are left; there is no cancel, and the
// buffer is written once, when the dialog closes (edite_planning).
#pragma once

#include <QDialog>

#include "records.h"
#include "textes.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace store {
class Store;
}

namespace ui {
class Prompts;
}

namespace browse {
class Tarbre;
}

namespace loans {

class Tplanning : public QDialog {
  Q_OBJECT
 public:
  Tplanning(const store::TDataPlanning &planning, ui::Prompts &prompts, int langue,
            QWidget *parent = nullptr);

  const store::TDataPlanning &planning() const { return planning_; }
  int courant() const { return courant_; }

  // The handlers, run by the controls' events.
  void FormShow();
  void arbreClick(int ligne);
  void nom_Exit();
  void BitBtn5Click();
  void okClick();

  QLineEdit *film_, *date_, *heure_, *showview_;
  QToolButton *BitBtn5;
  browse::Tarbre *arbre;
  QPushButton *ok;

 protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  // Escape does not close: Ok is the way out.
  void reject() override {}

 private:
  void montre_entree();
  void remplit_arbre();

  store::TDataPlanning planning_;
  ui::Prompts &prompts_;
  const int langue_;
  ui::Registre registre_;
  // The entry whose texts the edits hold: what they are stored into, whatever line is selected.
  int courant_ = 1;
  bool fermeture_ = false;
};

// echeancier_bt_Click: the open dossier's plan read (the defaults when it has none), edited, and
// written back as one change. Throws what the store throws.
void edite_planning(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent);

}  // namespace loans
