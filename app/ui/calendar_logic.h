// The date picker's arithmetic and texts, without a widget: languages, month lengths, the day
// kept inside its month, and the date text read and written in the regional order.
//
// Stored dates are day first ("dd/mm/yyyy"). The picker works in the regional order and
// separator, so a caller converts on the way in and out:
//   picker.setDate(QString::fromStdString(store::regional_date(stored, day_first, sep)));
//   if (picker.Execute()) stored = store::regional_date(picker.Date().toStdString(), day_first, '/');
// regional_date swaps the first two numbers when day_first is false, which is its own inverse,
// so the same call brings a month-first picker text back to day first. to_picker_date and
// from_picker_date below do exactly that. Convert back only when Execute returned true: a
// cancelled picker leaves the field's own text alone (an empty field stays empty).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ui {

enum TLanguage { laDefault, laEnglish, laGerman, laFrench, laItalian, laSpanish };

// laDefault resolved from a regional language value: DE, ES, FR, IT by their first two
// letters, anything else English.
TLanguage language_from_regional(std::string_view regional);
TLanguage resolved_language(TLanguage language, std::string_view regional);

// UTF-8 texts of a resolved language (laDefault reads as English).
std::string calendar_title(TLanguage language);
std::string cancel_caption(TLanguage language);
const std::array<const char *, 12> &month_names(TLanguage language);
// Monday first.
const std::array<const char *, 7> &weekday_names(TLanguage language);

inline constexpr int kFirstYear = 1981, kLastYear = 2099;

// February has 29 days in every year divisible by 4, as the picker counts.
int days_in_month(int month, int year);
// 0 Monday .. 6 Sunday, for the first day of the month.
int first_weekday(int month, int year);

// What the day grid, the month list and the year box hold.
struct CalendarDate {
  int day = 1;
  int month = 1;
  int year = 2000;
  bool operator==(const CalendarDate &) const = default;

  // Changing the month or the year first lowers the day to the new month's last day.
  void set_month(int m);
  void set_year(int y);
  // A day outside the month is refused; returns whether it was taken.
  bool set_day(int d);
};

// Puts the numbers of a date text (read by position, in the regional order) into `current`; a
// number the grid cannot show (a day outside the month, a month outside 1..12, a year outside
// the year box) leaves the previous value.
CalendarDate read_picker_date(std::string_view text, bool day_first, const CalendarDate &current);

// The OK text: day and month on two digits, the year as a number, joined by the separator in
// the regional order.
std::string picker_text(const CalendarDate &date, bool day_first, char separator);

// Stored (day first, '/') text to the picker's order and back.
std::string to_picker_date(std::string_view stored, bool day_first, char separator);
std::string from_picker_date(std::string_view picked, bool day_first);

}  // namespace ui
