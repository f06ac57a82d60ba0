// Date texts: "dd/mm/yyyy", read by position (characters 1-2, 4-5 and 7-10), never by separator.
//
// Stored dates are always day first, because date_du_jour writes them that way. The regional
// order (month first outside DE, ES, FR and IT) only changes how a date is shown and typed in
// the picker; the due test reads stored texts day first on every system, since that is how they
// were written.
#pragma once

#include <string>
#include <string_view>

namespace store {

struct DateParts {
  int first = 0;   // characters 1-2
  int second = 0;  // characters 4-5
  int year = 0;    // characters 7-10
};

// Leading blanks skipped, then the leading digits; no digit gives 0.
int leading_number(std::string_view text);
DateParts split_date(std::string_view text);

// Day 1..31, month 1..12, year 1982..2098; a 31st of February passes.
bool date_valide(std::string_view text);

// True when `today` has reached `due`: a later year, or a later month of the same year, or the
// same month with today's day at or past the due day. Both texts are day first.
bool date_atteinte(std::string_view due, std::string_view today);

// "dd/mm/yyyy" of a calendar date.
std::string format_date(int day, int month, int year);

// Today's date, day first with '/'. Reads the clock; TAPEMOOR_TODAY (a date text) replaces it so
// that runs and tests can fix the day.
std::string system_today();

// Today in the regional order and separator, as the picker shows it.
std::string regional_date(std::string_view day_first_text, bool day_first, char separator);

}  // namespace store
