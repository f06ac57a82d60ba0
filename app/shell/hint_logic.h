// The hint windows without a widget: which value each line of the settings lists stands for,
// font sizes in points, and the shape of a hint around its text (outline, link, shadow, place
// on the screen). The window only paints what these functions decide.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "hint_stream.h"

namespace shell {

// The lists of the hint settings dialog, in the order their lines are shown.
inline constexpr std::array kListeQualite{ShadowQuality::quLow, ShadowQuality::quHi};
inline constexpr std::array kListeType{HintStyle::hiBubble,    HintStyle::hiImage, HintStyle::hiRectangle,
                                       HintStyle::hiRoundrect, HintStyle::hiText,  HintStyle::hiTexture};
inline constexpr std::array kListeLien{LinkStyle::liArrow, LinkStyle::liBubble, LinkStyle::liNone};
inline constexpr std::array kListePosition{HintPosition::hiBottomLeft, HintPosition::hiBottomRight,
                                           HintPosition::hiTopLeft, HintPosition::hiTopRight};

// The line of `valeur` in `liste`; 0 when it is not there.
template <class E, std::size_t N>
int ligne_liste(const std::array<E, N> &liste, E valeur) {
  for (std::size_t i = 0; i < N; ++i)
    if (liste[i] == valeur) return static_cast<int>(i);
  return 0;
}
// The value of line `ligne`; the first one when no line is chosen.
template <class E, std::size_t N>
E valeur_liste(const std::array<E, N> &liste, int ligne) {
  return ligne >= 0 && static_cast<std::size_t>(ligne) < N ? liste[static_cast<std::size_t>(ligne)]
                                                           : liste[0];
}

// Font.Height counts pixels at 96 dots per inch, negative for the height of the characters
// alone; the font button and the font chooser speak in points.
int points_de_hauteur(int hauteur);
int hauteur_de_points(int points);

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point &) const = default;
};
struct Cadre {
  int x = 0, y = 0, largeur = 0, hauteur = 0;
  int droite() const { return x + largeur; }
  int bas() const { return y + hauteur; }
  bool contient(Point p) const { return p.x >= x && p.x <= droite() && p.y >= y && p.y <= bas(); }
  bool operator==(const Cadre &) const = default;
};

enum class Contour { rectangle, rectangle_arrondi, ellipse, aucun };

// A hint in the coordinates of its window.
struct FormeHint {
  int largeur = 0, hauteur = 0;  // the window
  Contour contour = Contour::rectangle;
  Cadre corps;                // the message's outline (the ellipse's box for a bubble)
  int rayon = 0;              // corner radius of the rounded rectangle
  Cadre texte;                // where the text goes
  std::vector<Point> fleche;  // the arrow, its tip first; empty without one
  std::vector<Cadre> bulles;  // the circles of a bubble link, largest first
  Point ancre;                // the tip: what sits on the spot the hint points at
  int ombre = 0;              // how far the shadow falls right and down; 0 without one
};

// The hint of a `texte_l` x `texte_h` text in `position`; the picture's size matters to the
// image style, which shows the picture whole.
FormeHint forme_hint(const HintSettings &h, HintPosition position, int texte_l, int texte_h, int image_l = 0,
                     int image_h = 0);

// The shadow as layers of the outline drawn in black: a flat one in low quality, a soft edge
// of one layer per pixel of width in high quality. Alpha 0..255; the darkest point of a soft
// shadow is as dark as the flat one.
struct CoucheOmbre {
  int decalage;
  int alpha;
};
std::vector<CoucheOmbre> couches_ombre(const HintSettings &h);

// The spot a hint points at: the edge of the control under the mouse, on the hint's side, but
// never further than 20 pixels from the mouse in a tall control.
Point point_vise(Cadre controle, Point souris, HintPosition position);

// Where the hint goes: its position flipped, right for left or top for bottom, when it would
// leave the screen on that side, then its window's top-left corner, kept on the screen.
struct Placement {
  HintPosition position;
  FormeHint forme;
  Point coin;
};
Placement place_hint(const HintSettings &h, Point vise, Cadre ecran, int texte_l, int texte_h,
                     int image_l = 0, int image_h = 0);

}  // namespace shell
