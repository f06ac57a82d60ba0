// A large dossier for the benchmarks, and the timing helpers they share.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "lists.h"
#include "store.h"
#include "timing.h"

namespace bench {

constexpr int kSupports = 20000;
constexpr int kRecordings = 100000;

inline double seconds_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Processor time of this process (user + system): unlike the wall clock it does not count the
// time spent waiting for a core, so figures taken while the machine is busy stay comparable.
inline double cpu_now() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Titles that look like a real shelf's: a few words drawn from small lists, so that they share
// first words as real titles do, but not one long common prefix.
inline std::string title(int i) {
  static const char *first[] = {"Le",     "La",   "Les",    "Un",     "Une",     "L'",
                                "Mon",    "Nuit", "Retour", "Voyage", "Docteur", "Monsieur",
                                "Casque", "Quai", "Jour",   "Cri",    "Bal",     "Port"};
  static const char *second[] = {"Grand",  "Dernier", "Petit",  "Mystère", "Secret",
                                 "Train",  "Soleil",  "Vent",   "Salaire", "Trésor",
                                 "Chemin", "Silence", "Regard", "Fantôme", "Printemps"};
  static const char *third[] = {"de la peur",  "des ombres",    "du nord",    "perdu",
                                "de minuit",   "sous la pluie", "d'été",      "américain",
                                "des sources", "en hiver",      "du paradis", "d'or"};
  unsigned h = static_cast<unsigned>(i) * 2654435761u;
  return std::string(first[h % 18]) + " " + second[(h >> 8) % 15] + " " + third[(h >> 16) % 12] +
         (i % 4 == 0 ? " " + std::to_string(i % 97 + 2) : "");
}

template <class Record>
inline void write_all(store::RecordFile &f, std::vector<Record> &block, int count, auto fill) {
  for (int at = 0; at < count; at += static_cast<int>(block.size())) {
    int m = std::min(static_cast<int>(block.size()), count - at);
    for (int i = 0; i < m; ++i) fill(at + i, block[static_cast<std::size_t>(i)]);
    f.write_many(at, m, block.data());
  }
}

inline void generate(store::Store &s) {
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

// Reads one file sequentially into a reused buffer; returns the bytes read.
inline long read_file(const std::string &name) {
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
inline long read_file_whole(const std::string &name) {
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

// Writes `count` records of `path` from blank ones, 512 at a time.
template <class Record, class Fill>
inline void write_file(const std::string &path, int count, Fill fill) {
  store::RecordFile f(Record::record_size);
  f.open_or_create(path);
  std::vector<Record> block(512);
  write_all(f, block, count, [&](int i, Record &r) {
    r = Record{};
    fill(i, r);
  });
}

// The reference lists the generated recordings use: 50 themes, 8 genres, 20 countries, 2 types.
inline void write_lists(store::Store &s) {
  std::vector<std::string> themes, genres, nations;
  for (int i = 1; i <= 50; ++i) themes.push_back("Th\xe8me " + std::to_string(i));
  for (int i = 1; i <= 8; ++i) genres.push_back("Genre " + std::to_string(i));
  for (int i = 1; i <= 20; ++i) nations.push_back("Pays " + std::to_string(i));
  store::ecrit_liste(s, 1, themes);
  store::ecrit_liste(s, 2, genres);
  store::ecrit_liste(s, 3, nations);
  store::ecrit_liste(s, 8, {"S-VHS", "VHS"});
}

}  // namespace bench
