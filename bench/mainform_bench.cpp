// The main window rebuilding and showing the collection tree of a large dossier.
//   mainform_bench DIR    (DIR: a data directory whose dossier 0 is large, e.g. made by
//                          `store_bench DIR`; runs offscreen)
// For each grouping: the time from choosing it in `rubrique` until the window has painted the
// rebuilt tree with its first line loaded, and the number of lines. Then the outline control
// alone: 100,000 lines set, the last one selected and drawn, against copying those lines.
#include <QApplication>
#include <QComboBox>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "collection.h"
#include "mainform.h"
#include "prompts.h"
#include "store.h"
#include "tarbre.h"

// Processor time of this process, which a busy machine does not inflate as it does the wall time.
static double cpu_now() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mainform_bench DIR\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  store::Store s(argv[1]);
  ui::QtPrompts prompts;
  shell::Tmainform w(s, 0, prompts);
  w.resize(1280, 1024);
  w.show();
  s.ouvre_dossier(0);
  auto t0 = std::chrono::steady_clock::now();
  double c0 = cpu_now();
  w.affiche_caption();
  w.collection().ouvre_collection();
  w.repaint();
  QApplication::processEvents();
  double first = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("open (grouping 3): %8.3f s (processor %.3f s), %d lines\n", first, cpu_now() - c0,
              w.collection().arbre->line_count());
  QComboBox *rubrique = w.collection().rubrique;
  for (int g : {0, 1, 2, 4, 5, 3}) {
    t0 = std::chrono::steady_clock::now();
    c0 = cpu_now();
    rubrique->setCurrentIndex(g);
    w.repaint();
    QApplication::processEvents();
    double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("grouping %d: %8.3f s (processor %.3f s), %d lines\n", g, t, cpu_now() - c0,
                w.collection().arbre->line_count());
  }

  std::vector<browse::TreeLine> lines;
  for (int i = 0; i < 100000; ++i)
    lines.push_back({1, "filmimg", store::nombre_zero(i, 6), "Title " + std::to_string(i)});
  t0 = std::chrono::steady_clock::now();
  std::vector<browse::TreeLine> copy = lines;
  double copied = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  browse::Tarbre tree;
  tree.resize(300, 600);
  tree.show();
  t0 = std::chrono::steady_clock::now();
  tree.set_lines(std::move(copy));
  tree.select_line(static_cast<int>(lines.size()));
  QApplication::processEvents();
  tree.repaint();
  double shown = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("outline, 100,000 lines set, selected, drawn: %8.3f s; copying them: %8.3f s; ratio %.1f\n",
              shown, copied, shown / copied);
  return 0;
}
