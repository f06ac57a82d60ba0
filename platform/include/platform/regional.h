// The regional profile: the language value and date separator the program reads once at start-up.
#pragma once

#include <string>

namespace platform {

// The "sLanguage" value: TAPEMOOR_SLANGUAGE when set, else derived from the locale variables
// (LC_ALL, then LC_MESSAGES, then LANG), "fr_FR.UTF-8" giving "FR". Empty when nothing is set.
std::string regional_language();

// The separator of the locale's short date format; "/" when it cannot be told.
char regional_date_separator();

// True when dates are read and written day first: the language begins with DE, ES, FR or IT.
bool day_first(const std::string &language);

// 0 French, 1 English: French only when the language begins with FR.
int langue_from(const std::string &language);

}  // namespace platform
