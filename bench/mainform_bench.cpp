// The main window rebuilding and showing the collection tree of a large dossier.
//   mainform_bench DIR    (DIR: a data directory whose dossier 0 is large, e.g. made by
//                          `store_bench DIR`; runs offscreen)
// For each grouping: the time from choosing it in `rubrique` until the window has painted the
// rebuilt tree with its first line loaded, and the number of lines.
#include <QApplication>
#include <QComboBox>
#include <chrono>
#include <cstdio>

#include "mainform.h"
#include "prompts.h"
#include "store.h"
#include "tarbre.h"

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mainform_bench DIR\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  store::Store s(argv[1]);
  shell::QtPrompts prompts;
  shell::Tmainform w(s, 0, prompts);
  w.resize(1280, 1024);
  w.show();
  s.dossier_courant = 0;
  auto t0 = std::chrono::steady_clock::now();
  w.affiche_caption();
  w.premier_element();
  w.repaint();
  QApplication::processEvents();
  double first = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("open (grouping 3): %8.3f s, %d lines\n", first, w.arbre()->line_count());
  auto *rubrique = w.findChild<QComboBox *>("rubrique");
  for (int g : {0, 1, 2, 4, 5, 3}) {
    t0 = std::chrono::steady_clock::now();
    rubrique->setCurrentIndex(g);
    w.repaint();
    QApplication::processEvents();
    double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("grouping %d: %8.3f s, %d lines\n", g, t, w.arbre()->line_count());
  }
  return 0;
}
