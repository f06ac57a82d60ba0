// DXF drawings: dxflib hands over the entities, QPainter draws them on white, the drawing's
// extents fitted into kCote pixels on the longer side.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "device.h"
#include "readers.h"

namespace image {

namespace {

constexpr int kCote = 800;
constexpr int kMarge = 8;
// A damaged file may repeat entities without end; what is beyond this is not drawn.
constexpr std::size_t kEntitesMax = 200000;
constexpr std::size_t kPointsMax = 2000000;

struct Trait {
  QColor couleur;
  std::vector<QPointF> points;  // drawing units, y up
  bool ferme = false;
};

struct Texte {
  QColor couleur;
  QPointF position;
  double hauteur = 0, angle = 0;
  std::string texte;
};

// The AutoCAD colour index, the way a drawing on white paper shows it.
QColor couleur_aci(int index) {
  static const QColor base[] = {Qt::black, Qt::red,     Qt::darkYellow, Qt::green,    Qt::cyan,
                                Qt::blue,  Qt::magenta, Qt::black,      Qt::darkGray, Qt::lightGray};
  if (index >= 0 && index <= 9) return base[index];
  return Qt::black;
}

bool fini(double v) {
  return std::isfinite(v) && std::fabs(v) < 1e12;
}

class Lecteur : public DL_CreationAdapter {
 public:
  std::vector<Trait> traits;
  std::vector<Texte> textes;
  std::size_t points = 0;

  void addLayer(const DL_LayerData &d) override { calques_[d.name] = attributes.getColor(); }
  void addBlock(const DL_BlockData &) override { ++bloc_; }
  void endBlock() override { bloc_ = std::max(0, bloc_ - 1); }

  void addLine(const DL_LineData &d) override { trait({{d.x1, d.y1}, {d.x2, d.y2}}, false); }
  void addPoint(const DL_PointData &d) override { trait({{d.x, d.y}, {d.x, d.y}}, false); }
  void addCircle(const DL_CircleData &d) override { arc(d.cx, d.cy, d.radius, 0, 360, true); }
  void addArc(const DL_ArcData &d) override { arc(d.cx, d.cy, d.radius, d.angle1, d.angle2, false); }
  void addPolyline(const DL_PolylineData &d) override {
    fin_polyligne();
    if (!garde()) return;
    polyligne_ = true;
    courant_ = Trait{couleur(), {}, (d.flags & 1) != 0};
  }
  void addVertex(const DL_VertexData &d) override {
    if (!polyligne_ || !fini(d.x) || !fini(d.y) || points >= kPointsMax) return;
    courant_.points.emplace_back(d.x, d.y);
    ++points;
  }
  void endEntity() override { fin_polyligne(); }
  void endSequence() override { fin_polyligne(); }
  void addText(const DL_TextData &d) override { texte(d.ipx, d.ipy, d.height, d.angle, d.text); }
  void addMText(const DL_MTextData &d) override {
    // \P breaks the line.
    std::string t;
    for (std::size_t i = 0; i < d.text.size(); ++i) {
      if (d.text[i] == '\\' && i + 1 < d.text.size() && d.text[i + 1] == 'P')
        t += '\n', ++i;
      else
        t += d.text[i];
    }
    texte(d.ipx, d.ipy, d.height, d.angle * 180 / M_PI, t);
  }

  void fin_polyligne() {
    if (polyligne_ && !courant_.points.empty()) traits.push_back(std::move(courant_));
    polyligne_ = false;
    courant_ = {};
  }

 private:
  std::map<std::string, int> calques_;
  int bloc_ = 0;
  bool polyligne_ = false;
  Trait courant_;

  // Entities of block definitions are drawn only where inserted, which this reader does not do.
  bool garde() const { return bloc_ == 0 && traits.size() + textes.size() < kEntitesMax; }

  QColor couleur() const {
    int c = attributes.getColor();
    if (c == 256) {
      auto it = calques_.find(attributes.getLayer());
      c = it == calques_.end() ? 7 : std::abs(it->second);
    }
    return couleur_aci(c);
  }

  void trait(std::vector<QPointF> p, bool ferme) {
    if (!garde() || points >= kPointsMax) return;
    for (const QPointF &q : p)
      if (!fini(q.x()) || !fini(q.y())) return;
    points += p.size();
    traits.push_back({couleur(), std::move(p), ferme});
  }

  void arc(double cx, double cy, double r, double a1, double a2, bool ferme) {
    if (!fini(cx) || !fini(cy) || !fini(r) || !fini(a1) || !fini(a2) || r <= 0) return;
    a1 = std::fmod(a1, 360.0);
    a2 = std::fmod(a2, 360.0);
    double span = ferme ? 360 : a2 - a1;
    if (span <= 0) span += 360;
    const int n = std::max(2, int(span / 5));
    std::vector<QPointF> p;
    for (int i = 0; i <= n; ++i) {
      double a = (a1 + span * i / n) * M_PI / 180;
      p.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    trait(std::move(p), ferme);
  }

  void texte(double x, double y, double h, double angle, const std::string &t) {
    if (!garde() || !fini(x) || !fini(y) || !fini(h) || !fini(angle) || t.empty()) return;
    textes.push_back({couleur(), {x, y}, h, angle, t});
  }
};

struct Dessin {
  QRectF etendue;
  double echelle = 1;
  QSize taille;
};

bool mesure(const Lecteur &l, Dessin &d) {
  bool vide = true;
  auto ajoute = [&](QPointF p) {
    if (vide) {
      d.etendue = QRectF(p, QSizeF(0, 0));
      vide = false;
    } else {
      d.etendue.setLeft(std::min(d.etendue.left(), p.x()));
      d.etendue.setRight(std::max(d.etendue.right(), p.x()));
      d.etendue.setTop(std::min(d.etendue.top(), p.y()));
      d.etendue.setBottom(std::max(d.etendue.bottom(), p.y()));
    }
  };
  for (const Trait &t : l.traits)
    for (const QPointF &p : t.points) ajoute(p);
  for (const Texte &t : l.textes) ajoute(t.position), ajoute(t.position + QPointF(0, t.hauteur));
  if (vide) return false;
  double w = d.etendue.width(), h = d.etendue.height();
  double grand = std::max(w, h);
  // A drawing of no extent (a point, or coordinates that differ by a rounding error) is one pixel.
  d.echelle = grand > 1e-9 ? (kCote - 2 * kMarge) / grand : 1;
  auto cote = [&](double v) { return std::clamp(int(std::ceil(v * d.echelle)), 1, kCote) + 2 * kMarge; };
  d.taille = QSize(cote(w), cote(h));
  return true;
}

// A drawing ends with the EOF group; a file cut short lacks it.
bool complet(const std::string &text) {
  auto end = text.find_last_not_of(" \t\r\n");
  if (end == std::string::npos || end < 2 || text.compare(end - 2, 3, "EOF") != 0) return false;
  return end == 2 || text[end - 3] == '\n' || text[end - 3] == ' ';
}

// dxflib sizes its arrays by the counts a file gives (vertices of a light polyline, knots and
// points of a spline, vertices of a leader, loops and edges of a hatch) and trusts them. A count
// the file cannot hold, negative or beyond 32 bits, marks it damaged before dxflib sees it.
bool comptes_plausibles(const std::string &text) {
  static const std::map<std::string, std::vector<int>> kComptes = {
      {"LWPOLYLINE", {90}}, {"SPLINE", {72, 73, 74}}, {"LEADER", {76}}, {"HATCH", {91, 93, 95, 96, 97, 98}}};
  static const std::vector<int> kCodes = {72, 73, 74, 76, 90, 91, 93, 95, 96, 97, 98};
  std::vector<std::string> lignes;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);)
    lignes.push_back(QByteArray::fromStdString(l).trimmed().toStdString());
  auto entier = [](const std::string &s, long long &n) {
    char *end = nullptr;
    errno = 0;
    n = std::strtoll(s.c_str(), &end, 10);
    return errno == 0 && end != s.c_str();
  };
  const long long taille = (long long)lignes.size();
  std::string entite;
  for (std::size_t i = 0; i + 1 < lignes.size(); ++i) {
    long long c = 0, n = 0;
    if (!entier(lignes[i], c) || std::find(kCodes.begin(), kCodes.end(), c) == kCodes.end()) {
      if (c == 0 && i % 2 == 0) entite = lignes[i + 1];
      continue;
    }
    // dxflib may pair the lines of a damaged file otherwise than groups of two: a count is
    // bounded after any line that names its code, by the file's size in the entities using it.
    auto it = i % 2 == 0 ? kComptes.find(entite) : kComptes.end();
    const bool compte =
        it != kComptes.end() && std::find(it->second.begin(), it->second.end(), c) != it->second.end();
    if (entier(lignes[i + 1], n) && (n < 0 || n > (compte ? taille : std::max(taille, 1ll << 20))))
      return false;
    if (!entier(lignes[i + 1], n) && errno == ERANGE) return false;
  }
  return true;
}

bool parse(const std::string &text, Lecteur &l) {
  if (!complet(text) || !comptes_plausibles(text)) return false;
  std::istringstream in(text);
  DL_Dxf dxf;
  try {
    if (!dxf.in(in, &l)) return false;
  } catch (const std::exception &) {
    return false;
  }
  l.fin_polyligne();
  return true;
}

QImage dessine(const Lecteur &l, const Dessin &d) {
  QImage out(d.taille, QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  p.setRenderHint(QPainter::Antialiasing);
  auto vers = [&](QPointF q) {
    return QPointF(kMarge + (q.x() - d.etendue.left()) * d.echelle,
                   kMarge + (d.etendue.bottom() - q.y()) * d.echelle);
  };
  for (const Trait &t : l.traits) {
    p.setPen(QPen(t.couleur, 1));
    QPolygonF poly;
    for (const QPointF &q : t.points) poly << vers(q);
    if (t.ferme)
      p.drawPolygon(poly);
    else
      p.drawPolyline(poly);
  }
  if (QGuiApplication::instance()) {
    for (const Texte &t : l.textes) {
      const double pixels = t.hauteur * d.echelle;
      if (pixels < 1 || pixels > 4000) continue;
      QFont f("Liberation Sans");
      f.setPixelSize(int(pixels));
      p.setFont(f);
      p.setPen(t.couleur);
      p.save();
      p.translate(vers(t.position));
      p.rotate(-t.angle);
      const QStringList lignes = QString::fromLatin1(t.texte.data(), qsizetype(t.texte.size())).split('\n');
      for (int i = 0; i < lignes.size() && i < 1000; ++i) p.drawText(QPointF(0, i * pixels * 1.4), lignes[i]);
      p.restore();
    }
  }
  return out;
}

}  // namespace

QImage dessine_dxf(const std::string &text) {
  Lecteur l;
  Dessin d;
  if (!parse(text, l) || !mesure(l, d)) return {};
  return dessine(l, d);
}

std::int16_t readdxftoddb(const char *name, std::int16_t bits, std::int16_t dither, HBITMAP *bitmap,
                          HPALETTE *palette, Progress, std::int16_t) {
  if (!name || !bitmap || !palette || !(bits <= 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24))
    return kErrArguments;
  *bitmap = nullptr;
  *palette = nullptr;
  std::string text;
  if (!lit_fichier(name, text, kTailleMax)) return kErrLecture;
  QImage drawing = dessine_dxf(text);
  if (drawing.isNull()) return kErrFormat;
  return to_device(to_depth(from_qimage(drawing), bits, dither != 0), bitmap, palette) ? 1 : kErrBitmap;
}

std::int16_t getdxfinfo(const char *name, std::int16_t *width, std::int16_t *height, std::int16_t *bits) {
  for (std::int16_t *p : {width, height, bits})
    if (p) *p = 0;
  std::string text;
  if (!name || !lit_fichier(name, text, kTailleMax)) return kErrLecture;
  Lecteur l;
  Dessin d;
  if (!parse(text, l) || !mesure(l, d)) return kErrFormat;
  if (width) *width = std::int16_t(d.taille.width());
  if (height) *height = std::int16_t(d.taille.height());
  if (bits) *bits = 24;
  return 1;
}

}  // namespace image
