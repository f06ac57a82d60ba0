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
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "catalogue.h"
#include "check.h"
#include "temp_dir.h"

namespace {

// The files' names and bytes, less the journal and the side files a finished change leaves.
std::size_t digest(const std::string &dir) {
  std::size_t h = 0;
  for (const auto &[name, bytes] : TempDir::snapshot_of(dir))
    if (name != store::kJournal && !name.ends_with('~'))
      h = h * 1000003u ^ std::hash<std::string>{}(name) ^ std::hash<std::string>{}(bytes)*31u;
  return h;
}

// Logs the shadow's digest after each change: emptying the journal is the commit.
struct CommitIo : store::Io {
  std::string dir;
  std::ostringstream *log = nullptr;
  int ftruncate(int fd, off_t size) override {
    int r = Io::ftruncate(fd, size);
    char path[4096] = {};
    if (r == 0 && size == 0 && log &&
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1) > 0 &&
        path == dir + "/" + store::kJournal)
      *log << ' ' << digest(dir);
    return r;
  }
};

// One random operation, drawn from `rng` and the catalogue's state, so that the same draw on
// the shadow and on the real catalogue does the same thing.
void operation(Catalogue &c, std::mt19937 rng, int i) {
  store::Store &s = c.store;
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string tag = std::to_string(i);
  const int dossiers = s.nombre_dossiers();
  if (dossiers == 0 || (dossiers < 4 && pick(12) == 0)) return void(c.dossier("D" + tag));
  s.ouvre_dossier(pick(dossiers));
  const int supports = s.nombre_supports(), records = s.nombre_records();
  if (supports == 0) return void(c.support("VHS", "S" + tag));
  auto recording = [&](store::Recording &r) {
    r.record.set_theme(pick(2) ? "Drame" : "Western");
    r.generique.set_denomination(1, "Role " + tag);
  };
  // clang-format off
  const std::function<void()> kOperations[] = {
      [&] { c.support("VHS", "S" + tag); },
      [&] { c.sur(pick(supports)).record("R" + tag, recording); },
      [&] { c.sur(pick(supports)).record("R" + tag, recording); },
      [&] { s.choisit_record(pick(records)), s.valide_record({s.recording().record, {}, {}, {}}); },
      [&] { store::Remplace_valeur(s, 1, pick(2) ? "Drame" : "Western", pick(2) ? "Policier" : "Drame"); },
      [&] { c.sur(pick(supports)).store.valide_support(s.support()), c.liste(1, {"L" + tag}); },
      [&] { s.choisit_record(pick(records)), s.supprime_record(); },
      [&] { c.sur(pick(supports)).store.supprime_support(); },
      [&] { if (dossiers > 1) s.supprime_dossier(pick(dossiers)); },
  };
  // clang-format on
  const int n = pick(records > 40 ? 9 : 7);
  if (records > 0 || (n != 3 && n != 6)) kOperations[n]();
}

// Runs operations until killed: each on the shadow, then its digests logged, then for real.
[[noreturn]] void worker(const std::string &real, const std::string &shadow, int log, int seed) {
  std::filesystem::remove_all(shadow);
  std::filesystem::copy(real, shadow);
  CommitIo io;
  io.dir = shadow;
  Catalogue model(shadow, io), c(real);
  std::ostringstream line;
  io.log = &line;
  line << "S " << digest(real);
  for (int i = 0;; ++i) {
    std::mt19937 rng(static_cast<unsigned>(seed * 100003 + i));
    if (i > 0) operation(model, rng, i);
    line << '\n';  // one write a line: a kill leaves whole lines
    if (::write(log, line.str().data(), line.str().size()) < 0) _exit(2);
    line.str("");
    line << 'O';
    if (i > 0) operation(c, rng, i);
  }
}

}  // namespace

int main(int argc, char **argv) {
  const int kills = argc > 1 ? std::atoi(argv[1]) : 300;
  const int seed = argc > 2 ? std::atoi(argv[2]) : 1;
  TempDir real, scratch;
  const std::string log = scratch.file("log");
  std::mt19937 rng(static_cast<unsigned>(seed));
  int mid_change = 0;
  for (int k = 0; k < kills; ++k) {
    std::filesystem::remove(log);
    pid_t child = fork();
    if (child == 0) try {
        worker(real.path(), scratch.file("shadow"), ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644),
               seed * 7919 + k);
      } catch (const std::exception &e) {
        std::fprintf(stderr, "kill %d: the worker failed: %s\n", k, e.what());
        _exit(3);
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
    store::Store next(real.path());
    mid_change += store::journal_en_attente(next.data_dir, next.io());
    store::repare(next);
    for (const store::Probleme &p : store::verifie(next))
      return std::fprintf(stderr, "kill %d: check is not clean: %s %s\n", k, p.file.c_str(), p.what.c_str()),
             1;
    if (std::find(allowed.begin(), allowed.end(), digest(real.path())) == allowed.end())
      return std::fprintf(stderr, "kill %d: the files are between two states\n", k), 1;
  }
  std::printf("%d kills survived, %d of them in the middle of a change\n", kills, mid_change);
  return 0;
}
