#include <algorithm>
#include <optional>

#include "lists.h"
#include "page.h"
#include "reports.h"
#include "text.h"

namespace print {
namespace {

using store::cp1252_to_utf8;

constexpr int x0 = 40;  // the single-page reports sit 4 mm to the right

std::string mn(int minutes) {
  return std::to_string(minutes) + " mn";
}

Bilan une_page(bool imprime) {
  Bilan b;
  b.items = b.pages = imprime ? 1 : 0;
  return b;
}

// The title box and frame of the credits and the planning.
void cadre(Canvas &c) {
  boite_titre(c, x0 + 105, -55, x0 + 1903, -205);
  c.crayon(4);
  c.rectangle_arrondi(x0 + 100, -350, x0 + 1900, -2800, 30, 30);
}

// Advance widths of Times New Roman in thousandths of an em, for the printable ASCII characters;
// other characters count as 500.
constexpr short kTimesLargeurs[95] = {
    250, 333, 408, 500, 500, 833, 778, 180, 333, 333, 500, 564, 250, 333, 250, 278, 500, 500, 500,
    500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444, 921, 722, 667, 667, 722, 611,
    556, 722, 722, 333, 389, 722, 611, 889, 722, 722, 556, 722, 667, 556, 611, 722, 722, 944, 722,
    722, 611, 333, 278, 333, 469, 500, 333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500,
    278, 778, 500, 500, 500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541};

// Width in thousandths of an em; one point is 254 / 72 units.
int largeur_em(std::string_view t) {
  int w = 0;
  for (unsigned char ch : t) w += ch >= 32 && ch < 127 ? kTimesLargeurs[ch - 32] : 500;
  return w;
}

// One recording's records as the single-recording reports read them.
struct Lu {
  store::TDataRecord record;
  store::TDataGenerique generique;
  store::TDataRecompense recompense;
};

std::optional<Lu> lit_record(store::Store &s, int n) {
  store::RecordingFiles files(s.io());
  s.open_recording_files_for_reading(s.dossier_courant(), files);
  if (n < 0 || n >= files.records.count()) return std::nullopt;
  Lu lu;
  files.records.read(n, lu.record.bytes.data());
  if (n < files.credits.count()) files.credits.read(n, lu.generique.bytes.data());
  if (n < files.awards.count()) files.awards.read(n, lu.recompense.bytes.data());
  files.close();
  return lu;
}

}  // namespace

std::vector<std::string> coupe_lignes(std::string_view texte, int points, int largeur) {
  // Thousandths of an em that fit in `largeur` units.
  const long long max_em = static_cast<long long>(largeur) * 72 * 1000 / (254LL * points);
  std::vector<std::string> lignes;
  std::size_t debut = 0;
  while (debut <= texte.size()) {
    std::size_t fin = texte.find_first_of("\r\n", debut);
    std::string_view para = texte.substr(debut, fin == std::string_view::npos ? fin : fin - debut);
    // Break the paragraph at the last space that fits, or inside a word with none.
    while (true) {
      if (largeur_em(para) <= max_em) {
        lignes.emplace_back(para);
        break;
      }
      std::size_t n = 1;
      while (n < para.size() && largeur_em(para.substr(0, n + 1)) <= max_em) ++n;
      std::size_t espace = para.substr(0, n + 1).rfind(' ');
      const std::size_t coupe = espace != std::string_view::npos && espace > 0 ? espace : n;
      lignes.emplace_back(para.substr(0, coupe));
      para.remove_prefix(coupe);
      if (!para.empty() && para.front() == ' ') para.remove_prefix(1);
    }
    if (fin == std::string_view::npos) break;
    debut = fin + (texte.substr(fin, 2) == "\r\n" ? 2 : 1);
  }
  if (lignes.size() == 1 && lignes.front().empty()) lignes.clear();
  return lignes;
}

Bilan planning(store::Store &s, Canvas &c, int langue) {
  const store::TDataPlanning plan = s.lit_planning();
  c.debut_job();
  cadre(c);
  c.police(kArial, Style::bold, 18);
  c.ecrit(x0 + 1015, -70, texte_langue(langue, "PLANNING DES ENREGISTREMENTS", "PLANNING OF RECORDINGS"),
          Align::center);
  c.police(kArial, Style::bold, 12);
  c.ecrit(x0 + 500, -500, texte_langue(langue, "FILMS", "TITLE"), Align::center);
  c.ecrit(x0 + 1100, -500, "DATE", Align::center);
  c.ecrit(x0 + 1400, -500, texte_langue(langue, "HEURE", "TIME"), Align::center);
  c.ecrit(x0 + 1700, -500, "SHOWVIEW", Align::center);
  c.police(kArial, Style::normal, 12);
  for (int n = 1; n <= store::kPlanned; ++n) {
    const int y = -700 - (n - 1) * 150;
    c.ecrit(x0 + 150, y, cp1252_to_utf8(plan.film(n)));
    c.ecrit(x0 + 1100, y, cp1252_to_utf8(plan.date_prevue(n)), Align::center);
    c.ecrit(x0 + 1400, y, cp1252_to_utf8(plan.heure(n)), Align::center);
    c.ecrit(x0 + 1700, y, cp1252_to_utf8(plan.showview(n)), Align::center);
  }
  pied_page(c, -2830, 1);
  c.fin_job();
  return une_page(true);
}

Bilan fiche_technique(store::Store &s, Canvas &c, int langue, int record) {
  const std::optional<Lu> lu = lit_record(s, record);
  if (!lu) return une_page(false);
  const store::TDataRecord &r = lu->record;
  std::optional<store::TDataSupport> sup;
  s.scan_supports([&](int, const store::TDataSupport &x) {
    if (!sup && x.numero() == r.numero_support()) sup = x;
  });
  // A recording whose support is gone prints empty support fields.
  auto champ = [&](auto get) { return sup ? cp1252_to_utf8(get(*sup)) : std::string(); };
  auto duree = [&](int minutes) { return sup ? mn(minutes) : std::string(); };

  c.debut_job();
  boite_titre(c, x0 + 105, -55, x0 + 1903, -225);
  struct Section {
    int x1, y1, x2, y2, tx1, ty1, tx2, ty2, cx, cy;
    const char *fr, *en;
  };
  static constexpr Section sections[] = {
      {100, -350, 1900, -900, 150, -300, 900, -400, 525, -305, "L'Enregistrement", "Recording"},
      {100, -1000, 975, -1500, 150, -950, 900, -1050, 525, -955, "Résumé", "Summary"},
      {1075, -1000, 1900, -1500, 1125, -950, 1825, -1050, 1475, -955, "Récompenses", "Awards"},
      {100, -1600, 1900, -1925, 150, -1550, 900, -1650, 525, -1555, "Support", "Support"},
      {100, -2025, 975, -2250, 150, -1975, 900, -2075, 525, -1980, "Prêté à", "Lent to"},
      {1075, -2025, 1900, -2250, 1125, -1975, 1825, -2075, 1475, -1980, "Emprunté à", "Borrowed from"},
      {100, -2350, 1900, -2800, 150, -2300, 900, -2400, 525, -2305, "Observations", "Memo"},
  };
  c.crayon(4);
  for (const Section &k : sections) {
    c.rectangle_arrondi(x0 + k.x1, k.y1, x0 + k.x2, k.y2, 30, 30);
    c.rectangle_arrondi(x0 + k.tx1, k.ty1, x0 + k.tx2, k.ty2, 30, 30);
  }
  c.police(kArial, Style::bold, 25);
  c.ecrit(x0 + 1015, -60, texte_langue(langue, "FICHE TECHNIQUE", "RECORDINGS INFORMATIONS"), Align::center);
  c.police(kArial, Style::bolditalic, 16);
  for (const Section &k : sections) c.ecrit(x0 + k.cx, k.cy, texte_langue(langue, k.fr, k.en), Align::center);

  struct Champ {
    int lx, ly;
    const char *fr, *en;
    int vx;
    std::string valeur;
  };
  const std::vector<Champ> champs = {
      {150, -425, "Titre :", "Title :", 300, cp1252_to_utf8(r.titre())},
      {150, -500, "Date d'enregistrement :", "Date :", 640, cp1252_to_utf8(r.date())},
      {150, -575, "Thème :", "Theme :", 340, cp1252_to_utf8(r.theme())},
      {1050, -575, "Genre :", "Genre :", 1220, cp1252_to_utf8(r.genre())},
      {150, -650, "Nationalité :", "Nationality :", 420, cp1252_to_utf8(r.nationalite())},
      {1050, -650, "Version :", "Version :", 1250, cp1252_to_utf8(r.version())},
      {150, -725, "Couleur :", "Color :", 360, cp1252_to_utf8(r.couleur())},
      {1050, -725, "Appréciation :", "Appreciation :", 1360, cp1252_to_utf8(r.appreciation())},
      {150, -800, "Compt.(début) :", "counter(begin) :", 510, std::to_string(r.debut())},
      {800, -800, "Compt.(fin) :", "counter(end) :", 1090, std::to_string(r.fin())},
      {1400, -800, "Durée :", "Duration :", 1580, mn(r.duree())},
      {150, -1675, "Type :", "Type :", 310, champ([](auto &x) { return x.support(); })},
      {1050, -1675, "Référence :", "Reference :", 1300, champ([](auto &x) { return x.reference(); })},
      {150, -1750, "Qualité :", "Quality :", 350, champ([](auto &x) { return x.qualite(); })},
      {1050, -1750, "Mise en service :", "Cut-over date :", 1410, champ([](auto &x) { return x.date(); })},
      {150, -1825, "Durée total :", "Total duration :", 430, duree(sup ? sup->duree() : 0)},
      {750, -1825, "Temps restant :", "Remaining time :", 1095, duree(sup ? sup->restant() : 0)},
      {1375, -1825, "Compteur fin :", "End counter :", 1700, sup ? std::to_string(sup->fin()) : ""},
      {0, -2100, nullptr, nullptr, 150, champ([](auto &x) { return x.pret_a(); })},
      {150, -2175, "Le ", "", 230, champ([](auto &x) { return x.pret_du(); })},
      {500, -2175, "Jusqu'à", "Until", 680, champ([](auto &x) { return x.pret_au(); })},
      {0, -2100, nullptr, nullptr, 1125, champ([](auto &x) { return x.emprunt_a(); })},
      {1125, -2175, "Le ", "", 1205, champ([](auto &x) { return x.emprunt_du(); })},
      {1475, -2175, "Jusqu'à", "Until", 1655, champ([](auto &x) { return x.emprunt_au(); })},
  };
  for (const Champ &k : champs) {
    if (k.fr) {
      c.police(kTimes, Style::bold, 10);
      c.ecrit(x0 + k.lx, k.ly, texte_langue(langue, k.fr, k.en));
    }
    c.police(kTimes, Style::normal, 9);
    c.ecrit(x0 + k.vx, k.ly - 5, k.valeur);
  }

  c.police(kTimes, Style::normal, 8);
  for (int i = 1; i <= store::kAwards; ++i)
    c.ecrit(x0 + 1100, -1075 - (i - 1) * 40,
            cp1252_to_utf8(lu->recompense.recompense(i) + " - " + lu->recompense.categorie(i) + " - " +
                           lu->recompense.annee_recompense(i)));
  // The summary box is 875 units wide from x0+100, the text starts 25 in; 10 lines fit.
  const std::vector<std::string> resume = coupe_lignes(r.resumer_view(), 8, 825);
  for (std::size_t j = 0; j < resume.size() && j < 10; ++j)
    c.ecrit(x0 + 125, -1075 - static_cast<int>(j) * 50, cp1252_to_utf8(resume[j]));
  if (sup) {
    c.police(kTimes, Style::normal, 9);
    const std::vector<std::string> obs = coupe_lignes(sup->observation_view(), 9, 1700);
    for (std::size_t j = 0; j < obs.size(); ++j)
      c.ecrit(x0 + 150, -2425 - static_cast<int>(j) * 50, cp1252_to_utf8(obs[j]));
  }
  pied_page(c, -2830, 1);
  c.fin_job();
  return une_page(true);
}

Bilan generique(store::Store &s, Canvas &c, int langue, int record) {
  (void)langue;  // the functions are the list's own texts
  const std::optional<Lu> lu = lit_record(s, record);
  if (!lu) return une_page(false);
  const std::vector<std::string> fonctions = store::lit_liste(s, 10);
  int page = 1, y = 350;
  auto entete = [&] {
    c.debut_job();
    cadre(c);
    c.police(kArial, Style::bold, 12);
    c.ecrit(x0 + 1015, -90, cp1252_to_utf8(lu->record.titre()), Align::center);
  };
  // Thirty credits can run past the frame: a line that would start below its last row goes on
  // a new page with the frame and the title, the credits going on at the top.
  constexpr int kDerniereLigne = 2730;
  auto place = [&](int hauteur, bool en_tete) {
    if (y + hauteur <= kDerniereLigne) return;
    pied_page(c, -2830, page++);
    c.fin_job();
    entete();
    y = en_tete ? 350 : 400;
  };
  entete();
  for (std::size_t f = 0; f < fonctions.size(); ++f) {
    const std::string &fonction = fonctions[f];
    // A function listed twice prints its credits once.
    if (std::find(fonctions.begin(), fonctions.begin() + static_cast<long>(f), fonction) !=
        fonctions.begin() + static_cast<long>(f))
      continue;
    bool premier = true;
    for (int i = 1; i <= store::kCredits; ++i) {
      if (lu->generique.denomination(i) != fonction) continue;
      const std::string nom = cp1252_to_utf8(lu->generique.nom(i)), role = lu->generique.role(i);
      if (!role.empty()) {
        place(premier ? 150 : 0, premier);
        if (premier) {
          y += 50;
          c.police(kArial, Style::bold, 12);
          c.ecrit(1000, -y, cp1252_to_utf8(fonction), Align::center);
          y += 100;
        }
        c.police(kArial, Style::normal, 12);
        c.ecrit(975, -y, nom, Align::right);
        c.ecrit(1025, -y, cp1252_to_utf8(role));
      } else {
        place(premier ? 50 : 0, premier);
        if (premier) {
          y += 50;
          c.police(kArial, Style::bold, 12);
          c.ecrit(975, -y, cp1252_to_utf8(fonction), Align::right);
        }
        c.police(kArial, Style::normal, 12);
        c.ecrit(1025, -y, nom);
      }
      premier = false;
      y += 100;
    }
  }
  pied_page(c, -2830, page);
  c.fin_job();
  Bilan b = une_page(true);
  b.pages = page;
  return b;
}

}  // namespace print
