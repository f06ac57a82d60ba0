// Tliste_pret and Tliste_emprunt: the lent and the borrowed supports of the open dossier, each
// with its dates and recordings; OK on a line chooses the support it belongs to.
#pragma once

#include <QDialog>

#include "loans.h"
#include "tarbre.h"

class QPushButton;

namespace ui {
class Prompts;
}

namespace loans {

class Tliste : public QDialog {
  Q_OBJECT
 public:
  Tliste(Sorte sorte, store::Store &store, int langue, QWidget *parent = nullptr);

  // Reads the files again into the outline, the first line selected; a failed read throws.
  void FormShow();
  // The support record number of the selected line; -1 with no line.
  int support_choisi() const;

  browse::Tarbre *arbre;
  QPushButton *ok, *BitBtn1;

 private:
  const Sorte sorte_;
  store::Store &store_;
  const int langue_;
};

class Tliste_pret : public Tliste {
 public:
  Tliste_pret(store::Store &store, int langue, QWidget *parent = nullptr)
      : Tliste(Sorte::pret, store, langue, parent) {}
};

class Tliste_emprunt : public Tliste {
 public:
  Tliste_emprunt(store::Store &store, int langue, QWidget *parent = nullptr)
      : Tliste(Sorte::emprunt, store, langue, parent) {}
};

// Shows the list of `sorte`: the support record number chosen with OK, -1 after Cancel or on
// an empty list. A failed read throws before anything shows.
int choisit_support(Sorte sorte, store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent);

}  // namespace loans
