// Where the help lies: the data directory's single help file, kept from earlier versions, or a
// page of the HTML guide shipped beside the program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The files that may hold the help of `page` in `langue` (0 French, 1 English), in the order they
// are looked for: DOCFR.HLP / DOCEN.HLP of `data_dir` when one is given (the whole help, with no
// pages), then `page`.html of the guide beside the program in `bin_dir` and where it is installed.
std::vector<std::string> fichiers_aide(const std::string &data_dir, const std::string &bin_dir, int langue,
                                       std::string_view page);
// The first of them that exists; empty when none does.
std::string fichier_aide(const std::string &data_dir, const std::string &bin_dir, int langue,
                         std::string_view page);

}  // namespace ui
