#include "page.h"

namespace print {

void boite_titre(Canvas &c, int x1, int y1, int x2, int y2) {
  c.crayon(7);
  c.rectangle_arrondi(x1, y1, x2, y2, 12, 12);
  c.crayon(4);
  c.rectangle_arrondi(x1 - 5, y1 + 5, x2 - 3, y2 + 5, 12, 12);
}

void pied_page(Canvas &c, int y, int page) {
  c.police(kTimes, Style::normal, 8);
  c.ecrit(1000, y, "- " + std::to_string(page) + " -", Align::center);
}

void Pages::entete_page() {
  c_.debut_job();
  imprime_ = true;
  entete_(c_, page);
}

void Pages::fin_page() {
  c_.fin_job();
  imprime_ = false;
  ligne = 1;
  ++page;
}

}  // namespace print
