#include "tree.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

using namespace browse;
using store::TDataSupport;

namespace {

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override { c.dossier("T"); }
  static auto theme(std::string t) {
    return [t](store::Recording &r) { r.record.set_theme(t); };
  }
  static std::string show(const std::vector<TreeLine> &lines) {
    std::string out;
    for (const TreeLine &l : lines)
      out += std::to_string(l.level) + "|" + l.icon + "|" + l.entry + "|" + l.text + "\n";
    return out;
  }
  std::string tree(int grouping) {
    o.grouping = grouping;
    return show(build_tree(c.store, o));
  }

  TempDir dir;
  Catalogue c{dir.path()};
  TreeOptions o{kGroupingSupport, 1, "non Class\xe9", kToday};
};

TEST_F(TreeTest, ThemeHeadingsFollowTheListEvenEmptyOrTwiceAndHideUnknownValues) {
  c.liste(1, {"B", "A", "B"}).support("VHS", "K1");
  c.record("two", theme("B")).record("No theme");
  c.record("Unknown theme", theme("Z")).record("one", theme("B"));
  EXPECT_EQ(tree(kGroupingTheme),
            "1|||B\n2|filmimg|000003|one\n2|filmimg|000000|two\n"
            "1|||A\n"
            "1|||B\n2|filmimg|000003|one\n2|filmimg|000000|two\n"
            "1|||non Class\xe9\n2|filmimg|000001|No theme\n");
}

TEST_F(TreeTest, KeysSortWithoutCaseOrAccentsAndTiesKeepFileOrder) {
  c.support("VHS", "K1");
  for (const char *titre : {"zorro", "Abc", "\xe9t\xe9", "abc", "Abc def", "Eu"}) c.record(titre);
  EXPECT_EQ(tree(kGroupingTitle),
            // The key's "-" sorts after the space; é sorts as e, "ete" before "eu".
            "1|filmimg|000004|Abc def\n1|filmimg|000001|Abc\n1|filmimg|000003|abc\n"
            "1|filmimg|000002|\xe9t\xe9\n1|filmimg|000005|Eu\n1|filmimg|000000|zorro\n");
}

// Enough titles for the radix passes, sharing long prefixes, differing in case and accents,
// some prefixes of others or holding the key's own "-": the tree's order must be the byte order
// of the folded text, "-" and the six-digit record number.
TEST_F(TreeTest, ManyTitlesSortAsTheirFoldedKeysCompareAsText) {
  c.support("VHS", "K1");
  const char *pieces[] = {
      "",  "a", "A",       "\xe9", "Le grand ", "LE GRAND ",       "le grand chemin de la ",
      "x", "-", "-000001", " ",    "\xc9t\xe9", "0123456789abcdef"};
  std::vector<store::TDataRecord> records(700);
  std::vector<std::pair<std::string, std::string>> expected;  // key, entry
  unsigned seed = 7;
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::string t;
    for (int p = 0; p < 4; ++p) t += pieces[((seed = seed * 1103515245u + 12345u) >> 16) % 13];
    records[i].set_titre(t);
    std::string key, entry = store::nombre_zero(static_cast<int>(i), 6);
    append_folded(t, key);
    expected.emplace_back(key + "-" + entry, entry);
  }
  store::RecordFile f(store::TDataRecord::record_size);
  f.open_or_create(c.store.nom_fichier(store::kRecordsBase, 0));
  f.write_many(0, static_cast<std::int64_t>(records.size()), records.data());
  std::sort(expected.begin(), expected.end());
  o.grouping = kGroupingTitle;
  std::vector<TreeLine> lines = build_tree(c.store, o);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i].entry, expected[i].second) << i;
}

TEST(Tree, SupportIconsFollowBorrowingsThenLoansAndDueDates) {
  struct Cas {
    const char *pret_a, *pret_au, *emprunt_a, *emprunt_au, *today, *icon;
  } cas[] = {
      {"", "01/01/1990", "", "01/01/1990", kToday, "k7img"},  // dates without a name: no loan
      {"Paul", "15/06/2000", "", "", "15/06/2000", "k7imgouta"},
      {"Paul", "15/06/2000", "", "", "14/06/2000", "k7imgout"},
      {"Paul", "01/07/2000", "", "", "15/06/2000", "k7imgout"},  // dates read day first
      {"Paul", "01/01/1999", "Anne", "01/01/2001", kToday, "k7imgin"},
      {"Paul", "01/01/2001", "Anne", "01/01/1999", kToday, "k7imgina"},
  };
  for (const Cas &k : cas) {
    TDataSupport sup;
    sup.set_pret_a(k.pret_a);
    sup.set_pret_au(k.pret_au);
    sup.set_emprunt_a(k.emprunt_a);
    sup.set_emprunt_au(k.emprunt_au);
    EXPECT_EQ(support_icon(sup, k.today), k.icon) << k.pret_au << " " << k.emprunt_au << " " << k.today;
  }
}

TEST_F(TreeTest, SupportGroupingsListByTypeAndByReferenceWithTheirIcons) {
  c.liste(8, {"S-VHS", "VHS"}).support("VHS", "b2").support("Betamax", "a1");
  c.support("VHS", "A3", [](TDataSupport &sup) {
    sup.set_pret_a("Paul");
    sup.set_pret_au("01/01/2001");
  });
  // A type missing from the list gathers under the unclassified heading, shown only then.
  EXPECT_EQ(
      tree(kGroupingSupport),
      "1|||S-VHS\n1|||VHS\n2|k7imgout|000002|A3\n2|k7img|000000|b2\n1|||non Class\xe9\n2|k7img|000001|a1\n");
  EXPECT_EQ(tree(kGroupingReference), "1|k7img|000001|a1\n1|k7imgout|000002|A3\n1|k7img|000000|b2\n");
}

TEST_F(TreeTest, SupportTreeFollowsTheIndexPreferenceAndReportsTheFirstRecording) {
  c.support("VHS", "K1").support("VHS", "K2").record("Other");
  c.sur(0).record("Zeta", [](store::Recording &r) { r.record.set_reference("000002"); });
  c.record("Alpha", [](store::Recording &r) { r.record.set_reference("000003"); });
  const TDataSupport sup = c.supports()[0];
  int first = -2;
  EXPECT_EQ(show(build_support_tree(c.store, sup, o, &first)),
            "1|k7img||K1\n2|filmimg|000002|Alpha\n2|filmimg|000001|Zeta\n");
  EXPECT_EQ(first, 1);
  o.index_arbre = 3;
  EXPECT_EQ(show(build_support_tree(c.store, sup, o)),
            "1|k7img||K1\n2|filmimg|000001|000002 - Zeta\n2|filmimg|000002|000003 - Alpha\n");
  build_support_tree(c.store, TDataSupport{}, o, &first);
  EXPECT_EQ(first, -1);
  // Recording groupings follow the preference too.
  o.index_arbre = 2;
  EXPECT_EQ(tree(kGroupingTheme),
            "1|||non Class\xe9\n2|filmimg|000000|\n2|filmimg|000001|000002\n2|filmimg|000002|000003\n");
}

}  // namespace
