// Kills a process that changes a catalogue at random moments and checks what the next start
// finds: the journal played back, check clean, and the files as before or as after the change
// that was under way, never between.
//   store_crash_test [KILLS [SEED]]
// The worker does each random operation first on a shadow copy, logging the state after every
// change of it (a digest of the files), then on the real catalogue. After a kill, the real
// catalogue must match the state before the last logged operation or one of its changes.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "check.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The files' names and bytes, less the journal and the side files a finished change leaves.
std::size_t digest(const std::string &dir) {
  std::map<std::string, std::string> files;
  for (const auto &e : fs::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (name == store::kJournal || name.ends_with('~')) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files[name] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t h = 0;
  for (const auto &[name, bytes] : files)
    h = h * 1000003u ^ std::hash<std::string>{}(name) ^ std::hash<std::string>{}(bytes)*31u;
  return h;
}

// Calls `committed` after each change: removing the journal is the commit.
struct CommitIo : store::Io {
  std::function<void()> committed;
  int unlink(const char *path) override {
    int r = Io::unlink(path);
    if (r == 0 && committed && fs::path(path).filename() == store::kJournal) committed();
    return r;
  }
};

// One random operation, drawn from `rng` and the catalogue's state, so that the same draw on
// the shadow and on the real catalogue does the same thing.
void operation(Catalogue &c, std::mt19937 rng, int i) {
  store::Store &s = c.store;
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int dossiers = s.nombre_dossiers();
  if (dossiers == 0 || (dossiers < 4 && pick(12) == 0)) return void(c.dossier("D" + std::to_string(i)));
  s.ouvre_dossier(pick(dossiers));
  const int supports = s.nombre_supports(), records = s.nombre_records();
  auto recording = [&](store::Recording &r) {
    r.record.set_theme(pick(2) ? "Drame" : "Western");
    r.generique.set_denomination(1, "Role " + std::to_string(i));
  };
  switch (supports == 0 ? 0 : pick(records > 40 ? 9 : 7)) {
    case 0:
      return void(c.support("VHS", "S" + std::to_string(i)));
    case 1:
    case 2:
    case 3:
      return void(c.sur(pick(supports)).record("R" + std::to_string(i), recording));
    case 4:
      if (records == 0) return;
      s.choisit_record(pick(records));
      return s.valide_record(store::Recording{s.recording().record, {}, {}, {}});
    case 5:
      return store::Remplace_valeur(s, 1, pick(2) ? "Drame" : "Western", pick(2) ? "Policier" : "Drame");
    case 6:
      return c.sur(pick(supports)).store.valide_support(s.support()),
             void(c.liste(1, {"L" + std::to_string(i)}));
    case 7:
      if (records > 0) s.choisit_record(pick(records)), s.supprime_record();
      return;
    default:
      if (pick(4) == 0) return dossiers > 1 ? s.supprime_dossier(pick(dossiers)) : void();
      return void(c.sur(pick(supports)).store.supprime_support());
  }
}

// Runs operations until killed: each on the shadow, then the digests logged, then for real.
[[noreturn]] void worker(const std::string &real, const std::string &shadow, const std::string &log,
                         int seed) {
  fs::remove_all(shadow);
  fs::copy(real, shadow);
  CommitIo io;
  Catalogue model(shadow, io), c(real);
  std::ofstream out(log, std::ios::app);
  out << "S " << digest(real) << '\n' << std::flush;
  std::ostringstream line;
  io.committed = [&] { line << ' ' << digest(shadow); };
  for (int i = 0;; ++i) {
    std::mt19937 rng(static_cast<unsigned>(seed * 100003 + i));
    line.str("O");
    operation(model, rng, i);
    // One write a line: a kill leaves whole lines.
    const std::string whole = line.str() + '\n';
    if (::write(3, whole.data(), whole.size()) < 0) _exit(2);
    operation(c, rng, i);
  }
}

}  // namespace

int main(int argc, char **argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 300;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1;
  TempDir real, scratch;
  const std::string log = scratch.file("log"), shadow = scratch.file("shadow");
  std::mt19937 rng(seed);
  int mid_change = 0;
  for (int k = 0; k < kills; ++k) {
    fs::remove(log);
    pid_t child = fork();
    if (child == 0) {
      int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (fd < 0 || dup2(fd, 3) < 0) _exit(2);
      try {
        worker(real.path(), shadow, log, static_cast<int>(seed) * 7919 + k);
      } catch (const std::exception &e) {
        std::fprintf(stderr, "kill %d: the worker failed: %s\n", k, e.what());
        _exit(3);
      }
    }
    usleep(2000 + rng() % 30000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
      return std::fprintf(stderr, "kill %d: the worker ended by itself\n", k), 1;
    // The states a kill may leave: before the last logged operation, or after one of its changes.
    std::vector<std::vector<std::size_t>> lines;
    std::ifstream in(log);
    for (std::string text; std::getline(in, text);) {
      std::istringstream words(text.substr(1));
      lines.emplace_back(std::istream_iterator<std::size_t>(words), std::istream_iterator<std::size_t>());
    }
    if (lines.empty()) continue;  // killed before it began
    std::vector<std::size_t> allowed = lines.back();
    for (auto line = lines.rbegin() + 1; line != lines.rend() && allowed.size() == lines.back().size();
         ++line)
      if (!line->empty()) allowed.push_back(line->back());
    mid_change += real.exists(store::kJournal);
    store::Store next(real.path());
    store::repare(next);
    if (!store::verifie(next).empty()) return std::fprintf(stderr, "kill %d: check is not clean\n", k), 1;
    const std::size_t now = digest(real.path());
    if (std::find(allowed.begin(), allowed.end(), now) == allowed.end())
      return std::fprintf(stderr, "kill %d: the files are between two states\n", k), 1;
  }
  std::printf("%d kills survived, %d of them in the middle of a change\n", kills, mid_change);
  return 0;
}
