#include "reports.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace {

using Page = std::vector<std::string>;
using Texts = std::vector<std::string>;

// The pages of a dump, one per job; a call outside a job fails the test.
std::vector<Page> pages_of(const print::RecordingCanvas &c) {
  std::vector<Page> pages;
  bool open = false;
  for (const std::string &l : c.lignes()) {
    EXPECT_EQ(l == "job", !open) << l;
    if (l == "job" || l == "endjob")
      open = l == "job", open ? pages.emplace_back() : pages.back();
    else
      pages.back().push_back(l);
  }
  EXPECT_FALSE(open);
  return pages;
}

// The texts drawn at x, in drawing order, as "y text".
Texts at_x(const Page &p, int x) {
  Texts out;
  const std::string head = "text\t" + std::to_string(x) + "\t";
  for (const std::string &l : p)
    if (l.starts_with(head))
      out.push_back(l.substr(head.size(), l.find('\t', head.size()) - head.size()) + " " +
                    l.substr(l.rfind('\t') + 1));
  return out;
}

std::string row(int y, const std::string &text) {
  return std::to_string(y) + " " + text;
}
std::string support_row(int r, const std::string &ref) {
  return row(-370 - (r - 1) * 50, ref);
}

struct SupportsCase {
  const char *name;
  std::vector<int> titles;  // recordings of each support "K000", "K001"...
  std::vector<Texts> refs;  // page by page, "y reference" of the supports that start there
};

class SupportsList : public ::testing::TestWithParam<SupportsCase> {};

TEST_P(SupportsList, BlocksFallOnTheirRows) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  for (std::size_t i = 0; i < GetParam().titles.size(); ++i) {
    c.support("VHS", "K" + store::nombre_zero(static_cast<long long>(i), 3));
    for (int t = 0; t < GetParam().titles[i]; ++t) c.record("T" + std::to_string(t));
  }
  print::RecordingCanvas canvas;
  const print::Bilan b = print::liste_supports(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), GetParam().refs.size());
  EXPECT_EQ(b.pages, static_cast<int>(pages.size()));
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(at_x(pages[p], 250), GetParam().refs[p]) << "page " << p + 1;
    EXPECT_EQ(at_x(pages[p], 50).size(), 3 * GetParam().refs[p].size());  // labels not repeated
    EXPECT_EQ(at_x(pages[p], 1000).back(), row(-2780, "- " + std::to_string(p + 1) + " -"));
  }
}

Texts twelve_blocks() {
  Texts r;
  for (int i = 0; i < 12; ++i) r.push_back(support_row(1 + 4 * i, "K" + store::nombre_zero(i, 3)));
  return r;
}

// Recordings per page: 24 on page 1 (with the title box), then 25.
class RecordingsList : public ::testing::TestWithParam<std::pair<int, std::vector<int>>> {};

// One case a line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SupportsList, ::testing::Values(
    SupportsCase{"twelve_empty_supports_fill_a_page", std::vector<int>(12, 0), {twelve_blocks()}},
    SupportsCase{"the_thirteenth_starts_page_two", std::vector<int>(13, 0), {twelve_blocks(), {support_row(1, "K012")}}},
    SupportsCase{"titles_past_row_47_go_on", {50, 0}, {{support_row(1, "K000")}, {support_row(5, "K001")}}},
    SupportsCase{"block_on_the_last_row_moves", {46, 0}, {{support_row(1, "K000")}, {support_row(1, "K001")}}},
    SupportsCase{"labels_past_the_last_row_move", {44, 0}, {{support_row(1, "K000")}, {support_row(1, "K001")}}},
    SupportsCase{"block_that_fits_stays", {43, 0}, {{support_row(1, "K000"), support_row(45, "K001")}}}),
    [](const auto &info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Cases, RecordingsList, ::testing::Values(
    std::pair(1, std::vector{1}), std::pair(24, std::vector{24}), std::pair(25, std::vector{24, 1}),
    std::pair(49, std::vector{24, 25}), std::pair(50, std::vector{24, 25, 1})));
// clang-format on

TEST(SupportsList, CaseOnlyDifferencesKeepRecordOrder) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  for (const char *ref : {"beta", "ALPHA", "alpha", "Alpha"}) c.support("VHS", ref);
  print::RecordingCanvas canvas;
  print::liste_supports(c.store, canvas, 1);
  EXPECT_EQ(at_x(pages_of(canvas).at(0), 250), (Texts{support_row(1, "ALPHA"), support_row(5, "alpha"),
                                                      support_row(9, "Alpha"), support_row(13, "beta")}));
}

TEST_P(RecordingsList, FirstPageHoldsTwentyFourThenTwentyFive) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1");
  for (int t = 0; t < GetParam().first; ++t) c.record("T");
  print::RecordingCanvas canvas;
  print::liste_enregistrements(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), GetParam().second.size());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const int o = p == 0 ? -75 : -180, rows = GetParam().second[p];
    EXPECT_EQ(at_x(pages[p], 1825).size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(at_x(pages[p], 1025).back(), row(-420 - o - (rows - 1) * 100 - 50, "VHS"));
    EXPECT_EQ(
        std::count_if(pages[p].begin(), pages[p].end(), [](auto &l) { return l.starts_with("roundrect"); }),
        p == 0 ? 2 : 0);
  }
}

TEST(RecordingsList, OrphanPrintsEmptySupportColumns) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1").record("A").support("DVD", "K2").record("B");
  c.record("C", [](store::Recording &r) { r.record.set_numero_support(999); });
  print::RecordingCanvas canvas;
  print::liste_enregistrements(c.store, canvas, 0);
  EXPECT_EQ(at_x(pages_of(canvas).at(0), 1025), (Texts{row(-345, "K1"), row(-395, "VHS"), row(-445, "K2"),
                                                       row(-495, "DVD"), row(-545, ""), row(-595, "")}));
}

// Equal titles keep record order past 9,999; the files are written in blocks to keep it quick.
TEST(RecordingsList, EqualTitlesKeepRecordOrderPastTenThousand) {
  constexpr int kCount = 10'003;
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1");
  store::RecordingFiles files;
  c.store.open_recording_files(0, files);
  std::vector<store::TDataRecord> records(kCount);
  for (int i = 0; i < kCount; ++i) {
    records[static_cast<std::size_t>(i)].set_titre(i % 2 ? "film" : "FILM");
    records[static_cast<std::size_t>(i)].set_annee(i);
  }
  files.records.write_many(0, kCount, records.data());
  files.records1.write_many(0, kCount, std::vector<store::TDataRecord1>(kCount).data());
  files.credits.write_many(0, kCount, std::vector<store::TDataGenerique>(kCount).data());
  files.awards.write_many(0, kCount, std::vector<store::TDataRecompense>(kCount).data());
  files.close();
  print::RecordingCanvas canvas;
  EXPECT_EQ(print::liste_enregistrements(c.store, canvas, 0).pages, 401);  // 24 + 400 × 25 >= 10,003
  int expected = 0;
  for (const Page &p : pages_of(canvas))
    for (const std::string &year : at_x(p, 1825))
      ASSERT_EQ(year.substr(year.find(' ') + 1), std::to_string(expected++));
  EXPECT_EQ(expected, kCount);
}

TEST(NothingToPrint, SaysSoAndDrawsNothing) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1").record("A");
  const print::Filtres none{[](auto &) { return false; }, [](auto &) { return false; }};
  const std::tuple<int, bool, std::string> kCases[] = {
      {0, true, "Aucun support de répond aux critères de sélection"},
      {1, true, "No supports was found"},
      {0, false, "Aucun enregistrement de répond aux critères de sélection"},
      {1, false, "No records was found"},
  };
  for (const auto &[l, supports, message] : kCases) {
    print::RecordingCanvas canvas;
    const print::Bilan b = supports ? print::liste_supports(c.store, canvas, l, none)
                                    : print::liste_enregistrements(c.store, canvas, l, none);
    EXPECT_EQ(std::pair(b.message, b.pages), std::pair(message, 0)) << message;
    EXPECT_TRUE(canvas.lignes().empty());
  }
}

// The loan lists: which supports, on which rows and pages, under which title; none prints nothing.
struct LoanCase {
  const char *name;
  bool borrowed, due;
  int langue;
  std::vector<std::string> dues;  // one support each; "" is neither lent nor borrowed
  std::string title, label;
  std::vector<Texts> names;  // page by page, "y name" at x = 90
};

class LoanLists : public ::testing::TestWithParam<LoanCase> {};

TEST_P(LoanLists, RowsTitlesAndPages) {
  const LoanCase &k = GetParam();
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  for (std::size_t i = 0; i < k.dues.size(); ++i)
    c.support("VHS", "K", [&](store::TDataSupport &s) {
      if (k.dues[i].empty()) return;
      // The other kind too, which the list must ignore.
      (k.borrowed ? s.set_emprunt_a("P" + std::to_string(i)) : s.set_pret_a("P" + std::to_string(i)));
      (k.borrowed ? s.set_emprunt_au(k.dues[i]) : s.set_pret_au(k.dues[i]));
      (k.borrowed ? s.set_pret_a("X") : s.set_emprunt_a("X"));
      (k.borrowed ? s.set_pret_au("01/01/1990") : s.set_emprunt_au("01/01/1990"));
    });
  print::RecordingCanvas canvas;
  const print::Bilan b = print::liste_prets(c.store, canvas, k.langue, k.borrowed, k.due);
  const std::vector<Page> pages = pages_of(canvas);
  EXPECT_EQ(b.message, "");
  ASSERT_EQ(pages.size(), k.names.size());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(at_x(pages[p], 90), k.names[p]) << "page " << p + 1;
    EXPECT_EQ(at_x(pages[p], 1015), Texts{row(-75, k.title)});
    EXPECT_EQ(at_x(pages[p], 50).front(), row(-310, k.label));
    EXPECT_EQ(at_x(pages[p], 1750).size(), k.names[p].size());
    EXPECT_EQ(at_x(pages[p], 1000), Texts{row(-2830, "- " + std::to_string(p + 1) + " -")});
    const auto rules =
        std::count_if(pages[p].begin(), pages[p].end(), [](auto &l) { return l.starts_with("line"); });
    EXPECT_EQ(rules, std::min<long>(static_cast<long>(k.names[p].size()), 32));
  }
}

Texts loan_rows(int first, int count, int from_row = 1) {
  Texts r;
  for (int i = 0; i < count; ++i)
    r.push_back(row(-310 - (from_row + i - 1) * 75, "P" + std::to_string(first + i)));
  return r;
}

// One case a line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, LoanLists, ::testing::Values(
    LoanCase{"lent_all", false, false, 0, {"14/06/2000", "", "16/06/2000"}, "PRETE", "\xc3\xa0", {{row(-310, "P0"), row(-385, "P2")}}},
    LoanCase{"lent_due_includes_today", false, true, 1, {"16/06/2000", "15/06/2000", "14/06/2001", "31/12/1999"}, "LENT, NOT RETURNED", "to", {{row(-310, "P1"), row(-385, "P3")}}},
    LoanCase{"borrowed_all", true, false, 1, {"16/06/2000"}, "BORROWED", "from", {{row(-310, "P0")}}},
    LoanCase{"borrowed_due", true, true, 0, {"16/06/2000", "01/06/2000"}, "EMPRUNTE, A RENDRE", "\xc3\xa0", {{row(-310, "P1")}}},
    LoanCase{"none_due_prints_nothing", false, true, 0, {"16/06/2000", ""}, "", "", {}},
    LoanCase{"none_lent_prints_nothing", true, false, 0, {}, "", "", {}},
    LoanCase{"row_34_starts_page_two", false, false, 0, std::vector<std::string>(34, "01/01/2000"), "PRETE", "\xc3\xa0", {loan_rows(0, 33), loan_rows(33, 1)}}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

TEST(Planning, TenEntriesFreeOrNot) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  store::TDataPlanning plan = store::Store::planning_defaut();
  plan.set_film(3, "Alien");
  plan.set_showview(3, "12345");
  c.store.ecrit_planning(plan);
  print::RecordingCanvas canvas;
  EXPECT_EQ(print::planning(c.store, canvas, 1).pages, 1);
  const Page page = pages_of(canvas).at(0);
  const Texts films = at_x(page, 190), showview = at_x(page, 1740);
  ASSERT_EQ(films.size(), 10u);
  EXPECT_EQ(films[2], row(-1000, "Alien"));
  EXPECT_EQ(films[9], row(-2050, ""));
  EXPECT_EQ(showview.at(0), row(-500, "SHOWVIEW"));
  EXPECT_EQ(showview.at(3), row(-1000, "12345"));
  EXPECT_EQ(at_x(page, 540).at(0), row(-500, "TITLE"));
  EXPECT_EQ(at_x(page, 1140).at(1), row(-700, plan.date_prevue(1)));
}

struct WrapCase {
  std::string text;
  int points, width;
  Texts lines;
};

class Wrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(Wrap, BreaksAtSpacesLineBreaksAndLongWords) {
  EXPECT_EQ(print::coupe_lignes(GetParam().text, GetParam().points, GetParam().width), GetParam().lines);
}

// At 10 points "a" is 444/1000 em, 444 × 10 × 254 / 72 / 1000 ≈ 15.7 units.
INSTANTIATE_TEST_SUITE_P(Cases, Wrap,
                         ::testing::Values(WrapCase{"", 10, 100, {}},
                                           WrapCase{"aaa aaa", 10, 200, {"aaa aaa"}},
                                           WrapCase{"aaa aaa aaa", 10, 150, {"aaa aaa", "aaa"}},
                                           WrapCase{"aaaaaaaaaaaa", 10, 100, {"aaaaaa", "aaaaaa"}},
                                           WrapCase{"a\r\nb\nc", 10, 100, {"a", "b", "c"}},
                                           WrapCase{"aaa aaa", 20, 200, {"aaa", "aaa"}}));

// The sheet of a recording with and without its support.
TEST(Sheet, FieldsAwardsSummaryAndOrphan) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1", [](store::TDataSupport &s) {
    s.set_duree(240);
    s.set_observation("Bande usee");
  });
  std::string resume;
  for (int i = 0; i < 12; ++i) resume += "mot motif\n";
  c.record("Alien", [&](store::Recording &r) {
    r.record.set_resumer(resume);
    r.recompense.set_recompense(2, "Oscar");
    r.recompense.set_categorie(2, "Son");
    r.recompense.set_annee_recompense(2, "1980");
  });
  c.record("Orphelin", [](store::Recording &r) { r.record.set_numero_support(99); });
  for (int record : {0, 1}) {
    print::RecordingCanvas canvas;
    ASSERT_EQ(print::fiche_technique(c.store, canvas, 0, record).pages, 1);
    const Page page = pages_of(canvas).at(0);
    EXPECT_EQ(at_x(page, 340).at(0), row(-430, record ? "Orphelin" : "Alien"));
    EXPECT_EQ(at_x(page, 1340), (Texts{row(-1680, record ? "" : "K1")}));
    EXPECT_EQ(at_x(page, 470), (Texts{row(-1830, record ? "" : "240 mn")}));
    EXPECT_EQ(at_x(page, 190).back(), record ? row(-2175, "Le ") : row(-2425, "Bande usee"));
    const Texts awards = at_x(page, 1140);
    ASSERT_EQ(awards.size(), 10u);
    EXPECT_EQ(awards[0], row(-1075, " -  - "));
    if (record == 0) {
      EXPECT_EQ(awards[1], row(-1115, "Oscar - Son - 1980"));
      const Texts summary = at_x(page, 165);
      EXPECT_EQ(summary.size(), 10u);  // twelve lines, ten printed
      for (const std::string &l : summary) EXPECT_LT(l.size(), 90u) << l;
    }
  }
  print::RecordingCanvas canvas;
  EXPECT_EQ(print::fiche_technique(c.store, canvas, 0, 2).pages, 0);
  EXPECT_TRUE(canvas.lignes().empty());
}

TEST(Credits, FunctionsInListOrderWithAndWithoutCharacter) {
  TempDir dir;
  Catalogue c(dir.path());
  c.liste(10, {"Director", "Actor", "Director"}).dossier("Films").support("VHS", "K1");
  c.record("Alien", [](store::Recording &r) {
    const char *credits[][3] = {
        {"Actor", "Bob", "Rick"}, {"Director", "Ann", ""}, {"Actor", "Cy", "Sam"}, {"Other", "Zed", ""}};
    for (int i = 0; i < 4; ++i) {
      r.generique.set_denomination(i + 1, credits[i][0]);
      r.generique.set_nom(i + 1, credits[i][1]);
      r.generique.set_role(i + 1, credits[i][2]);
    }
  });
  print::RecordingCanvas canvas;
  ASSERT_EQ(print::generique(c.store, canvas, 0, 0).pages, 1);
  const Page page = pages_of(canvas).at(0);
  EXPECT_EQ(at_x(page, 1055), Texts{row(-90, "Alien")});
  EXPECT_EQ(at_x(page, 975), (Texts{row(-400, "Director"), row(-650, "Bob"), row(-750, "Cy")}));
  EXPECT_EQ(at_x(page, 1025), (Texts{row(-400, "Ann"), row(-650, "Rick"), row(-750, "Sam")}));
  EXPECT_EQ(at_x(page, 1000), (Texts{row(-550, "Actor"), row(-2830, "- 1 -")}));
}

}  // namespace

TEST(Credits, ThirtyEntriesGoOnFramedPagesInOrder) {
  TempDir dir;
  Catalogue c(dir.path());
  std::vector<std::string> functions;
  for (int i = 0; i < store::kCredits; ++i) functions.push_back("F" + std::to_string(i));
  c.liste(10, functions).dossier("Films").support("VHS", "K1");
  c.record("Alien", [](store::Recording &r) {
    for (int i = 1; i <= store::kCredits; ++i) {
      r.generique.set_denomination(i, "F" + std::to_string(i - 1));
      r.generique.set_nom(i, "N" + std::to_string(i - 1));
      r.generique.set_role(i, "R");
    }
  });
  print::RecordingCanvas canvas;
  ASSERT_EQ(print::generique(c.store, canvas, 0, 0).pages, 4);
  Texts names;
  const std::vector<Page> pages = pages_of(canvas);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(at_x(pages[p], 1055), Texts{row(-90, "Alien")});
    EXPECT_EQ(at_x(pages[p], 1000).back(), row(-2830, "- " + std::to_string(p + 1) + " -"));
    for (const std::string &t : at_x(pages[p], 975)) {
      EXPECT_GE(std::stoi(t), -2730) << t;  // inside the frame
      names.push_back(t.substr(t.find(' ') + 1));
    }
  }
  EXPECT_EQ(at_x(pages[1], 975).front(), row(-500, "N9"));
  EXPECT_EQ(names.size(), 30u);
  EXPECT_EQ(names.back(), "N29");
}
