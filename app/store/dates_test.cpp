#include "dates.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TEST(Dates, ValidityIsPositional) {
  // Days beyond the month pass, separators are not examined, leading blanks are skipped; "5/12/2000"
  // reads as day 5, month 2, year 0.
  for (const char *valid : {"01/01/1982", "31/12/2098", "31/02/1999", "15-06-2000", " 5/ 6/1990"})
    EXPECT_TRUE(date_valide(valid)) << valid;
  for (const char *invalid :
       {"01/13/1999", "00/12/1999", "01/01/1981", "01/01/2099", "5/12/2000", "", "ab/cd/efgh"})
    EXPECT_FALSE(date_valide(invalid)) << invalid;
  DateParts p = split_date("5/12/2000");
  EXPECT_EQ(std::tuple(p.first, p.second, p.year), std::tuple(5, 2, 0));
}

TEST(Dates, DueDateOfTodayIsReachedTomorrowIsNot) {
  for (const char *reached : {"15/06/2000", "14/06/2000", "31/05/2000", "31/12/1999"})
    EXPECT_TRUE(date_atteinte(reached, "15/06/2000")) << reached;
  for (const char *ahead : {"16/06/2000", "01/07/2000", "01/01/2001"})
    EXPECT_FALSE(date_atteinte(ahead, "15/06/2000")) << ahead;
}

TEST(Dates, TodayCanBeFixedAndRegionalOrderSwapsDayAndMonth) {
  setenv("TAPEMOOR_TODAY", "24/12/1999", 1);
  EXPECT_EQ(system_today(), "24/12/1999");
  unsetenv("TAPEMOOR_TODAY");
  std::string real = system_today();
  EXPECT_EQ(real.size(), 10u);
  EXPECT_TRUE(date_valide(real));
  EXPECT_EQ(regional_date("24/12/1999", true, '.'), "24.12.1999");
  EXPECT_EQ(regional_date("24/12/1999", false, '/'), "12/24/1999");
  EXPECT_EQ(format_date(1, 2, 2003), "01/02/2003");
}

}  // namespace
