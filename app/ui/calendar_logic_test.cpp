#include "calendar_logic.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(CalendarLogic, MonthLengthsAndFirstWeekdays) {
  struct {
    int month, year, days, first;  // first: 0 Monday .. 6 Sunday
  } cases[] = {{1, 2001, 31, 0}, {4, 2001, 30, 6}, {2, 2001, 28, 3},  {2, 2000, 29, 1},
               {2, 1984, 29, 2}, {11, 1999, 30, 0}, {12, 1999, 31, 2}, {9, 2024, 30, 6}};
  for (const auto &k : cases) {
    EXPECT_EQ(days_in_month(k.month, k.year), k.days) << k.month << "/" << k.year;
    EXPECT_EQ(first_weekday(k.month, k.year), k.first) << k.month << "/" << k.year;
  }
}

// The window tests lower the day through the month list and the year box.
TEST(CalendarLogic, TheDayIsNeverRaisedBackAndValuesOutOfRangeAreRefused) {
  CalendarDate d{31, 5, 2001};
  d.set_month(6);
  d.set_month(7);
  EXPECT_EQ(d.day, 30);  // lowered once, never raised back
  // Values the month list, the grid and the year box cannot hold are refused.
  d.set_month(13);
  d.set_year(1980);
  d.set_year(2100);
  EXPECT_FALSE(d.set_day(32) || d.set_day(0));
  EXPECT_EQ(d, (CalendarDate{30, 7, 2001}));
  EXPECT_TRUE(d.set_day(31));
  d.set_year(1981);
  d.set_year(2099);
  EXPECT_EQ(d, (CalendarDate{31, 7, 2099}));
}

TEST(CalendarLogic, DateTextIsReadInRegionalOrderKeepingWhatTheGridCannotShow) {
  const CalendarDate before{15, 6, 1999};
  struct {
    const char *text;
    bool day_first;
    CalendarDate read;
  } cases[] = {{"25/12/2000", true, {25, 12, 2000}}, {"12-25-2000", false, {25, 12, 2000}},
               {"31/02/2001", true, {15, 2, 2001}},  {"10/13/2001", true, {10, 6, 2001}},
               {"00/05/2000", true, {15, 5, 2000}},  {"01/01/1970", true, {1, 1, 1999}},
               {"", true, before},
               // Read by position: day 5, month 2 ("2/"), year 0 ("000").
               {"5/12/2000", true, {5, 2, 1999}}};
  for (const auto &k : cases) EXPECT_EQ(read_picker_date(k.text, k.day_first, before), k.read) << k.text;
  // The page tests convert filled fields both ways; an empty one stays empty.
  EXPECT_EQ(to_picker_date("", false, '/'), "");
}

TEST(CalendarLogic, LanguageFromTheFirstTwoLettersOfTheRegionalValue) {
  struct {
    const char *regional;
    TLanguage language;
  } cases[] = {{"FRA", laFrench},  {"frc", laFrench},  {"DEU", laGerman}, {"ITA", laItalian},
               {"ESP", laSpanish}, {"ENU", laEnglish}, {"", laEnglish}};
  for (const auto &k : cases) EXPECT_EQ(language_from_regional(k.regional), k.language) << k.regional;
  EXPECT_EQ(resolved_language(laDefault, "DEU"), laGerman);
  EXPECT_EQ(resolved_language(laItalian, "DEU"), laItalian);
  // The window tests show only the French texts; laDefault reads as English.
  EXPECT_EQ((std::vector{cancel_caption(laItalian), calendar_title(laGerman), cancel_caption(laDefault)}),
            (std::vector<std::string>{"&Annulare", "Kalender", "&Cancel"}));
}

}  // namespace
}  // namespace ui
