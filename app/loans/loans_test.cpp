#include "loans.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace loans {
namespace {

using store::TDataSupport;

TEST(Loans, ListLinesOverdueBothKindsNoRecordingsAndOrphans) {
  TempDir dir;
  auto prete = [](const char *au, const char *emprunt_a = "") {
    return [=](TDataSupport &s) { s.set_pret_a("Paul"), s.set_pret_au(au), s.set_emprunt_a(emprunt_a); };
  };
  Catalogue c(dir.path());
  c.dossier("Un").support("VHS", "Due", prete(kToday)).record("a1");
  c.support("VHS", "Tomorrow", prete("16/06/2000"));            // no recording
  c.support("VHS", "Both", prete("bad", "Club")).record("b1");  // another program's; "bad" reads as year 0
  c.support("VHS", "Home").record("h1").record("orphan", [](store::Recording &r) {
    r.record.set_numero_support(99);
  });
  c.sur(0).record("a2");
  const std::pair<Sorte, std::vector<std::string>> kCas[] = {
      {Sorte::pret,
       {"1 k7aimg 0 Due", "2 outimg 0 15/06/2000", "2 inimg 0 15/06/2000", "2 filmimg 0 Record",
        "3 bandeimg 0 a1", "3 bandeimg 0 a2", "1 k7img 1 Tomorrow", "2 outimg 1 15/06/2000",
        "2 inimg 1 16/06/2000", "2 filmimg 1 Record", "1 k7aimg 2 Both", "2 outimg 2 15/06/2000",
        "2 inimg 2 bad", "2 filmimg 2 Record", "3 bandeimg 2 b1"}},
      {Sorte::emprunt,
       {"1 k7aimg 2 Both", "2 outimg 2 15/06/2000", "2 inimg 2 15/06/2000", "2 filmimg 2 Record",
        "3 bandeimg 2 b1"}}};
  for (const auto &[sorte, attendu] : kCas) {
    std::vector<std::string> vu;
    for (const browse::TreeLine &l : lignes_liste(c.store, sorte, kToday, "Record"))
      vu.push_back(std::to_string(l.level) + ' ' + l.icon + ' ' + l.entry + ' ' + l.text);
    EXPECT_EQ(vu, attendu);
  }
  EXPECT_EQ(support_de_ligne(lignes_liste(c.store, Sorte::pret, kToday, "Record"), 15), 2);
}

}  // namespace
}  // namespace loans
