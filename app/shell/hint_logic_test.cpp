#include "hint_logic.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace shell;

namespace {

TEST(HintLogic, FontHeightsAndPointsConvertAsAt96DotsPerInch) {
  for (auto [hauteur, points] : {std::pair{-13, 10}, {-16, 12}, {-11, 8}, {13, 10}, {0, 0}})
    EXPECT_EQ(points_de_hauteur(hauteur), points) << hauteur;
  for (auto [points, hauteur] : {std::pair{10, -13}, {12, -16}, {8, -11}, {72, -96}})
    EXPECT_EQ(hauteur_de_points(points), hauteur) << points;
}

// Every shape, link and position: the message holds its text, the tip is on the side the position
// names, the link joins the two, and the window holds all of it with its shadow.
TEST(HintLogic, EveryShapeHoldsItsTextAndPointsFromTheNamedSide) {
  HintSettings h = hint_defaut();
  for (HintStyle style : kListeType)
    for (LinkStyle lien : kListeLien)
      for (HintPosition position : kListePosition) {
        h.hint_style = style;
        h.link_style = lien;
        const FormeHint f = forme_hint(h, position, 120, 30, 40, 90);
        const auto cas = ::testing::Message() << int(style) << '/' << int(lien) << '/' << int(position);
        const Cadre &c = f.corps, &t = f.texte;
        const bool droite = position == HintPosition::hiTopRight || position == HintPosition::hiBottomRight;
        const bool dessous =
            position == HintPosition::hiBottomRight || position == HintPosition::hiBottomLeft;
        EXPECT_EQ(t.largeur, 120) << cas;
        EXPECT_TRUE(c.contient({t.x, t.y}) && c.contient({t.droite(), t.bas()})) << cas;
        if (f.contour == Contour::ellipse) {  // the text's corners inside the ellipse
          const double a = c.largeur / 2.0, b = c.hauteur / 2.0, dx = t.largeur / 2.0, dy = t.hauteur / 2.0;
          EXPECT_LE(dx * dx / (a * a) + dy * dy / (b * b), 1.0) << cas;
        }
        EXPECT_GE(c.hauteur, style == HintStyle::hiImage ? 90 : 30) << cas;
        EXPECT_EQ(f.contour == Contour::aucun, style == HintStyle::hiText) << cas;
        EXPECT_EQ(f.ombre, style == HintStyle::hiText ? 2 : 6) << cas;
        EXPECT_EQ(dessous, f.ancre.y < c.y) << cas;
        EXPECT_EQ(droite, f.ancre.x < c.x + c.largeur / 2) << cas;
        const LinkStyle tire = style == HintStyle::hiText ? LinkStyle::liNone : lien;
        EXPECT_EQ(f.fleche.size(), tire == LinkStyle::liArrow ? 3u : 0u) << cas;
        EXPECT_EQ(f.bulles.size(), tire == LinkStyle::liBubble ? 3u : 0u) << cas;
        if (!f.fleche.empty()) {
          EXPECT_EQ(f.fleche[0], f.ancre) << cas;
          EXPECT_TRUE(c.contient(f.fleche[1]) && c.contient(f.fleche[2])) << cas;
        }
        for (std::size_t i = 1; i < f.bulles.size(); ++i)
          EXPECT_LT(f.bulles[i].largeur, f.bulles[i - 1].largeur) << cas;
        if (!f.bulles.empty()) {
          const Cadre &d = f.bulles.back();  // the smallest ends on the spot
          EXPECT_LE(std::hypot(d.x + d.largeur / 2.0 - f.ancre.x, d.y + d.hauteur / 2.0 - f.ancre.y), 3)
              << cas;
        }
        const Cadre fenetre{0, 0, f.largeur, f.hauteur};
        EXPECT_TRUE(fenetre.contient({c.x, c.y}) &&
                    fenetre.contient({c.droite() + f.ombre, c.bas() + f.ombre}))
            << cas;
        EXPECT_TRUE(fenetre.contient(f.ancre)) << cas;
      }
}

TEST(HintLogic, ShadowLayersAndPlacementOnTheScreen) {
  HintSettings h = hint_defaut();  // low quality, width 6, intensity 70
  EXPECT_EQ(couches_ombre(h).size(), 1u);
  EXPECT_EQ(couches_ombre(h)[0].decalage, 6);
  EXPECT_EQ(couches_ombre(h)[0].alpha, 89);
  h.shadow_quality = ShadowQuality::quHi;
  double clair = 1;  // what the layers let through where they all overlap
  for (const CoucheOmbre &c : couches_ombre(h)) clair *= 1 - c.alpha / 255.0;
  EXPECT_EQ(couches_ombre(h).size(), 6u);
  EXPECT_NEAR((1 - clair) * 255, 89, 3);
  h.shadow = false;
  EXPECT_TRUE(couches_ombre(h).empty());
  EXPECT_EQ(forme_hint(h, h.position, 50, 10).ombre, 0);

  // A hint that would leave the screen turns back; one that cannot fit is kept on it.
  const Cadre ecran{0, 0, 800, 600};
  const std::tuple<Point, HintPosition, HintPosition> cas[] = {
      {{400, 300}, HintPosition::hiBottomRight, HintPosition::hiBottomRight},
      {{750, 300}, HintPosition::hiBottomRight, HintPosition::hiBottomLeft},
      {{400, 590}, HintPosition::hiBottomRight, HintPosition::hiTopRight},
      {{40, 5}, HintPosition::hiTopLeft, HintPosition::hiBottomRight},
  };
  h = hint_defaut();
  for (const auto &[vise, voulue, obtenue] : cas) {
    h.position = voulue;
    const Placement p = place_hint(h, vise, ecran, 100, 20);
    EXPECT_EQ(p.position, obtenue) << vise.x << ',' << vise.y;
    EXPECT_EQ(p.coin, (Point{vise.x - p.forme.ancre.x, vise.y - p.forme.ancre.y})) << vise.x << ',' << vise.y;
  }
  h.position = HintPosition::hiBottomRight;
  EXPECT_EQ(place_hint(h, {400, 300}, ecran, 2000, 20).coin.x, 0);
  // The spot is the control's edge on the hint's side, at most 20 pixels from the mouse.
  EXPECT_EQ(point_vise({10, 10, 40, 20}, {30, 15}, HintPosition::hiBottomLeft), (Point{30, 30}));
  EXPECT_EQ(point_vise({10, 10, 40, 200}, {30, 15}, HintPosition::hiBottomLeft), (Point{30, 35}));
  EXPECT_EQ(point_vise({10, 10, 40, 200}, {30, 15}, HintPosition::hiTopRight), (Point{30, 10}));
}

}  // namespace
