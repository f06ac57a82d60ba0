#include "aide_logic.h"

#include <algorithm>
#include <filesystem>

namespace ui {

namespace fs = std::filesystem;

std::vector<std::string> fichiers_aide(const std::string &data_dir, const std::string &bin_dir, int langue,
                                       std::string_view page) {
  std::vector<std::string> fichiers;
  if (!data_dir.empty())
    fichiers.push_back((fs::path(data_dir) / (langue == 0 ? "DOCFR.HLP" : "DOCEN.HLP")).string());
  const fs::path dans_langue = fs::path(langue == 0 ? "fr" : "en") / (std::string(page) + ".html");
  for (const fs::path &guide :
       {fs::path(bin_dir) / "doc", fs::path(bin_dir) / ".." / "share" / "tapemoor" / "doc"})
    fichiers.push_back((guide / dans_langue).lexically_normal().string());
  return fichiers;
}

std::string fichier_aide(const std::string &data_dir, const std::string &bin_dir, int langue,
                         std::string_view page) {
  std::vector<std::string> fichiers = fichiers_aide(data_dir, bin_dir, langue, page);
  std::error_code erreur;  // an unreadable folder is one where nothing is found
  auto trouve =
      std::ranges::find_if(fichiers, [&](const std::string &f) { return fs::is_regular_file(f, erreur); });
  return trouve == fichiers.end() ? std::string() : *trouve;
}

}  // namespace ui
