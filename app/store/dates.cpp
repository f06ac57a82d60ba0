#include "dates.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace store {

int leading_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > 100000000) break;
  }
  return v;
}

static std::string_view part(std::string_view text, std::size_t from, std::size_t len) {
  if (from >= text.size()) return {};
  return text.substr(from, len);
}

DateParts split_date(std::string_view text) {
  return {leading_number(part(text, 0, 2)), leading_number(part(text, 3, 2)),
          leading_number(part(text, 6, 4))};
}

bool date_valide(std::string_view text) {
  DateParts d = split_date(text);
  return d.first >= 1 && d.first <= 31 && d.second >= 1 && d.second <= 12 && d.year >= 1982 && d.year <= 2098;
}

bool date_atteinte(std::string_view due, std::string_view today) {
  DateParts t = split_date(today), g = split_date(due);
  if (t.year != g.year) return t.year > g.year;
  if (t.second != g.second) return t.second > g.second;
  return t.first >= g.first;
}

std::string format_date(int day, int month, int year) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day, month, year);
  return buf;
}

std::string system_today() {
  if (const char *fixed = std::getenv("TAPEMOOR_TODAY"); fixed && *fixed)
    return std::string(fixed).substr(0, 10);
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return format_date(local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
}

std::string regional_date(std::string_view text, bool day_first, char separator) {
  DateParts d = split_date(text);
  char buf[32];
  if (day_first)
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", d.first, separator, d.second, separator, d.year);
  else
    std::snprintf(buf, sizeof buf, "%02d%c%02d%c%04d", d.second, separator, d.first, separator, d.year);
  return buf;
}

}  // namespace store
