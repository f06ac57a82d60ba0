#include "statistique_logic.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace {

using Slots = std::vector<std::pair<std::string, std::int64_t>>;

Slots slots(const search::Statistique &st) {
  Slots out;
  for (const search::Part &p : st.parts) out.emplace_back(p.libelle, p.nombre);
  return out;
}

TEST(Statistique, CountsEachChartIntoItsSlots) {
  TempDir dir;
  std::vector<std::string> pays;
  for (int i = 1; i <= 250; ++i) pays.push_back("Pays " + std::to_string(i));
  auto rec = [](const char *theme, const char *genre, const char *nation, const char *version) {
    return [=](store::Recording &r) {
      r.record.set_theme(theme);
      r.record.set_genre(genre);
      r.record.set_nationalite(nation);
      r.record.set_version(version);
    };
  };
  Catalogue(dir.path())
      .liste(1, {"Drame",
                 "Com\xe9"
                 "die",
                 "Drame"})
      .liste(2, {"Polar"})
      .liste(3, pays)
      .liste(8, {"VHS", "S-VHS"})
      .dossier("D")
      .support("VHS", "K1")
      .record("a", rec("Drame", "Polar", "Pays 250", "VF"))
      .record("b", rec("", "polar", "", ""))
      .record("c", rec("Western", "", "Pays 1", ""))
      .support("", "K2")
      .support("Betamax", "K3");
  store::Store s(dir.path());
  s.ouvre_dossier(0);
  const auto before = dir.snapshot();
  const struct {
    int graphique, langue;
    Slots attendu;
  } kCases[] = {
      // A text listed twice is two slots, both counted; an absent value counts nowhere.
      {1,
       0,
       {{"Drame", 1},
        {"Com\xe9"
         "die",
         0},
        {"Drame", 1},
        {"Non class\xe9", 1}}},
      {2, 1, {{"Polar", 1}, {"Not Classified", 1}}},  // exact case only
      {4, 0, {{"Non class\xe9", 2}}},                 // a missing list: the not-classified slot alone
      {7, 0, {{"VHS", 1}, {"S-VHS", 0}, {"Non class\xe9", 1}}},
  };
  for (const auto &c : kCases) {
    const search::Statistique st = search::prepare(s, c.graphique, c.langue);
    EXPECT_EQ(slots(st), c.attendu) << c.graphique;
  }
  // More than 199 entries: every one keeps its slot.
  const search::Statistique st = search::prepare(s, 3, 0);
  ASSERT_EQ(st.parts.size(), 251u);
  EXPECT_EQ(st.parts[0].nombre + st.parts[249].nombre + st.parts[250].nombre, 3);
  EXPECT_EQ(st.parts[250].libelle, "Non class\xe9");
  EXPECT_NEAR(st.pourcentage(249), 100.0 / 3, 1e-9);
  EXPECT_TRUE(dir.snapshot() == before);
}

}  // namespace
