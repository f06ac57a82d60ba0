#include "parametres_logic.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "lists.h"

namespace shell {
namespace {

// Case-insensitive byte order stands in for the locale's collation here.
bool fold_less(const std::string &a, const std::string &b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

using Entries = std::vector<std::string>;

TEST(ParametresState, ShowSortsStablyAndSelectsTheFirstEntry) {
  ParametresState s(fold_less);
  s.show({"western", "Drame", "policier", "drame", "Action"});
  EXPECT_EQ(s.entries(), (Entries{"Action", "Drame", "drame", "policier", "western"}));
  EXPECT_TRUE(s.enabled());
  EXPECT_EQ(s.selected(), 0);
  EXPECT_EQ(s.edit_text(), "Action");

  s.show({});
  EXPECT_FALSE(s.enabled());
  EXPECT_EQ(s.selected(), -1);
  EXPECT_EQ(s.edit_text(), "");
}

TEST(ParametresState, LeavingTheBoxRenamesInPlaceAndReportsExactChanges) {
  ParametresState s(fold_less);
  s.show({"Drame", "Western", "Comedie"});
  s.list_click(1);
  EXPECT_EQ(s.edit_text(), "Drame");
  s.edit_enter();
  EXPECT_EQ(s.edit_exit("Drame"), std::nullopt);
  auto rename = s.edit_exit("drame");  // a change of case is a change
  ASSERT_TRUE(rename);
  EXPECT_EQ(*rename, std::make_pair(std::string("Drame"), std::string("drame")));
  EXPECT_EQ(s.edit_exit("drame"), std::nullopt);  // nothing carried twice

  s.list_click(0);
  s.edit_enter();
  rename = s.edit_exit("Zorro");
  ASSERT_TRUE(rename);
  EXPECT_EQ(rename->first, "Comedie");
  // Kept at its place until the next load.
  EXPECT_EQ(s.entries(), (Entries{"Zorro", "drame", "Western"}));
  EXPECT_EQ(s.selected(), 0);
  s.list_click(7);  // outside the list: nothing changes
  EXPECT_EQ(s.edited(), 0);
}

TEST(ParametresState, AddingPutsAnEmptyEntryOnTopWhoseNamingCarriesNothing) {
  ParametresState s(fold_less);
  s.show({});
  s.add();
  EXPECT_TRUE(s.enabled());
  EXPECT_EQ(s.entries(), (Entries{""}));
  EXPECT_EQ(s.edited(), 0);
  s.edit_enter();
  EXPECT_EQ(s.edit_exit("Nouveau"), std::nullopt);
  EXPECT_EQ(s.entries(), (Entries{"Nouveau"}));
  s.add();
  EXPECT_EQ(s.entries(), (Entries{"", "Nouveau"}));
  EXPECT_EQ(s.edit_text(), "");
}

TEST(ParametresState, RemovingTakesTheEditedEntryAndShowsTheFirst) {
  ParametresState s(fold_less);
  s.show({"A", "B", "C"});
  s.list_click(1);
  s.remove();
  EXPECT_EQ(s.entries(), (Entries{"A", "C"}));
  EXPECT_EQ(s.selected(), 0);
  EXPECT_EQ(s.edit_text(), "A");
  // Leaving the box now must not write the deleted text over entry 0.
  EXPECT_EQ(s.edit_exit(s.edit_text()), std::nullopt);
  EXPECT_EQ(s.entries(), (Entries{"A", "C"}));
  s.remove();
  s.remove();
  EXPECT_TRUE(s.entries().empty());
  EXPECT_FALSE(s.enabled());
  EXPECT_EQ(s.edit_text(), "");
  s.remove();  // nothing left to remove
  EXPECT_TRUE(s.entries().empty());
}

TEST(ParametresState, TextsInBothLanguagesMatchTheListTable) {
  for (int k = 0; k < 12; ++k) {
    EXPECT_STREQ(parametres_texts(0).titles[k], store::kListKinds[k].title_fr) << k;
    EXPECT_STREQ(parametres_texts(1).titles[k], store::kListKinds[k].title_en) << k;
  }
  EXPECT_STREQ(parametres_texts(0).question, "Vous confirmez la suppression ?");
  EXPECT_STREQ(parametres_texts(1).question, "Delete ?");
  EXPECT_STREQ(parametres_texts(0).caption, "Paramètres");
  EXPECT_STREQ(parametres_texts(1).del, "&Delete");
}

}  // namespace
}  // namespace shell
