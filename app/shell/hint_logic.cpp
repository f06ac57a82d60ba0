#include "hint_logic.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace {

constexpr int kMarge = 4;        // around the text
constexpr int kFleche = 14;      // from the message to the spot, arrow
constexpr int kLienBulles = 22;  // the same with bubbles, which need more room
constexpr int kEcart = 6;        // the same with no link drawn
constexpr int kBase = 5;         // half the arrow's foot

bool vers_droite(HintPosition p) {
  return p == HintPosition::hiTopRight || p == HintPosition::hiBottomRight;
}
bool en_dessous(HintPosition p) {
  return p == HintPosition::hiBottomRight || p == HintPosition::hiBottomLeft;
}
// Behind letters a wide shadow reads as a second line of text.
int largeur_ombre(const HintSettings &h) {
  if (!h.shadow) return 0;
  return std::clamp(h.shadow_width, 0, h.hint_style == HintStyle::hiText ? 2 : 50);
}

HintPosition position_de(bool droite, bool dessous) {
  if (dessous) return droite ? HintPosition::hiBottomRight : HintPosition::hiBottomLeft;
  return droite ? HintPosition::hiTopRight : HintPosition::hiTopLeft;
}

}  // namespace

// Windows rounds the same way: points = -height * 72 / 96, to the nearest.
int points_de_hauteur(int hauteur) {
  return static_cast<int>(std::lround(std::abs(hauteur) * 72.0 / 96.0));
}

int hauteur_de_points(int points) {
  return -static_cast<int>(std::lround(points * 96.0 / 72.0));
}

FormeHint forme_hint(const HintSettings &h, HintPosition position, int texte_l, int texte_h, int image_l,
                     int image_h) {
  FormeHint f;
  const int tl = std::max(texte_l, 1), th = std::max(texte_h, 1);
  int l = tl + 2 * kMarge, ht = th + 2 * kMarge;
  switch (h.hint_style) {
    case HintStyle::hiRectangle:
    case HintStyle::hiTexture:
      break;
    case HintStyle::hiRoundrect:
      f.contour = Contour::rectangle_arrondi;
      f.rayon = std::min(8, ht / 2);
      l += f.rayon;  // the corners take room from the text's line
      break;
    case HintStyle::hiBubble:
      // The smallest ellipse of this shape holding the text's box has sqrt(2) times its sides.
      f.contour = Contour::ellipse;
      l = static_cast<int>(std::ceil(l * std::sqrt(2.0))) + 2;
      ht = static_cast<int>(std::ceil(ht * std::sqrt(2.0))) + 2;
      break;
    case HintStyle::hiImage:
      l = std::max(l, image_l);
      ht = std::max(ht, image_h);
      break;
    case HintStyle::hiText:
      f.contour = Contour::aucun;
      l = tl;
      ht = th;
      break;
  }
  f.corps = {0, 0, l, ht};
  f.texte = {(l - tl) / 2, (ht - th) / 2, tl, th};
  f.ombre = largeur_ombre(h);

  // The link leaves the message a quarter of its width in from the side it points to.
  const bool droite = vers_droite(position), dessous = en_dessous(position);
  const LinkStyle lien = h.hint_style == HintStyle::hiText ? LinkStyle::liNone : h.link_style;
  const int pied_x = droite ? l / 4 : l - l / 4;
  double bord = 0;  // from the top (bottom) of the box down (up) to the outline, at pied_x
  if (f.contour == Contour::ellipse) {
    const double a = l / 2.0, b = ht / 2.0, dx = (pied_x - a) / a;
    bord = b - b * std::sqrt(std::max(0.0, 1 - dx * dx));
  }
  const int pied_y = dessous ? static_cast<int>(std::ceil(bord)) : ht - static_cast<int>(std::ceil(bord));
  const int longueur = lien == LinkStyle::liArrow    ? kFleche
                       : lien == LinkStyle::liBubble ? kLienBulles
                                                     : kEcart;
  f.ancre = {pied_x + (droite ? -6 : 6), pied_y + (dessous ? -longueur : longueur)};
  if (lien == LinkStyle::liArrow) {
    const int base_y = pied_y + (dessous ? 3 : -3);  // inside the outline, so the two join
    f.fleche = {f.ancre, {pied_x - kBase, base_y}, {pied_x + kBase, base_y}};
  } else if (lien == LinkStyle::liBubble) {
    const double dx = f.ancre.x - pied_x, dy = f.ancre.y - pied_y, n = std::hypot(dx, dy);
    const std::pair<double, int> bulles[] = {{6, 4}, {14, 3}, {n - 2, 2}};  // distance, radius
    for (const auto &[d, r] : bulles) {
      const int cx = pied_x + static_cast<int>(std::lround(dx * d / n));
      const int cy = pied_y + static_cast<int>(std::lround(dy * d / n));
      f.bulles.push_back({cx - r, cy - r, 2 * r, 2 * r});
    }
  }

  // The window holds the message and the link with their shadow, and the tip.
  int x0 = std::min(0, f.ancre.x), y0 = std::min(0, f.ancre.y);
  int x1 = std::max(l + f.ombre, f.ancre.x + 1), y1 = std::max(ht + f.ombre, f.ancre.y + 1);
  for (const Point &p : f.fleche) {
    x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x + 1 + f.ombre), y1 = std::max(y1, p.y + 1 + f.ombre);
  }
  for (const Cadre &c : f.bulles) {
    x0 = std::min(x0, c.x), y0 = std::min(y0, c.y);
    x1 = std::max(x1, c.droite() + 1 + f.ombre), y1 = std::max(y1, c.bas() + 1 + f.ombre);
  }
  auto decale = [&](auto &v) {
    v.x -= x0;
    v.y -= y0;
  };
  decale(f.corps);
  decale(f.texte);
  decale(f.ancre);
  for (Point &p : f.fleche) decale(p);
  for (Cadre &c : f.bulles) decale(c);
  f.largeur = x1 - x0;
  f.hauteur = y1 - y0;
  return f;
}

std::vector<CoucheOmbre> couches_ombre(const HintSettings &h) {
  const int largeur = largeur_ombre(h);
  if (largeur == 0) return {};
  const int alpha = std::clamp(h.shadow_intensity, 0, 200) * 255 / 200;
  if (h.shadow_quality == ShadowQuality::quLow) return {{largeur, alpha}};
  // Layers at 1..width pixels; where they all overlap they add up to `alpha`.
  const double couche = 1 - std::pow(1 - alpha / 255.0, 1.0 / largeur);
  const int a = std::max(1, static_cast<int>(std::lround(couche * 255)));
  std::vector<CoucheOmbre> couches;
  for (int k = 1; k <= largeur; ++k) couches.push_back({k, a});
  return couches;
}

Point point_vise(Cadre controle, Point souris, HintPosition position) {
  const int x = std::clamp(souris.x, controle.x, controle.droite());
  if (en_dessous(position)) return {x, std::max(controle.y, std::min(controle.bas(), souris.y + 20))};
  return {x, std::min(controle.bas(), std::max(controle.y, souris.y - 20))};
}

Placement place_hint(const HintSettings &h, Point vise, Cadre ecran, int texte_l, int texte_h, int image_l,
                     int image_h) {
  Placement p{h.position, forme_hint(h, h.position, texte_l, texte_h, image_l, image_h), {}};
  auto coin = [&] { return Point{vise.x - p.forme.ancre.x, vise.y - p.forme.ancre.y}; };
  Point c = coin();
  bool droite = vers_droite(p.position), dessous = en_dessous(p.position);
  const bool tourne_x = droite ? c.x + p.forme.largeur > ecran.droite() : c.x < ecran.x;
  const bool tourne_y = dessous ? c.y + p.forme.hauteur > ecran.bas() : c.y < ecran.y;
  if (tourne_x || tourne_y) {
    p.position = position_de(droite != tourne_x, dessous != tourne_y);
    p.forme = forme_hint(h, p.position, texte_l, texte_h, image_l, image_h);
    c = coin();
  }
  p.coin = {std::clamp(c.x, ecran.x, std::max(ecran.x, ecran.droite() - p.forme.largeur)),
            std::clamp(c.y, ecran.y, std::max(ecran.y, ecran.bas() - p.forme.hauteur))};
  return p;
}

}  // namespace shell
