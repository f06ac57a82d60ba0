// The seven statistics charts against a plain read of the files each one needs.
//   stats_bench [DIR]   (default: a fresh folder under /tmp, removed afterwards)
// On a dossier of 100,000 recordings on 20,000 supports, prints for each chart the processor
// time of the count and of a plain sequential read of its list file and its data file, medians
// of 7 runs taken in the same run, and their ratio (target: 3 or less).
#include "grand_dossier.h"
#include "statistique_logic.h"

namespace {

using namespace bench;

std::vector<std::string> numbered(const char *stem, int n) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(stem + std::to_string(i));
  return out;
}

// Values spread over the lists, with some empty (not classified) and some absent from the list.
void generate_charts(store::Store &s) {
  store::ecrit_liste(s, 1, numbered("Th\xe8me ", 50));
  store::ecrit_liste(s, 2, numbered("Genre ", 8));
  store::ecrit_liste(s, 3, numbered("Pays ", 20));
  store::ecrit_liste(s, 4, {"VF", "VO", "VOST"});
  store::ecrit_liste(s, 5, {"Couleur", "Noir et blanc", "Colorise"});
  store::ecrit_liste(s, 6, numbered("Avis ", 5));
  store::ecrit_liste(s, 8, {"VHS", "S-VHS"});
  store::TDataDossier dossier;
  dossier.set_titre("Banc d'essai");
  const int d = s.cree_dossier(dossier);
  write_file<store::TDataSupport>(s.nom_fichier(store::kSupportsBase, d), kSupports,
                                  [](int i, store::TDataSupport &r) {
                                    r.set_numero(i + 1);
                                    r.set_support(i % 7 == 0 ? "" : i % 2 ? "VHS" : "S-VHS");
                                    r.set_reference("K7-" + store::nombre_zero(i + 1, 6));
                                  });
  write_file<store::TDataRecord>(
      s.nom_fichier(store::kRecordsBase, d), kRecordings, [](int i, store::TDataRecord &r) {
        r.set_numero(i + 1);
        r.set_numero_support(i % kSupports + 1);
        r.set_titre("Titre " + std::to_string(i));
        r.set_theme("Th\xe8me " + std::to_string(i % 53 + 1));  // 51 to 53 are not listed
        r.set_genre("Genre " + std::to_string(i % 8 + 1));
        r.set_nationalite(i % 11 ? "Pays " + std::to_string(i % 20 + 1) : "");
        r.set_version(i % 3 == 0 ? "VF" : i % 3 == 1 ? "VOST" : "");
        r.set_couleur(i % 4 ? "Couleur" : "Noir et blanc");
        r.set_appreciation("Avis " + std::to_string(i % 6 + 1));
        r.set_resumer("Un resume de taille moyenne pour occuper le champ comme dans une vraie collection.");
      });
}

}  // namespace

int main(int argc, char **argv) {
  const bool own_dir = argc < 2;
  const std::string dir = own_dir ? "/tmp/tapemoor-stats-bench" : argv[1];
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  generate_charts(s);
  s.ouvre_dossier(0);
  static const char *kLists[] = {"THEME", "SORT", "NATION", "VERSION", "COLORS", "OPINION", "SUPPORT"};
  for (int chart = 1; chart <= search::kGraphiques; ++chart) {
    const std::string data = s.nom_fichier(chart == 7 ? store::kSupportsBase : store::kRecordsBase, 0);
    const std::string list = s.path(kLists[chart - 1]);
    read_file(data);  // both measured warm, from the page cache
    std::vector<double> counts, plains;
    std::int64_t total = 0;
    long bytes = 0;
    for (int i = 0; i < 7; ++i) {
      double t0 = cpu_now();
      total = search::prepare(s, chart, 0).total;
      counts.push_back(cpu_now() - t0);
      t0 = cpu_now();
      bytes = read_file(list) + read_file(data);
      plains.push_back(cpu_now() - t0);
    }
    const double a = median(counts), b = median(plains);
    std::printf(
        "chart %d %-8s counted %6lld: %.4f s; plain read of %.1f MB %.4f s; ratio %.2f (target <= 3)\n",
        chart, kLists[chart - 1], static_cast<long long>(total), a, static_cast<double>(bytes) / 1e6, b,
        a / b);
  }
  s.ferme_dossier();
  if (own_dir) std::filesystem::remove_all(dir);
  return 0;
}
