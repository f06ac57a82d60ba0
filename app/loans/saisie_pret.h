// Tsaisie_pret and Tsaisie_emprunt: the loan and the borrowing of the support being edited. The
// two forms are built alike; OK is the only way out, and it stores into the current support's
// buffer, which the support page's validation writes.
#pragma once

#include <QDialog>

#include "calendar.h"
#include "loans.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace ui {
class Prompts;
}

namespace loans {

class Tsaisie : public QDialog {
  Q_OBJECT
 public:
  Tsaisie(Sorte sorte, store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent = nullptr);

  QLineEdit *a_, *du_, *au_;
  QPlainTextEdit *observations_;
  QToolButton *BitBtn5, *BitBtn2;
  QPushButton *BitBtn1, *ok;
  ui::TPerpetualCalendar PerpetualCalendar1;

  // Neither Escape nor the window manager closes the dialog: it has no close box.
  void reject() override {}

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void SetLingua();
  void okClick();
  void BitBtn1Click();
  void choisit_date(QLineEdit *champ, QToolButton *bouton);

  const Sorte sorte_;
  store::Store &store_;
  ui::Prompts &prompts_;
  const int langue_;
  QLabel *l_a_, *l_du_, *l_au_, *l_observations_;
};

class Tsaisie_pret : public Tsaisie {
 public:
  Tsaisie_pret(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent = nullptr)
      : Tsaisie(Sorte::pret, store, prompts, langue, parent) {}
};

class Tsaisie_emprunt : public Tsaisie {
 public:
  Tsaisie_emprunt(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent = nullptr)
      : Tsaisie(Sorte::emprunt, store, prompts, langue, parent) {}
};

}  // namespace loans
