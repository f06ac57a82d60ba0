#include "calendar_logic.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(CalendarLogic, MonthLengthsCountFebruaryByFours) {
  EXPECT_EQ(days_in_month(1, 2001), 31);
  EXPECT_EQ(days_in_month(4, 2001), 30);
  EXPECT_EQ(days_in_month(2, 2001), 28);
  EXPECT_EQ(days_in_month(2, 2000), 29);
  EXPECT_EQ(days_in_month(2, 1984), 29);
  EXPECT_EQ(days_in_month(12, 1999), 31);
  EXPECT_EQ(days_in_month(11, 1999), 30);
}

TEST(CalendarLogic, WeeksStartOnMonday) {
  EXPECT_EQ(first_weekday(1, 2001), 0);  // a Monday
  EXPECT_EQ(first_weekday(2, 2000), 1);  // a Tuesday
  EXPECT_EQ(first_weekday(9, 2024), 6);  // a Sunday
}

TEST(CalendarLogic, ChangingMonthOrYearLowersTheDay) {
  CalendarDate d{31, 1, 2001};
  d.set_month(2);
  EXPECT_EQ(d, (CalendarDate{28, 2, 2001}));
  d = {31, 3, 2000};
  d.set_month(2);
  EXPECT_EQ(d, (CalendarDate{29, 2, 2000}));
  d.set_year(2001);
  EXPECT_EQ(d, (CalendarDate{28, 2, 2001}));
  d = {31, 5, 2001};
  d.set_month(6);
  EXPECT_EQ(d.day, 30);
  d.set_month(7);
  EXPECT_EQ(d.day, 30);  // lowered once, never raised back
  // Values the month list and the year box cannot hold are refused.
  d.set_month(13);
  d.set_year(1980);
  d.set_year(2100);
  EXPECT_EQ(d, (CalendarDate{30, 7, 2001}));
  EXPECT_FALSE(d.set_day(32));
  EXPECT_FALSE(d.set_day(0));
  EXPECT_TRUE(d.set_day(31));
  d.set_year(1981);
  d.set_year(2099);
  EXPECT_EQ(d, (CalendarDate{31, 7, 2099}));
}

TEST(CalendarLogic, DateTextIsReadInRegionalOrderKeepingWhatTheGridCannotShow) {
  const CalendarDate before{15, 6, 1999};
  EXPECT_EQ(read_picker_date("25/12/2000", true, before), (CalendarDate{25, 12, 2000}));
  EXPECT_EQ(read_picker_date("12-25-2000", false, before), (CalendarDate{25, 12, 2000}));
  // A 31st of February: month and year taken, the day kept.
  EXPECT_EQ(read_picker_date("31/02/2001", true, before), (CalendarDate{15, 2, 2001}));
  EXPECT_EQ(read_picker_date("10/13/2001", true, before), (CalendarDate{10, 6, 2001}));
  EXPECT_EQ(read_picker_date("00/05/2000", true, before), (CalendarDate{15, 5, 2000}));
  EXPECT_EQ(read_picker_date("01/01/1970", true, before), (CalendarDate{1, 1, 1999}));
  EXPECT_EQ(read_picker_date("", true, before), before);
  // 5/12/2000 is read by position: day 5, month 2 ("2/"), year 0 ("000").
  EXPECT_EQ(read_picker_date("5/12/2000", true, before), (CalendarDate{5, 2, 1999}));
}

TEST(CalendarLogic, OkTextFollowsRegionalOrderAndSeparator) {
  CalendarDate d{3, 7, 2001};
  EXPECT_EQ(picker_text(d, true, '/'), "03/07/2001");
  EXPECT_EQ(picker_text(d, false, '-'), "07-03-2001");
  EXPECT_EQ(picker_text(d, true, '.'), "03.07.2001");
}

TEST(CalendarLogic, StoredDayFirstTextsRoundTripThroughThePicker) {
  EXPECT_EQ(to_picker_date("25/12/2000", false, '-'), "12-25-2000");
  EXPECT_EQ(from_picker_date("12-25-2000", false), "25/12/2000");
  EXPECT_EQ(to_picker_date("25/12/2000", true, '.'), "25.12.2000");
  EXPECT_EQ(from_picker_date("25.12.2000", true), "25/12/2000");
  EXPECT_EQ(to_picker_date("", false, '/'), "");
}

TEST(CalendarLogic, LanguagesAndTheirTexts) {
  EXPECT_EQ(language_from_regional("FRA"), laFrench);
  EXPECT_EQ(language_from_regional("frc"), laFrench);
  EXPECT_EQ(language_from_regional("DEU"), laGerman);
  EXPECT_EQ(language_from_regional("ITA"), laItalian);
  EXPECT_EQ(language_from_regional("ESP"), laSpanish);
  EXPECT_EQ(language_from_regional("ENU"), laEnglish);
  EXPECT_EQ(language_from_regional(""), laEnglish);
  EXPECT_EQ(resolved_language(laDefault, "DEU"), laGerman);
  EXPECT_EQ(resolved_language(laItalian, "DEU"), laItalian);

  EXPECT_STREQ(month_names(laEnglish)[4], "May");
  EXPECT_STREQ(month_names(laFrench)[1], "Février");
  EXPECT_STREQ(month_names(laFrench)[7], "Août");
  EXPECT_STREQ(month_names(laGerman)[2], "März");
  EXPECT_STREQ(month_names(laItalian)[0], "Gennaio");
  EXPECT_STREQ(month_names(laSpanish)[11], "Diciembre");
  EXPECT_STREQ(weekday_names(laFrench)[0], "Lun");
  EXPECT_STREQ(weekday_names(laEnglish)[6], "Sun");
  EXPECT_STREQ(weekday_names(laGerman)[0], "Mo");
  EXPECT_EQ(calendar_title(laGerman), "Kalender");
  EXPECT_EQ(calendar_title(laSpanish), "Calendario");
  EXPECT_EQ(cancel_caption(laFrench), "&Annuler");
  EXPECT_EQ(cancel_caption(laItalian), "&Annulare");
  EXPECT_EQ(cancel_caption(laDefault), "&Cancel");
}

}  // namespace
}  // namespace ui
