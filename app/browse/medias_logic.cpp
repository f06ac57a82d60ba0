#include "medias_logic.h"

#include <algorithm>
#include <cctype>

namespace browse {

namespace {

constexpr int kMarge = 15;

std::vector<TypeFichier> types(const std::string &toutes, std::initializer_list<const char *> extensions) {
  std::vector<TypeFichier> t(1, TypeFichier{toutes, {}});
  for (const char *e : extensions) {
    t[0].motifs.push_back(std::string("*.") + e);
    t.push_back({e, {std::string("*.") + e}});
  }
  return t;
}

}  // namespace

Apercu dispose_apercu(int cadre_largeur, int cadre_hauteur, int image_largeur, int image_hauteur) {
  const int l = std::max(0, cadre_largeur - 2 * kMarge), h = std::max(0, cadre_hauteur - 2 * kMarge);
  return {kMarge, kMarge, l, h, image_largeur > l || image_hauteur > h};
}

Taille taille_apercu_bmp(Taille zone, Taille image) {
  if (image.largeur <= 0 || image.hauteur <= 0) return {};
  if (image.largeur <= zone.largeur && image.hauteur <= zone.hauteur) return image;
  const int zl = std::max(1, zone.largeur), zh = std::max(1, zone.hauteur);
  // The side that limits most decides; the other follows, rounded down so the result fits.
  if (static_cast<long long>(image.largeur) * zh >= static_cast<long long>(image.hauteur) * zl)
    return {zl, std::max(1, static_cast<int>(static_cast<long long>(image.hauteur) * zl / image.largeur))};
  return {std::max(1, static_cast<int>(static_cast<long long>(image.largeur) * zh / image.hauteur)), zh};
}

std::vector<TypeFichier> types_images(int langue) {
  return types(langue == 0 ? "Toutes les images" : "All Images",
               {"bmp", "gif", "tif", "jpg", "pcx", "pcd", "png", "dxf", "cms", "ico", "scm", "wmf"});
}

std::vector<TypeFichier> types_bitmap(const std::string &toutes) {
  return types(toutes, {"bmp", "ico", "wmf"});
}

TLanguage langue_bitmap(TLanguage demandee, const std::string &slanguage) {
  if (demandee != TLanguage::laDefault) return demandee;
  std::string deux = slanguage.substr(0, 2);
  for (char &c : deux) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (deux == "DE") return TLanguage::laGerman;
  if (deux == "ES") return TLanguage::laSpanish;
  if (deux == "FR") return TLanguage::laFrench;
  if (deux == "IT") return TLanguage::laItalian;
  return TLanguage::laEnglish;
}

const TextesBitmap &textes_bitmap(TLanguage langue) {
  static constexpr TextesBitmap kTextes[] = {
      {"Open (Bitmap)", " View ", 55, "All Images", "&Cancel"},
      {"Öffnung (Bitmap)", " View ", 55, "Alle Blider", "&Beende"},
      {"Ouverture (Bitmap)", " Voir ", 45, "Toutes les images", "&Annuler"},
      {"Apertura (Bitmap)", " Vedere ", 70, "immagine", "&Annullare"},
      {"Abertura (Bitmap)", " Ver ", 45, "imagen", "&Cancelar"},
  };
  switch (langue) {
    case TLanguage::laGerman:
      return kTextes[1];
    case TLanguage::laFrench:
      return kTextes[2];
    case TLanguage::laItalian:
      return kTextes[3];
    case TLanguage::laSpanish:
      return kTextes[4];
    default:
      return kTextes[0];
  }
}

}  // namespace browse
