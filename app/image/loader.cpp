#include "loader.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <filesystem>

#include "grainwick.h"
#include "readers.h"
#include "text_picture.h"

namespace image {

namespace {

std::string majuscules(std::string s) {
  for (char &c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::int64_t taille_fichier(const std::string &nom) {
  std::error_code ec;
  auto t = std::filesystem::file_size(nom, ec);
  return ec ? 0 : std::int64_t(t);
}

Picture prend(HBITMAP bitmap, HPALETTE palette) {
  return std::make_shared<const TBitmap>(bitmap, palette);
}

Erreur erreur(std::int16_t code) {
  return {code, texte_erreur(code)};
}

// A picture the platform itself decodes (icons, metafiles, bitmap resources), at its own depth.
std::int16_t depuis_qimage(const QImage &picture, Picture &out) {
  out = std::make_shared<const TBitmap>();
  if (picture.isNull()) return kErrFormat;
  HBITMAP b = nullptr;
  HPALETTE p = nullptr;
  bool ok = to_device(from_qimage(picture), &b, &p);
  out = prend(b, p);
  return ok ? 1 : kErrBitmap;
}

QImage lit_icone(const std::string &nom) {
  QImageReader reader(QString::fromStdString(nom), "ico");
  reader.setAllocationLimit(256);
  return reader.read();
}

// Bitmap resources are looked up among the program's own resources by the file's base name.
QImage lit_ressource(const std::string &nom) {
  const QString base = QFileInfo(QString::fromStdString(nom)).completeBaseName();
  for (const QString &candidat : {":/" + base, ":/" + base + ".bmp", ":/" + base + ".png"}) {
    QImage i(candidat);
    if (!i.isNull()) return i;
  }
  return {};
}

Faits faits_tiff(const std::string &nom, std::int16_t page, std::int16_t *compte) {
  std::int16_t w = 0, h = 0, comp = 0, n = 0, bits = 0;
  std::int32_t map = 0;
  getinfo(nom.c_str(), page, &w, &h, &comp, &map, &n, &bits);
  if (compte) *compte = n;
  return {"TIF", w, h, bits, compression_tiff(comp), n, taille_fichier(nom)};
}

Faits faits_plexread(const std::string &nom) {
  char type[6] = {};
  char compression[kCompressionText] = {};
  std::int16_t w = 0, h = 0, bits = 0, x = 0, y = 0;
  fileinfo(nom.c_str(), type, &w, &h, &bits, &x, &y, compression, 0);
  return {type, w, h, bits, compression, 0, taille_fichier(nom)};
}

Faits faits_dxf(const std::string &nom) {
  std::int16_t w = 0, h = 0, bits = 0;
  getdxfinfo(nom.c_str(), &w, &h, &bits);
  return {"DXF", w, h, bits, "", 0, taille_fichier(nom)};
}

Faits faits_image(const std::string &ext, const TBitmap &b, int bits, const std::string &nom) {
  return {ext.substr(1), b.width(), b.height(), b.empty() ? 0 : bits, "", 0, taille_fichier(nom)};
}

}  // namespace

void initialise_lecteurs(HWND owner) {
  InitDll(owner);
  ::InitDLL(owner);
}

std::string extension(const std::string &name) {
  const auto slash = name.find_last_of('/');
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return majuscules(name.substr(dot, 4));
}

int bits_demandes(TLoadResolution res, int ecran) {
  switch (res) {
    case TLoadResolution::lColorVga:
      return 0;
    case TLoadResolution::lMonoChrome:
      return 1;
    case TLoadResolution::lColor16:
      return 4;
    case TLoadResolution::lColor256:
      return 8;
    case TLoadResolution::lColorTrue:
      return 24;
    case TLoadResolution::lAutoMatic:
      break;
  }
  if (ecran < 5) return 4;
  if (ecran == 8) return 8;
  if (ecran >= 16) return 24;
  return 8;
}

const char *compression_tiff(int valeur) {
  switch (valeur) {
    case 1:
      return "NONE";
    case 2:
      return "CCITT3";
    case 3:
      return "FAXCCITT3";
    case 4:
      return "FAXCCITT4";
    case 5:
      return "LZW";
    case 32773:
      return "PACKBITS";
    default:
      return "UNKNOWN";
  }
}

Chargement charge(const std::string &nom, Reglages &r) {
  Chargement c;
  const std::string ext = extension(nom);
  std::error_code ec;
  if (ext != ".RES" && !std::filesystem::exists(nom, ec)) {
    c.issue = Chargement::Issue::efface;
    c.message = kMessageAbsent;
    c.faits = Faits{"ERR", -1, -1, -1, "", -1, -1};
    return c;
  }
  const int bits = bits_demandes(r.ImageReadRes, GetScreenBitsPixel());
  const std::int16_t dither = r.ImageDither ? 1 : 0;
  c.message = majuscules(nom);

  if (ext == ".WMF" || ext == ".ICO") {
    QImage picture = ext == ".ICO" ? lit_icone(nom) : lit_wmf(nom);
    std::int16_t code = depuis_qimage(picture, c.image);
    c.issue = Chargement::Issue::remplace;
    if (code < 1)
      c.erreur = erreur(code);
    else
      c.message = kMessageNonLu;
    c.faits = faits_image(ext, *c.image, picture.isNull() ? 0 : picture.depth(), nom);
    return c;
  }
  if (ext == ".SCM" || ext == ".CMS") {
    std::string bytes;
    c.issue = Chargement::Issue::efface;
    c.historique = false;
    if (!lit_fichier(nom, bytes, std::int64_t(kTexteMax))) {
      c.erreur = erreur(kErrLecture);
      return c;
    }
    std::int16_t code = depuis_qimage(dessine_text_picture(lit_text_picture(bytes)), c.image);
    c.issue = Chargement::Issue::remplace;
    if (code < 1) c.erreur = erreur(code);
    c.faits = faits_image(ext, *c.image, 24, nom);
    return c;
  }

  HBITMAP b = nullptr;
  HPALETTE p = nullptr;
  std::int16_t code = 0;
  const char *n = nom.c_str();
  if (ext == ".TIF") {
    std::int16_t compte = 0;
    if (faits_tiff(nom, r.TiffPage, &compte).images == 0) faits_tiff(nom, 0, &compte);
    // Images count from 0: a page beyond the last one reads the last one.
    if (r.TiffPage > compte - 1) r.TiffPage = std::int16_t(std::max(0, compte - 1));
    code = readtiffile(n, std::int16_t(bits), dither, r.TiffPage, 100, &b, &p, nullptr, 0);
    if (code < 1) code = kErrLecture;
  } else if (ext == ".BMP" || ext == ".THB") {
    code = readbmpfile(n, std::int16_t(bits), dither, &b, &p, nullptr, 0);
  } else if (ext == ".JPG" || ext == ".JPE" || ext == ".THJ") {
    code = readjpgfile(n, std::int16_t(bits), 1, dither, &b, &p, nullptr, 0);
  } else if (ext == ".GIF") {
    std::int16_t transparent = -1;
    code = readgiffile(n, std::int16_t(bits), dither, &b, &p, nullptr, 0, &transparent);
  } else if (ext == ".PNG") {
    code = readpngfile(n, std::int16_t(bits), dither, &b, &p, nullptr, 0);
  } else if (ext == ".PCX") {
    code = readpcxfile(n, std::int16_t(bits), dither, &b, &p, nullptr, 0);
  } else if (ext == ".PCD") {
    code = readpcdfile(n, std::int16_t(bits), dither, std::int16_t(r.PCDMode), &b, &p, nullptr, 0);
  } else if (ext == ".DXF") {
    code = readdxftoddb(n, std::int16_t(bits), dither, &b, &p, nullptr, 0);
  } else if (ext == ".RES") {
    code = depuis_qimage(lit_ressource(nom), c.image);
    c.issue = Chargement::Issue::remplace;
    if (code < 1) c.erreur = erreur(code);
    if (!c.image->empty()) c.faits = faits_image(".RES", *c.image, GetScreenBitsPixel(), nom);
    return c;
  } else {
    return c;
  }
  c.issue = Chargement::Issue::remplace;
  c.image = prend(b, p);
  if (code < 1) c.erreur = erreur(code);
  if (ext == ".TIF")
    c.faits = faits_tiff(nom, r.TiffPage, nullptr);
  else if (ext == ".DXF")
    c.faits = faits_dxf(nom);
  else
    c.faits = faits_plexread(nom);
  return c;
}

void UndoHistory::empile(Picture p) {
  std::move_backward(entrees_.begin(), entrees_.end() - 1, entrees_.end());
  entrees_[0] = std::move(p);
}

Picture UndoHistory::depile() {
  Picture p = std::move(entrees_[0]);
  std::move(entrees_.begin() + 1, entrees_.end(), entrees_.begin());
  entrees_.back() = nullptr;
  return p;
}

std::size_t UndoHistory::nombre() const {
  return std::size_t(
      std::count_if(entrees_.begin(), entrees_.end(), [](const Picture &p) { return p != nullptr; }));
}

}  // namespace image
