// The multi-criteria search without a widget: the query record, its criteria and their lines,
// the test of one support or recording, the search over a dossier, query files, and the state
// the program keeps between two showings of the search window.
//
// Query record layout (TDataRequetes, 9,595 bytes, packed, the record 0 of a ".req" file):
//
//   offset  size        field
//   0       101 x 41    champ[0..100]      field label, text 40
//   4141    101 x 41    donnee[0..100]     value, text 40
//   8282    101 x 6     operateur[0..100]  "=", ">", "<", ">=", "<=", text 5
//   8888    101 x 6     lien[0..100]       link word to the criteria before, text 5
//   9494    101 x 1     numerique[0..100]  1 when the value read as a number when added
//
// Invariants: the criteria are slots 0 up to the first slot whose donnee is empty; the program
// never fills slot 100, so a query holds at most 100 criteria (a file that fills all 101 slots
// still counts 100). The lien of slot 0 is never used. Labels and link words are stored in the
// language that was current when the criterion was added; a link word of the other language
// links nothing.
//
// Texts (labels, values, link words, hit texts) are Windows-1252 bytes, as stored; messages
// meant for a box or a terminal are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports.h"
#include "store.h"

namespace search {

inline constexpr int kSlots = 101;
inline constexpr int kMaxCriteres = kSlots - 1;

// ---- the record ----

struct TDataRequetes : store::RecordBytes<9595> {
  static constexpr std::size_t kChamp = 0, kDonnee = 4141, kOperateur = 8282, kLien = 8888, kNumerique = 9494;
  static constexpr std::size_t kTexte = 40, kCourt = 5;

  // Slots are numbered 0..100; an index outside is clamped, never let into another field.
  std::string_view champ(int i) const { return get_view(at(kChamp, kTexte, i), kTexte); }
  std::string_view donnee(int i) const { return get_view(at(kDonnee, kTexte, i), kTexte); }
  std::string_view operateur(int i) const { return get_view(at(kOperateur, kCourt, i), kCourt); }
  std::string_view lien(int i) const { return get_view(at(kLien, kCourt, i), kCourt); }
  // Any byte but 0 compares as a number.
  bool numerique(int i) const { return bytes[kNumerique + clamp(i)] != 0; }

  void set_champ(int i, std::string_view v) { put_text(at(kChamp, kTexte, i), kTexte, v); }
  void set_donnee(int i, std::string_view v) { put_text(at(kDonnee, kTexte, i), kTexte, v); }
  void set_operateur(int i, std::string_view v) { put_text(at(kOperateur, kCourt, i), kCourt, v); }
  void set_lien(int i, std::string_view v) { put_text(at(kLien, kCourt, i), kCourt, v); }
  void set_numerique(int i, bool v) { bytes[kNumerique + clamp(i)] = v ? 1 : 0; }

 private:
  static constexpr std::size_t clamp(int i) {
    return i < 0 ? 0 : (i >= kSlots ? std::size_t(kSlots - 1) : std::size_t(i));
  }
  static constexpr std::size_t at(std::size_t base, std::size_t width, int i) {
    return base + clamp(i) * (width + 1);
  }
};
static_assert(sizeof(TDataRequetes) == 9595);
static_assert(TDataRequetes::kDonnee == TDataRequetes::kChamp + kSlots * 41);
static_assert(TDataRequetes::kOperateur == TDataRequetes::kDonnee + kSlots * 41);
static_assert(TDataRequetes::kLien == TDataRequetes::kOperateur + kSlots * 6);
static_assert(TDataRequetes::kNumerique == TDataRequetes::kLien + kSlots * 6);
static_assert(TDataRequetes::kNumerique + kSlots == TDataRequetes::record_size);

// ---- numbers ----

// Reads `text` as a decimal number: leading spaces, an optional sign, digits, optionally "."
// and digits, optionally "E"/"e", a sign and at least one digit, to the very end; something
// must follow the spaces and the sign, and the text may not end with the ".". An exponent too
// large gives an infinity, too small 0.
std::optional<long double> lit_nombre(std::string_view text);
inline bool est_nombre(std::string_view text) {
  return lit_nombre(text).has_value();
}

// ---- fields, operators, link words ----

// What a field label names. `aucun`: a text that is no field of the current language.
enum class Champ {
  aucun,
  annee,              // 1  recording: annee
  annee_recompense,   // 2  award entry
  appreciation,       // 3
  categorie,          // 4  award entry
  couleur,            // 5
  date_record,        // 6
  genre,              // 7
  nationalite,        // 8
  nom_generique,      // 9  credit entry
  qualite,            // 10
  recompense,         // 11 award entry
  theme,              // 12
  titre,              // 13
  version,            // 14
  format,             // 15 second record
  date_support,       // 16 support
  restant,            // 17 support
  duree,              // 18 support
  reference_support,  // 19 support
  type_support,       // 20 support
  reference_record,   // typed only: recording reference
  emprunte,           // typed only: no item has it
  prete,              // typed only: no item has it
};

// The 20 labels of the field selector in its order, in `langue` (0 French, 1 English), each at
// most 40 characters (entry 18 is kept cut).
const std::vector<std::string> &libelles_champs(int langue);
// The three texts recognised when typed, in both languages.
inline constexpr const char *kReferenceRecord =
    "R\xe9"
    "f\xe9rence de l'enregistrement";
inline constexpr const char *kEmprunte = "Emprunt\xe9";
inline constexpr const char *kPrete = "Pr\xeat\xe9";

// The field a label names in `langue`: the 20 labels of that language and the three typed texts.
Champ champ_de(std::string_view label, int langue);

// How the value of a field is entered.
struct SaisieValeur {
  enum Sorte { texte, liste, oui_non } sorte = texte;
  int liste_kind = 0;  // 1..12 for `liste`: the reference list whose entries are offered
};
SaisieValeur saisie_du_champ(std::string_view label, int langue);
// The yes and no words offered for "Emprunté" and "Prêté".
std::vector<std::string> mots_oui_non(int langue);

// "=" alone, or "=", ">", "<", ">=", "<=" when the edited value is numeric.
std::vector<std::string> operateurs(bool numerique);
// The link selector: the AND word, then the OR word ("et", "ou"; "and", "or").
const char *mot_et(int langue);
const char *mot_ou(int langue);

// ---- the criteria list (the window's working copy and the in-memory query) ----

// Criteria in the query: slots before the first empty donnee, at most 100.
int nombre_criteres(const TDataRequetes &q);
// Line i as the list shows it: the first "    field op value", the others "link field op value".
std::string ligne_critere(const TDataRequetes &q, int i);
std::vector<std::string> lignes_criteres(const TDataRequetes &q);

// The messages of the search window and its file buttons, UTF-8, in `langue`.
enum class Msg {
  donnee_manquante,     // add with no value
  liste_pleine,         // add with 100 criteria listed
  supprimer_selection,  // confirmation before deleting one criterion
  supprimer_tout,       // confirmation before deleting all
  aucun_resultat,       // a search with no hit
  titre_ouvrir,         // title of the file dialog, open
  titre_enregistrer,    // title of the file dialog, save
};
std::string message(Msg m, int langue);
// The file dialog's filter: one entry, "Requêtes" over "*.req" (UTF-8, Qt's filter syntax).
inline constexpr const char *kFiltreFichiers = "Requ\xc3\xaates (*.req)";

// Why a criterion cannot be added now; nothing when it can. Checked before anything changes.
std::optional<Msg> refus_ajout(const TDataRequetes &q, std::string_view donnee_liste,
                               std::string_view donnee_texte);
// Adds a criterion as the add button does: value from the list control when not empty, else from
// the free text; field and value cut to 40, operator and link to 5; numeric flag from the value.
// Returns the new criterion's slot (its line, to select), or the refusal.
struct Ajout {
  int slot = -1;
  std::optional<Msg> refus;
};
Ajout ajoute_critere(TDataRequetes &q, std::string_view champ, std::string_view donnee_liste,
                     std::string_view donnee_texte, std::string_view operateur, std::string_view lien);
// True when deleting line `selection` (0-based, -1 none) means anything: without a selected
// criterion the delete button does nothing and asks nothing.
bool suppression_possible(const TDataRequetes &q, int selection);
// Removes criterion i: slots i+1..100 move down, slot 100 empties. Out of range: nothing.
void supprime_critere(TDataRequetes &q, int i);
// Empties all 101 slots (texts empty, flags 0).
void vide(TDataRequetes &q);

// ---- evaluation ----

// A query made ready for testing many items in one language: labels, numbers, operators and
// link words are read once.
class Evaluateur {
 public:
  Evaluateur(const TDataRequetes &q, int langue);
  Evaluateur(const Evaluateur &);
  Evaluateur &operator=(const Evaluateur &);
  ~Evaluateur();
  int criteres() const;
  // Whether the query looks at award entries, credit entries, the second record.
  bool lit_recompenses() const { return recompenses_; }
  bool lit_generique() const { return generique_; }
  bool lit_format() const { return format_; }

  // One test of a support.
  bool test_supports(const store::TDataSupport &s) const;
  // One test of a recording with award entry `recompense` (1..10) and credit entry `generique`
  // (1..30); 0 means no entry, whose fields meet nothing.
  bool test_records(const store::RecordingView &r, int recompense, int generique) const;

  // Whether a support is a hit: one test, and the query holds at least one criterion.
  bool retenu(const store::TDataSupport &s) const;
  // Whether a recording is a hit: its award entries 1..10 in turn, each with its credit entries
  // 1..30 in turn when the query names a credit field, stopping at the first true test. A query
  // with no award field tests one award pass; one with no credit field tests no credit entry.
  bool retenu(const store::RecordingView &r) const;

  struct Critere;  // one criterion, read

 private:
  bool combine(const bool *met) const;
  std::vector<Critere> crit_;
  bool recompenses_ = false, generique_ = false, format_ = false;
};

// One hit of a search.
struct Resultat {
  enum Sorte { support, record } sorte;
  int numero;         // record number in the supports or recordings file, from 0
  std::string texte;  // the support's reference, the recording's titre
  // The kind tag of the results outline: "k7img" or "filmimg".
  const char *tag() const { return sorte == support ? "k7img" : "filmimg"; }
  bool operator==(const Resultat &) const = default;
};

// The search over dossier `dossier` (the open one by default): supports in file order, then
// recordings in file order. Each file the query needs is read once, in large blocks; the
// store's current state is untouched. A read failure throws store::StoreError.
std::vector<Resultat> cherche(store::Store &s, const TDataRequetes &q, int langue, int dossier = -1);

// The list reports' filter: none with an empty query (everything prints), else the search's test.
print::Filtres filtres(const TDataRequetes &q, int langue);

// ---- query files ----

// Reads record 0 of a query file. A missing file, or one shorter than one record, throws
// store::StoreError; nothing is created or written.
TDataRequetes lit_fichier(const std::string &path, store::Io &io = store::system_io());
// Writes `q` as the whole file, safely (the old file stays until the new one is on the disk).
// An existing file that cannot be written is refused with store::StoreError and left alone.
void ecrit_fichier(const std::string &path, const TDataRequetes &q, store::Io &io = store::system_io());
// True when `path` names an existing file (the open button ignores other names).
bool fichier_existe(const std::string &path, store::Io &io = store::system_io());

// ---- what the program keeps between showings of the search window ----

// The program-wide search state, held by the shell and handed to the windows: the in-memory
// query, the results-wanted flag and the hits of the last search.
struct EtatRecherche {
  TDataRequetes requete;            // empty at start-up
  bool resultats_voulus = false;    // set by a search with hits, cleared by OK and cancel
  std::vector<Resultat> resultats;  // the last search's hits; the results command needs one

  // The search button: `travail` becomes the in-memory query, the search runs over the open
  // dossier; with hits they are kept and the results are wanted; with none the last hits are
  // gone too and the caller shows message(Msg::aucun_resultat).
  const std::vector<Resultat> &lance(store::Store &s, const TDataRequetes &travail, int langue);
  // The OK button: the working copy becomes the in-memory query, no results wanted.
  void valide(const TDataRequetes &travail);
  // The clear button: the in-memory query is emptied.
  void efface() { vide(requete); }
  // The open button, `path` an existing file: its query becomes the in-memory query.
  void ouvre(const std::string &path, store::Io &io = store::system_io());
  // The save button: the working copy becomes the in-memory query and is written to `path`.
  void enregistre(const std::string &path, const TDataRequetes &travail, store::Io &io = store::system_io());
};

// Going to hit n of the results: the support record number of a hit, its own for a support;
// for a recording, the support whose numero is its numero_support, -1 when none matches (shown
// as the tree shows such recordings). Reads without touching the current state.
int support_du_resultat(store::Store &s, const Resultat &r);

}  // namespace search
