#include "calendar_logic.h"

#include <chrono>
#include <cstdio>

#include "dates.h"

namespace ui {
namespace {

std::string upper2(std::string_view s) {
  std::string r;
  for (std::size_t i = 0; i < s.size() && i < 2; ++i) {
    char c = s[i];
    r += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return r;
}

// Rows in TLanguage order; laDefault falls back to English.
int row(TLanguage language) {
  switch (language) {
    case laGerman: return 1;
    case laFrench: return 2;
    case laItalian: return 3;
    case laSpanish: return 4;
    default: return 0;
  }
}

constexpr std::array<std::array<const char *, 12>, 5> kMonths{{
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
     "November", "Dezember"},
    {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre",
     "Octobre", "Novembre", "Décembre"},
    {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto",
     "Settembre", "Ottobre", "Novembre", "Dicembre"},
    {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
     "Octubre", "Noviembre", "Diciembre"},
}};

constexpr std::array<std::array<const char *, 7>, 5> kWeekdays{{
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"},
    {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"},
    {"Lun", "Mar", "Mer", "Gio", "Ven", "Sab", "Dom"},
    {"Lun", "Mar", "Mié", "Jue", "Vie", "Sáb", "Dom"},
}};

constexpr std::array<const char *, 5> kTitles{"Calendar", "Kalender", "Calendrier", "Calendario",
                                              "Calendario"};
constexpr std::array<const char *, 5> kCancel{"&Cancel", "&Annulieren", "&Annuler", "&Annulare",
                                              "&Cancelar"};

}  // namespace

TLanguage language_from_regional(std::string_view regional) {
  std::string two = upper2(regional);
  if (two == "DE") return laGerman;
  if (two == "ES") return laSpanish;
  if (two == "FR") return laFrench;
  if (two == "IT") return laItalian;
  return laEnglish;
}

TLanguage resolved_language(TLanguage language, std::string_view regional) {
  return language == laDefault ? language_from_regional(regional) : language;
}

std::string calendar_title(TLanguage language) { return kTitles[row(language)]; }
std::string cancel_caption(TLanguage language) { return kCancel[row(language)]; }
const std::array<const char *, 12> &month_names(TLanguage language) { return kMonths[row(language)]; }
const std::array<const char *, 7> &weekday_names(TLanguage language) { return kWeekdays[row(language)]; }

int days_in_month(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  if (month == 2 && year % 4 == 0) return 29;
  return kDays[month - 1];
}

int first_weekday(int month, int year) {
  using namespace std::chrono;
  weekday wd{sys_days{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} / 1}};
  return static_cast<int>(wd.iso_encoding()) - 1;
}

void CalendarDate::set_month(int m) {
  if (m < 1 || m > 12) return;
  if (day > days_in_month(m, year)) day = days_in_month(m, year);
  month = m;
}

void CalendarDate::set_year(int y) {
  if (y < kFirstYear || y > kLastYear) return;
  if (day > days_in_month(month, y)) day = days_in_month(month, y);
  year = y;
}

bool CalendarDate::set_day(int d) {
  if (d < 1 || d > days_in_month(month, year)) return false;
  day = d;
  return true;
}

CalendarDate read_picker_date(std::string_view text, bool day_first, const CalendarDate &current) {
  store::DateParts parts = store::split_date(text);
  int day = day_first ? parts.first : parts.second;
  int month = day_first ? parts.second : parts.first;
  CalendarDate d = current;
  // Year and month first, so the day is checked against the month it will be shown in.
  d.set_year(parts.year);
  d.set_month(month);
  d.set_day(day);
  return d;
}

std::string picker_text(const CalendarDate &date, bool day_first, char separator) {
  char buf[32];
  int a = day_first ? date.day : date.month;
  int b = day_first ? date.month : date.day;
  std::snprintf(buf, sizeof buf, "%02d%c%02d%c%d", a, separator, b, separator, date.year);
  return std::string(buf).substr(0, 10);
}

std::string to_picker_date(std::string_view stored, bool day_first, char separator) {
  if (stored.empty()) return {};
  return store::regional_date(stored, day_first, separator);
}

std::string from_picker_date(std::string_view picked, bool day_first) {
  return store::regional_date(picked, day_first, '/');
}

}  // namespace ui
