// The main window's texts in both languages, by control name, and its messages.
#pragma once

#include <QString>
#include <span>

namespace shell {

enum class TexteSur { caption, hint };

struct TexteControle {
  const char *nom;  // object name of the action, menu, label or button
  TexteSur sur;
  const char *fr;
  const char *en;
};
std::span<const TexteControle> textes_mainform();

// The six grouping items of `rubrique`, the two tabs.
QStringList items_rubrique(int langue);
QStringList onglets(int langue);

enum class Msg {
  // the ten messages of the main window
  quitter,
  code_incorrect,
  supprimer_dossier,
  supprimer_record,
  titre_manquant,
  reference_record_manquante,
  supprimer_support,
  type_manquant,
  reference_support_manquante,
  non_classe,
  // the window's own
  site_web,
  aide_absente,   // %1: the help file
  pas_disponible,
  erreur_es,      // %1 operation, %2 file, %3 details
  dossier_absent, // %1: the data directory
};
QString message(Msg m, int langue);

}  // namespace shell
