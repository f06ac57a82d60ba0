#include "dates.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TEST(Dates, ValidityIsPositional) {
  EXPECT_TRUE(date_valide("01/01/1982"));
  EXPECT_TRUE(date_valide("31/12/2098"));
  EXPECT_TRUE(date_valide("31/02/1999"));  // days beyond the month pass
  EXPECT_TRUE(date_valide("15-06-2000"));  // separators are not examined
  EXPECT_TRUE(date_valide(" 5/ 6/1990"));  // leading blanks are skipped
  EXPECT_FALSE(date_valide("01/13/1999"));
  EXPECT_FALSE(date_valide("00/12/1999"));
  EXPECT_FALSE(date_valide("01/01/1981"));
  EXPECT_FALSE(date_valide("01/01/2099"));
  EXPECT_FALSE(date_valide("5/12/2000"));  // read as day 5, month 2, year 0
  EXPECT_FALSE(date_valide(""));
  EXPECT_FALSE(date_valide("ab/cd/efgh"));
}

TEST(Dates, OneDigitDayReadsByPosition) {
  DateParts p = split_date("5/12/2000");
  EXPECT_EQ(p.first, 5);
  EXPECT_EQ(p.second, 2);
  EXPECT_EQ(p.year, 0);
}

TEST(Dates, DueDateOfTodayIsReachedTomorrowIsNot) {
  const char *today = "15/06/2000";
  EXPECT_TRUE(date_atteinte("15/06/2000", today));
  EXPECT_FALSE(date_atteinte("16/06/2000", today));
  EXPECT_TRUE(date_atteinte("14/06/2000", today));
  EXPECT_TRUE(date_atteinte("31/05/2000", today));
  EXPECT_FALSE(date_atteinte("01/07/2000", today));
  EXPECT_TRUE(date_atteinte("31/12/1999", today));
  EXPECT_FALSE(date_atteinte("01/01/2001", today));
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
