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
// counts, dossier files that no "MAINFILE" entry owns, and side files ("~") of an interrupted
// change; in file-name order.
std::vector<Probleme> verifie(Store &store);

}  // namespace store
