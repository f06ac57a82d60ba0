// The twelve reference lists: global files of 41-byte entries, read in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace store {

class Store;

struct ListKind {
  int kind;          // 1..12, the editor's list_kind
  const char *file;  // file name in the data directory
  const char *title_fr;
  const char *title_en;
};

inline constexpr ListKind kListKinds[12] = {
    {1, "THEME", "Thème", "Theme"},
    {2, "SORT", "Genre", "Genre"},
    {3, "NATION", "Nationalité", "Nationality"},
    {4, "VERSION", "Version", "Version"},
    {5, "COLORS", "Couleur", "Color"},
    {6, "OPINION", "Appréciation", "Appreciation"},
    {7, "AWARD", "Récompense", "Award"},
    {8, "SUPPORT", "Support", "Support"},
    {9, "QUALITY", "Qualité (support)", "Quality (support)"},
    {10, "DISTRI", "Générique", "Credits"},
    {11, "CATEGORY", "Catégorie", "Category"},
    {12, "FORMAT", "Formats", "Format"},
};

// The kind's row; kinds outside 1..12 are a programming error and throw std::out_of_range.
const ListKind &list_kind(int kind);

// Every entry in file order; a missing file reads as an empty list and is not created.
std::vector<std::string> lit_liste(const Store &store, int kind);
// Replaces the whole file with `entries`, each cut to 40 characters.
void ecrit_liste(const Store &store, int kind, const std::vector<std::string> &entries);

// Carries a rename into the data: in every dossier, every non-empty stored value of the fields
// tied to `kind` that equals `old_text` exactly becomes `new_text`, cut to the field's width.
// The current buffers and record numbers of `store` are left as they were.
void Remplace_valeur(Store &store, int kind, std::string_view old_text, std::string_view new_text);

}  // namespace store
