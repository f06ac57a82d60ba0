// The main window's arithmetic and fixed texts, kept apart from the widgets so tests reach them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config.h"

namespace store {
class Store;
}

namespace shell {

inline constexpr const char *kProgramTitle = "Tapemoor 98";
// The maker's line of the status bar, the splash and the About box, in the interface language.
inline const char *ligne_editeur(int langue) {
  return langue == 0 ? "Moorkeep Logiciels \xC2\xB7 collection vid\xC3\xA9o priv\xC3\xA9"
                       "e"
                     : "Moorkeep Software \xC2\xB7 private video collection";
}
inline constexpr const char *kWebFr = "https://www.moorkeep.example/fr/tapemoor/";
inline constexpr const char *kWebEn = "https://www.moorkeep.example/en/tapemoor/";
using store::kHintFile;

// place_controles: the window is never smaller than 640 x 480; the right panel is 425 pixels
// plus half of the width beyond 640.
struct Disposition {
  int largeur;
  int hauteur;
  int panel3;
};
Disposition place_controles(int largeur, int hauteur);

// The caption for a dossier title (cp1252 bytes); no title: the program title alone.
std::string caption_pour(const std::string *titre);

// ---- dossier management, data side of the five commands ----

enum class ValidationDossier { ok, titre_vide, titre_existant };
// The dossier dialog's check of a typed title (cp1252), against every dossier but the open one.
// The title is compared as it will be stored, cut to its 40 characters.
ValidationDossier valide_dossier(store::Store &store, std::string_view titre);

// The chooser's lines: the non-empty titles of "MAINFILE" in file order.
std::vector<std::string> titres_dossiers(store::Store &store);

enum class Ouverture { ouvert, code_incorrect, introuvable };
struct ResultatOuverture {
  Ouverture etat;
  std::string son;  // sound of the opened dossier, possibly empty
};
// Opens the last dossier whose title matches `titre` case-blind. When it has a password,
// `demande_code` is asked for it; a wrong one leaves the open dossier as it was.
ResultatOuverture ouvre_dossier(store::Store &store, std::string_view titre,
                                const std::function<std::string()> &demande_code);
// The same for dossier k of "MAINFILE"; a number outside it is introuvable.
ResultatOuverture ouvre_dossier(store::Store &store, int k, const std::function<std::string()> &demande_code);

// Reads the open dossier into the buffer and checks its password the same way; false: wrong.
bool lit_dossier_protege(store::Store &store, const std::function<std::string()> &demande_code);

}  // namespace shell
