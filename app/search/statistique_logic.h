// The seven statistics charts: how the open dossier's recordings spread over the entries of one
// reference list, or its supports over the support types. Plain counting over the store, no
// widget; the window and the CLI show what `prepare` returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace store {
class Store;
}

namespace search {

inline constexpr int kGraphiques = 7;

// One slot: a list entry (or the not-classified slot, always last) and how many items equal it.
struct Part {
  std::string libelle;  // Windows-1252
  std::int64_t nombre = 0;
};

struct Statistique {
  int graphique = 1;
  std::vector<Part> parts;
  std::int64_t total = 0;  // sum of the counts, the base of the percentages
  // Share of slot i in percent; 0 when nothing is counted.
  double pourcentage(std::size_t i) const {
    return total > 0 ? 100.0 * static_cast<double>(parts[i].nombre) / static_cast<double>(total) : 0.0;
  }
};

// Chart 1..7: theme, genre, nationality, version, colour, appreciation, support type. Slots
// 1..n are the list's entries in file order (a text listed twice is two slots, both counted);
// slot n + 1 takes the items whose value is empty. A value absent from the list counts nowhere.
// Each file is read once; any list length is handled. Throws what the store throws.
Statistique prepare(store::Store &s, int graphique, int langue);

// UTF-8 texts of the window.
std::string titre_graphique(int graphique, int langue);
std::string onglet(int graphique, int langue);
// Windows-1252, as it is compared with the stored values.
std::string non_classe(int langue);
// "12,5 %" in French, "12.5 %" in English.
std::string texte_pourcentage(double p, int langue);

}  // namespace search
