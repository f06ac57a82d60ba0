// Tresultat: the hits of the last search, supports then recordings, each with its picture; OK
// on a line asks the main window to go to that support or recording.
#pragma once

#include <QDialog>

#include "requetes.h"

class QPushButton;

namespace browse {
class Tarbre;
}

namespace search {

class Tresultat : public QDialog {
  Q_OBJECT
 public:
  Tresultat(EtatRecherche &etat, int langue, QWidget *parent = nullptr);

  // Texts of the language; the first hit selected, or OK disabled when there is none.
  void FormShow();
  // The hit of the selected line; null when none is selected.
  const Resultat *choisi() const;

  browse::Tarbre *arbre;
  QPushButton *ok, *BitBtn1;

 private:
  void okClick();
  void BitBtn1Click();

  EtatRecherche &etat_;
  const int langue_;
};

}  // namespace search
