// The list reports, drawn on a canvas from the open dossier's files. Each reads every file it
// needs once, from record 0 to the end, and leaves the store's current state untouched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "store.h"

namespace print {

// Which items a list report prints; an empty filter prints them all (the search's criteria
// plug in here).
struct Filtres {
  std::function<bool(const store::TDataSupport &)> support;
  std::function<bool(const store::RecordingView &)> record;
};

// What a report printed: how many items and pages. Nothing printed: `message` is the no-item
// message in the interface language, to be shown in an information box.
struct Bilan {
  int items = 0;
  int pages = 0;
  std::string message;
};

// Record numbers in the order of their texts (case-insensitive, in the locale's order), record
// number order between equal texts, for any number of records.
std::vector<int> ordre_cles(const std::vector<std::string> &textes);

// "LISTE DES SUPPORTS": every support with the titles of its recordings.
Bilan liste_supports(store::Store &s, Canvas &c, int langue, const Filtres &f = {});
// "LISTE DES ENREGISTREMENTS": one recording per row, with its support's reference and type.
Bilan liste_enregistrements(store::Store &s, Canvas &c, int langue, const Filtres &f = {});

// The lent (borrowed) supports in file order, one row each; `a_rendre`: only those whose return
// date today has reached. Nothing to print draws nothing and leaves `message` empty.
Bilan liste_prets(store::Store &s, Canvas &c, int langue, bool emprunt, bool a_rendre);

// The dossier's recording plan, all ten entries, on one page.
Bilan planning(store::Store &s, Canvas &c, int langue);

// The technical sheet and the credits of recording `record` (its record number); a record number
// outside the file prints nothing. A recording whose support is gone prints empty support fields.
Bilan fiche_technique(store::Store &s, Canvas &c, int langue, int record);
Bilan generique(store::Store &s, Canvas &c, int langue, int record);

// A Windows-1252 text broken into lines no wider than `largeur` units in Times New Roman normal
// `points`: at spaces, at line breaks, and inside a word too long for a line.
std::vector<std::string> coupe_lignes(std::string_view texte, int points, int largeur);

}  // namespace print
