// The search over a large dossier against a plain read of the files it needs.
//   search_bench [DIR]   (default: a fresh folder under /tmp, removed afterwards)
// On 100,000 recordings with 30 credits and 10 awards each, a query "title = T OR name in the
// credits = N" reads the supports, the recordings and the credits. Prints the processor times
// of each of 7 rounds and the median ratio search ÷ plain read (target: 3 or less).
#include "grand_dossier.h"
#include "requetes.h"

namespace {

using namespace bench;

constexpr int kRounds = 7;

// The large dossier, with every credit and award entry filled.
void generate_full(store::Store &s) {
  generate(s);
  write_file<store::TDataGenerique>(s.nom_fichier(store::kCreditsBase, 0), kRecordings,
                                    [](int i, store::TDataGenerique &r) {
                                      for (int k = 1; k <= store::kCredits; ++k) {
                                        r.set_denomination(k, k == 1 ? "Realisateur" : "Acteur");
                                        r.set_nom(k, "Personne " + std::to_string((i * 31 + k * 7) % 20011));
                                        r.set_role(k, "Role " + std::to_string(k));
                                      }
                                    });
  write_file<store::TDataRecompense>(s.nom_fichier(store::kAwardsBase, 0), kRecordings,
                                     [](int i, store::TDataRecompense &r) {
                                       for (int k = 1; k <= store::kAwards; ++k) {
                                         r.set_recompense(k, "Prix " + std::to_string((i + k) % 40));
                                         r.set_categorie(k, "Categorie " + std::to_string(k));
                                         r.set_annee_recompense(k, std::to_string(1950 + i % 70));
                                       }
                                     });
}

long plain_read(const std::vector<std::string> &names) {
  long bytes = 0;
  for (const std::string &name : names) bytes += read_file(name);
  return bytes;
}

}  // namespace

int main(int argc, char **argv) {
  const bool own_dir = argc < 2;
  const std::string dir = own_dir ? "/tmp/tapemoor-search-bench" : argv[1];
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  auto t0 = std::chrono::steady_clock::now();
  generate_full(s);
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
