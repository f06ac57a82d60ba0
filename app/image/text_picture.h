// Text pictures (.SCM, .CMS): a few lines of settings, then the text to show.
//   1 font colour (0x00bbggrr)   2 font height in pixels   3 font name   4 font size in points
//   5 style: four 0/1 characters for bold, italic, underline, strikeout
//   6 alignment: 0 left, 1 centred, 2 right   7 margin in pixels   8 onward the text
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <string>

namespace image {

// A text picture is read whole, but never more than this.
inline constexpr std::size_t kTexteMax = 65527;

struct TextPicture {
  QColor couleur = Qt::black;
  int hauteur = 0;
  QString police = "Liberation Sans";
  int taille = 12;
  bool gras = false, italique = false, souligne = false, barre = false;
  int alignement = 0;
  int marge = 4;
  QStringList lignes;
};

// Reads the first kTexteMax bytes of `bytes` (Windows-1252); missing lines keep their defaults.
TextPicture lit_text_picture(const std::string &bytes);
// The text drawn black-on-white-sized to fit; needs a QGuiApplication.
QImage dessine_text_picture(const TextPicture &t);

}  // namespace image
