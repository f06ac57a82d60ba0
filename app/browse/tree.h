// What the two trees of the main window hold: lines built from the files, no widget involved.
//
// A line has a level (1 top, 2 under a heading or under the support line), an icon name (empty
// for a heading), the entry of lignes_arbre / lignes_arbrek7 (a record number on six digits, or
// empty) and its text. Groupings: 0 Genre, 1 Nationalité, 2 Référence, 3 Support, 4 Thème,
// 5 Titre. Sort keys end with the record number, so equal texts keep file order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store.h"

namespace browse {

struct TreeLine {
  int level = 1;
  std::string icon;   // filmimg, k7img, k7imgout, k7imgouta, k7imgin, k7imgina; empty: heading
  std::string entry;  // record number on six digits; empty for a heading
  std::string text;   // stored (Windows-1252) text, without the indenting space
  bool operator==(const TreeLine &) const = default;
};

inline constexpr int kGroupingGenre = 0, kGroupingNation = 1, kGroupingReference = 2, kGroupingSupport = 3,
                     kGroupingTheme = 4, kGroupingTitle = 5;

bool is_support_icon(std::string_view icon);
bool is_support_grouping(int grouping);

// The picture of a support line: borrowings before loans, overdue by date_atteinte against
// `today` (a stored, day-first date text).
std::string support_icon(const store::TDataSupport &support, std::string_view today);

// Case-insensitive ordering of stored texts: letters compare without case and accents first,
// then with accents, so "école" sorts among the "e" words and "Zorro" after "zèbre".
bool key_less(std::string_view a, std::string_view b);
// Appends `text` with case and accents removed, as key_less compares it byte by byte.
void append_folded(std::string_view text, std::string &out);

struct TreeOptions {
  int grouping = kGroupingSupport;
  int index_arbre = 1;                         // 1 title, 2 reference, 3 reference and title
  std::string unclassified = "non Class\xe9";  // the heading of recordings with an empty field
  std::string today;                           // for the support icons
};

// The lines of `arbre` for the open dossier (ConstruireArbre). The current buffers are untouched.
std::vector<TreeLine> build_tree(store::Store &store, const TreeOptions &options);

// The lines of `arbrek7` for one support: the support itself, then its recordings sorted by the
// key of the tree-index preference. `first_record` receives the first recording of the support
// in file order, -1 when it has none.
std::vector<TreeLine> build_support_tree(store::Store &store, const store::TDataSupport &support,
                                         const TreeOptions &options, int *first_record = nullptr);

// Text of a recording line for a tree-index preference.
std::string recording_text(const store::TDataRecord &record, int index_arbre);

}  // namespace browse
