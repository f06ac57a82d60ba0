#include "ical.h"

#include <libical/ical.h>

#include <cstdlib>
#include <memory>

#include "loans.h"

namespace cli {
namespace {

// UID characters: letters, digits and a few marks; everything else %XX of its UTF-8 bytes.
std::string uid_part(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : utf8) {
    auto u = static_cast<unsigned char>(ch);
    if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || ch == '-' ||
        ch == '.' || ch == '_')
      out += ch;
    else
      out += std::string("%") + kHex[u >> 4] + kHex[u & 15];
  }
  return out;
}

struct Libere {
  void operator()(icalcomponent *c) const { icalcomponent_free(c); }
  void operator()(char *text) const { std::free(text); }
};

}  // namespace

Echeances echeances_ical(store::Store &s, int langue) {
  Echeances out;
  std::unique_ptr<icalcomponent, Libere> cal(icalcomponent_new_vcalendar());
  icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Tapemoor//Loans and borrowings//EN"));
  icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
  const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
  const std::string dossier = uid_part(store::cp1252_to_utf8(s.dossier().titre()));
  s.scan_supports([&](int, const store::TDataSupport &sup) {
    for (loans::Sorte sorte : {loans::Sorte::pret, loans::Sorte::emprunt}) {
      const loans::Saisie e = loans::lit_saisie(sup, sorte);
      if (e.a.empty()) continue;
      // date_valide lets a 31st of February through; a calendar has no such day.
      const store::DateParts d = store::split_date(e.au);
      if (!store::date_valide(e.au) || d.first > icaltime_days_in_month(d.second, d.year)) {
        ++out.ignorees;
        continue;
      }
      icaltimetype jour = icaltime_null_date();
      jour.year = d.year;
      jour.month = d.second;
      jour.day = d.first;
      icaltimetype lendemain = jour;
      icaltime_adjust(&lendemain, 1, 0, 0, 0);
      const bool pret = sorte == loans::Sorte::pret;
      const std::string uid =
          "tapemoor-" + dossier + "-" + std::to_string(sup.numero()) + (pret ? "-pret" : "-emprunt");
      const std::string resume = std::string(langue == 0 ? "Retour de " : "Return of ") +
                                 store::cp1252_to_utf8(sup.reference()) + " (" + store::cp1252_to_utf8(e.a) +
                                 ")";
      icalcomponent *ev = icalcomponent_new_vevent();
      icalcomponent_add_property(ev, icalproperty_new_uid(uid.c_str()));
      icalcomponent_add_property(ev, icalproperty_new_dtstamp(stamp));
      icalcomponent_add_property(ev, icalproperty_new_dtstart(jour));
      icalcomponent_add_property(ev, icalproperty_new_dtend(lendemain));
      icalcomponent_add_property(ev, icalproperty_new_summary(resume.c_str()));
      if (!e.observations.empty()) {
        std::string notes = store::cp1252_to_utf8(e.observations);
        for (std::size_t at; (at = notes.find("\r\n")) != std::string::npos;) notes.erase(at, 1);
        icalcomponent_add_property(ev, icalproperty_new_description(notes.c_str()));
      }
      icalcomponent_add_component(cal.get(), ev);
    }
  });
  std::unique_ptr<char, Libere> text(icalcomponent_as_ical_string_r(cal.get()));
  out.ics = text.get();
  return out;
}

}  // namespace cli
