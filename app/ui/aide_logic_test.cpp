#include "aide_logic.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace {

// The data directory's help file wins; then the guide beside the program, then the installed one.
TEST(FichierAide, HelpFileThenGuideBesideThenInstalled) {
  TempDir d;
  std::filesystem::create_directories(d.file("bin/doc/en"));
  std::filesystem::create_directories(d.file("share/tapemoor/doc/fr"));
  d.write("DOCEN.HLP", "");
  d.write("bin/doc/en/listes.html", "");
  d.write("share/tapemoor/doc/fr/listes.html", "");
  const std::string bin = d.file("bin");
  EXPECT_EQ(ui::fichier_aide(d.path(), bin, 1, "listes"), d.file("DOCEN.HLP"));
  EXPECT_EQ(ui::fichier_aide("", bin, 1, "listes"), d.file("bin/doc/en/listes.html"));  // a topic: the guide
  EXPECT_EQ(ui::fichier_aide(d.path(), bin, 0, "listes"), d.file("share/tapemoor/doc/fr/listes.html"));
  EXPECT_EQ(ui::fichier_aide(d.path(), bin, 0, "index"), "");
}

}  // namespace
