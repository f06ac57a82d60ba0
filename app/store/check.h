// The integrity report of a data directory: what another program, a full disk or an interrupted
// change may have left behind. Reads only.
#pragma once

#include <string>
#include <vector>

namespace store {

class Store;

struct Probleme {
  std::string file;  // name in the data directory
  std::string what;
  bool operator==(const Probleme &) const = default;
};

// Record files whose size is not a whole number of records, parallel recording files of unequal
// counts, dossier files that no "MAINFILE" entry owns, recordings whose supports file is
// missing, and the journal or side files ("~") of an interrupted change; in file-name order.
std::vector<Probleme> verifie(Store &store);

// Mends what can be mended without losing a byte of data: plays back the journal of an
// interrupted change, removes side files, and pads parallel recording files that are short with
// blank records. Returns what it did, one line a file; what it cannot mend is left to verifie.
std::vector<Probleme> repare(Store &store);

}  // namespace store
