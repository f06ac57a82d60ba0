#include "requetes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "text.h"

namespace search {
namespace {

// Records per block when a search reads a file: large sequential reads of a few hundred KB.
constexpr std::int64_t kBloc = 256;

bool chiffre(char c) {
  return c >= '0' && c <= '9';
}

struct Libelle {
  Champ champ;
  const char *fr;  // UTF-8 here; turned into stored bytes once
  const char *en;
  int liste;  // reference list offered, 0 for a typed value
};

// The field selector in its order; the 18th is longer than the selector takes and is cut.
constexpr Libelle kLibelles[20] = {
    {Champ::annee, "Année de l'enregistrement", "Year of recording", 0},
    {Champ::annee_recompense, "Année de la récompense", "Year of the award", 0},
    {Champ::appreciation, "Appréciation sur l'enregistrement", "Appreciation", 6},
    {Champ::categorie, "Catégorie de la récompense", "Category of the award", 11},
    {Champ::couleur, "Couleur de l'enregistrement", "Color", 5},
    {Champ::date_record, "Date d'enregistrement", "Date of recording", 0},
    {Champ::genre, "Genre de l'enregistrement", "Genre", 2},
    {Champ::nationalite, "Nationalité de l'enregistrement", "Nationality", 3},
    {Champ::nom_generique, "Nom dans le générique", "Name in the credits", 0},
    {Champ::qualite, "Qualité de l'enregistrement", "Quality", 9},
    {Champ::recompense, "Récompense", "Award", 7},
    {Champ::theme, "Thème de l'enregistrement", "Theme", 1},
    {Champ::titre, "Titre de l'enregistrement", "Title", 0},
    {Champ::version, "Version de l'enregistrement", "Version", 4},
    {Champ::format, "Format", "Format", 12},
    {Champ::date_support, "Date de mise en service du support", "Cut-over date of the support", 0},
    {Champ::restant, "Disponible sur le support", "Available on the support", 0},
    {Champ::duree, "Durée total d'enregistrement sur le support",
     "Total duration of recording on the support", 0},
    {Champ::reference_support, "Référence du support", "Reference", 0},
    {Champ::type_support, "Type du support", "Type", 8},
};

const std::vector<std::string> &libelles(int langue) {
  static const std::array<std::vector<std::string>, 2> both = [] {
    std::array<std::vector<std::string>, 2> t;
    for (const Libelle &l : kLibelles) {
      t[0].push_back(store::utf8_to_cp1252(l.fr).substr(0, TDataRequetes::kTexte));
      t[1].push_back(store::utf8_to_cp1252(l.en).substr(0, TDataRequetes::kTexte));
    }
    return t;
  }();
  return both[langue == 0 ? 0 : 1];
}

// Index in kLibelles of `label` in `langue`, -1 when it is none of the 20.
int indice_libelle(std::string_view label, int langue) {
  const std::vector<std::string> &t = libelles(langue);
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i] == label) return static_cast<int>(i);
  return -1;
}

enum class Portee { support, record, recompense, generique, rien };

Portee portee(Champ c) {
  switch (c) {
    case Champ::annee_recompense:
    case Champ::categorie:
    case Champ::recompense:
      return Portee::recompense;
    case Champ::nom_generique:
      return Portee::generique;
    case Champ::date_support:
    case Champ::restant:
    case Champ::duree:
    case Champ::reference_support:
    case Champ::type_support:
      return Portee::support;
    case Champ::aucun:
    case Champ::emprunte:
    case Champ::prete:
      return Portee::rien;
    default:
      return Portee::record;
  }
}

enum class Op { egal, plus_grand, plus_petit, plus_grand_egal, plus_petit_egal, aucun };
enum class Lien { premier, et, ou, aucun };

Op op_de(std::string_view s) {
  if (s == "=") return Op::egal;
  if (s == ">") return Op::plus_grand;
  if (s == "<") return Op::plus_petit;
  if (s == ">=") return Op::plus_grand_egal;
  if (s == "<=") return Op::plus_petit_egal;
  return Op::aucun;
}

}  // namespace

// ---- numbers ----

std::optional<long double> lit_nombre(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negatif = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negatif = text[i++] == '-';
  if (i == n) return std::nullopt;
  const std::size_t debut_entier = i;
  while (i < n && chiffre(text[i])) ++i;
  std::string_view entier = text.substr(debut_entier, i - debut_entier), fraction;
  if (i < n && text[i] == '.') {
    const std::size_t debut = ++i;
    while (i < n && chiffre(text[i])) ++i;
    fraction = text.substr(debut, i - debut);
    if (i == n && fraction.empty()) return std::nullopt;  // ends with the point
  }
  bool exposant_negatif = false;
  std::string_view exposant;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) exposant_negatif = text[i++] == '-';
    const std::size_t debut = i;
    while (i < n && chiffre(text[i])) ++i;
    exposant = text.substr(debut, i - debut);
    if (exposant.empty()) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  // Rewritten in the one form from_chars reads whatever part was left out.
  std::string forme;
  forme.reserve(entier.size() + fraction.size() + exposant.size() + 6);
  forme.append(entier.empty() ? "0" : entier).append(".").append(fraction.empty() ? "0" : fraction);
  if (!exposant.empty()) forme.append(exposant_negatif ? "e-" : "e").append(exposant);
  long double v = 0;
  auto [p, ec] = std::from_chars(forme.data(), forme.data() + forme.size(), v);
  if (ec == std::errc::result_out_of_range) {
    // Only the exponent can take it out of range: far up is infinite, far down is 0.
    v = exposant_negatif ? 0.0L : std::numeric_limits<long double>::infinity();
  } else if (ec != std::errc() || p != forme.data() + forme.size()) {
    return std::nullopt;
  }
  return negatif ? -v : v;
}

// ---- fields, operators, link words ----

const std::vector<std::string> &libelles_champs(int langue) {
  return libelles(langue);
}

Champ champ_de(std::string_view label, int langue) {
  int i = indice_libelle(label, langue);
  if (i >= 0) return kLibelles[i].champ;
  if (label == kReferenceRecord) return Champ::reference_record;
  if (label == kEmprunte) return Champ::emprunte;
  if (label == kPrete) return Champ::prete;
  return Champ::aucun;
}

SaisieValeur saisie_du_champ(std::string_view label, int langue) {
  int i = indice_libelle(label, langue);
  if (i >= 0 && kLibelles[i].liste > 0) return {SaisieValeur::liste, kLibelles[i].liste};
  if (label == kEmprunte || label == kPrete) return {SaisieValeur::oui_non, 0};
  return {};
}

std::vector<std::string> mots_oui_non(int langue) {
  if (langue == 0) return {"Oui", "Non"};
  return {"Yes", "No"};
}

std::vector<std::string> operateurs(bool numerique) {
  if (!numerique) return {"="};
  return {"=", ">", "<", ">=", "<="};
}

const char *mot_et(int langue) {
  return langue == 0 ? "et" : "and";
}
const char *mot_ou(int langue) {
  return langue == 0 ? "ou" : "or";
}

// ---- the criteria list ----

int nombre_criteres(const TDataRequetes &q) {
  int n = 0;
  while (n < kMaxCriteres && !q.donnee(n).empty()) ++n;
  return n;
}

std::string ligne_critere(const TDataRequetes &q, int i) {
  std::string l = i == 0 ? std::string("    ") : std::string(q.lien(i)) + ' ';
  l.append(q.champ(i)).append(" ").append(q.operateur(i)).append(" ").append(q.donnee(i));
  return l;
}

std::vector<std::string> lignes_criteres(const TDataRequetes &q) {
  std::vector<std::string> lignes;
  for (int i = 0, n = nombre_criteres(q); i < n; ++i) lignes.push_back(ligne_critere(q, i));
  return lignes;
}

std::string message(Msg m, int langue) {
  const bool fr = langue == 0;
  switch (m) {
    case Msg::donnee_manquante:
      return fr ? "Vous devez sélectionner ou saisir une donnée" : "you must select or enter a value";
    case Msg::liste_pleine:
      return fr ? "La liste est pleine : une requête compte 100 critères au plus"
                : "The list is full: a query holds 100 criteria at most";
    case Msg::supprimer_selection:
      return fr ? "Désirez-vous supprimer cette sélection ?" : "Do you want to delete this selection ?";
    case Msg::supprimer_tout:
      return fr ? "Désirez-vous supprimer toute la sélection ?" : "Do you want to delete all the selection ?";
    case Msg::aucun_resultat:
      return fr ? "Il n'y a pas d'enregistrement répondant à ces critères" : "No records was found";
    case Msg::titre_ouvrir:
      return fr ? "Ouvrir un fichier de requêtes" : "Open a requests file";
    case Msg::titre_enregistrer:
      return fr ? "Enregistrer un fichier de requêtes" : "Save requests";
  }
  return {};
}

std::optional<Msg> refus_ajout(const TDataRequetes &q, std::string_view donnee_liste,
                               std::string_view donnee_texte) {
  if (donnee_liste.empty() && donnee_texte.empty()) return Msg::donnee_manquante;
  // Slot 100 ends the list, so there is no room for a 101st criterion.
  if (nombre_criteres(q) >= kMaxCriteres) return Msg::liste_pleine;
  return std::nullopt;
}

Ajout ajoute_critere(TDataRequetes &q, std::string_view champ, std::string_view donnee_liste,
                     std::string_view donnee_texte, std::string_view operateur, std::string_view lien) {
  if (auto refus = refus_ajout(q, donnee_liste, donnee_texte)) return {-1, refus};
  const std::string_view donnee =
      (donnee_liste.empty() ? donnee_texte : donnee_liste).substr(0, TDataRequetes::kTexte);
  const int i = nombre_criteres(q);
  q.set_champ(i, champ);
  q.set_donnee(i, donnee);
  q.set_operateur(i, operateur);
  q.set_lien(i, lien);
  q.set_numerique(i, est_nombre(donnee));
  return {i, std::nullopt};
}

bool suppression_possible(const TDataRequetes &q, int selection) {
  return selection >= 0 && selection < nombre_criteres(q);
}

void supprime_critere(TDataRequetes &q, int i) {
  if (i < 0 || i >= kSlots) return;
  for (int k = i; k < kSlots - 1; ++k) {
    q.set_champ(k, q.champ(k + 1));
    q.set_donnee(k, q.donnee(k + 1));
    q.set_operateur(k, q.operateur(k + 1));
    q.set_lien(k, q.lien(k + 1));
    q.set_numerique(k, q.numerique(k + 1));
  }
  q.set_champ(kSlots - 1, {});
  q.set_donnee(kSlots - 1, {});
  q.set_operateur(kSlots - 1, {});
  q.set_lien(kSlots - 1, {});
  q.set_numerique(kSlots - 1, false);
}

void vide(TDataRequetes &q) {
  q.clear();
}

// ---- evaluation ----

struct Evaluateur::Critere {
  Champ champ;
  Portee portee;
  bool numerique;
  std::optional<long double> valeur;  // the value read as a number, for a numeric criterion
  std::string donnee;
  Op op;
  Lien lien;

  bool compare(std::string_view texte) const {
    if (!numerique) return texte == donnee;
    if (!valeur) return false;
    std::optional<long double> v = lit_nombre(texte);
    return v && ordre(*v);
  }
  bool compare(std::int32_t entier) const {
    if (!numerique) {
      char buf[16];
      auto r = std::to_chars(buf, buf + sizeof buf, entier);
      return std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)) == donnee;
    }
    return valeur && ordre(static_cast<long double>(entier));
  }
  bool ordre(long double v) const {
    switch (op) {
      case Op::egal:
        return v == *valeur;
      case Op::plus_grand:
        return v > *valeur;
      case Op::plus_petit:
        return v < *valeur;
      case Op::plus_grand_egal:
        return v >= *valeur;
      case Op::plus_petit_egal:
        return v <= *valeur;
      case Op::aucun:
        break;
    }
    return false;
  }
};

Evaluateur::Evaluateur(const TDataRequetes &q, int langue) {
  const std::string_view et = mot_et(langue), ou = mot_ou(langue);
  for (int i = 0, n = nombre_criteres(q); i < n; ++i) {
    Critere c;
    c.champ = champ_de(q.champ(i), langue);
    c.portee = portee(c.champ);
    c.numerique = q.numerique(i);
    c.donnee = q.donnee(i);
    c.valeur = c.numerique ? lit_nombre(c.donnee) : std::nullopt;
    c.op = op_de(q.operateur(i));
    c.lien = i == 0 ? Lien::premier : q.lien(i) == et ? Lien::et : q.lien(i) == ou ? Lien::ou : Lien::aucun;
    recompenses_ |= c.portee == Portee::recompense;
    generique_ |= c.portee == Portee::generique;
    format_ |= c.champ == Champ::format;
    crit_.push_back(std::move(c));
  }
}

Evaluateur::Evaluateur(const Evaluateur &) = default;
Evaluateur &Evaluateur::operator=(const Evaluateur &) = default;
Evaluateur::~Evaluateur() = default;
int Evaluateur::criteres() const {
  return static_cast<int>(crit_.size());
}

// Every criterion linked by the AND word binds to the first; each one linked by the OR word is
// enough alone; a link of another language joins neither.
bool Evaluateur::combine(const bool *met) const {
  if (crit_.empty()) return false;
  bool et = met[0], ou = false;
  for (std::size_t i = 1; i < crit_.size(); ++i) {
    if (crit_[i].lien == Lien::et) et = et && met[i];
    if (crit_[i].lien == Lien::ou) ou = ou || met[i];
  }
  return et || ou;
}

bool Evaluateur::test_supports(const store::TDataSupport &s) const {
  std::array<bool, kSlots> met{};
  for (std::size_t i = 0; i < crit_.size(); ++i) {
    const Critere &c = crit_[i];
    switch (c.champ) {
      case Champ::date_support:
        met[i] = c.compare(s.date_view());
        break;
      case Champ::restant:
        met[i] = c.compare(s.restant());
        break;
      case Champ::duree:
        met[i] = c.compare(s.duree());
        break;
      case Champ::reference_support:
        met[i] = c.compare(s.reference_view());
        break;
      case Champ::type_support:
        met[i] = c.compare(s.support_view());
        break;
      default:
        met[i] = false;
    }
  }
  return combine(met.data());
}

bool Evaluateur::test_records(const store::RecordingView &r, int recompense, int generique) const {
  const store::TDataRecord &rec = r.record;
  const bool a = recompense >= 1 && recompense <= store::kAwards;
  const bool g = generique >= 1 && generique <= store::kCredits;
  std::array<bool, kSlots> met{};
  for (std::size_t i = 0; i < crit_.size(); ++i) {
    const Critere &c = crit_[i];
    bool m = false;
    switch (c.champ) {
      case Champ::annee:
        m = c.compare(rec.annee());
        break;
      case Champ::annee_recompense:
        m = a && c.compare(r.recompense.annee_recompense(recompense));
        break;
      case Champ::appreciation:
        m = c.compare(rec.appreciation_view());
        break;
      case Champ::categorie:
        m = a && c.compare(r.recompense.categorie(recompense));
        break;
      case Champ::couleur:
        m = c.compare(rec.couleur_view());
        break;
      case Champ::date_record:
        m = c.compare(rec.date_view());
        break;
      case Champ::genre:
        m = c.compare(rec.genre_view());
        break;
      case Champ::nationalite:
        m = c.compare(rec.nationalite_view());
        break;
      case Champ::nom_generique:
        m = g && c.compare(r.generique.nom(generique));
        break;
      case Champ::qualite:
        m = c.compare(rec.qualite_view());
        break;
      case Champ::recompense:
        m = a && c.compare(r.recompense.recompense(recompense));
        break;
      case Champ::theme:
        m = c.compare(rec.theme_view());
        break;
      case Champ::titre:
        m = c.compare(rec.titre_view());
        break;
      case Champ::version:
        m = c.compare(rec.version_view());
        break;
      case Champ::format:
        m = c.compare(r.record1.format_view());
        break;
      case Champ::reference_record:
        m = c.compare(rec.reference_view());
        break;
      default:
        break;
    }
    met[i] = m;
  }
  return combine(met.data());
}

bool Evaluateur::retenu(const store::TDataSupport &s) const {
  return !crit_.empty() && test_supports(s);
}

bool Evaluateur::retenu(const store::RecordingView &r) const {
  if (crit_.empty()) return false;
  // Without an award field every award pass gives the same answer, and without a credit field
  // every credit pass does: one of each is enough.
  for (int a = recompenses_ ? 1 : store::kAwards; a <= store::kAwards; ++a) {
    if (!generique_) {
      if (test_records(r, a, 0)) return true;
      continue;
    }
    for (int g = 1; g <= store::kCredits; ++g)
      if (test_records(r, a, g)) return true;
  }
  return false;
}

// ---- the search ----

std::vector<Resultat> cherche(store::Store &s, const TDataRequetes &q, int langue, int dossier) {
  if (dossier < 0) dossier = s.dossier_courant();
  if (dossier < 0) throw store::StoreError("open", s.data_dir, "no dossier is open");
  const Evaluateur ev(q, langue);
  std::vector<Resultat> hits;
  if (ev.criteres() == 0) return hits;

  {
    store::RecordFile f(store::TDataSupport::record_size, s.io());
    f.open_for_reading(s.nom_fichier(store::kSupportsBase, dossier));
    const std::int64_t count = f.count();
    std::vector<store::TDataSupport> bloc(static_cast<std::size_t>(std::min(count, kBloc)));
    for (std::int64_t at = 0; at < count; at += kBloc) {
      const std::int64_t m = std::min(kBloc, count - at);
      f.read_many(at, m, bloc.data());
      for (std::int64_t i = 0; i < m; ++i) {
        const store::TDataSupport &sup = bloc[static_cast<std::size_t>(i)];
        if (ev.retenu(sup)) hits.push_back({Resultat::support, static_cast<int>(at + i), sup.reference()});
      }
    }
  }

  // Only the files the criteria look at are read; the others stand as blank records.
  store::RecordingFiles files(s.io());
  files.records.open_for_reading(s.nom_fichier(store::kRecordsBase, dossier));
  if (ev.lit_format()) files.records1.open_for_reading(s.nom_fichier(store::kRecords1Base, dossier));
  if (ev.lit_generique()) files.credits.open_for_reading(s.nom_fichier(store::kCreditsBase, dossier));
  if (ev.lit_recompenses()) files.awards.open_for_reading(s.nom_fichier(store::kAwardsBase, dossier));
  const std::int64_t count = files.records.count();
  const auto n = static_cast<std::size_t>(std::min(count, kBloc));
  std::vector<store::TDataRecord> r(n);
  std::vector<store::TDataRecord1> r1(ev.lit_format() ? n : 1);
  std::vector<store::TDataGenerique> g(ev.lit_generique() ? n : 1);
  std::vector<store::TDataRecompense> a(ev.lit_recompenses() ? n : 1);
  // A dossier that never had a second recordings file has blank formats.
  const bool formats = ev.lit_format() && files.records1.count() > 0;
  for (std::int64_t at = 0; at < count; at += kBloc) {
    const std::int64_t m = std::min(kBloc, count - at);
    files.records.read_many(at, m, r.data());
    if (formats) files.records1.read_many(at, m, r1.data());
    if (ev.lit_generique()) files.credits.read_many(at, m, g.data());
    if (ev.lit_recompenses()) files.awards.read_many(at, m, a.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i) {
      const store::RecordingView v{r[i], r1[r1.size() > 1 ? i : 0], g[g.size() > 1 ? i : 0],
                                   a[a.size() > 1 ? i : 0]};
      if (ev.retenu(v))
        hits.push_back({Resultat::record, static_cast<int>(at) + static_cast<int>(i), r[i].titre()});
    }
  }
  return hits;
}

print::Filtres filtres(const TDataRequetes &q, int langue) {
  if (nombre_criteres(q) == 0) return {};
  auto ev = std::make_shared<const Evaluateur>(q, langue);
  return {[ev](const store::TDataSupport &s) { return ev->retenu(s); },
          [ev](const store::RecordingView &r) { return ev->retenu(r); }};
}

// ---- query files ----

TDataRequetes lit_fichier(const std::string &path, store::Io &io) {
  store::RecordFile f(TDataRequetes::record_size, io);
  if (!f.open_for_reading(path)) throw store::StoreError("open", path, std::strerror(ENOENT));
  TDataRequetes q;
  f.read(0, q.bytes.data());
  return q;
}

bool fichier_existe(const std::string &path, store::Io &io) {
  return io.access(path.c_str(), F_OK) == 0;
}

void ecrit_fichier(const std::string &path, const TDataRequetes &q, store::Io &io) {
  // An existing file that cannot be opened for writing keeps its query: replacing it by a rename
  // would get past what stops the writing.
  const int fd = io.open(path.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (fd >= 0)
    io.close(fd);
  else if (errno != ENOENT)
    throw store::StoreError("open", path, std::strerror(errno));
  store::ecrit_entier(path, std::string_view(reinterpret_cast<const char *>(q.bytes.data()), q.bytes.size()),
                      io);
}

// ---- the program-wide state ----

const std::vector<Resultat> &EtatRecherche::lance(store::Store &s, const TDataRequetes &travail, int langue) {
  requete = travail;
  resultats.clear();
  resultats = cherche(s, requete, langue);
  resultats_voulus = !resultats.empty();
  return resultats;
}

void EtatRecherche::valide(const TDataRequetes &travail) {
  requete = travail;
  resultats_voulus = false;
}

void EtatRecherche::ouvre(const std::string &path, store::Io &io) {
  requete = lit_fichier(path, io);
}

void EtatRecherche::enregistre(const std::string &path, const TDataRequetes &travail, store::Io &io) {
  requete = travail;
  ecrit_fichier(path, requete, io);
}

int support_du_resultat(store::Store &s, const Resultat &r) {
  if (r.sorte == Resultat::support) return r.numero;
  const int dossier = s.dossier_courant();
  if (dossier < 0) return -1;
  store::RecordFile f(store::TDataRecord::record_size, s.io());
  f.open_for_reading(s.nom_fichier(store::kRecordsBase, dossier));
  if (r.numero < 0 || r.numero >= f.count()) return -1;
  store::TDataRecord rec;
  f.read(r.numero, rec.bytes.data());
  // The search for the support stops at the end of the file rather than read past it.
  int support = -1;
  s.scan_supports([&](int n, const store::TDataSupport &sup) {
    if (support < 0 && sup.numero() == rec.numero_support()) support = n;
  });
  return support;
}

}  // namespace search
