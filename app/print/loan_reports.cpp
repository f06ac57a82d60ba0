#include "dates.h"
#include "page.h"
#include "reports.h"
#include "text.h"

namespace print {
namespace {

// Rows of 75 units, rows 1 to 33 per page.
constexpr int kDernierePret = 33;

std::string_view titre_prets(int langue, bool emprunt, bool a_rendre) {
  if (emprunt)
    return a_rendre ? texte_langue(langue, "EMPRUNTE, A RENDRE", "BORROWED, TO RETURN")
                    : texte_langue(langue, "EMPRUNTE", "BORROWED");
  return a_rendre ? texte_langue(langue, "PRETE, NON RENDU", "LENT, NOT RETURNED")
                  : texte_langue(langue, "PRETE", "LENT");
}

void entete_prets(Canvas &c, int page, std::string_view titre) {
  boite_titre(c, 430, -55, 1603, -175);
  c.police(kTimes, Style::bold, 16);
  c.ecrit(1015, -75, titre, Align::center);
  c.crayon(2);
  c.rectangle(25, -300, 2000, -2820);
  c.rectangle(30, -305, 1995, -2815);
  pied_page(c, -2830, page);
}

}  // namespace

Bilan liste_prets(store::Store &s, Canvas &c, int langue, bool emprunt, bool a_rendre) {
  const std::string today = s.date_du_jour();
  const std::string titre(titre_prets(langue, emprunt, a_rendre));
  Pages p(c, [&titre](Canvas &cv, int page) { entete_prets(cv, page, titre); });
  int items = 0;
  s.scan_supports([&](int, const store::TDataSupport &sup) {
    const std::string nom = emprunt ? sup.emprunt_a() : sup.pret_a();
    const std::string du = emprunt ? sup.emprunt_du() : sup.pret_du();
    const std::string au = emprunt ? sup.emprunt_au() : sup.pret_au();
    if (nom.empty() || (a_rendre && !store::date_atteinte(au, today))) return;
    if (!p.imprime()) p.entete_page();
    const int r = p.ligne, y = -310 - (r - 1) * 75;
    c.police(kTimes, Style::bold, 10);
    c.ecrit(50, y, langue == 0 ? "à" : emprunt ? "from" : "to");
    c.ecrit(1250, y, texte_langue(langue, "le", "date"));
    c.ecrit(1600, y, texte_langue(langue, "jusqu'à", "until"));
    c.police(kTimes, Style::normal, 10);
    c.ecrit(90, y, store::cp1252_to_utf8(nom));
    c.ecrit(1300, y, store::cp1252_to_utf8(du));
    c.ecrit(1750, y, store::cp1252_to_utf8(au));
    if (r < kDernierePret) {
      c.crayon(2);
      c.trace_ligne(30, -382 - (r - 1) * 75, 1995, -382 - (r - 1) * 75);
    }
    ++items;
    if (++p.ligne > kDernierePret) p.fin_page();
  });
  p.termine();
  Bilan b;
  b.items = items;
  b.pages = p.page - 1;
  return b;
}

}  // namespace print
