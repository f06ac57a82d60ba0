// Loans and borrowings without a widget: what the two dialogs read from and store into the
// support, and the lines of the lists of lent and borrowed supports.
//
// A support is lent when pret_a is not empty and borrowed when emprunt_a is not empty. Storing
// a loan with a name empties emprunt_a and the reverse, so the program never makes a support
// both; a file written by another program may hold one, and each list then shows it as its own
// fields say.
#pragma once

#include <string>
#include <vector>

#include "store.h"
#include "tree.h"

namespace loans {

enum class Sorte { pret, emprunt };

// The four fields of one kind, as the dialog shows them (stored Windows-1252 texts).
struct Saisie {
  std::string a, du, au, observations;
};

Saisie lit_saisie(const store::TDataSupport &s, Sorte sorte);
// Stores the four fields, each cut to its width; a name stored empties the other kind's name.
void ecrit_saisie(store::TDataSupport &s, Sorte sorte, const Saisie &saisie);

// The first of the two dates that fails date_valide: 1 for `du`, 2 for `au`, 0 when both pass.
int date_refusee(const Saisie &saisie);

// The heading of a support's recordings in the lists, in the interface language.
const char *mot_enregistrement(int langue);

// The lines of Tliste_pret (Tliste_emprunt): for each lent (borrowed) support in file order, the
// support (k7aimg once its return date is reached against `today`, else k7img), its start date
// (outimg) and return date (inimg) on level 2, the heading `titre_records` (filmimg) and under
// it, on level 3, its recordings in file order (bandeimg). A line's entry is the support's
// record number in decimal, the line-to-support list of the window. The current buffers are
// untouched.
std::vector<browse::TreeLine> lignes_liste(store::Store &store, Sorte sorte, const std::string &today,
                                           const std::string &titre_records);

// The support record number of line n (1-based) of `lignes`; -1 when there is none.
int support_de_ligne(const std::vector<browse::TreeLine> &lignes, int n);

}  // namespace loans
