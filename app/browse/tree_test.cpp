#include "tree.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"
#include "lists.h"

using namespace browse;
using store::TDataSupport;

namespace {

class TreeTest : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  TreeOptions o;

  void SetUp() override {
    o.today = kToday;
    c.dossier("T");
  }
  int support(const std::string &type, const std::string &ref) {
    c.support(type, ref);
    return s.support_courant();
  }
  void recording(int on_support, const std::string &titre, const std::string &theme, const std::string &ref = "") {
    c.sur(on_support).record(titre, [&](store::Recording &r) {
      r.record.set_theme(theme);
      r.record.set_reference(ref);
    });
  }
  static std::string show(const std::vector<TreeLine> &lines) {
    std::string out;
    for (const TreeLine &l : lines) out += std::to_string(l.level) + "|" + l.icon + "|" + l.entry + "|" + l.text + "\n";
    return out;
  }
};

TEST_F(TreeTest, ThemeGroupingShowsEmptyHeadingsUnclassifiedAndHidesUnknownValues) {
  store::ecrit_liste(s, 1, {"A", "B"});
  int k7 = support("VHS", "K1");
  recording(k7, "Under B", "B");
  recording(k7, "No theme", "");
  recording(k7, "Unknown theme", "Z");
  o.grouping = kGroupingTheme;
  EXPECT_EQ(show(build_tree(s, o)),
            "1|||A\n"
            "1|||B\n"
            "2|filmimg|000000|Under B\n"
            "1|||non Class\xe9\n"
            "2|filmimg|000001|No theme\n");
}

TEST_F(TreeTest, ListEntryGivenTwiceShowsItsRecordingsTwice) {
  store::ecrit_liste(s, 1, {"B", "A", "B"});
  int k7 = support("VHS", "K1");
  recording(k7, "two", "B");
  recording(k7, "one", "B");
  o.grouping = kGroupingTheme;
  EXPECT_EQ(show(build_tree(s, o)),
            "1|||B\n2|filmimg|000001|one\n2|filmimg|000000|two\n"
            "1|||A\n"
            "1|||B\n2|filmimg|000001|one\n2|filmimg|000000|two\n"
            "1|||non Class\xe9\n");
}

TEST_F(TreeTest, KeysSortWithoutCaseOrAccentsAndTiesKeepFileOrder) {
  int k7 = support("VHS", "K1");
  recording(k7, "zorro", "");
  recording(k7, "Abc", "");
  recording(k7, "\xe9t\xe9", "");   // été
  recording(k7, "abc", "");
  recording(k7, "Abc def", "");
  recording(k7, "Eu", "");
  o.grouping = kGroupingTitle;
  EXPECT_EQ(show(build_tree(s, o)),
            "1|filmimg|000004|Abc def\n"  // the key's "-" sorts after the space
            "1|filmimg|000001|Abc\n"
            "1|filmimg|000003|abc\n"
            "1|filmimg|000002|\xe9t\xe9\n"  // é sorts as e: "ete" before "eu"
            "1|filmimg|000005|Eu\n"
            "1|filmimg|000000|zorro\n");
}

TEST_F(TreeTest, SupportIconsFollowBorrowingsThenLoansAndDueDates) {
  TDataSupport sup;
  EXPECT_EQ(support_icon(sup, "15/06/2000"), "k7img");
  sup.set_pret_a("Paul");
  sup.set_pret_au("15/06/2000");
  EXPECT_EQ(support_icon(sup, "15/06/2000"), "k7imgouta");
  EXPECT_EQ(support_icon(sup, "14/06/2000"), "k7imgout");
  sup.set_emprunt_a("Anne");
  sup.set_emprunt_au("01/01/2001");
  EXPECT_EQ(support_icon(sup, "15/06/2000"), "k7imgin");
  sup.set_emprunt_au("01/01/1999");
  EXPECT_EQ(support_icon(sup, "15/06/2000"), "k7imgina");
}

TEST_F(TreeTest, SupportGroupingsListByTypeAndByReference) {
  store::ecrit_liste(s, 8, {"S-VHS", "VHS"});
  support("VHS", "b2");
  support("Betamax", "a1");  // a type missing from the list shows nowhere in grouping 3
  support("VHS", "A3");
  s.choisit_support(2);
  TDataSupport lent = s.support();
  lent.set_pret_a("Paul");
  lent.set_pret_au("01/01/2001");
  s.valide_support(lent);
  o.grouping = kGroupingSupport;
  EXPECT_EQ(show(build_tree(s, o)),
            "1|||S-VHS\n"
            "1|||VHS\n"
            "2|k7imgout|000002|A3\n"
            "2|k7img|000000|b2\n");
  o.grouping = kGroupingReference;
  EXPECT_EQ(show(build_tree(s, o)),
            "1|k7img|000001|a1\n"
            "1|k7imgout|000002|A3\n"
            "1|k7img|000000|b2\n");
}

TEST_F(TreeTest, SupportTreeFollowsTheIndexPreferenceAndReportsTheFirstRecording) {
  int a = support("VHS", "K1");
  int b = support("VHS", "K2");
  recording(b, "Other", "");
  recording(a, "Zeta", "", "000002");
  recording(a, "Alpha", "", "000003");
  s.choisit_support(a);
  TDataSupport sup = s.support();
  int first = -2;
  o.index_arbre = 1;
  EXPECT_EQ(show(build_support_tree(s, sup, o, &first)),
            "1|k7img||K1\n2|filmimg|000002|Alpha\n2|filmimg|000001|Zeta\n");
  EXPECT_EQ(first, 1);
  o.index_arbre = 3;
  EXPECT_EQ(show(build_support_tree(s, sup, o)),
            "1|k7img||K1\n2|filmimg|000001|000002 - Zeta\n2|filmimg|000002|000003 - Alpha\n");
  // Recording groupings use the same texts for preferences 2 and 3.
  o.index_arbre = 2;
  o.grouping = kGroupingTheme;
  EXPECT_EQ(show(build_tree(s, o)), "1|||non Class\xe9\n2|filmimg|000000|\n2|filmimg|000001|000002\n"
                                    "2|filmimg|000002|000003\n");
  int none = -2;
  build_support_tree(s, TDataSupport{}, o, &none);
  EXPECT_EQ(none, -1);
}

}  // namespace
