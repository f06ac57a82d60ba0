// Whole-dossier scan through the store against a plain read of the same files.
//   store_bench [DIR [--make|--trees]]   (default: a fresh folder under /tmp, removed afterwards;
//                                 --make: only make the dossier in DIR, for mainform_bench;
//                                 --trees: only the tree rebuilds, on the dossier already in DIR)
// Prints the processor times and the ratio scan ÷ plain read (target: 3 or less), the tree
// rebuild of each grouping against a plain read of the files it needs (target: 5 or less), then
// the wall time of `tapemoor-cli export` on the same dossier.
#include <cstdlib>

#include "grand_dossier.h"
#include "tree.h"

namespace {

using namespace bench;

// (a) every recording with its three parallel records, through the store.
double store_scan(store::Store &s, long &checksum) {
  double t0 = cpu_now();
  long sum = 0;
  s.scan_records([&](int, const store::RecordingView &v) {
    sum += static_cast<long>(v.record.titre().size()) + v.record1.format().size() +
           v.generique.nom(1).size() + v.recompense.recompense(1).size();
  });
  checksum = sum;
  return cpu_now() - t0;
}

// (b) the same four files read sequentially into memory, 4 MB at a time into one buffer that
// is reused, so that only the reading is measured (no page faults of a fresh allocation).
double plain_read(store::Store &s, long &bytes) {
  static std::vector<char> buffer(4 << 20);
  double t0 = cpu_now();
  bytes = 0;
  for (const char *base :
       {store::kRecordsBase, store::kRecords1Base, store::kCreditsBase, store::kAwardsBase}) {
    std::string name = s.nom_fichier(base, 0);
    int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0) std::exit(1);
    for (;;) {
      ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got <= 0) break;
      bytes += got;
    }
    ::close(fd);
  }
  return cpu_now() - t0;
}

// Wall time of `f`, which may wait for the disk.
template <class F>
double wall(F f) {
  auto t0 = std::chrono::steady_clock::now();
  f();
  return seconds_since(t0);
}

// The four recording files of dossier 0 opened straight, as the store wrote them before every
// change went through the journal.
struct Plain {
  explicit Plain(store::Store &s) { s.open_recording_files(0, files); }
  store::RecordingFiles files;
  store::RecordFile *all[4] = {&files.records, &files.records1, &files.credits, &files.awards};
};

// What the journal costs a change: validating one recording and deleting one from the middle
// and from the front of the dossier, through the store, against the same writes made straight
// to the four files as the store made them before the journal, without sync and with a sync of
// the four files at the end. The disk is flushed before each timing, so each pays its own
// writes only.
void journal_cost(store::Store &s) {
  s.ouvre_dossier(0);
  enum { kJournal, kStraight, kSynced };
  auto timed = [](auto f) {
    ::sync();
    return wall(f);
  };
  auto straight = [&](bool synced, auto change) {
    return timed([&] {
      Plain p(s);
      change(p);
      if (synced)
        for (store::RecordFile *f : p.all) f->sync();
    });
  };
  auto remove = [](std::int64_t k) {
    return [k](Plain &p) {
      const std::int64_t total = p.files.records.count();
      for (store::RecordFile *f : p.all) f->remove(k, total);
    };
  };
  std::vector<double> validate[3], middle[3], front[3];
  for (int i = 0; i < 5; ++i) {
    s.choisit_record(50000);
    store::Recording r = s.recording();
    r.record.set_titre("Revu " + std::to_string(i));
    const void *bytes[] = {r.record.bytes.data(), r.record1.bytes.data(), r.generique.bytes.data(),
                           r.recompense.bytes.data()};
    auto write = [&](Plain &p) {
      for (int f = 0; f < 4; ++f) p.all[f]->write(50000, bytes[f]);
    };
    validate[kJournal].push_back(timed([&] { s.valide_record(r); }));
    validate[kStraight].push_back(straight(false, write));
    validate[kSynced].push_back(straight(true, write));
    s.choisit_record(50000);
    middle[kJournal].push_back(timed([&] { s.supprime_record(); }));
    middle[kStraight].push_back(straight(false, remove(50000)));
    middle[kSynced].push_back(straight(true, remove(50000)));
    if (i > 0) continue;  // every later recording moves: once is enough
    s.choisit_record(0);
    front[kJournal].push_back(timed([&] { s.supprime_record(); }));
    front[kStraight].push_back(straight(false, remove(0)));
    front[kSynced].push_back(straight(true, remove(0)));
  }
  for (auto [what, v] : {std::pair{"validate recording 50,000", validate},
                         std::pair{"delete recording 50,000 of 100,000", middle},
                         std::pair{"delete recording 0 of 100,000", front}}) {
    double a = median(v[kJournal]), b = median(v[kStraight]), c = median(v[kSynced]);
    std::printf("%s: journal %.4f s; straight %.4f s (ratio %.2f); straight and synced %.4f s (ratio %.2f)\n",
                what, a, b, a / b, c, a / c);
  }
  s.ferme_dossier();
}

// Tree rebuilds, as the main window does them on every change, against a plain read of the
// files each grouping needs (the list file and the recordings or supports file), measured in
// turn in each round.
void trees(store::Store &s, int rounds) {
  s.ouvre_dossier(0);
  const char *names[] = {"Genre", "Nationalite", "Reference", "Support", "Theme", "Titre"};
  // The first pass warms the allocator (its first large blocks come straight from the system);
  // the second pass is the one reported, as the main window rebuilds trees again and again.
  for (int pass = 0; pass < 2; ++pass)
    for (int grouping = 0; grouping <= 5; ++grouping) {
      browse::TreeOptions o;
      o.grouping = grouping;
      o.today = "01/01/2000";
      bool supports = browse::is_support_grouping(grouping);
      std::vector<std::string> files = {
          s.nom_fichier(supports ? store::kSupportsBase : store::kRecordsBase, 0)};
      const char *list = grouping == 0   ? "SORT"
                         : grouping == 1 ? "NATION"
                         : grouping == 3 ? "SUPPORT"
                         : grouping == 4 ? "THEME"
                                         : nullptr;
      if (list) files.push_back(s.path(list));
      std::vector<double> build, plain, whole;
      std::size_t lines = 0;
      for (int i = 0; i < rounds; ++i) {
        double t2 = cpu_now();
        lines = browse::build_tree(s, o).size();
        build.push_back(cpu_now() - t2);
        double t3 = cpu_now();
        long got = 0;
        for (const std::string &f : files) got += read_file(f);
        plain.push_back(cpu_now() - t3);
        double t4 = cpu_now();
        for (const std::string &f : files) got += read_file_whole(f);
        whole.push_back(cpu_now() - t4);
      }
      if (pass == 0) continue;
      std::vector<double> ratios;
      for (std::size_t i = 0; i < build.size(); ++i) ratios.push_back(build[i] / plain[i]);
      double a2 = median(build), b2 = median(plain), c2 = median(whole);
      std::printf(
          "grouping %d %-11s %6zu lines: build %.4f s; read in 4 MB pieces %.4f s (ratio %.2f, %.2f-%.2f), "
          "read whole into a new buffer %.4f s (ratio %.1f); target <= 3\n",
          grouping, names[grouping], lines, a2, b2, median(ratios),
          *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
          c2, a2 / c2);
    }
  s.ferme_dossier();
}

}  // namespace

int main(int argc, char **argv) {
  bool own_dir = argc < 2;
  std::string dir = own_dir ? "/tmp/tapemoor-store-bench" : argv[1];
  std::string mode = argc > 2 ? argv[2] : "";
  if (mode == "--trees") {
    store::Store s(dir);
    trees(s, 9);
    return 0;
  }
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  auto t0 = std::chrono::steady_clock::now();
  generate(s);
  std::printf("generated %d recordings on %d supports in %.2f s\n", kRecordings, kSupports,
              seconds_since(t0));

  std::vector<double> scans, plains;
  long checksum = 0, bytes = 0;
  plain_read(s, bytes);  // both measured warm, from the page cache
  for (int i = 0; i < 5; ++i) {
    scans.push_back(store_scan(s, checksum));
    plains.push_back(plain_read(s, bytes));
  }
  double a = median(scans), b = median(plains);
  std::printf("(a) store scan of every recording + 3 parallel records: %.3f s (checksum %ld)\n", a, checksum);
  std::printf("(b) plain sequential read of the four files (%.0f MB): %.3f s\n",
              static_cast<double>(bytes) / 1e6, b);
  std::printf("ratio (a)/(b) = %.2f  (target <= 3)\n", a / b);

  write_lists(s);
  if (mode == "--make") return 0;  // the dossier only, for the window bench
  trees(s, 5);
  s.ferme_dossier();
  journal_cost(s);

  std::string cli = std::filesystem::canonical("/proc/self/exe").parent_path() / "tapemoor-cli";
  if (std::filesystem::exists(cli)) {
    std::string cmd = cli + " --data " + dir + " export 0 > /dev/null";
    auto t1 = std::chrono::steady_clock::now();
    int rc = std::system(cmd.c_str());
    std::printf("tapemoor-cli export 0: %.2f s (exit %d)\n", seconds_since(t1), rc);
  }
  if (own_dir) std::filesystem::remove_all(dir);
  return 0;
}
