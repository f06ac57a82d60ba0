#include "planning_logic.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "catalogue.h"
#include "temp_dir.h"

using namespace loans;

TEST(PlanningLines, FortyLinesFromTheStoredPlan) {
  store::TDataPlanning rempli = store::Store::planning_defaut();
  stocke_entree(rempli, 3, "Heat", "00/00/0000", "00:00", "");
  stocke_entree(rempli, 10, "Un titre bien trop long", "24/12/2001", "20:50", "123456789012345");
  rempli.set_date_prevue(7, "01/01/2001");  // without a title the entry stays free
  // File bytes (none: no file), language, and the lines that do not show the placeholder.
  const std::tuple<const char *, std::optional<std::string>, int, std::map<int, std::string>> cas[] = {
      {"missing file", std::nullopt, 0, {}},
      {"short file", std::string(100, 'x'), 0, {}},
      {"entries filled",
       std::string(rempli.bytes.begin(), rempli.bytes.end()),
       1,
       {{9, "Heat"},
        {10, "00/00/0000"},
        {11, "00:00"},
        {12, ""},
        {37, "Un titre bien trop l"},
        {38, "24/12/2001"},
        {39, "20:50"},
        {40, "1234567890"}}},
  };
  const char *images[] = {"", "dateimg", "heureimg", "showviewimg"};
  for (const auto &[nom, fichier, langue, textes] : cas) {
    TempDir dir;
    Catalogue(dir.path()).dossier("D");
    if (fichier) dir.write("PLANNING.000", *fichier);
    store::Store s(dir.path());
    s.ouvre_dossier(0);
    const std::vector<browse::TreeLine> lignes = lignes_planning(s.lit_planning(), langue);
    ASSERT_EQ(lignes.size(), 40u) << nom;
    for (int n = 1; n <= 40; ++n) {
      const browse::TreeLine &l = lignes[n - 1];
      const int e = (n + 3) / 4;
      const std::string texte = textes.contains(n) ? textes.at(n) : langue == 0 ? "Aucun" : "None";
      EXPECT_EQ(std::tuple(l.level, l.icon, l.entry, l.text, entree_ligne(n)),
                std::tuple(n % 4 == 1 ? 1 : 2, images[(n - 1) % 4], std::to_string(e), texte, e))
          << nom << " line " << n;
    }
  }
}
