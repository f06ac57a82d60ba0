#include "store.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace store {

namespace {
// Records per block in whole-file scans: large sequential reads, a few MB at most.
constexpr int kScanBlock = 256;
}  // namespace

void RecordingFiles::close() {
  records.close();
  records1.close();
  credits.close();
  awards.close();
}

// The parallel files must hold at least as many records as the recordings file before a change
// that moves records, or the change would stop half done.
static void require_parallel(RecordingFiles &files) {
  std::int64_t total = files.records.count();
  for (RecordFile *f : {&files.records1, &files.credits, &files.awards})
    if (f->count() < total)
      throw StoreError("read", f->path(), "record " + std::to_string(total - 1) + " is beyond the end");
}

// Every recording of the four files in record order, read in blocks.
static void scan_recording_files(RecordingFiles &files, const std::function<void(int, const RecordingView &)> &visit) {
  std::int64_t count = files.records.count();
  auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, kScanBlock));
  std::vector<TDataRecord> r(n);
  std::vector<TDataRecord1> r1(n);
  std::vector<TDataGenerique> g(n);
  std::vector<TDataRecompense> a(n);
  for (std::int64_t at = 0; at < count; at += kScanBlock) {
    std::int64_t m = std::min<std::int64_t>(kScanBlock, count - at);
    files.records.read_many(at, m, r.data());
    files.records1.read_many(at, m, r1.data());
    files.credits.read_many(at, m, g.data());
    files.awards.read_many(at, m, a.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i)
      visit(static_cast<int>(at) + static_cast<int>(i), RecordingView{r[i], r1[i], g[i], a[i]});
  }
}

Store::Store(std::string dir) : data_dir(std::move(dir)) {
  if (data_dir.empty()) data_dir = "./";
  if (data_dir.back() != '/') data_dir += '/';
}

std::string Store::nom_fichier(std::string_view base, int n) const {
  return data_dir + std::string(base) + nombre_zero(n, 3);
}

int Store::require_dossier() const {
  if (dossier_courant < 0) throw StoreError("open", data_dir, "no dossier is open");
  return dossier_courant;
}

// ---- MAINFILE ----

void Store::ouvre_mainfile() { mainfile_.open_or_create(path(kMainFile)); }
void Store::ferme_mainfile() { mainfile_.close(); }
void Store::lit_dossier(int n) { mainfile_.read(n, dossier.bytes.data()); }
void Store::ecrit_dossier(int n) { mainfile_.write(n, dossier.bytes.data()); }
void Store::vide_dossier() { dossier.clear(); }
int Store::nombre_dossiers() { return static_cast<int>(mainfile_.count()); }

std::vector<TDataDossier> Store::lit_dossiers() {
  RecordFile f(TDataDossier::record_size);
  f.open_or_create(path(kMainFile));
  std::vector<TDataDossier> all(static_cast<std::size_t>(f.count()));
  f.read_many(0, static_cast<std::int64_t>(all.size()), all.data());
  return all;
}

// ---- supports ----

void Store::ouvre_supports() { supports_.open_or_create(nom_fichier(kSupportsBase, require_dossier())); }
void Store::ferme_supports() { supports_.close(); }
void Store::lit_support(int n) { supports_.read(n, support.bytes.data()); }
void Store::ecrit_support(int n) { supports_.write(n, support.bytes.data()); }
int Store::nombre_supports() { return static_cast<int>(supports_.count()); }
void Store::supprime_support(int k) { supports_.remove(k); }

void Store::nouveau_support() {
  int d = require_dossier();
  ouvre_mainfile();
  lit_dossier(d);
  std::string today = date_du_jour();
  support.clear();
  support.set_numero(dossier.dernier_support() + 1);
  for (auto set : {&TDataSupport::set_date, &TDataSupport::set_pret_du, &TDataSupport::set_pret_au,
                   &TDataSupport::set_emprunt_du, &TDataSupport::set_emprunt_au})
    (support.*set)(today);
  dossier.set_dernier_support(dossier.dernier_support() + 1);
  ecrit_dossier(d);
  ferme_mainfile();
}

// ---- recordings ----

void Store::open_recording_files(int n, RecordingFiles &files) {
  files.records.open_or_create(nom_fichier(kRecordsBase, n));
  if (files.records1.open_or_create(nom_fichier(kRecords1Base, n))) {
    // A dossier that never had a second recordings file gains one that matches.
    std::int64_t count = files.records.count();
    std::vector<TDataRecord1> empty(static_cast<std::size_t>(std::min<std::int64_t>(count, kScanBlock)));
    for (std::int64_t at = 0; at < count; at += kScanBlock) {
      std::int64_t m = std::min<std::int64_t>(kScanBlock, count - at);
      files.records1.write_many(at, m, empty.data());
    }
  }
  files.credits.open_or_create(nom_fichier(kCreditsBase, n));
  files.awards.open_or_create(nom_fichier(kAwardsBase, n));
}

void Store::ouvre_records() { open_recording_files(require_dossier(), records_); }
void Store::ferme_records() { records_.close(); }
int Store::nombre_records() { return static_cast<int>(records_.records.count()); }

void Store::lit_record(int n) {
  records_.records.read(n, record.bytes.data());
  records_.records1.read(n, record1.bytes.data());
  records_.credits.read(n, generique.bytes.data());
  records_.awards.read(n, recompense.bytes.data());
}

void Store::ecrit_record(int n) {
  // Check all four before writing any, so a refused write leaves the files as they were.
  for (RecordFile *f : {&records_.records, &records_.records1, &records_.credits, &records_.awards})
    if (n < 0 || n > f->count())
      throw StoreError("write", f->path(), "record " + std::to_string(n) + " would leave a hole");
  records_.records.write(n, record.bytes.data());
  records_.records1.write(n, record1.bytes.data());
  records_.credits.write(n, generique.bytes.data());
  records_.awards.write(n, recompense.bytes.data());
}

void Store::supprime_record(int k) {
  require_parallel(records_);
  std::int64_t total = records_.records.count();
  for (RecordFile *f : {&records_.records, &records_.records1, &records_.credits, &records_.awards})
    f->remove(k, total);
}

int Store::supprime_records_du_support(std::int32_t numero_support) {
  require_parallel(records_);
  std::int64_t total = records_.records.count();
  std::int64_t kept = 0;
  // Records only move down, so every place written has been read already.
  scan_recording_files(records_, [&](int n, const RecordingView &v) {
    if (v.record.numero_support() == numero_support) return;
    if (kept != n) {
      records_.records.write(kept, v.record.bytes.data());
      records_.records1.write(kept, v.record1.bytes.data());
      records_.credits.write(kept, v.generique.bytes.data());
      records_.awards.write(kept, v.recompense.bytes.data());
    }
    ++kept;
  });
  for (RecordFile *f : {&records_.records, &records_.records1, &records_.credits, &records_.awards})
    f->truncate(kept);
  return static_cast<int>(total - kept);
}

void Store::nouveau_record() {
  int d = require_dossier();
  ouvre_mainfile();
  lit_dossier(d);
  ouvre_supports();
  lit_support(support_courant);
  std::string today = date_du_jour();
  record.clear();
  record1.clear();
  generique.clear();
  recompense.clear();
  record.set_numero(dossier.dernier_record() + 1);
  record.set_numero_support(support.numero());
  record.set_annee(leading_number(today.size() > 6 ? std::string_view(today).substr(6, 4) : ""));
  record.set_date(today);
  ferme_supports();
  dossier.set_dernier_record(dossier.dernier_record() + 1);
  ecrit_dossier(d);
  ferme_mainfile();
}

// ---- planning ----

TDataPlanning Store::planning_defaut() {
  TDataPlanning p;
  for (int i = 1; i <= kPlanned; ++i) {
    p.set_date_prevue(i, "00/00/0000");
    p.set_heure(i, "00:00");
  }
  return p;
}

void Store::ouvre_planning() {
  if (planning_file_.open_or_create(nom_fichier(kPlanningBase, require_dossier()))) {
    TDataPlanning p = planning_defaut();
    planning_file_.write(0, p.bytes.data());
  }
}
void Store::ferme_planning() { planning_file_.close(); }
void Store::lit_planning() { planning_file_.read(0, planning.bytes.data()); }
void Store::ecrit_planning() { planning_file_.write(0, planning.bytes.data()); }

// ---- scans ----

// Reads a whole file of records in blocks and hands each one over.
template <class Record, class Visit>
static void scan_file(const std::string &name, const Visit &visit) {
  RecordFile f(Record::record_size);
  f.open_or_create(name);
  std::int64_t count = f.count();
  std::vector<Record> block(static_cast<std::size_t>(std::min<std::int64_t>(count, kScanBlock)));
  for (std::int64_t at = 0; at < count; at += kScanBlock) {
    std::int64_t m = std::min<std::int64_t>(kScanBlock, count - at);
    f.read_many(at, m, block.data());
    for (std::int64_t i = 0; i < m; ++i) visit(static_cast<int>(at + i), block[static_cast<std::size_t>(i)]);
  }
}

void Store::scan_supports(const std::function<void(int, const TDataSupport &)> &visit, int d) {
  if (d < 0) d = require_dossier();
  scan_file<TDataSupport>(nom_fichier(kSupportsBase, d), visit);
}


void Store::scan_records_main(const std::function<void(int, const TDataRecord &)> &visit, int d) {
  if (d < 0) d = require_dossier();
  scan_file<TDataRecord>(nom_fichier(kRecordsBase, d), visit);
}

void Store::scan_records(const std::function<void(int, const RecordingView &)> &visit, int d) {
  if (d < 0) d = require_dossier();
  RecordingFiles files;
  open_recording_files(d, files);
  scan_recording_files(files, visit);
}

// ---- dossier management ----

int Store::cree_dossier() {
  ouvre_mainfile();
  int n = nombre_dossiers();
  ecrit_dossier(n);
  ferme_mainfile();
  dossier_courant = n;
  support_courant = record_courant = -1;
  return n;
}

bool Store::titre_pris(std::string_view titre, int own) {
  std::vector<TDataDossier> all = lit_dossiers();
  for (std::size_t i = 0; i < all.size(); ++i)
    if (static_cast<int>(i) != own && all[i].titre() == titre) return true;
  return false;
}

int Store::trouve_dossier(std::string_view titre) {
  std::string wanted = cp1252_upper(titre);
  std::vector<TDataDossier> all = lit_dossiers();
  for (int i = static_cast<int>(all.size()) - 1; i >= 0; --i)
    if (cp1252_upper(all[static_cast<std::size_t>(i)].titre()) == wanted) return i;
  return -1;
}

void Store::ferme_dossier() {
  supports_.close();
  records_.close();
  planning_file_.close();
  dossier_courant = support_courant = record_courant = -1;
}

void Store::supprime_dossier(int k) {
  ferme_dossier();
  ouvre_mainfile();
  int total = nombre_dossiers();
  if (k < 0 || k >= total) {
    ferme_mainfile();
    throw StoreError("read", path(kMainFile), "dossier " + std::to_string(k) + " does not exist");
  }
  static constexpr const char *kBases[] = {kSupportsBase, kRecordsBase, kRecords1Base,
                                           kCreditsBase,  kAwardsBase,  kPlanningBase};
  // Erase and rename failures (a file that was never created) are of no consequence.
  if (k == total - 1) {
    for (const char *base : kBases) std::remove(nom_fichier(base, k).c_str());
  } else {
    TDataDossier moved;
    for (int j = k; j <= total - 2; ++j) {
      mainfile_.read(j + 1, moved.bytes.data());
      mainfile_.write(j, moved.bytes.data());
      for (const char *base : kBases) {
        std::remove(nom_fichier(base, j).c_str());
        std::rename(nom_fichier(base, j + 1).c_str(), nom_fichier(base, j).c_str());
      }
    }
  }
  mainfile_.truncate(total - 1);
  ferme_mainfile();
}

}  // namespace store
