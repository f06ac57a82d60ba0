#include "reports.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "page.h"
#include "text.h"
#include "tree.h"

namespace print {
namespace {

using store::cp1252_to_utf8;

std::string mn(int minutes) {
  return std::to_string(minutes) + " mn";
}

Bilan bilan(const Pages &p, int items, std::string_view aucun) {
  Bilan b;
  b.items = items;
  b.pages = p.page - 1;
  if (items == 0) b.message = aucun;
  return b;
}

// ---- supports list: rows of 50 units, rows 1 to 47 ----
constexpr int kDerniereSupport = 47;
int y_support(int ligne) {
  return -370 - (ligne - 1) * 50;
}

void entete_supports(Canvas &c, int page, int langue) {
  boite_titre(c, 530, -55, 1503, -175);
  c.police(kTimes, Style::bold, 14);
  c.ecrit(1015, -75, texte_langue(langue, "LISTE DES SUPPORTS", "SUPPORTS LIST"), Align::center);
  c.crayon(2);
  c.rectangle(25, -250, 2000, -2760);
  c.rectangle(30, -255, 1995, -2755);
  c.trace_ligne(1000, -255, 1000, -2755);
  c.trace_ligne(25, -350, 2000, -351);
  c.police(kTimes, Style::bold, 10);
  c.ecrit(600, -280, "SUPPORTS", Align::center);
  c.ecrit(1500, -280, texte_langue(langue, "ENREGISTREMENTS", "RECORDINGS"), Align::center);
  pied_page(c, -2780, page);
}

// ---- recordings list: rows of 100 units; page 1 carries the title box and 24 rows ----
int decalage(int page) {
  return page == 1 ? -75 : -180;
}
int derniere_record(int page) {
  return page == 1 ? 24 : 25;
}

void entete_enregistrements(Canvas &c, int page, int langue) {
  const int o = decalage(page);
  if (page == 1) {
    boite_titre(c, 430, -55, 1603, -175);
    c.police(kTimes, Style::bold, 14);
    c.ecrit(1015, -75, texte_langue(langue, "LISTE DES ENREGISTREMENTS", "RECORDINGS LIST"), Align::center);
  }
  c.crayon(2);
  c.rectangle(25, -300 - o, 2000, -2760);
  c.rectangle(30, -305 - o, 1995, -2755);
  for (int x : {1000, 1300, 1800}) c.trace_ligne(x, -305 - o, x, -2755);
  c.trace_ligne(25, -400 - o, 2000, -401 - o);
  c.police(kTimes, Style::bold, 10);
  c.ecrit(350, -330 - o, texte_langue(langue, "Titre/Format", "Title/Format"), Align::center);
  c.ecrit(1150, -330 - o, "Support", Align::center);
  c.ecrit(1550, -330 - o, texte_langue(langue, "Thème/Genre", "Theme/Genre"), Align::center);
  c.police(kTimes, Style::bold, 8);
  c.ecrit(1900, -330 - o, texte_langue(langue, "Année", "Year"), Align::center);
  pied_page(c, -2780, page);
}

// What the recordings list prints of one recording.
// Support numbers to positions: the first support of each number wins, as a lookup in file order
// would find it. Numbers are small and dense in practice; any other falls back to a map.
class NumeroIndex {
 public:
  bool ajoute(int numero, int position) {
    if (numero >= 0 && numero < kDense) {
      if (static_cast<std::size_t>(numero) >= dense_.size())
        dense_.resize(static_cast<std::size_t>(numero) + 1, -1);
      int &at = dense_[static_cast<std::size_t>(numero)];
      if (at >= 0) return false;
      at = position;
      return true;
    }
    return autres_.try_emplace(numero, position).second;
  }
  int cherche(int numero) const {
    if (numero >= 0 && static_cast<std::size_t>(numero) < dense_.size())
      return dense_[static_cast<std::size_t>(numero)];
    auto it = autres_.find(numero);
    return it == autres_.end() ? -1 : it->second;
  }

 private:
  static constexpr int kDense = 1 << 22;
  std::vector<int> dense_;
  std::unordered_map<int, int> autres_;
};

struct LigneRecord {
  std::string titre, format, theme, genre;
  int numero_support = 0;
  int annee = 0;
};

}  // namespace

std::vector<int> ordre_cles(const std::vector<std::string> &textes) {
  // One key per text, compared as bytes: the folded text (key_less's first level, a shorter text
  // first), a zero byte, then the upper-cased text. Texts equal but for case have equal keys and
  // keep the file order through the record number, whatever the number of records.
  struct Cle {
    std::uint64_t tete;  // the key's first eight bytes, big-endian: settles most comparisons
    std::uint32_t debut, longueur;
    int record;
  };
  std::string octets;
  std::vector<Cle> cles;
  cles.reserve(textes.size());
  for (const std::string &t : textes) {
    const auto debut = static_cast<std::uint32_t>(octets.size());
    browse::append_folded(t, octets);
    octets += '\0';
    octets += store::cp1252_upper(t);
    cles.push_back(
        {0, debut, static_cast<std::uint32_t>(octets.size() - debut), static_cast<int>(cles.size())});
  }
  for (Cle &k : cles)
    for (std::uint32_t i = 0; i < 8; ++i)
      k.tete = k.tete << 8 | (i < k.longueur ? static_cast<unsigned char>(octets[k.debut + i]) : 0u);
  const char *base = octets.data();
  std::sort(cles.begin(), cles.end(), [base](const Cle &a, const Cle &b) {
    if (a.tete != b.tete) return a.tete < b.tete;
    const std::string_view x(base + a.debut, a.longueur), y(base + b.debut, b.longueur);
    if (x != y) return x < y;
    return a.record < b.record;
  });
  std::vector<int> ordre;
  ordre.reserve(cles.size());
  for (const Cle &k : cles) ordre.push_back(k.record);
  return ordre;
}

Bilan liste_supports(store::Store &s, Canvas &c, int langue, const Filtres &f) {
  std::vector<store::TDataSupport> supports;
  std::vector<std::string> references;
  supports.reserve(static_cast<std::size_t>(s.nombre_supports()));
  references.reserve(supports.capacity());
  s.scan_supports([&](int, const store::TDataSupport &sup) {
    if (f.support && !f.support(sup)) return;
    supports.push_back(sup);
    references.push_back(sup.reference());
  });
  // One pass over the recordings, their titles grouped by support number in file order.
  std::unordered_map<int, std::vector<std::string>> titres;
  if (!supports.empty())
    s.scan_records_main(
        [&](int, const store::TDataRecord &r) { titres[r.numero_support()].push_back(r.titre()); });

  Pages p(c, [langue](Canvas &cv, int page) { entete_supports(cv, page, langue); });
  for (int k : ordre_cles(references)) {
    const store::TDataSupport &sup = supports[static_cast<std::size_t>(k)];
    if (!p.imprime()) p.entete_page();
    // The three label rows must lie inside the frame: a block that would start lower starts
    // the next page.
    if (p.ligne + 2 > kDerniereSupport) {
      p.fin_page();
      p.entete_page();
    }
    const int r = p.ligne;
    c.police(kTimes, Style::bold, 8);
    c.ecrit(50, y_support(r), texte_langue(langue, "Référence :", "Reference :"));
    c.ecrit(50, y_support(r + 1), texte_langue(langue, "Durée total :", "Total duration :"));
    c.ecrit(50, y_support(r + 2), texte_langue(langue, "Temps restant :", "Remaining time :"));
    c.police(kTimes, Style::normal, 8);
    c.ecrit(250, y_support(r), cp1252_to_utf8(sup.reference_view()));
    c.ecrit(270, y_support(r + 1), mn(sup.duree()));
    c.ecrit(330, y_support(r + 2), mn(sup.restant()));

    int debut = r, n = 0;
    if (auto it = titres.find(sup.numero()); it != titres.end()) {
      for (const std::string &titre : it->second) {
        if (debut + n > kDerniereSupport) {
          p.fin_page();
          p.entete_page();
          c.police(kTimes, Style::normal, 8);
          debut = 1;
          n = 0;
        }
        c.ecrit(1025, y_support(debut + n), cp1252_to_utf8(titre));
        ++n;
      }
    }
    p.ligne = debut + std::max(n, 3);
    if (p.ligne < kDerniereSupport) {
      c.crayon(2);
      c.trace_ligne(30, -395 - (p.ligne - 1) * 50, 1995, -395 - (p.ligne - 1) * 50);
      ++p.ligne;
    }
    if (p.ligne > kDerniereSupport) p.fin_page();
  }
  p.termine();
  return bilan(
      p, static_cast<int>(supports.size()),
      texte_langue(langue, "Aucun support de répond aux critères de sélection", "No supports was found"));
}

Bilan liste_enregistrements(store::Store &s, Canvas &c, int langue, const Filtres &f) {
  std::vector<LigneRecord> lignes;
  std::vector<std::string> titres;
  lignes.reserve(static_cast<std::size_t>(s.nombre_records()));
  titres.reserve(lignes.capacity());
  s.scan_records(
      [&](int, const store::RecordingView &v) {
        if (f.record && !f.record(v)) return;
        const store::TDataRecord &r = v.record;
        lignes.push_back(
            {r.titre(), v.record1.format(), r.theme(), r.genre(), r.numero_support(), r.annee()});
        titres.push_back(r.titre());
      },
      -1, f.record ? store::kAllParts : store::kPartFormat);
  // One pass over the supports, indexed by number; a recording whose number matches none prints
  // empty support columns.
  std::vector<std::pair<std::string, std::string>> textes_supports;  // reference, type
  NumeroIndex supports;
  if (!lignes.empty())
    s.scan_supports([&](int, const store::TDataSupport &sup) {
      if (supports.ajoute(sup.numero(), static_cast<int>(textes_supports.size())))
        textes_supports.emplace_back(cp1252_to_utf8(sup.reference()), cp1252_to_utf8(sup.support()));
    });

  Pages p(c, [langue](Canvas &cv, int page) { entete_enregistrements(cv, page, langue); });
  for (int k : ordre_cles(titres)) {
    const LigneRecord &l = lignes[static_cast<std::size_t>(k)];
    if (!p.imprime()) p.entete_page();
    const int o = decalage(p.page), r = p.ligne;
    const int y1 = -420 - o - (r - 1) * 100, y2 = y1 - 50;
    c.police(kTimes, Style::bold, 7);
    c.ecrit(50, y1, cp1252_to_utf8(l.titre));
    c.police(kTimes, Style::normal, 8);
    c.ecrit(50, y2, cp1252_to_utf8(l.format));
    const int sup = supports.cherche(l.numero_support);
    c.ecrit(1025, y1, sup < 0 ? "" : textes_supports[static_cast<std::size_t>(sup)].first);
    c.ecrit(1025, y2, sup < 0 ? "" : textes_supports[static_cast<std::size_t>(sup)].second);
    c.ecrit(1325, y1, cp1252_to_utf8(l.theme));
    c.ecrit(1325, y2, cp1252_to_utf8(l.genre));
    c.ecrit(1825, y1, std::to_string(l.annee));
    const int derniere = derniere_record(p.page);
    if (r < derniere) {
      c.crayon(2);
      c.trace_ligne(30, -517 - o - (r - 1) * 100, 1995, -517 - o - (r - 1) * 100);
    }
    if (++p.ligne > derniere) p.fin_page();
  }
  p.termine();
  return bilan(p, static_cast<int>(lignes.size()),
               texte_langue(langue, "Aucun enregistrement de répond aux critères de sélection",
                            "No records was found"));
}

}  // namespace print
