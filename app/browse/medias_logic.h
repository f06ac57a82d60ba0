// The rules of the poster and video choosers that need no window: where the preview goes and how
// it is scaled, when zoom is offered, the file-type lists and the bitmap chooser's languages.
#pragma once

#include <string>
#include <vector>

namespace browse {

// The image chooser's preview: the control 15 pixels inside its frame on each side; a picture
// that fits is shown at natural size, centred, a larger one scaled down with its proportions.
struct Apercu {
  int x, y, largeur, hauteur;
  bool reduit;  // scaled to fit (StretchRatio)
};
Apercu dispose_apercu(int cadre_largeur, int cadre_hauteur, int image_largeur, int image_hauteur);
inline bool zoom_actif(bool fichier_choisi, bool apercu) {
  return fichier_choisi && apercu;
}

struct Taille {
  int largeur = 0, hauteur = 0;
  bool operator==(const Taille &) const = default;
};
// The bitmap chooser's preview: the picture's own size when it fits `zone`, else the largest
// size of its proportions that does (never below 1 pixel).
Taille taille_apercu_bmp(Taille zone, Taille image);

// One entry of a type list: what it shows and the name patterns it lets through.
struct TypeFichier {
  std::string nom;
  std::vector<std::string> motifs;
};
// "Toutes les images" / "All Images" and then one entry per extension.
std::vector<TypeFichier> types_images(int langue);
std::vector<TypeFichier> types_bitmap(const std::string &toutes);

enum class TLanguage { laDefault, laEnglish, laGerman, laFrench, laItalian, laSpanish };
// laDefault follows the regional setting `slanguage`: DE, ES, FR, IT by its first two letters,
// anything else English.
TLanguage langue_bitmap(TLanguage demandee, const std::string &slanguage);

struct TextesBitmap {
  const char *caption;
  const char *voir;
  int largeur_voir;
  const char *toutes;
  const char *annuler;
};
// The texts of a language other than laDefault.
const TextesBitmap &textes_bitmap(TLanguage langue);

}  // namespace browse
