#include "reports.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace {

using Page = std::vector<std::string>;

// The pages of a dump, one per job; a call outside a job or an unclosed job fails the test.
std::vector<Page> pages_of(const print::RecordingCanvas &c) {
  std::vector<Page> pages;
  bool open = false;
  for (const std::string &l : c.lignes()) {
    if (l == "job") {
      EXPECT_FALSE(open);
      pages.emplace_back(), open = true;
    } else if (l == "endjob") {
      EXPECT_TRUE(open);
      open = false;
    } else {
      EXPECT_TRUE(open) << l;
      if (open) pages.back().push_back(l);
    }
  }
  EXPECT_FALSE(open);
  return pages;
}

// The texts drawn at x, top to bottom, as "y text".
std::vector<std::string> at_x(const Page &p, int x) {
  std::vector<std::string> out;
  const std::string head = "text\t" + std::to_string(x) + "\t";
  for (const std::string &l : p) {
    if (!l.starts_with(head)) continue;
    const std::size_t y = head.size(), end = l.find('\t', y);
    out.push_back(l.substr(y, end - y) + " " + l.substr(l.rfind('\t') + 1));
  }
  return out;
}

std::string row(int y, const std::string &text) {
  return std::to_string(y) + " " + text;
}
int support_row(int r) {
  return -370 - (r - 1) * 50;
}

struct SupportsCase {
  const char *name;
  std::vector<int> titles;                           // recordings of each support, in file order
  std::vector<std::vector<std::string>> references;  // page by page: "y reference"
};

class SupportsList : public ::testing::TestWithParam<SupportsCase> {};

TEST_P(SupportsList, BlocksFallOnTheirRows) {
  const SupportsCase &k = GetParam();
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  for (std::size_t i = 0; i < k.titles.size(); ++i) {
    c.support("VHS", "K" + store::nombre_zero(static_cast<long long>(i), 3));
    for (int t = 0; t < k.titles[i]; ++t) c.record("T" + std::to_string(t));
  }
  print::RecordingCanvas canvas;
  const print::Bilan b = print::liste_supports(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), k.references.size());
  EXPECT_EQ(b.pages, static_cast<int>(pages.size()));
  for (std::size_t p = 0; p < pages.size(); ++p) {
    EXPECT_EQ(at_x(pages[p], 250), k.references[p]) << "page " << p + 1;
    EXPECT_TRUE(std::find(pages[p].begin(), pages[p].end(),
                          "text\t1000\t-2780\tcenter\tTimes New Roman\tnormal\t8\t- " +
                              std::to_string(p + 1) + " -") != pages[p].end());
  }
}

std::vector<std::string> twelve_blocks() {
  std::vector<std::string> r;
  for (int i = 0; i < 12; ++i) r.push_back(row(support_row(1 + 4 * i), "K" + store::nombre_zero(i, 3)));
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SupportsList,
    ::testing::Values(
        SupportsCase{"twelve_empty_supports_fill_a_page", std::vector<int>(12, 0), {twelve_blocks()}},
        SupportsCase{"the_thirteenth_starts_page_two",
                     std::vector<int>(13, 0),
                     {twelve_blocks(), {row(support_row(1), "K012")}}},
        SupportsCase{"titles_past_row_47_go_on_next_page",
                     {50, 0},
                     {{row(support_row(1), "K000")}, {row(support_row(5), "K001")}}},
        SupportsCase{"block_on_the_last_row_moves_to_next_page",
                     {46, 0},
                     {{row(support_row(1), "K000")}, {row(support_row(1), "K001")}}},
        SupportsCase{"labels_past_the_last_row_move_too",
                     {44, 0},
                     {{row(support_row(1), "K000")}, {row(support_row(1), "K001")}}},
        SupportsCase{
            "block_that_fits_stays", {43, 0}, {{row(support_row(1), "K000"), row(support_row(45), "K001")}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SupportsList, TitlesContinueWithoutLabels) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1");
  for (int t = 0; t < 50; ++t) c.record("T" + store::nombre_zero(t, 2));
  print::RecordingCanvas canvas;
  print::liste_supports(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(at_x(pages[0], 1025).size(), 47u);
  EXPECT_EQ(at_x(pages[1], 1025),
            (std::vector<std::string>{row(support_row(1), "T47"), row(support_row(2), "T48"),
                                      row(support_row(3), "T49")}));
  EXPECT_TRUE(at_x(pages[1], 50).empty());
}

TEST(SupportsList, CaseOnlyDifferencesKeepRecordOrder) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films");
  for (const char *ref : {"beta", "ALPHA", "alpha", "Alpha"}) c.support("VHS", ref);
  print::RecordingCanvas canvas;
  print::liste_supports(c.store, canvas, 1);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(at_x(pages[0], 250),
            (std::vector<std::string>{row(support_row(1), "ALPHA"), row(support_row(5), "alpha"),
                                      row(support_row(9), "Alpha"), row(support_row(13), "beta")}));
}

struct RecordingsCase {
  int recordings;
  std::vector<std::size_t> rows;  // recordings on each page
};

class RecordingsList : public ::testing::TestWithParam<RecordingsCase> {};

TEST_P(RecordingsList, FirstPageHoldsTwentyFourThenTwentyFive) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1");
  for (int t = 0; t < GetParam().recordings; ++t) c.record("T" + store::nombre_zero(t, 3));
  print::RecordingCanvas canvas;
  print::liste_enregistrements(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), GetParam().rows.size());
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const int o = p == 0 ? -75 : -180;
    const std::vector<std::string> titles = at_x(pages[p], 50);
    ASSERT_EQ(titles.size(), 2 * GetParam().rows[p]) << "page " << p + 1;  // title and format
    EXPECT_EQ(titles.back(), row(-420 - o - static_cast<int>(GetParam().rows[p] - 1) * 100 - 50, ""));
    const auto boxes = std::count_if(pages[p].begin(), pages[p].end(),
                                     [](const std::string &l) { return l.starts_with("roundrect"); });
    EXPECT_EQ(boxes, p == 0 ? 2 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordingsList,
                         ::testing::Values(RecordingsCase{1, {1}}, RecordingsCase{24, {24}},
                                           RecordingsCase{25, {24, 1}}, RecordingsCase{49, {24, 25}},
                                           RecordingsCase{50, {24, 25, 1}}));

TEST(RecordingsList, OrphanPrintsEmptySupportColumns) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1").record("A").support("DVD", "K2").record("B");
  c.record("C", [](store::Recording &r) { r.record.set_numero_support(999); });
  print::RecordingCanvas canvas;
  print::liste_enregistrements(c.store, canvas, 0);
  const std::vector<Page> pages = pages_of(canvas);
  ASSERT_EQ(pages.size(), 1u);
  auto y = [](int r, int line) { return -345 - (r - 1) * 100 - line * 50; };
  EXPECT_EQ(at_x(pages[0], 1025),
            (std::vector<std::string>{row(y(1, 0), "K1"), row(y(1, 1), "VHS"), row(y(2, 0), "K2"),
                                      row(y(2, 1), "DVD"), row(y(3, 0), ""), row(y(3, 1), "")}));
}

// Record numbers past 9,999 sort after 9,999: the files are written in blocks to keep it quick.
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
    records[static_cast<std::size_t>(i)].set_numero_support(1);
  }
  files.records.write_many(0, kCount, records.data());
  files.records1.write_many(0, kCount, std::vector<store::TDataRecord1>(kCount).data());
  files.credits.write_many(0, kCount, std::vector<store::TDataGenerique>(kCount).data());
  files.awards.write_many(0, kCount, std::vector<store::TDataRecompense>(kCount).data());
  files.close();
  print::RecordingCanvas canvas;
  const print::Bilan b = print::liste_enregistrements(c.store, canvas, 0);
  EXPECT_EQ(b.items, kCount);
  EXPECT_EQ(b.pages, 401);  // 24 + 399 × 25 < 10,003 <= 24 + 400 × 25
  int expected = 0;
  for (const Page &p : pages_of(canvas))
    for (const std::string &year : at_x(p, 1825))
      ASSERT_EQ(year.substr(year.find(' ') + 1), std::to_string(expected++));
  EXPECT_EQ(expected, kCount);
}

struct NothingCase {
  int langue;
  bool supports;
  const char *message;
};

class NothingToPrint : public ::testing::TestWithParam<NothingCase> {};

TEST_P(NothingToPrint, SaysSoAndDrawsNothing) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K1").record("A");
  print::Filtres none{[](const store::TDataSupport &) { return false; },
                      [](const store::RecordingView &) { return false; }};
  print::RecordingCanvas canvas;
  const print::Bilan b = GetParam().supports
                             ? print::liste_supports(c.store, canvas, GetParam().langue, none)
                             : print::liste_enregistrements(c.store, canvas, GetParam().langue, none);
  EXPECT_EQ(b.message, GetParam().message);
  EXPECT_EQ(b.pages, 0);
  EXPECT_TRUE(canvas.lignes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NothingToPrint,
    ::testing::Values(NothingCase{0, true, "Aucun support de répond aux critères de sélection"},
                      NothingCase{1, true, "No supports was found"},
                      NothingCase{0, false, "Aucun enregistrement de répond aux critères de sélection"},
                      NothingCase{1, false, "No records was found"}));

}  // namespace
