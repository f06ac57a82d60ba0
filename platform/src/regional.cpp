#include "platform/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdlib>

namespace platform {
namespace {

std::string env(const char *name) {
  const char *v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string upper2(const std::string &s) {
  std::string r;
  for (std::size_t i = 0; i < s.size() && i < 2; ++i)
    r += static_cast<char>(std::toupper(static_cast<unsigned char>(s[i])));
  return r;
}

// The first locale variable that is set, as the C library chooses for one category.
std::string locale_name(const char *category_var) {
  for (const char *var : {"LC_ALL", category_var, "LANG"}) {
    std::string v = env(var);
    if (!v.empty()) return v;
  }
  return {};
}

}  // namespace

std::string regional_language() {
  if (const char *forced = std::getenv("TAPEMOOR_SLANGUAGE")) return forced;
  std::string name = locale_name("LC_MESSAGES");
  if (name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0) return {};
  // "fr_FR.UTF-8" -> "FR": the language part, which is what the first two letters mean.
  return upper2(name);
}

char regional_date_separator() {
  std::string name = locale_name("LC_TIME");
  if (name.empty()) return '/';
  locale_t loc = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(nullptr));
  if (!loc) return '/';
  char sep = '/';
  const char *fmt = nl_langinfo_l(D_FMT, loc);
  // The first character between two conversions is the separator ("%d/%m/%Y", "%d.%m.%Y").
  for (const char *p = fmt; p && *p; ++p) {
    if (*p == '%') {
      if (p[1]) ++p;
      continue;
    }
    if (!std::isalnum(static_cast<unsigned char>(*p))) {
      sep = *p;
      break;
    }
  }
  freelocale(loc);
  return sep;
}

bool day_first(const std::string &language) {
  std::string two = upper2(language);
  return two == "DE" || two == "ES" || two == "FR" || two == "IT";
}

int langue_from(const std::string &language) { return upper2(language) == "FR" ? 0 : 1; }

}  // namespace platform
