#include "picture.h"

#include <QImageWriter>
#include <QSaveFile>

#include "loader.h"
#include "pdf_canvas.h"

namespace cli {

namespace {

// File names are UTF-8 already; only control characters would break the line.
std::string sans_controle(const std::string &s) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c < 0x20 || c == 0x7f)
      out += std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    else
      out += char(c);
  }
  return out;
}

// The bitmap as it is: black and white, its palette's colours, or true colour.
QImage telle_quelle(const image::TBitmap &b) {
  QImage rgb = b.to_qimage();
  if (!b.palette()) return rgb;
  PALETTEENTRY e[256];
  const UINT n = GetPaletteEntries(b.palette(), 0, 256, e);
  QList<QRgb> table;
  for (UINT i = 0; i < n; ++i) table.push_back(qRgb(e[i].peRed, e[i].peGreen, e[i].peBlue));
  if (table.isEmpty()) return rgb;
  return rgb.convertToFormat(n <= 2 ? QImage::Format_Mono : QImage::Format_Indexed8, table,
                             Qt::ThresholdDither);
}

constexpr std::pair<const char *, image::TLoadResolution> kRes[] = {
    {"vga", image::TLoadResolution::lColorVga},   {"mono", image::TLoadResolution::lMonoChrome},
    {"16", image::TLoadResolution::lColor16},     {"256", image::TLoadResolution::lColor256},
    {"true", image::TLoadResolution::lColorTrue}, {"auto", image::TLoadResolution::lAutoMatic}};

}  // namespace

bool resolution_connue(const std::string &res) {
  for (const auto &r : kRes)
    if (res == r.first) return true;
  return false;
}

int cmd_picture(const std::string &file, PictureArgs args, std::ostream &out, std::ostream &err) {
  const auto app = print::ouvre_application();
  SetScreenBitsPixel(24);
  image::initialise_lecteurs(nullptr);
  image::Reglages reglages;
  for (const auto &r : kRes)
    if (std::string(args.res) == r.first) reglages.ImageReadRes = r.second;
  reglages.ImageDither = args.dither;
  reglages.TiffPage = args.page;
  image::Chargement c = image::charge(file, reglages);
  if (c.erreur) {
    err << "tapemoor-cli: " << file << ": error " << c.erreur->code << ": " << c.erreur->texte << '\n';
    return 1;
  }
  if (c.issue == image::Chargement::Issue::inchange) {
    err << "tapemoor-cli: " << file << ": no reader for this extension\n";
    return 1;
  }
  if (args.png && c.image) {
    QSaveFile f(QString::fromStdString(*args.png));
    QImageWriter w(&f, "png");
    if (!f.open(QIODevice::WriteOnly) || !w.write(telle_quelle(*c.image)) || !f.commit()) {
      err << "tapemoor-cli: " << *args.png << ": cannot be written\n";
      return 1;
    }
  }
  const image::Faits &f = *c.faits;
  out << f.type << '\t' << f.largeur << '\t' << f.hauteur << '\t' << f.bits << '\t' << f.compression << '\t'
      << f.images << '\t' << f.taille << '\t' << sans_controle(c.message) << '\n';
  return c.issue == image::Chargement::Issue::efface && !c.image ? 1 : 0;
}

}  // namespace cli
