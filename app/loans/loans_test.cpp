#include "loans.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace loans {
namespace {

using store::TDataSupport;

// "level icon entry text" for each line.
std::vector<std::string> lignes(store::Store &s, Sorte sorte) {
  std::vector<std::string> out;
  for (const browse::TreeLine &l : lignes_liste(s, sorte, kToday, "Record"))
    out.push_back(std::to_string(l.level) + ' ' + l.icon + ' ' + l.entry + ' ' + l.text);
  return out;
}

TEST(Loans, ListLinesOverdueBothKindsNoRecordingsAndOrphans) {
  TempDir dir;
  auto prete = [](const char *a, const char *au) {
    return [=](TDataSupport &s) {
      s.set_pret_a(a);
      s.set_pret_du("01/06/2000");
      s.set_pret_au(au);
    };
  };
  Catalogue c(dir.path());
  c.dossier("Un")
      .support("VHS", "Due", prete("Paul", kToday))  // 0: due today
      .record("a1")
      .support("VHS", "Tomorrow", prete("Zoe", "16/06/2000"))  // 1: no recording
      .support("VHS", "Both",
               [&](TDataSupport &s) {      // 2: another program's file, lent and borrowed
                 prete("Marc", "bad")(s);  // read as year 0: long due
                 s.set_emprunt_a("Club");
                 s.set_emprunt_au("14/06/2000");
               })
      .record("b1")
      .support("VHS", "Home")  // 3: neither
      .record("h1")
      .record("orphan", [](store::Recording &r) { r.record.set_numero_support(99); })
      .sur(0)
      .record("a2");
  const struct {
    Sorte sorte;
    std::vector<std::string> attendu;
  } kCas[] = {
      {Sorte::pret,
       {"1 k7aimg 0 Due", "2 outimg 0 01/06/2000", "2 inimg 0 15/06/2000", "2 filmimg 0 Record",
        "3 bandeimg 0 a1", "3 bandeimg 0 a2", "1 k7img 1 Tomorrow", "2 outimg 1 01/06/2000",
        "2 inimg 1 16/06/2000", "2 filmimg 1 Record", "1 k7aimg 2 Both", "2 outimg 2 01/06/2000",
        "2 inimg 2 bad", "2 filmimg 2 Record", "3 bandeimg 2 b1"}},
      {Sorte::emprunt,
       {"1 k7aimg 2 Both", "2 outimg 2 15/06/2000", "2 inimg 2 14/06/2000", "2 filmimg 2 Record",
        "3 bandeimg 2 b1"}},
  };
  for (const auto &cas : kCas) EXPECT_EQ(lignes(c.store, cas.sorte), cas.attendu);
  EXPECT_EQ(support_de_ligne(lignes_liste(c.store, Sorte::pret, kToday, "Record"), 15), 2);
}

TEST(Loans, StoringCutsAndOnlyANameEndsTheOtherKind) {
  TDataSupport s;
  s.set_emprunt_a("Club");
  ecrit_saisie(s, Sorte::pret, {"", "01/01/2000", "02/01/2000", "x"});
  EXPECT_EQ(s.emprunt_a(), "Club");
  ecrit_saisie(s, Sorte::pret, {std::string(50, 'n'), "01/01/20001", "02/01/2000", std::string(300, 'o')});
  EXPECT_EQ(
      std::tuple(s.pret_a(), s.pret_du(), s.pret_observations(), s.emprunt_a()),
      std::tuple(std::string(40, 'n'), std::string("01/01/2000"), std::string(255, 'o'), std::string()));
  EXPECT_EQ(date_refusee({"", "31/02/2000", "00/01/2000", ""}), 2);
  EXPECT_EQ(date_refusee({"", "1/1/2000", "00/01/2000", ""}), 1);
}

}  // namespace
}  // namespace loans
