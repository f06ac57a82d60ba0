// The recording plan without its window: the forty lines of the outline, four per entry, built
// from the planning record, for the dialog and the CLI alike.
#pragma once

#include <string>
#include <vector>

#include "records.h"
#include "tree.h"

namespace loans {

inline constexpr int kLignesParEntree = 4;
inline constexpr int kLignesPlanning = store::kPlanned * kLignesParEntree;

// "Aucun" / "None" as stored (Windows-1252) bytes.
std::string placeholder(int langue);

// Entries 1..10 in order: the title at level 1, then the date (dateimg), the time (heureimg) and
// the ShowView code (showviewimg) at level 2. A free entry (empty title) shows the placeholder
// on its four lines. Every line carries its entry number as text.
std::vector<browse::TreeLine> lignes_planning(const store::TDataPlanning &planning, int langue);

// Line (1-based) of the title of entry i, and the entry of line n (0 for no line).
inline int ligne_entree(int entree) {
  return kLignesParEntree * entree - 3;
}
int entree_ligne(int ligne);

// nom_Exit: the four texts (stored bytes) into entry i, each cut to its field's width.
void stocke_entree(store::TDataPlanning &planning, int entree, const std::string &film,
                   const std::string &date, const std::string &heure, const std::string &showview);

}  // namespace loans
