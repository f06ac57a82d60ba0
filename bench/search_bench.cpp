// The search over a large dossier against a plain read of the files it needs.
//   search_bench [DIR]   (default: a fresh folder under /tmp, removed afterwards)
// On 100,000 recordings with 30 credits and 10 awards each, a query "title = T OR name in the
// credits = N" reads the supports, the recordings and the credits. Prints the processor times
// of each of 7 rounds and the median ratio search ÷ plain read (target: 3 or less).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "requetes.h"
#include "store.h"

namespace {

constexpr int kSupports = 20000;
constexpr int kRecordings = 100000;
constexpr int kRounds = 7;

// Processor time of this process: figures taken while the machine is busy stay comparable.
double cpu_now() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

std::string title(int i) {
  static const char *first[] = {"Le", "La", "Les", "Un", "Une", "Nuit", "Retour", "Voyage", "Quai", "Jour"};
  static const char *second[] = {"Grand", "Dernier", "Petit", "Secret", "Train", "Soleil", "Vent", "Chemin"};
  unsigned h = static_cast<unsigned>(i) * 2654435761u;
  return std::string(first[h % 10]) + " " + second[(h >> 8) % 8] + " " + std::to_string(i);
}

template <class Record, class Fill>
void write_all(store::RecordFile &f, int count, Fill fill) {
  std::vector<Record> block(512);
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
  const int d = s.cree_dossier(dossier);
  store::RecordFile sup(store::TDataSupport::record_size);
  sup.open_or_create(s.nom_fichier(store::kSupportsBase, d));
  write_all<store::TDataSupport>(sup, kSupports, [](int i, store::TDataSupport &r) {
    r.set_numero(i + 1);
    r.set_support(i % 2 ? "VHS" : "S-VHS");
    r.set_reference("K7-" + store::nombre_zero(i + 1, 6));
    r.set_date("01/01/1999");
  });
  store::RecordingFiles files;
  s.open_recording_files(d, files);
  write_all<store::TDataRecord>(files.records, kRecordings, [](int i, store::TDataRecord &r) {
    r.set_numero(i + 1);
    r.set_numero_support(i % kSupports + 1);
    r.set_titre(title(i));
    r.set_reference(store::nombre_zero(i + 1, 6));
    r.set_annee(1950 + i % 70);
    r.set_theme("Th\xe8me " + std::to_string(i % 50 + 1));
    r.set_resumer("Un resume de taille moyenne pour occuper le champ comme dans une vraie collection.");
  });
  write_all<store::TDataRecord1>(files.records1, kRecordings,
                                 [](int, store::TDataRecord1 &r) { r.set_format("4/3"); });
  write_all<store::TDataGenerique>(files.credits, kRecordings, [](int i, store::TDataGenerique &r) {
    for (int k = 1; k <= store::kCredits; ++k) {
      r.set_denomination(k, k == 1 ? "Realisateur" : "Acteur");
      r.set_nom(k, "Personne " + std::to_string((i * 31 + k * 7) % 20011));
      r.set_role(k, "Role " + std::to_string(k));
    }
  });
  write_all<store::TDataRecompense>(files.awards, kRecordings, [](int i, store::TDataRecompense &r) {
    for (int k = 1; k <= store::kAwards; ++k) {
      r.set_recompense(k, "Prix " + std::to_string((i + k) % 40));
      r.set_categorie(k, "Categorie " + std::to_string(k));
      r.set_annee_recompense(k, std::to_string(1950 + i % 70));
    }
  });
}

// A plain sequential read of the files, 4 MB at a time into one reused buffer.
long plain_read(const std::vector<std::string> &names) {
  static std::vector<char> buffer(4 << 20);
  long bytes = 0;
  for (const std::string &name : names) {
    int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0) std::exit(1);
    for (;;) {
      ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got <= 0) break;
      bytes += got;
    }
    ::close(fd);
  }
  return bytes;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
  const bool own_dir = argc < 2;
  const std::string dir = own_dir ? "/tmp/tapemoor-search-bench" : argv[1];
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  auto t0 = std::chrono::steady_clock::now();
  generate(s);
  std::printf("generated %d recordings (30 credits, 10 awards each) on %d supports in %.1f s\n", kRecordings,
              kSupports, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  s.ouvre_dossier(0);

  search::TDataRequetes q;
  search::ajoute_critere(q, search::libelles_champs(0)[12], "", title(4242), "=", "et");
  search::ajoute_critere(q, search::libelles_champs(0)[8], "", "Personne 77", "=", "ou");
  const std::vector<std::string> files = {s.nom_fichier(store::kSupportsBase, 0),
                                          s.nom_fichier(store::kRecordsBase, 0),
                                          s.nom_fichier(store::kCreditsBase, 0)};
  long bytes = plain_read(files);  // both measured warm, from the page cache
  std::vector<double> searches, plains, ratios;
  std::size_t hits = 0;
  for (int i = 0; i < kRounds; ++i) {
    double t1 = cpu_now();
    hits = search::cherche(s, q, 0).size();
    searches.push_back(cpu_now() - t1);
    double t2 = cpu_now();
    bytes = plain_read(files);
    plains.push_back(cpu_now() - t2);
    ratios.push_back(searches.back() / plains.back());
    std::printf("round %d: search %.3f s, plain read %.3f s, ratio %.2f\n", i + 1, searches.back(),
                plains.back(), ratios.back());
  }
  std::printf("search (title OR credit name), %zu hits: median %.3f s\n", hits, median(searches));
  std::printf("plain read of supports, recordings, credits (%.0f MB): median %.3f s\n",
              static_cast<double>(bytes) / 1e6, median(plains));
  std::printf("median ratio = %.2f  (target <= 3)\n", median(ratios));
  s.ferme_dossier();
  if (own_dir) std::filesystem::remove_all(dir);
  return 0;
}
