// What setting a picture control's ImageName does, without the control: the reader chosen by
// the extension, the depth asked of it, the picture that comes back, the facts of the file and
// the load message. Needs a QGuiApplication only for pictures that hold text (DXF, SCM, CMS).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "device.h"

namespace image {

enum class TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
enum class TPCDMode { pcd_BASE16, pcd_BASE4, pcd_BASE };

inline constexpr const char *kMessageAbsent = "file not found";
inline constexpr const char *kMessageNonLu = "Non TIF, JPG, DXF, BMP, GIF, PNG, PCD or PCX Image";

// The facts recorded after a load; every number is -1 after a missing file.
struct Faits {
  std::string type;
  int largeur = 0;
  int hauteur = 0;
  int bits = 0;
  std::string compression;
  int images = 0;
  std::int64_t taille = 0;
};

// The settings of a control that take part in loading.
struct Reglages {
  TLoadResolution ImageReadRes = TLoadResolution::lAutoMatic;
  bool ImageDither = false;
  std::int16_t TiffPage = 0;
  TPCDMode PCDMode = TPCDMode::pcd_BASE4;
};

struct Erreur {
  std::int16_t code;
  std::string texte;
};

struct Chargement {
  enum class Issue {
    inchange,  // an extension no reader takes: the picture stays
    efface,    // a missing file, or a text picture about to be drawn: the picture goes
    remplace,  // `image` takes the place of the picture
  };
  Issue issue = Issue::inchange;
  Picture image;           // empty bitmap when a read failed and gave nothing back
  bool historique = true;  // the replaced picture may go to the undo history (not for text pictures)
  std::string message;
  std::optional<Erreur> erreur;
  std::optional<Faits> faits;  // unset when the facts stay as they were
};

// Binds the readers once, with the window that owns their messages.
void initialise_lecteurs(HWND owner);

// ".JPE" for "photo.jpeg": upper-cased, cut to four characters, the dot included.
std::string extension(const std::string &name);
// Bits asked of the readers; `ecran` is the screen's depth.
int bits_demandes(TLoadResolution res, int ecran);
// The name of a TIFF Compression tag value.
const char *compression_tiff(int valeur);

// Loads `nom` as the control does. r.TiffPage may come back lowered.
Chargement charge(const std::string &nom, Reglages &r);

// The last four pictures replaced by a load, newest first, shared by every control.
class UndoHistory {
 public:
  static constexpr std::size_t kTaille = 4;
  // The fourth entry drops out.
  void empile(Picture p);
  // The newest entry, removed; null when there is none.
  Picture depile();
  const Picture &entree(std::size_t i) const { return entrees_.at(i); }
  std::size_t nombre() const;

 private:
  std::array<Picture, kTaille> entrees_;
};

}  // namespace image
