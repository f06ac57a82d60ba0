// Tcollection's texts in both languages, by control name, and its messages.
#pragma once

#include <QStringList>
#include <span>

#include "textes.h"

namespace browse {

std::span<const ui::TexteControle> textes_collection();
// The six grouping items of `rubrique`, the two tabs.
QStringList items_rubrique(int langue);
QStringList onglets(int langue);

enum class Msg {
  supprimer_record,
  titre_manquant,
  reference_record_manquante,
  supprimer_support,
  type_manquant,
  reference_support_manquante,
  non_classe,
};
QString message(Msg m, int langue);

}  // namespace browse
