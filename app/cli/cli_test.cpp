#include "cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../store/temp_dir_test.h"

namespace {

struct Result {
  int status;
  std::string out, err;
};

Result run(std::vector<std::string> args) {
  std::ostringstream out, err;
  int status = cli::run(args, out, err);
  return {status, out.str(), err.str()};
}

// A record assembled byte by byte, as another program would write it.
struct Bytes {
  std::string b;
  explicit Bytes(std::size_t size) : b(size, '\0') {}
  Bytes &text(std::size_t off, const std::string &s, int length = -1) {
    b[off] = static_cast<char>(length < 0 ? s.size() : static_cast<std::size_t>(length));
    b.replace(off + 1, s.size(), s);
    return *this;
  }
  Bytes &integer(std::size_t off, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<char>(v >> (8 * i));
    return *this;
  }
};

TEST(Cli, ExportsACatalogueWrittenByAnotherProgram) {
  TempDir dir;
  dir.write("MAINFILE", Bytes(666).text(0, "Cin\xe9ma").text(308, "Mes notes").integer(658, 5).integer(662, 9).b);
  // Length byte 200 in a text 20: read as the field's 20 characters.
  std::string support = Bytes(1004)
                            .integer(0, 5)
                            .text(4, "VHS-C-LONGUE-DUREE-XX", 200)
                            .text(87, "01/01/1997")
                            .integer(98, 240)
                            .text(366, "Paul")
                            .b;
  dir.write("SUPPORTS.000", support + "partial tail");
  dir.write("RECORDS.000", Bytes(1017).integer(0, 9).integer(4, 5).text(8, "Le \"Kid\"").integer(285, 1921).b);
  dir.write("RECORDS1.000", Bytes(246).text(0, "4/3").b);
  dir.write("CT.000", Bytes(3690).text(41, "R\xe9" "alisateur").text(1230 + 41, "Anna").b);
  dir.write("AWARD.000", Bytes(870).text(41 * 9, "Palme").text(820 + 45, "1921").b);

  Result r = run({"--data", dir.path(), "export", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string &j = r.out;
  EXPECT_NE(j.find("\"titre\": \"Cinéma\""), std::string::npos);
  EXPECT_NE(j.find("\"dernier_record\": 9"), std::string::npos);
  EXPECT_EQ(j.find("\"code\""), std::string::npos);
  EXPECT_NE(j.find("\"support\": \"VHS-C-LONGUE-DUREE-X\""), std::string::npos);
  EXPECT_NE(j.find("\"date\": \"01/01/1997\""), std::string::npos);
  EXPECT_EQ(j.find("\"record\": 1,"), std::string::npos);  // the partial tail is no support
  EXPECT_NE(j.find("\"titre\": \"Le \\\"Kid\\\"\""), std::string::npos);
  EXPECT_NE(j.find("\"format\": \"4/3\""), std::string::npos);
  EXPECT_NE(j.find("\"slot\": 2,\n          \"denomination\": \"Réalisateur\",\n          \"nom\": \"Anna\""),
            std::string::npos);
  EXPECT_NE(j.find("\"slot\": 10,\n          \"recompense\": \"Palme\""), std::string::npos);
  EXPECT_NE(j.find("\"annee_recompense\": \"1921\""), std::string::npos);
  EXPECT_NE(j.find("\"date_prevue\": \"00/00/0000\""), std::string::npos);
  EXPECT_EQ(dir.read("SUPPORTS.000"), support + "partial tail");  // reading writes nothing back

  Result list = run({"--data", dir.path(), "dossiers"});
  EXPECT_EQ(list.out, "0\tCinéma\t1\t1\n");
}

TEST(Cli, PasswordProtectedDossierNeedsTheExactCode) {
  TempDir dir;
  dir.write("MAINFILE", Bytes(666).text(0, "Priv\xe9").text(41, "S\xe9same").b);
  Result none = run({"--data", dir.path(), "export", "0"});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "Wrong password\n");
  EXPECT_TRUE(none.out.empty());
  EXPECT_EQ(run({"--data", dir.path(), "export", "0", "--code", "sésame"}).status, 1);
  Result ok = run({"--data", dir.path(), "export", "0", "--code", "Sésame"});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("\"titre\": \"Privé\""), std::string::npos);
}

TEST(Cli, UsageAndInputErrorsHaveTheirStatuses) {
  TempDir dir;
  EXPECT_EQ(run({}).status, 2);
  EXPECT_EQ(run({"frobnicate"}).status, 2);
  EXPECT_EQ(run({"--data"}).status, 2);
  EXPECT_EQ(run({"--data", dir.path(), "export", "x"}).status, 2);
  Result usage = run({"export"});
  EXPECT_NE(usage.err.find("usage: tapemoor-cli"), std::string::npos);
  Result missing = run({"--data", dir.file("nope"), "dossiers"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nope"), std::string::npos);
  EXPECT_EQ(run({"--data", dir.path(), "export", "3"}).status, 1);
  // A dossier whose credits file is short names that file.
  dir.write("MAINFILE", Bytes(666).text(0, "A").b);
  dir.write("RECORDS.000", Bytes(1017).b);
  dir.write("RECORDS1.000", Bytes(246).b);
  Result broken = run({"--data", dir.path(), "export", "0"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("CT.000"), std::string::npos);
}

TEST(Cli, TreePrintsTheLinesOfTheChosenGrouping) {
  TempDir dir;
  dir.write("MAINFILE", Bytes(666).text(0, "A").text(41, "pw").b);
  dir.write("THEME", Bytes(41).text(0, "Drame").b);
  dir.write("SUPPORT", Bytes(41).text(0, "VHS").b);
  dir.write("SUPPORTS.000", Bytes(1004).integer(0, 1).text(4, "VHS").text(25, "K7").b);
  dir.write("RECORDS.000", Bytes(1017).integer(0, 1).integer(4, 1).text(8, "Film").text(264, "R1").b +
                               Bytes(1017).integer(0, 2).integer(4, 1).text(8, "Autre").text(293, "Drame").b);
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  EXPECT_EQ(run({"--data", dir.path(), "tree", "0"}).err, "Wrong password\n");
  Result r = run({"--data", dir.path(), "tree", "0", "--code", "pw"});
  EXPECT_EQ(r.out, "1\t1\t\t\tVHS\n2\t2\tk7img\t000000\tK7\n");
  r = run({"--data", dir.path(), "tree", "0", "--code", "pw", "--grouping", "4", "--index", "3"});
  EXPECT_EQ(r.out, "1\t1\t\t\tDrame\n2\t2\tfilmimg\t000001\t - Autre\n3\t1\t\t\tnon Classé\n"
                   "4\t2\tfilmimg\t000000\tR1 - Film\n");
  setenv("TAPEMOOR_SLANGUAGE", "ENU", 1);
  r = run({"--data", dir.path(), "tree", "0", "--code", "pw", "--grouping", "5"});
  EXPECT_EQ(r.out, "1\t1\tfilmimg\t000001\tAutre\n2\t1\tfilmimg\t000000\tFilm\n");
  EXPECT_NE(run({"--data", dir.path(), "tree", "0", "--code", "pw", "--grouping", "0"}).out.find("not classified"),
            std::string::npos);
  unsetenv("TAPEMOOR_SLANGUAGE");
  EXPECT_EQ(run({"--data", dir.path(), "tree", "0", "--grouping", "6"}).status, 2);
  EXPECT_EQ(run({"--data", dir.path(), "tree", "0", "--index", "0"}).status, 2);
  EXPECT_FALSE(dir.exists("Moorkeep.CFG"));  // the preference is read, never created, by the CLI
}

TEST(Cli, DemoCatalogueHasWhatItPromises) {
  TempDir dir;
  setenv("TAPEMOOR_TODAY", "15/06/2000", 1);
  Result made = run({"make-demo", dir.file("demo")});
  unsetenv("TAPEMOOR_TODAY");
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(run({"make-demo", dir.file("demo")}).status, 1);  // never over an existing catalogue
  EXPECT_EQ(dir.read("demo/grey.bmp").substr(0, 2), "BM");

  Result d = run({"--data", dir.file("demo"), "dossiers"});
  EXPECT_EQ(d.out, "0\tMa vidéothèque\t14\t40\n");
  Result lists = run({"--data", dir.file("demo"), "lists"});
  for (const char *f : {"THEME", "SORT", "NATION", "VERSION", "COLORS", "OPINION", "AWARD", "SUPPORT", "QUALITY",
                        "DISTRI", "CATEGORY", "FORMAT"})
    EXPECT_NE(lists.out.find(std::string("== ") + f + "\n"), std::string::npos) << f;
  EXPECT_NE(lists.out.find("Science-fiction\n"), std::string::npos);

  std::string j = run({"--data", dir.file("demo"), "export", "0"}).out;
  EXPECT_NE(j.find("\"pret_au\": \"15/06/1999\""), std::string::npos);  // the overdue loan
  EXPECT_NE(j.find("\"emprunt_a\": \"Médiathèque municipale\""), std::string::npos);
  EXPECT_NE(j.find("\"film\": \"Quai des brumes\""), std::string::npos);
  EXPECT_NE(j.find("\"recompense\": \"César\""), std::string::npos);
}

}  // namespace
