#include "text_picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace image {

namespace {

// A text picture is a few lines on a screen; a damaged file may ask for any size.
constexpr int kCoteMax = 1024;
constexpr int kPoliceMax = 300;

int entier(const QString &s, int defaut) {
  bool ok = false;
  int v = s.trimmed().toInt(&ok);
  return ok ? v : defaut;
}

QString depuis_cp1252(const std::string &bytes) {
  // The 0x80-0x9f range of Windows-1252; the rest matches Latin-1.
  static const char16_t haut[32] = {0x20ac, 0x81,   0x201a, 0x192,  0x201e, 0x2026, 0x2020, 0x2021,
                                    0x2c6,  0x2030, 0x160,  0x2039, 0x152,  0x8d,   0x17d,  0x8f,
                                    0x90,   0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
                                    0x2dc,  0x2122, 0x161,  0x203a, 0x153,  0x9d,   0x17e,  0x178};
  QString out;
  out.reserve(qsizetype(bytes.size()));
  for (unsigned char c : bytes) out += c >= 0x80 && c < 0xa0 ? QChar(haut[c - 0x80]) : QChar(c);
  return out;
}

}  // namespace

TextPicture lit_text_picture(const std::string &bytes) {
  TextPicture t;
  QString all = depuis_cp1252(bytes.substr(0, std::min(bytes.size(), kTexteMax)));
  all.replace("\r\n", "\n");
  all.replace('\r', '\n');
  QStringList l = all.split('\n');
  if (l.size() > 0) {
    int c = entier(l[0], 0);
    t.couleur = QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
  }
  if (l.size() > 1) t.hauteur = std::clamp(entier(l[1], 0), -kPoliceMax, kPoliceMax);
  if (l.size() > 2 && !l[2].trimmed().isEmpty()) t.police = l[2].trimmed();
  if (l.size() > 3) t.taille = std::clamp(entier(l[3], 12), 1, kPoliceMax);
  if (l.size() > 4) {
    const QString s = l[4].trimmed();
    auto flag = [&](int i) { return s.size() > i && s[i] == '1'; };
    t.gras = flag(0), t.italique = flag(1), t.souligne = flag(2), t.barre = flag(3);
  }
  if (l.size() > 5) t.alignement = std::clamp(entier(l[5], 0), 0, 2);
  if (l.size() > 6) t.marge = std::clamp(entier(l[6], 4), 0, 200);
  if (l.size() > 7) t.lignes = l.mid(7);
  while (!t.lignes.isEmpty() && t.lignes.last().isEmpty()) t.lignes.removeLast();
  return t;
}

QImage dessine_text_picture(const TextPicture &t) {
  QFont f(t.police);
  // A height in pixels wins over the size in points, as a font's height does.
  if (t.hauteur != 0)
    f.setPixelSize(std::abs(t.hauteur));
  else
    f.setPointSize(t.taille);
  f.setBold(t.gras);
  f.setItalic(t.italique);
  f.setUnderline(t.souligne);
  f.setStrikeOut(t.barre);
  QFontMetrics m(f);
  int largeur = 1;
  for (const QString &l : t.lignes) largeur = std::max(largeur, m.horizontalAdvance(l));
  const int pas = std::max(1, m.lineSpacing());
  const int lignes = std::max<int>(1, int(t.lignes.size()));
  const QSize taille(std::min(kCoteMax, largeur + 2 * t.marge),
                     int(std::min<qint64>(kCoteMax, qint64(lignes) * pas + 2 * t.marge)));
  QImage out(taille, QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter p(&out);
  p.setFont(f);
  p.setPen(t.couleur);
  const int flags = t.alignement == 1 ? Qt::AlignHCenter : t.alignement == 2 ? Qt::AlignRight : Qt::AlignLeft;
  for (int i = 0; i < t.lignes.size(); ++i) {
    const int y = t.marge + i * pas;
    if (y > taille.height()) break;
    p.drawText(QRect(t.marge, y, taille.width() - 2 * t.marge, pas), flags | Qt::AlignTop, t.lignes[i]);
  }
  return out;
}

}  // namespace image
