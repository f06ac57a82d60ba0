#include "platform/regional.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets the locale variables for one case and clears them afterwards.
struct Env {
  Env(const char *forced, const char *lc_all, const char *lc_messages, const char *lang) {
    put("TAPEMOOR_SLANGUAGE", forced);
    put("LC_ALL", lc_all);
    put("LC_MESSAGES", lc_messages);
    put("LANG", lang);
  }
  ~Env() {
    for (const char *n : {"TAPEMOOR_SLANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "LC_TIME"}) unsetenv(n);
  }
  static void put(const char *name, const char *value) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
};

TEST(Regional, LanguageComesFromOverrideThenLocaleVariablesInOrder) {
  {
    Env e("ENU", "fr_FR.UTF-8", nullptr, nullptr);
    EXPECT_EQ(platform::regional_language(), "ENU");
  }
  {
    Env e(nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", "it_IT");
    EXPECT_EQ(platform::regional_language(), "FR");
  }
  {
    Env e(nullptr, nullptr, "de_DE.UTF-8", "it_IT");
    EXPECT_EQ(platform::regional_language(), "DE");
  }
  {
    Env e(nullptr, nullptr, nullptr, "it_IT");
    EXPECT_EQ(platform::regional_language(), "IT");
  }
  {
    Env e(nullptr, nullptr, nullptr, "C.UTF-8");
    EXPECT_EQ(platform::regional_language(), "");
  }
}

TEST(Regional, OnlyFrenchGivesLangueZeroAndFourLanguagesReadDayFirst) {
  EXPECT_EQ(platform::langue_from("FRA"), 0);
  EXPECT_EQ(platform::langue_from("fr"), 0);
  for (const char *l : {"ENU", "DEU", "ESP", "ITA", "", "F"}) EXPECT_EQ(platform::langue_from(l), 1) << l;
  for (const char *l : {"DEU", "esp", "FRA", "ITA"}) EXPECT_TRUE(platform::day_first(l)) << l;
  for (const char *l : {"ENU", "NLD", "", "F"}) EXPECT_FALSE(platform::day_first(l)) << l;
}

TEST(Regional, DateSeparatorFallsBackToSlash) {
  Env e(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(platform::regional_date_separator(), '/');
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(platform::regional_date_separator(), '/');
}

}  // namespace
