// Going to a hit of the last search: the dossier may have changed since the search ran.
#pragma once

#include "requetes.h"

namespace search {

// True when the hit's record is still in its file with the hit's text (the support's reference,
// the recording's titre). Deleting a support or recording shifts the records after it, and
// another dossier may be open: going there would show an item the search never found.
bool resultat_a_jour(store::Store &s, const Resultat &r);

}  // namespace search
