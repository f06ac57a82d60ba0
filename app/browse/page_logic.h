// What the two pages and the trees decide, without a widget: the number fields' reading, the
// awards lines, the checks of a validation, the contents of a selection list, and which record a
// chosen tree line makes current.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store.h"
#include "tree.h"

namespace browse {

// ---- number fields ----

struct Bornes {
  int min;
  int max;
};
// Support page.
inline constexpr Bornes kDureeS{1, 1000}, kRestantS{1, 1000}, kFinS{1, 10000};
// Recording page.
inline constexpr Bornes kAnneeE{1, 3000}, kDebutE{1, 10000}, kFinE{1, 10000}, kDureeE{1, 1000};

// The value a number field holds for a stored number: the nearest bound when outside.
int valeur_affichee(long long valeur, Bornes b);
// The value of a typed text: blanks around it ignored, an optional sign, decimal digits only;
// any other text reads as the lower bound; a number outside the range (however long) as the
// nearest bound.
int valeur_saisie(std::string_view texte, Bornes b);

// ---- pages ----

// The lines of the awards list: the name, " : " and the category when there is one, " - " and
// the year when there is one; slots with an empty name are skipped.
std::vector<std::string> prix_lignes(const store::TDataRecompense &recompense);

enum class Refus { aucun, type, titre, reference };
// Sok: a type must be chosen, then a reference given.
Refus verifie_support(std::string_view type, std::string_view reference);
// Eok: a title, then a reference.
Refus verifie_record(std::string_view titre, std::string_view reference);

// A selection list: its entries and the one selected (-1: none).
struct ContenuListe {
  std::vector<std::string> entrees;
  int choisie = -1;
  bool operator==(const ContenuListe &) const = default;
};
// The entries of a reference list as a selection list shows them: sorted by key_less, file order
// kept between equals, after an empty entry when `entree_vide`. `valeur` is selected when an
// entry equals it exactly; else the empty entry (or none without one). With `garde_absente`, a
// non-empty value missing from the list is added (in its sorted place) and selected, so that
// validating an edit without touching the list keeps the stored text.
ContenuListe contenu_liste(const std::vector<std::string> &fichier, bool entree_vide, std::string_view valeur,
                           bool garde_absente);

// ---- trees ----

// What a selected line of `arbre` makes current (Arbrelocalisation).
struct Cible {
  enum Quoi { rien, support, record } quoi = rien;
  int numero = -1;  // record number in the supports or recordings file
  bool operator==(const Cible &) const = default;
};
// `ligne` is 1-based, 0 when nothing is selected. Line 1 is a heading except in the groupings
// "Référence" and "Titre"; a heading makes nothing current.
Cible cible_ligne(int ligne, int grouping, const TreeLine *line);

// reselection: the first line (1-based) showing recording `numero` (recordings true) or support
// `numero` (recordings false); 0 when none.
int ligne_de(const std::vector<TreeLine> &lines, bool recordings, int numero);
// premier_element: the first line (1-based) with an entry; 0 when none.
int premiere_ligne(const std::vector<TreeLine> &lines);

// The support whose numero is `numero`: its record number, the first in file order; -1 when no
// support carries it.
int support_de_numero(store::Store &store, std::int32_t numero);

}  // namespace browse
