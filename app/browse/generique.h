// What the credits and awards dialogs and the credits viewer decide, without a widget: the
// lines of the dialogs, the order their slots are stored in, and where the viewer writes what.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store.h"

namespace browse {

// One line of the credits or awards dialog. The line keeps the texts it stands for (function,
// name, character; or award, category, year), so a name holding " : " or " - " is stored as it
// was typed, never read back from what the line shows.
struct LigneSaisie {
  std::array<std::string, 3> textes;
  std::string affiche;
  bool operator==(const LigneSaisie &) const = default;
};

// "Vide" / "Free": the line of an empty slot.
std::string mot_vide(int langue);

// An empty first text gives the placeholder with all three texts empty; the third text is shown
// and kept only after a second one.
LigneSaisie ligne_saisie(std::string_view premier, std::string_view second, std::string_view troisieme,
                         std::string_view vide);

// The lines of the thirty credits or the ten awards, in the list's order.
std::vector<LigneSaisie> lignes_generique(const store::TDataGenerique &g, std::string_view vide);
std::vector<LigneSaisie> lignes_recompense(const store::TDataRecompense &r, std::string_view vide);
// The list's order: what the lines show, by key_less; equal lines keep their order.
void trie_lignes(std::vector<LigneSaisie> &lignes);

// okClick: the lines sorted again, then line i into slot i, each text cut to its field; a
// placeholder empties its slot.
void range_generique(std::vector<LigneSaisie> lignes, store::TDataGenerique &g);
void range_recompense(std::vector<LigneSaisie> lignes, store::TDataRecompense &r);

// ---- the credits viewer ----

// Arial 12 points; the picture is (12 + 15) x 30 pixels high, whatever the credits.
inline constexpr int kPointsGenerique = 12;
inline constexpr int kHauteurGenerique = (kPointsGenerique + 15) * 30;

struct TexteGenerique {
  enum Ancre { gauche, droite, centre };
  std::string texte;
  int x;  // where a left-aligned text starts, a right-aligned one ends, a centred one centres
  int y;  // top of the text
  Ancre ancre;
  bool gras;  // the functions
  bool operator==(const TexteGenerique &) const = default;
};

// The texts of the viewer for a picture `largeur` pixels wide: for each function of list DISTRI
// in file order, the credits of that function. A credit without a character shares its line
// with the function; with one, the function is centred on a line of its own.
std::vector<TexteGenerique> dessin_generique(const std::vector<std::string> &distri,
                                             const store::TDataGenerique &g, int largeur);

}  // namespace browse
