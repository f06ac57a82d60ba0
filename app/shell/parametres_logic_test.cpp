// The editor's window tests cover sorting, deleting and the rename reaching the data; these
// cover what the window cannot show: which renames are reported.
#include "parametres_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace shell {
namespace {

using Entries = std::vector<std::string>;
using Rename = std::pair<std::string, std::string>;

TEST(ParametresState, LeavingTheBoxReportsExactRenamesOnlyOnce) {
  ParametresState s{std::less<std::string>()};
  s.show({"Drame", "Western", "Comedie"});
  s.list_click(1);
  s.edit_enter();
  EXPECT_EQ(s.edit_exit("Drame"), std::nullopt);
  EXPECT_EQ(s.edit_exit("drame"), (Rename{"Drame", "drame"}));  // a change of case is a change
  EXPECT_EQ(s.edit_exit("drame"), std::nullopt);                // nothing carried twice
  s.list_click(7);                                              // outside the list: nothing changes
  EXPECT_EQ(s.edited(), 1);

  // An added entry is empty, and empty values are never renamed in the data.
  s.add();
  s.edit_enter();
  EXPECT_EQ(s.edit_exit("Nouveau"), std::nullopt);
  EXPECT_EQ(s.entries(), (Entries{"Nouveau", "Comedie", "drame", "Western"}));
  for (int i = 0; i < 5; ++i) s.remove();  // once more than there are entries
  EXPECT_FALSE(s.enabled());
}

}  // namespace
}  // namespace shell
