// The main window's texts in both languages, by control name, and its messages.
#pragma once

#include <QString>
#include <span>

#include "textes.h"

namespace shell {

std::span<const ui::TexteControle> textes_mainform();

enum class Msg {
  // the main window's messages (the pages' are the collection's)
  quitter,
  code_incorrect,
  supprimer_dossier,
  // the window's own
  site_web,
  dossier_absent,  // %1: the data directory
  lecture_seule,
  lecture_seule_interrompue,
  titre_lecture_seule,
  change_annulee,
  dossier_introuvable,  // %1: the number asked for
  aucune_imprimante,
};
QString message(Msg m, int langue);

}  // namespace shell
