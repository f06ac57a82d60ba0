// The controls of the two pages of the main window, named as the window designs them. A field
// tied to a reference list has a selection list (used while editing) and a read-only edit whose
// name ends in "0" (shown while browsing).
#pragma once

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QToolButton;
class QWidget;

namespace shell {

struct ListeChamp {
  QComboBox *liste;  // while editing
  QLineEdit *zero;   // while browsing
};

struct Pages {
  // Support page.
  ListeChamp SupportsS, QualiteS;
  QLineEdit *ReferenceS, *dateS;
  QSpinBox *DureeS, *restantS, *finS;
  QPlainTextEdit *ObservationS;
  QToolButton *dateSbtn;

  // Recording page.
  QLineEdit *TitreE, *ReferenceE, *DateE;
  QSpinBox *AnneeE, *DebutE, *FinE, *dureeE;
  ListeChamp ThemeE, GenreE, NationaliteE, VersionE, CouleurE, AppreciationE, QualiteE, FormatE;
  QPlainTextEdit *ResumerE;
  QListWidget *prixE;
  QToolButton *dateEbtn;

  // The reference lists as last read by Affecte_liste, by list kind (1..12), in file order.
  std::array<std::vector<std::string>, 13> fichiers;
};

}  // namespace shell
