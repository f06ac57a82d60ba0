// The two pages of the main window's notebook: the support page (tx3) and the recording page
// (tx5). Each owns its controls, named as the window designs them, shows a record and copies
// an edit back into one. A field tied to a reference list has a selection list (used while
// editing) and a read-only edit whose name ends in "0" (shown while browsing).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "decor.h"
#include "store.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QToolButton;

namespace ui {
class Prompts;
class Registre;
}  // namespace ui

namespace browse {

// The reference lists as last read (Affecte_liste), by list kind 1..12, in file order.
using Fichiers = std::array<std::vector<std::string>, 13>;

struct ListeChamp {
  QComboBox *liste;  // while editing
  QLineEdit *zero;   // while browsing
};

class PageSupport : public ui::Fond {
  Q_OBJECT
 public:
  PageSupport(ui::Registre &registre, const Fichiers &fichiers, ui::Prompts &prompts);
  void ReadDataSupports(const store::TDataSupport &s);
  // Copies the fields over `s`, leaving the fields this page does not show as they were.
  void WriteDataSupports(store::TDataSupport &s) const;
  // Browsing locks the fields and shows the "0" edits; editing shows the selection lists.
  void mode(bool edition);
  // Where the last date picker was placed (LeftPos, TopPos).
  QPoint dernier_calendrier() const { return dernier_calendrier_; }

  ListeChamp SupportsS, QualiteS;
  QLineEdit *ReferenceS, *dateS;
  QSpinBox *DureeS, *restantS, *finS;
  QPlainTextEdit *ObservationS;
  QToolButton *dateSbtn;

 private:
  void dateSbtnClick();
  const Fichiers &fichiers_;
  ui::Prompts &prompts_;
  QPoint dernier_calendrier_;
};

class PageRecord : public ui::Fond {
  Q_OBJECT
 public:
  PageRecord(ui::Registre &registre, const Fichiers &fichiers, ui::Prompts &prompts);
  void ReadDataRecords(const store::Recording &r);
  void WriteDataRecords(store::Recording &r) const;
  // prixE: one line per award with a name.
  void montre_prix(const store::TDataRecompense &recompense);
  void mode(bool edition);
  QPoint dernier_calendrier() const { return dernier_calendrier_; }

  QLineEdit *TitreE, *ReferenceE, *DateE;
  QSpinBox *AnneeE, *DebutE, *FinE, *dureeE;
  ListeChamp ThemeE, GenreE, NationaliteE, VersionE, CouleurE, AppreciationE, QualiteE, FormatE;
  QPlainTextEdit *ResumerE;
  QListWidget *prixE;
  QToolButton *dateEbtn;

 private:
  void dateEbtnClick();
  const Fichiers &fichiers_;
  ui::Prompts &prompts_;
  QPoint dernier_calendrier_;
};

// The selection list of a field tied to list `kind`: its entries, `valeur` selected; shown in
// the "0" edit too. Also used to refresh the lists after Affecte_liste.
void montre_liste(const ListeChamp &c, const Fichiers &fichiers, int kind, const std::string &valeur,
                  bool vide);

}  // namespace browse
