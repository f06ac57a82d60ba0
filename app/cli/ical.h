// The return dates of the lent and borrowed supports as an iCalendar document (RFC 5545), built
// with libical.
#pragma once

#include <string>

#include "store.h"

namespace cli {

struct Echeances {
  std::string ics;   // the document, UTF-8
  int ignorees = 0;  // return dates left out: not a valid date, or no day of the calendar
};

// One all-day event per lent support on its pret_au and per borrowed support on its emprunt_au,
// in the open dossier, texts in `langue`. A support's event keeps its UID from one export to the
// next (dossier title, support numero, kind), so a calendar that imports it again replaces it.
Echeances echeances_ical(store::Store &s, int langue);

}  // namespace cli
