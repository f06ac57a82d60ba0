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

INSTANTIATE_TEST_SUITE_P(
    Cases, SupportsList,
    ::testing::Values(
        SupportsCase{"twelve_empty_supports_fill_a_page", std::vector<int>(12, 0), {twelve_blocks()}},
        SupportsCase{"the_thirteenth_starts_page_two",
                     std::vector<int>(13, 0),
                     {twelve_blocks(), {support_row(1, "K012")}}},
        SupportsCase{
            "titles_past_row_47_go_on", {50, 0}, {{support_row(1, "K000")}, {support_row(5, "K001")}}},
        SupportsCase{
            "block_on_the_last_row_moves", {46, 0}, {{support_row(1, "K000")}, {support_row(1, "K001")}}},
        SupportsCase{
            "labels_past_the_last_row_move", {44, 0}, {{support_row(1, "K000")}, {support_row(1, "K001")}}},
        SupportsCase{"block_that_fits_stays", {43, 0}, {{support_row(1, "K000"), support_row(45, "K001")}}}),
    [](const auto &info) { return std::string(info.param.name); });

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

// Recordings per page: 24 on page 1 (with the title box), then 25.
class RecordingsList : public ::testing::TestWithParam<std::pair<int, std::vector<int>>> {};

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

INSTANTIATE_TEST_SUITE_P(Cases, RecordingsList,
                         ::testing::Values(std::pair(1, std::vector{1}), std::pair(24, std::vector{24}),
                                           std::pair(25, std::vector{24, 1}),
                                           std::pair(49, std::vector{24, 25}),
                                           std::pair(50, std::vector{24, 25, 1})));

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
  const print::Filtres none{[](auto &) { return false; }, [](auto &) { return false; }};
  print::RecordingCanvas canvas;
  const int l = GetParam().langue;
  const print::Bilan b = GetParam().supports ? print::liste_supports(c.store, canvas, l, none)
                                             : print::liste_enregistrements(c.store, canvas, l, none);
  EXPECT_EQ(std::tie(b.message, b.pages), std::tuple(GetParam().message, 0));
  EXPECT_TRUE(canvas.lignes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NothingToPrint,
    ::testing::Values(NothingCase{0, true, "Aucun support de répond aux critères de sélection"},
                      NothingCase{1, true, "No supports was found"},
                      NothingCase{0, false, "Aucun enregistrement de répond aux critères de sélection"},
                      NothingCase{1, false, "No records was found"}));

}  // namespace
