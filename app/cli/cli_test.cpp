#include "cli.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <QImage>
#include <filesystem>
#include <functional>
#include <sstream>

#include "catalogue.h"
#include "faulty_io.h"
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
  return {cli::run(args, out, err), out.str(), err.str()};  // braces run left to right
}

TEST(Cli, ExportsEveryRecordOfTheDossier) {
  TempDir dir;
  Catalogue(dir.path())
      .dossier("Cin\xe9ma", [](store::TDataDossier &d) { d.set_notes("Mes notes"); })
      .support("VHS-C-LONGUE-DUREE-XX", "K7", [](store::TDataSupport &s) { s.set_date("01/01/1997"); })
      .record("Le \"Kid\"", [](Recording &r) {
        r.record.set_annee(1921);
        r.record1.set_format("4/3");
        r.generique.set_denomination(2, "R\351alisateur");
        r.generique.set_nom(2, "Anna");
        r.recompense.set_recompense(10, "Palme");
        r.recompense.set_annee_recompense(10, "1921");
      });
  const std::string supports = dir.read("SUPPORTS.000") + "partial tail";
  dir.write("SUPPORTS.000", supports);

  Result r = run({"--data", dir.path(), "export", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char *part :
       {"\"titre\": \"Cinéma\"", "\"dernier_record\": 1", "\"support\": \"VHS-C-LONGUE-DUREE-X\"",
        "\"date\": \"01/01/1997\"", "\"titre\": \"Le \\\"Kid\\\"\"", "\"format\": \"4/3\"",
        "\"slot\": 2,\n          \"denomination\": \"Réalisateur\",\n          \"nom\": \"Anna\"",
        "\"slot\": 10,\n          \"recompense\": \"Palme\"", "\"annee_recompense\": \"1921\"",
        "\"date_prevue\": \"00/00/0000\""})
    EXPECT_NE(r.out.find(part), std::string::npos) << part;
  EXPECT_EQ(r.out.find("\"code\""), std::string::npos);
  EXPECT_EQ(r.out.find("\"record\": 1,"), std::string::npos);  // the partial tail is no support
  EXPECT_EQ(dir.read("SUPPORTS.000"), supports);               // reading writes nothing back
}

TEST(Cli, UsageAndInputErrorsHaveTheirStatuses) {
  TempDir dir;
  // A dossier whose credits file is short: the failure names that file.
  Catalogue(dir.path()).dossier("A").support("VHS", "K7").record("r");
  dir.write("CT.000", "");
  const std::tuple<std::vector<std::string>, int, const char *> kCases[] = {
      {{}, 2, ""},
      {{"frobnicate"}, 2, ""},
      {{"--data"}, 2, ""},
      {{"export"}, 2, "usage: tapemoor-cli"},
      {{"--data", dir.path(), "export", "x"}, 2, ""},
      {{"--data", dir.path(), "planning", "x"}, 2, ""},
      {{"--data", dir.path(), "tree", "0", "--grouping", "6"}, 2, ""},
      {{"--data", dir.path(), "tree", "0", "--index", "0"}, 2, ""},
      {{"--data", dir.path(), "export", "3"}, 1, "no dossier 3"},
      {{"--data", dir.file("nope"), "dossiers"}, 1, "nope"},
      {{"--data", dir.path(), "export", "0"}, 1, "CT.000"},
      {{"--data", dir.path(), "delete-support", "0", "5"}, 1, "no support 5"},
      {{"--data", dir.path(), "delete-recording", "0", "9"}, 1, "no recording 9"},
      {{"--data", dir.path(), "delete-dossier", "7"}, 1, "no dossier 7"},
      {{"--data", dir.path(), "delete-support", "0"}, 2, "usage"},
      {{"--data", dir.path(), "rename-value", "13", "a", "b"}, 2, "usage"},
      {{"--data", dir.path(), "loans", "0", "--borrowed", "--ical", "x.ics"}, 2, "usage"},
      {{"--data", dir.path(), "loans", "0", "--ical", dir.file("no/x.ics")}, 1, "no/x.ics~"}};
  const auto before = dir.snapshot();
  for (const auto &[args, status, message] : kCases) {
    Result r = run(args);
    EXPECT_EQ(r.status, status) << testing::PrintToString(args);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << "a failed command prints nothing of its output";
  }
  EXPECT_TRUE(dir.snapshot() == before);  // and changes nothing
  // Reading an empty folder creates nothing in it.
  TempDir vide;
  EXPECT_EQ(run({"--data", vide.path(), "dossiers"}).status, 0);
  EXPECT_TRUE(vide.snapshot().empty());
  // Control characters in a title cannot break the tab-separated lines.
  Catalogue(dir.path()).dossier("a\tb\nc\x01");
  EXPECT_NE(run({"--data", dir.path(), "dossiers"}).out.find("\n1\ta\\tb\\nc\\x01\t0\t0\n"),
            std::string::npos);
}

TEST(Cli, PictureFactsAndBitmap) {
  TempDir dir;
  dir.write("a.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n5\n0\nENDSEC\n0\nEOF\n");
  dir.write("bad.gif", "GIF89a");
  Result r = run({"picture", dir.file("a.dxf"), "--res", "mono", "--png", dir.file("a.png")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 4), "DXF\t");
  EXPECT_EQ(QImage(QString::fromStdString(dir.file("a.png"))).format(), QImage::Format_Mono);
  for (auto [args, status, out] : {std::tuple{std::vector<std::string>{"picture", dir.file("none.gif")}, 1,
                                              "ERR\t-1\t-1\t-1\t\t-1\t-1\tfile not found\n"},
                                   {{"picture", dir.file("a.dxf"), "--res", "64"}, 2, ""},
                                   {{"picture", dir.file("bad.gif")}, 1, ""}}) {
    r = run(args);
    EXPECT_EQ(r.status, status) << args[1];
    EXPECT_EQ(r.out, out);
  }
}

TEST(Cli, ProtectedDossierOpensWithTheExactCodeAndPrintsItsTree) {
  TempDir dir;
  Catalogue(dir.path())
      .liste(1, {"Drame"})
      .liste(8, {"VHS"})
      .dossier("Priv\xe9", [](store::TDataDossier &d) { d.set_code("S\xe9same"); })
      .support("VHS", "K7")
      .record("Film", [](Recording &r) { r.record.set_reference("R1"); })
      .record("Autre", [](Recording &r) { r.record.set_theme("Drame"); });
  Result none = run({"--data", dir.path(), "export", "0"});
  EXPECT_EQ(std::tie(none.status, none.out, none.err), std::tuple(1, "", "Wrong password\n"));
  EXPECT_EQ(run({"--data", dir.path(), "tree", "0", "--code", "sésame"}).err, "Wrong password\n");
  EXPECT_NE(run({"--data", dir.path(), "export", "0", "--code", "Sésame"}).out.find("\"titre\": \"Privé\""),
            std::string::npos);

  auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), {"--data", dir.path(), "tree", "0", "--code", "Sésame"});
    return run(more).out;
  };
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  EXPECT_EQ(with({}), "1\t1\t\t\tVHS\n2\t2\tk7img\t000000\tK7\n");
  EXPECT_EQ(with({"--grouping", "4", "--index", "3"}),
            "1\t1\t\t\tDrame\n2\t2\tfilmimg\t000001\t - Autre\n3\t1\t\t\tnon "
            "Classé\n4\t2\tfilmimg\t000000\tR1 - Film\n");
  setenv("TAPEMOOR_SLANGUAGE", "ENU", 1);
  EXPECT_EQ(with({"--grouping", "5"}), "1\t1\tfilmimg\t000001\tAutre\n2\t1\tfilmimg\t000000\tFilm\n");
  EXPECT_NE(with({"--grouping", "0"}).find("not classified"), std::string::npos);
  // The plan's outline, read from no file: nothing is created.
  const Result plan = run({"--data", dir.path(), "planning", "0", "--code", "Sésame"});
  EXPECT_TRUE(plan.out.starts_with("1\t1\t\t1\tNone\n2\t2\tdateimg\t1\tNone\n"));
  EXPECT_TRUE(plan.out.ends_with("\n40\t2\tshowviewimg\t10\tNone\n"));
  EXPECT_FALSE(dir.exists("PLANNING.000"));
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
  for (const store::ListKind &k : store::kListKinds)
    EXPECT_FALSE(store::lit_liste(demo.store, k.kind).empty());
  demo.store.ouvre_dossier(0);
  std::vector<store::TDataSupport> supports = demo.supports();
  EXPECT_EQ(supports[9].pret_au(), "15/06/1999");  // the overdue loan
  EXPECT_EQ(supports[12].emprunt_a(), utf8_to_cp1252("Médiathèque municipale"));
  EXPECT_EQ(demo.recordings()[0].recompense.recompense(1), utf8_to_cp1252("César"));
  EXPECT_EQ(demo.store.lit_planning().film(2), "Quai des brumes");
}

}  // namespace

namespace {

TEST(Cli, WriteCommandsChangeWhatTheWindowWould) {
  TempDir dir;
  Catalogue c(dir.path());
  for (const char *titre : {"Un", "Deux", "Trois"})
    c.dossier(titre)
        .support("VHS", "A")
        .record("a", [](Recording &r) { r.record.set_theme("Drame"); })
        .support("VHS", "B")
        .record("b");
  c.dossier("Secret", [](store::TDataDossier &d) { d.set_code("pw"); });
  auto cli = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", dir.path()});
    return run(args);
  };
  auto titres = [&](int d) {
    std::vector<std::string> t;
    for (const Recording &r : c.recordings(d)) t.push_back(r.record.titre() + "/" + r.record.theme());
    return t;
  };
  EXPECT_EQ(cli({"delete-recording", "0", "0"}).status, 0);
  EXPECT_EQ(titres(0), std::vector<std::string>{"b/"});
  EXPECT_EQ(cli({"delete-support", "1", "1"}).status, 0);  // B, with b
  EXPECT_EQ(titres(1), std::vector<std::string>{"a/Drame"});
  EXPECT_EQ(cli({"rename-value", "1", "Drame", "Tragédie"}).status, 0);
  EXPECT_EQ(titres(2), (std::vector<std::string>{"a/Trag\xe9"
                                                 "die",
                                                 "b/"}));
  EXPECT_EQ(cli({"delete-dossier", "3", "--code", "pw"}).status, 0);
  EXPECT_EQ(cli({"delete-dossier", "0"}).status, 0);
  EXPECT_EQ(cli({"dossiers"}).out, "0\tDeux\t1\t1\n1\tTrois\t2\t2\n");
}

}  // namespace

namespace {

TEST(Cli, CheckNamesWhatIsDamagedAndRepairMendsWhatLosesNothing) {
  const std::tuple<const char *, std::function<void(TempDir &)>, const char *, const char *> kCases[] = {
      {"clean", [](TempDir &) {}, "", ""},
      {"no second recordings file yet", [](TempDir &d) { std::filesystem::remove(d.file("RECORDS1.000")); },
       "", ""},
      {"partial record", [](TempDir &d) { d.write("SUPPORTS.000", d.read("SUPPORTS.000") + "abc"); },
       "SUPPORTS.000\t1007 bytes is not a whole number of 1004-byte records\n",
       "SUPPORTS.000\t1007 bytes is not a whole number of 1004-byte records\n"},
      {"short credits", [](TempDir &d) { d.write("CT.000", ""); },
       "CT.000\tholds 0 records, RECORDS.000 holds 1\n", "CT.000\trepaired: padded with 1 blank records\n"},
      {"orphan file", [](TempDir &d) { d.write("AWARD.004", ""); }, "AWARD.004\tno dossier 4 in MAINFILE\n",
       "AWARD.004\tno dossier 4 in MAINFILE\n"},
      {"missing supports", [](TempDir &d) { std::filesystem::remove(d.file("SUPPORTS.000")); },
       "SUPPORTS.000\tmissing, while 1 recordings refer to it\n",
       "SUPPORTS.000\tmissing, while 1 recordings refer to it\n"},
      {"side file", [](TempDir &d) { d.write("MAINFILE~", ""); },
       "MAINFILE~\tleft by an interrupted change\n", "MAINFILE~\trepaired: removed\n"},
      {"interrupted change",
       [](TempDir &d) {
         FaultyIo io;
         store::Store s(d.path(), io);
         interrompt(s, io, "CT.000");
       },
       "JOURNAL\tan interrupted change waits to be rolled back\nCT.000\tholds 0 records, RECORDS.000 holds "
       "1\n",
       "JOURNAL\trepaired: interrupted change rolled back\n"}};
  for (const auto &[name, damage, report, repaired] : kCases) {
    SCOPED_TRACE(name);
    TempDir dir;
    Catalogue(dir.path()).liste(1, {"Drame"}).dossier("Un").support("VHS", "K7").record("r");
    const std::string credits = dir.read("CT.000");
    damage(dir);
    const auto before = dir.snapshot();
    Result r = run({"--data", dir.path(), "check"});
    EXPECT_EQ(r.out, report);
    EXPECT_EQ(r.status, *report ? 1 : 0);
    EXPECT_TRUE(dir.snapshot() == before);
    // Nothing reads half a change: the reading commands wait for the repair.
    EXPECT_EQ(run({"--data", dir.path(), "lists"}).status,
              dir.exists("JOURNAL") && dir.size("JOURNAL") > 0 ? 1 : 0);
    r = run({"--data", dir.path(), "check", "--repair"});
    EXPECT_EQ(r.out, repaired);
    EXPECT_EQ(r.status, std::string(repaired).find("repaired") != std::string::npos || !*repaired ? 0 : 1);
    if (dir.exists("SUPPORTS.000")) {
      EXPECT_EQ(run({"--data", dir.path(), "dossiers"}).out, "0\tUn\t1\t1\n");
    }
    EXPECT_TRUE(std::string(name) != "interrupted change" || dir.read("CT.000") == credits);
  }
}

}  // namespace

namespace {

TEST(Cli, LoansPrintsTheListLinesAndWritesTheReturnDatesAsACalendar) {
  TempDir dir;
  auto chez = [](const char *au, bool pret) {
    return [=](store::TDataSupport &s) {
      pret ? s.set_pret_a("Zo\xe9") : s.set_emprunt_a("Club");
      pret ? s.set_pret_observations(
                 "ray\xe9"
                 "e\r\n\xe0 voir")
           : s.set_emprunt_au(au);
    };
  };
  Catalogue c(dir.path());
  c.dossier("Pr\xeats").support("VHS", "A", chez("", true)).record("Film");
  c.support("VHS", "B", chez("31/02/2000", false)).support("VHS", "C", chez("16/06/2000", false));
  setenv("TAPEMOOR_TODAY", kToday, 1);
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  EXPECT_EQ(run({"--data", dir.path(), "loans", "0"}).out,
            "1\t1\tk7aimg\t0\tA\n2\t2\toutimg\t0\t15/06/2000\n3\t2\tinimg\t0\t15/06/2000\n"
            "4\t2\tfilmimg\t0\tEnregistrement\n5\t3\tbandeimg\t0\tFilm\n");
  setenv("TAPEMOOR_SLANGUAGE", "ENU", 1);
  EXPECT_NE(run({"--data", dir.path(), "loans", "0", "--borrowed"}).out.find("\tRecord\n5\t1\tk7img\t2\tC\n"),
            std::string::npos);
  // Exported twice: the same events under the same UIDs, the 31st of February left out and counted.
  std::vector<std::string> events;
  for (int i = 0; i < 2; ++i) {
    Result r = run({"--data", dir.path(), "loans", "0", "--ical", dir.file("out.ics")});
    EXPECT_EQ(std::tie(r.status, r.out, r.err),
              std::tuple(0, "", "tapemoor-cli: 1 return dates skipped (not a valid date)\n"));
    std::unique_ptr<icalcomponent, void (*)(icalcomponent *)> cal(
        icalparser_parse_string(dir.read("out.ics").c_str()), icalcomponent_free);
    ASSERT_TRUE(cal);
    for (icalcomponent *e = icalcomponent_get_first_component(cal.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(cal.get(), ICAL_VEVENT_COMPONENT)) {
      const char *notes = icalcomponent_get_description(e);
      events.push_back(std::string(icalcomponent_get_uid(e)) + "|" + icalcomponent_get_summary(e) + "|" +
                       icaltime_as_ical_string(icalcomponent_get_dtstart(e)) + "|" + (notes ? notes : ""));
    }
  }
  const std::string pret = "tapemoor-Pr%C3%AAts-1-pret|Return of A (Zoé)|20000615|rayée\nà voir",
                    emprunt = "tapemoor-Pr%C3%AAts-3-emprunt|Return of C (Club)|20000616|";
  EXPECT_EQ(events, (std::vector<std::string>{pret, emprunt, pret, emprunt}));
  EXPECT_FALSE(dir.exists("out.ics~"));
  unsetenv("TAPEMOOR_SLANGUAGE");
  unsetenv("TAPEMOOR_TODAY");
}

// The print command: status and the start of each stream; a failed or empty report writes no PDF.
TEST(Cli, PrintAnswers) {
  TempDir dir;
  Catalogue(dir.path()).dossier("Films").support("VHS", "K7").dossier("Vide");
  const std::string pdf = dir.file("out.pdf");
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  for (const auto &[args, status, out, err] :
       std::vector<std::tuple<std::vector<std::string>, int, std::string, std::string>>{
           {{"supports", "0", "--dump"}, 0, "job\nroundrect\t530\t-55\t1503\t-175\t12\t12\t7\n", ""},
           {{"recordings", "0", "--dump"}, 0, "", "Aucun enregistrement de r"},
           {{"supports", "1", "--pdf", pdf}, 0, "", "Aucun support de répond aux critères de sélection\n"},
           {{"supports", "7", "--dump"}, 1, "", "tapemoor-cli: no dossier 7\n"},
           {{"supports", "0", "--pdf", dir.file("no/out.pdf")}, 1, "", "tapemoor-cli: cannot write"},
           {{"supports", "0", "--query", dir.file("q.req"), "--dump"}, 1, "", "tapemoor-cli: open failed"},
           {{"planning", "0", "--query", dir.file("q.req"), "--dump"},
            2,
            "",
            "tapemoor-cli: --query belongs"},
           {{"supports", "0", "--dump", "--pdf", pdf}, 2, "", "tapemoor-cli: print takes one of --pdf"},
           {{"sheets", "0", "--dump"}, 2, "", "tapemoor-cli: print takes the report"},
           {{"sheet", "0", "--dump"}, 2, "", "tapemoor-cli: print sheet needs --record R"},
           {{"credits", "0", "--dump"}, 2, "", "tapemoor-cli: print credits needs --record R"},
           {{"sheet", "0", "--record", "5", "--dump"}, 1, "", "tapemoor-cli: no recording 5 in dossier 0"},
           {{"supports", "0", "--due", "--dump"}, 2, "", "tapemoor-cli: --due belongs"},
           {{"lent", "0", "--due", "--dump"}, 0, "", ""},
           {{"supports", "0", "--record", "1", "--dump"}, 2, "", "tapemoor-cli: --record belongs"},
       }) {
    std::vector<std::string> line{"--data", dir.path(), "print"};
    line.insert(line.end(), args.begin(), args.end());
    const Result r = run(line);
    EXPECT_EQ(r.status, status) << args[0] << " " << r.err;
    EXPECT_TRUE(r.out.starts_with(out) && r.err.starts_with(err)) << r.out.substr(0, 100) << r.err;
  }
  EXPECT_FALSE(dir.exists("out.pdf"));
  EXPECT_EQ(run({"--data", dir.path(), "print", "supports", "0", "--pdf", pdf}).status, 0);
  EXPECT_TRUE(dir.read("out.pdf").starts_with("%PDF"));
  unsetenv("TAPEMOOR_SLANGUAGE");
}

// Query files from a terminal: criteria added as the add button does, listed as the window lists
// them, searched as the search button does, and filtering the list reports.
TEST(Cli, QueryFilesAreBuiltListedAndSearched) {
  TempDir dir;
  Catalogue(dir.path())
      .dossier("Films")
      .support("VHS", "K7")
      .record("Alien")
      .record("Brazil")
      .support("DVD", "D1");
  setenv("TAPEMOOR_SLANGUAGE", "FRA", 1);
  const std::string q = dir.file("q.req"), titre = "Titre de l'enregistrement";
  for (const auto &[args, status, out, err] :
       std::vector<std::tuple<std::vector<std::string>, int, std::string, std::string>>{
           {{"search", "0", q}, 1, "", "tapemoor-cli: open failed"},
           {{"query", q, "--add", titre, "=", "Alien"}, 0, "", ""},
           {{"query", q, "--add", "Type du support", "=", "DVD", "ou"}, 0, "", ""},
           {{"query", q, "--add", titre, ">", "Alien"}, 2, "", "tapemoor-cli: a value that is no number"},
           {{"query", q, "--add", titre, "=", "x", "or"}, 2, "", "tapemoor-cli: the link is et or ou"},
           {{"query", q}, 0, "    Titre de l'enregistrement = Alien\nou Type du support = DVD\n", ""},
           {{"search", "0", q}, 0, "k7img\t1\tD1\nfilmimg\t0\tAlien\n", ""},
           {{"search", "0", q, "--add"}, 2, "", "tapemoor-cli: --add belongs to query"},
       }) {
    std::vector<std::string> line{"--data", dir.path()};
    line.insert(line.end(), args.begin(), args.end());
    const Result r = run(line);
    EXPECT_EQ(r.status, status) << args[0] << " " << r.err;
    EXPECT_EQ(r.out, out);
    EXPECT_TRUE(r.err.starts_with(err)) << r.err;
  }
  const Result printed = run({"--data", dir.path(), "print", "recordings", "0", "--query", q, "--dump"});
  EXPECT_TRUE(printed.out.find("Alien") != std::string::npos &&
              printed.out.find("Brazil") == std::string::npos);
  for (int i = 2; i < 100; ++i) ASSERT_EQ(run({"query", q, "--add", titre, "=", "Zed"}).status, 0);
  const Result full = run({"query", q, "--add", titre, "=", "Zed"});
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "tapemoor-cli: La liste est pleine : une requête compte 100 critères au plus\n");
  run({"query", dir.file("z.req"), "--add", titre, "=", "Zed"});
  const Result none = run({"--data", dir.path(), "search", "0", dir.file("z.req")});
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "Il n'y a pas d'enregistrement répondant à ces critères\n");
}

// The stats command: one line per slot, the not-classified slot last, 0.0 on an empty dossier.
TEST(Cli, StatsAnswers) {
  TempDir dir;
  Catalogue(dir.path())
      .liste(1, {"Drame", "Western"})
      .dossier("Films", [](store::TDataDossier &d) { d.set_code("x"); })
      .support("VHS", "K7")
      .record("a", [](Recording &r) { r.record.set_theme("Drame"); })
      .record("b")
      .record("c", [](Recording &r) { r.record.set_theme("Drame"); })
      .dossier("Vide");
  setenv("TAPEMOOR_SLANGUAGE", "ENU", 1);
  for (const auto &[args, status, out] : std::vector<std::tuple<std::vector<std::string>, int, std::string>>{
           {{"0", "--chart", "1", "--code", "x"},
            0,
            "Drame\t2\t66.7\nWestern\t0\t0.0\nNot Classified\t1\t33.3\n"},
           {{"1", "--chart", "7"}, 0, "Not Classified\t0\t0.0\n"},
           {{"0", "--chart", "1"}, 1, ""},
           {{"1", "--chart", "8"}, 2, ""},
           {{"1"}, 2, ""},
       }) {
    std::vector<std::string> line{"--data", dir.path(), "stats"};
    line.insert(line.end(), args.begin(), args.end());
    const Result r = run(line);
    EXPECT_EQ(std::tie(r.status, r.out), std::tie(status, out)) << r.err;
  }
  unsetenv("TAPEMOOR_SLANGUAGE");
}

}  // namespace
