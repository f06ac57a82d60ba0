// The two list reports of a large dossier against a plain read of the files they need.
//   print_bench [DIR [REPORT]]   (default: a fresh folder under /tmp, removed afterwards; REPORT:
//                                  "supports list" or "recordings list" alone, and no PDF)
// Prints, for the supports list and the recordings list drawn on the recording canvas, the
// processor time against reading the files each reads in 4 MB pieces, same run
// (target: 5 or less), then the wall and processor time of the recordings list written to PDF.
#include <cstdlib>

#include "canvas.h"
#include "grand_dossier.h"
#include "pdf_canvas.h"
#include "reports.h"

using namespace bench;

int main(int argc, char **argv) {
  bool own_dir = argc < 2;
  std::string dir = own_dir ? "/tmp/tapemoor-print-bench" : argv[1];
  if (own_dir || !std::filesystem::exists(dir + "/MAINFILE")) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    store::Store g(dir);
    generate(g);
    write_lists(g);
  }
  store::Store s(dir);
  s.ouvre_dossier(0);
  const std::string supports = s.nom_fichier(store::kSupportsBase, 0),
                    records = s.nom_fichier(store::kRecordsBase, 0);
  const struct {
    const char *name;
    print::Bilan (*draw)(store::Store &, print::Canvas &, int, const print::Filtres &);
    std::vector<std::string> files;  // what the report reads
  } reports[] = {{"supports list", print::liste_supports, {supports, records}},
                 {"recordings list",
                  print::liste_enregistrements,
                  {supports, records, s.nom_fichier(store::kRecords1Base, 0)}}};
  for (const auto &r : reports) {
    if (argc > 2 && r.name != std::string(argv[2])) continue;  // one report only, for a profiler
    std::vector<double> drawn, plain;
    print::Bilan b;
    std::size_t calls = 0;
    for (int i = 0; i < 6; ++i) {
      print::RecordingCanvas c;
      double t0 = cpu_now();
      b = r.draw(s, c, 0, {});
      double t1 = cpu_now();
      long got = 0;
      for (const std::string &f : r.files) got += read_file(f);
      double t2 = cpu_now();
      if (got == 0) return 1;
      calls = c.appels();
      if (i == 0) continue;  // warms the page cache and the allocator
      drawn.push_back(t1 - t0);
      plain.push_back(t2 - t1);
    }
    double a = median(drawn), p = median(plain);
    std::printf(
        "%-16s %6d items, %5d pages, %8zu draw calls: %.3f s; plain read %.4f s; ratio %.1f "
        "(spread %.1f-%.1f); target <= 5\n",
        r.name, b.items, b.pages, calls, a, p, a / p,
        *std::min_element(drawn.begin(), drawn.end()) / *std::max_element(plain.begin(), plain.end()),
        *std::max_element(drawn.begin(), drawn.end()) / *std::min_element(plain.begin(), plain.end()));
  }

  if (argc > 2) return 0;
  const auto app = print::ouvre_application();
  const std::string pdf = dir + "/recordings.pdf";
  auto w0 = std::chrono::steady_clock::now();
  double c0 = cpu_now();
  print::PdfCanvas c(pdf);
  print::Bilan b = print::liste_enregistrements(s, c, 0, {});
  bool ok = c.termine();
  std::printf("recordings list to PDF: %d pages, %.1f MB, %.1f s wall, %.1f s processor%s\n", b.pages,
              static_cast<double>(std::filesystem::file_size(pdf)) / 1e6, seconds_since(w0), cpu_now() - c0,
              ok ? "" : " (NOT WRITTEN)");
  s.ferme_dossier();
  if (own_dir) std::filesystem::remove_all(dir);
  return ok ? 0 : 1;
}
