// The page model the reports share: one print job per page, the printing flag, the page and
// line counters, and the furniture every report draws (title box, page number).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "canvas.h"

namespace print {

// Labels in the interface language: 0 French, 1 English.
inline std::string_view texte_langue(int langue, std::string_view fr, std::string_view en) {
  return langue == 0 ? fr : en;
}

// The two rounded rectangles of a title box, (x1, y1)-(x2, y2) drawn with pen 7 and the same box
// moved 5 units up and left with pen 4, corners 12; the second overdraws the first as a shadow.
void boite_titre(Canvas &c, int x1, int y1, int x2, int y2);

// The page number, centred on the footer line at y.
void pied_page(Canvas &c, int y, int page);

// The counters of a multi-page report. `entete` draws the report's furniture for a page number.
class Pages {
 public:
  Pages(Canvas &c, std::function<void(Canvas &, int page)> entete) : c_(c), entete_(std::move(entete)) {}

  // Starts a print job and draws the page's furniture.
  void entete_page();
  // Ends the print job: the page is sent; the next one starts at line 1.
  void fin_page();
  // At the end of a report: ends the job still open, if any.
  void termine() {
    if (imprime_) fin_page();
  }

  Canvas &canvas() { return c_; }
  int page = 1;
  int ligne = 1;
  bool imprime() const { return imprime_; }

 private:
  Canvas &c_;
  std::function<void(Canvas &, int)> entete_;
  bool imprime_ = false;
};

}  // namespace print
