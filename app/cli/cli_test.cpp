#include "cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "catalogue.h"
#include "temp_dir.h"

using store::Recording;
using store::utf8_to_cp1252;

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

auto with_code(const char *code) {
  return [code](store::TDataDossier &d) { d.set_code(code); };
}

TEST(Cli, ExportsACatalogueWrittenByAnotherProgram) {
  TempDir dir;
  dir.write("MAINFILE", Bytes(666).text(0, "Cin\xe9ma").text(308, "Mes notes").integer(658, 5).integer(662, 9).b);
  // Length byte 200 in a text 20: read as the field's 20 characters.
  std::string support =
      Bytes(1004).integer(0, 5).text(4, "VHS-C-LONGUE-DUREE-XX", 200).text(87, "01/01/1997").integer(98, 240).b;
  dir.write("SUPPORTS.000", support + "partial tail");
  dir.write("RECORDS.000", Bytes(1017).integer(0, 9).integer(4, 5).text(8, "Le \"Kid\"").integer(285, 1921).b);
  dir.write("RECORDS1.000", Bytes(246).text(0, "4/3").b);
  dir.write("CT.000", Bytes(3690).text(41, "R\xe9" "alisateur").text(1230 + 41, "Anna").b);
  dir.write("AWARD.000", Bytes(870).text(41 * 9, "Palme").text(820 + 45, "1921").b);

  Result r = run({"--data", dir.path(), "export", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char *part : {"\"titre\": \"Cinéma\"", "\"dernier_record\": 9", "\"support\": \"VHS-C-LONGUE-DUREE-X\"",
                           "\"date\": \"01/01/1997\"", "\"titre\": \"Le \\\"Kid\\\"\"", "\"format\": \"4/3\"",
                           "\"slot\": 2,\n          \"denomination\": \"Réalisateur\",\n          \"nom\": \"Anna\"",
                           "\"slot\": 10,\n          \"recompense\": \"Palme\"", "\"annee_recompense\": \"1921\"",
                           "\"date_prevue\": \"00/00/0000\""})
    EXPECT_NE(r.out.find(part), std::string::npos) << part;
  EXPECT_EQ(r.out.find("\"code\""), std::string::npos);
  EXPECT_EQ(r.out.find("\"record\": 1,"), std::string::npos);  // the partial tail is no support
  EXPECT_EQ(dir.read("SUPPORTS.000"), support + "partial tail");  // reading writes nothing back
  EXPECT_EQ(run({"--data", dir.path(), "dossiers"}).out, "0\tCinéma\t1\t1\n");
}

TEST(Cli, PasswordProtectedDossierNeedsTheExactCode) {
  TempDir dir;
  Catalogue(dir.path()).dossier("Priv\xe9", with_code("S\xe9same"));
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
  const std::pair<std::vector<std::string>, int> kCases[] = {
      {{}, 2}, {{"frobnicate"}, 2}, {{"--data"}, 2}, {{"--data", dir.path(), "export", "x"}, 2},
      {{"--data", dir.path(), "export", "3"}, 1}, {{"--data", dir.path(), "tree", "0", "--grouping", "6"}, 2},
      {{"--data", dir.path(), "tree", "0", "--index", "0"}, 2}};
  for (const auto &[args, status] : kCases) EXPECT_EQ(run(args).status, status) << testing::PrintToString(args);
  EXPECT_NE(run({"export"}).err.find("usage: tapemoor-cli"), std::string::npos);
  Result missing = run({"--data", dir.file("nope"), "dossiers"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nope"), std::string::npos);
  // A dossier whose credits file is short names that file.
  Catalogue(dir.path()).dossier("A").support("VHS", "K7").record("r");
  dir.write("CT.000", "");
  Result broken = run({"--data", dir.path(), "export", "0"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("CT.000"), std::string::npos);
}

TEST(Cli, TreePrintsTheLinesOfTheChosenGrouping) {
  TempDir dir;
  Catalogue(dir.path())
      .liste(1, {"Drame"})
      .liste(8, {"VHS"})
      .dossier("A", with_code("pw"))
      .support("VHS", "K7")
      .record("Film", [](Recording &r) { r.record.set_reference("R1"); })
      .record("Autre", [](Recording &r) { r.record.set_theme("Drame"); });
  std::vector<std::string> tree = {"--data", dir.path(), "tree", "0", "--code", "pw"};
  auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), tree.begin(), tree.end());
    return run(more).out;
  };
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  EXPECT_EQ(run({"--data", dir.path(), "tree", "0"}).err, "Wrong password\n");
  EXPECT_EQ(with({}), "1\t1\t\t\tVHS\n2\t2\tk7img\t000000\tK7\n");
  EXPECT_EQ(with({"--grouping", "4", "--index", "3"}),
            "1\t1\t\t\tDrame\n2\t2\tfilmimg\t000001\t - Autre\n3\t1\t\t\tnon Classé\n4\t2\tfilmimg\t000000\tR1 - Film\n");
  setenv("TAPEMOOR_SLANGUAGE", "ENU", 1);
  EXPECT_EQ(with({"--grouping", "5"}), "1\t1\tfilmimg\t000001\tAutre\n2\t1\tfilmimg\t000000\tFilm\n");
  EXPECT_NE(with({"--grouping", "0"}).find("not classified"), std::string::npos);
  unsetenv("TAPEMOOR_SLANGUAGE");
  EXPECT_FALSE(dir.exists("Moorkeep.CFG"));  // the preference is read, never created, by the CLI
}

TEST(Cli, DemoCatalogueHasWhatItPromises) {
  TempDir dir;
  setenv("TAPEMOOR_TODAY", kToday, 1);
  Result made = run({"make-demo", dir.file("demo")});
  unsetenv("TAPEMOOR_TODAY");
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(run({"make-demo", dir.file("demo")}).status, 1);  // never over an existing catalogue
  EXPECT_EQ(dir.read("demo/grey.bmp").substr(0, 2), "BM");
  EXPECT_EQ(run({"--data", dir.file("demo"), "dossiers"}).out, "0\tMa vidéothèque\t14\t40\n");
  EXPECT_NE(run({"--data", dir.file("demo"), "lists"}).out.find("== SORT\nCourt métrage\nDessin animé\n"),
            std::string::npos);

  Catalogue demo(dir.file("demo"));
  for (const store::ListKind &k : store::kListKinds) EXPECT_FALSE(store::lit_liste(demo.store, k.kind).empty());
  demo.store.ouvre_dossier(0);
  std::vector<store::TDataSupport> supports = demo.supports();
  EXPECT_EQ(supports[9].pret_au(), "15/06/1999");  // the overdue loan
  EXPECT_EQ(supports[12].emprunt_a(), utf8_to_cp1252("Médiathèque municipale"));
  EXPECT_EQ(demo.recordings()[0].recompense.recompense(1), utf8_to_cp1252("César"));
  EXPECT_EQ(demo.store.lit_planning().film(2), "Quai des brumes");
}

}  // namespace
