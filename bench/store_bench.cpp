// Whole-dossier scan through the store against a plain read of the same files.
//   store_bench [DIR]   (default: a fresh folder under /tmp, removed afterwards)
// Prints the processor times and the ratio scan ÷ plain read (target: 3 or less), the tree
// rebuild of each grouping against a plain read of the files it needs (target: 5 or less), then
// the wall time of `tapemoor-cli export` on the same dossier.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lists.h"
#include "store.h"
#include "tree.h"

namespace {

constexpr int kSupports = 20000;
constexpr int kRecordings = 100000;

double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Processor time of this process (user + system): unlike the wall clock it does not count the
// time spent waiting for a core, so figures taken while the machine is busy stay comparable.
double cpu_now() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Titles that look like a real shelf's: a few words drawn from small lists, so that they share
// first words as real titles do, but not one long common prefix.
std::string title(int i) {
  static const char *first[] = {"Le", "La", "Les", "Un", "Une", "L'", "Mon", "Nuit", "Retour", "Voyage",
                                "Docteur", "Monsieur", "Casque", "Quai", "Jour", "Cri", "Bal", "Port"};
  static const char *second[] = {"Grand", "Dernier", "Petit", "Mystère", "Secret", "Train", "Soleil", "Vent",
                                 "Salaire", "Trésor", "Chemin", "Silence", "Regard", "Fantôme", "Printemps"};
  static const char *third[] = {"de la peur", "des ombres", "du nord", "perdu", "de minuit", "sous la pluie",
                                "d'été", "américain", "des sources", "en hiver", "du paradis", "d'or"};
  unsigned h = static_cast<unsigned>(i) * 2654435761u;
  return std::string(first[h % 18]) + " " + second[(h >> 8) % 15] + " " + third[(h >> 16) % 12] +
         (i % 4 == 0 ? " " + std::to_string(i % 97 + 2) : "");
}

template <class Record>
void write_all(store::RecordFile &f, std::vector<Record> &block, int count, auto fill) {
  for (int at = 0; at < count; at += static_cast<int>(block.size())) {
    int m = std::min(static_cast<int>(block.size()), count - at);
    for (int i = 0; i < m; ++i) fill(at + i, block[static_cast<std::size_t>(i)]);
    f.write_many(at, m, block.data());
  }
}

void generate(store::Store &s) {
  store::TDataDossier dossier;
  dossier.set_titre("Banc d'essai");
  dossier.set_dernier_support(kSupports);
  dossier.set_dernier_record(kRecordings);
  int d = s.cree_dossier(dossier);
  store::RecordFile sup(store::TDataSupport::record_size);
  sup.open_or_create(s.nom_fichier(store::kSupportsBase, d));
  std::vector<store::TDataSupport> sb(512);
  write_all(sup, sb, kSupports, [](int i, store::TDataSupport &r) {
    r.set_numero(i + 1);
    r.set_support(i % 2 ? "VHS" : "S-VHS");
    r.set_reference("K7-" + store::nombre_zero(i + 1, 6));
    r.set_date("01/01/1999");
  });
  store::RecordingFiles files;
  s.open_recording_files(d, files);
  std::vector<store::TDataRecord> rb(512);
  write_all(files.records, rb, kRecordings, [](int i, store::TDataRecord &r) {
    r.set_numero(i + 1);
    r.set_numero_support(i % kSupports + 1);
    r.set_titre(title(i));
    r.set_reference(store::nombre_zero(i + 1, 6));
    r.set_theme("Th\xe8me " + std::to_string(i % 50 + 1));  // 50 themes
    r.set_genre("Genre " + std::to_string(i % 8 + 1));
    r.set_nationalite(i % 11 ? "Pays " + std::to_string(i % 20 + 1) : "");
    r.set_date("02/02/1999");
    r.set_resumer("Un resume de taille moyenne pour occuper le champ comme dans une vraie collection.");
  });
  std::vector<store::TDataRecord1> r1b(512);
  write_all(files.records1, r1b, kRecordings, [](int, store::TDataRecord1 &r) { r.set_format("4/3"); });
  std::vector<store::TDataGenerique> gb(512);
  write_all(files.credits, gb, kRecordings, [](int i, store::TDataGenerique &r) {
    r.set_denomination(1, "Realisateur");
    r.set_nom(1, "Personne " + std::to_string(i % 977));
  });
  std::vector<store::TDataRecompense> ab(512);
  write_all(files.awards, ab, kRecordings, [](int i, store::TDataRecompense &r) {
    if (i % 10 == 0) r.set_recompense(1, "Palme");
  });
}

// (a) every recording with its three parallel records, through the store.
double store_scan(store::Store &s, long &checksum) {
  double t0 = cpu_now();
  long sum = 0;
  s.scan_records([&](int, const store::RecordingView &v) {
    sum += static_cast<long>(v.record.titre().size()) + v.record1.format().size() + v.generique.nom(1).size() +
           v.recompense.recompense(1).size();
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
  for (const char *base : {store::kRecordsBase, store::kRecords1Base, store::kCreditsBase, store::kAwardsBase}) {
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

// Reads one file sequentially into a reused buffer; returns the bytes read.
long read_file(const std::string &name) {
  static std::vector<char> buffer(4 << 20);
  int fd = ::open(name.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  long bytes = 0;
  for (;;) {
    ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got <= 0) break;
    bytes += got;
  }
  ::close(fd);
  return bytes;
}

// Reads one file whole into a buffer of its own size, the plain way of reading a file into memory.
long read_file_whole(const std::string &name) {
  std::vector<char> buffer(std::filesystem::file_size(name));
  int fd = ::open(name.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  std::size_t done = 0;
  while (done < buffer.size()) {
    ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return static_cast<long>(done) + (buffer.empty() ? 0 : buffer[done / 2]);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
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
    std::printf("%s: journal %.4f s; straight %.4f s (ratio %.2f); straight and synced %.4f s (ratio %.2f)\n", what,
                a, b, a / b, c, a / c);
  }
  s.ferme_dossier();
}

}  // namespace

int main(int argc, char **argv) {
  bool own_dir = argc < 2;
  std::string dir = own_dir ? "/tmp/tapemoor-store-bench" : argv[1];
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  auto t0 = std::chrono::steady_clock::now();
  generate(s);
  std::printf("generated %d recordings on %d supports in %.2f s\n", kRecordings, kSupports, seconds_since(t0));

  std::vector<double> scans, plains;
  long checksum = 0, bytes = 0;
  plain_read(s, bytes);  // both measured warm, from the page cache
  for (int i = 0; i < 5; ++i) {
    scans.push_back(store_scan(s, checksum));
    plains.push_back(plain_read(s, bytes));
  }
  double a = median(scans), b = median(plains);
  std::printf("(a) store scan of every recording + 3 parallel records: %.3f s (checksum %ld)\n", a, checksum);
  std::printf("(b) plain sequential read of the four files (%.0f MB): %.3f s\n", static_cast<double>(bytes) / 1e6,
              b);
  std::printf("ratio (a)/(b) = %.2f  (target <= 3)\n", a / b);

  // Tree rebuilds, as the main window does them on every change, against a plain read of the
  // files each grouping needs (the list file and the recordings or supports file).
  std::vector<std::string> themes, genres, nations;
  for (int i = 1; i <= 50; ++i) themes.push_back("Th\xe8me " + std::to_string(i));
  for (int i = 1; i <= 8; ++i) genres.push_back("Genre " + std::to_string(i));
  for (int i = 1; i <= 20; ++i) nations.push_back("Pays " + std::to_string(i));
  store::ecrit_liste(s, 1, themes);
  store::ecrit_liste(s, 2, genres);
  store::ecrit_liste(s, 3, nations);
  store::ecrit_liste(s, 8, {"S-VHS", "VHS"});
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
    std::vector<std::string> files = {s.nom_fichier(supports ? store::kSupportsBase : store::kRecordsBase, 0)};
    const char *list = grouping == 0 ? "SORT" : grouping == 1 ? "NATION" : grouping == 3 ? "SUPPORT" : grouping == 4 ? "THEME" : nullptr;
    if (list) files.push_back(s.path(list));
    std::vector<double> build, plain, whole;
    std::size_t lines = 0;
    for (int i = 0; i < 5; ++i) {
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
    double a2 = median(build), b2 = median(plain), c2 = median(whole);
    std::printf("grouping %d %-11s %6zu lines: build %.3f s; read in 4 MB pieces %.4f s (ratio %.1f), "
                "read whole into a new buffer %.4f s (ratio %.1f); target <= 5\n",
                grouping, names[grouping], lines, a2, b2, a2 / b2, c2, a2 / c2);
  }
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
