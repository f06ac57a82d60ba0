#include "store.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
static void scan_recording_files(RecordingFiles &files,
                                 const std::function<void(int, const RecordingView &)> &visit,
                                 unsigned parts = kAllParts) {
  std::int64_t count = files.records.count();
  auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, kScanBlock));
  std::vector<TDataRecord> r(n);
  std::vector<TDataRecord1> r1(n);
  std::vector<TDataGenerique> g(n);
  std::vector<TDataRecompense> a(n);
  for (std::int64_t at = 0; at < count; at += kScanBlock) {
    std::int64_t m = std::min<std::int64_t>(kScanBlock, count - at);
    files.records.read_many(at, m, r.data());
    // A dossier that never had a second recordings file: blank formats until one is written.
    if (!(parts & kPartFormat)) {
    } else if (files.records1.count() == 0) {
      std::fill(r1.begin(), r1.end(), TDataRecord1{});
    } else {
      files.records1.read_many(at, m, r1.data());
    }
    if (parts & kPartCredits) files.credits.read_many(at, m, g.data());
    if (parts & kPartAwards) files.awards.read_many(at, m, a.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i)
      visit(static_cast<int>(at) + static_cast<int>(i), RecordingView{r[i], r1[i], g[i], a[i]});
  }
}

namespace {
std::string with_slash(std::string dir) {
  if (dir.empty()) dir = "./";
  if (dir.back() != '/') dir += '/';
  return dir;
}
}  // namespace

Store::Store(std::string dir, Io &io) : data_dir(with_slash(std::move(dir))), io_(io) {}

std::string Store::nom_fichier(std::string_view base, int n) const {
  return data_dir + std::string(base) + nombre_zero(n, 3);
}

int Store::require_dossier() const {
  if (dossier_courant_ < 0) throw StoreError("open", data_dir, "no dossier is open");
  return dossier_courant_;
}

// ---- MAINFILE ----

TDataDossier Store::lit_dossier(int n) {
  RecordFile f(TDataDossier::record_size, io_);
  f.open_for_reading(path(kMainFile));
  TDataDossier d;
  f.read(n, d.bytes.data());
  return d;
}

// The byte range of record n in a file of `size`-byte records.
static std::pair<off_t, off_t> place(std::int64_t n, std::size_t size, std::int64_t count = 1) {
  return {static_cast<off_t>(n) * static_cast<off_t>(size), count * static_cast<off_t>(size)};
}

// Writes one record of a file as a change of its own.
template <class Record>
static void write_one(const Store &store, const std::string &name, std::int64_t n, const Record &r) {
  const std::pair<off_t, off_t> range = place(n, Record::record_size);
  store.change([&](Journal &j) { j.garde(name, range.first, range.second); },
               [&] {
                 RecordFile f(Record::record_size, store.io());
                 f.open_or_create(name);
                 f.write(n, r.bytes.data());
               });
}

bool Store::lecture_seule() const {
  return io_.access(data_dir.c_str(), W_OK) != 0;
}

void Store::ecrit_dossier(int n, const TDataDossier &d) {
  write_one(*this, path(kMainFile), n, d);
}

std::vector<TDataDossier> Store::lit_dossiers() {
  RecordFile f(TDataDossier::record_size, io_);
  f.open_for_reading(path(kMainFile));
  std::vector<TDataDossier> all(static_cast<std::size_t>(f.count()));
  f.read_many(0, static_cast<std::int64_t>(all.size()), all.data());
  return all;
}

int Store::nombre_dossiers() {
  RecordFile f(TDataDossier::record_size, io_);
  f.open_for_reading(path(kMainFile));
  return static_cast<int>(f.count());
}

int Store::cree_dossier(const TDataDossier &d) {
  int n = nombre_dossiers();
  ecrit_dossier(n, d);
  ferme_dossier();
  dossier_ = d;
  dossier_courant_ = n;
  return n;
}

void Store::ouvre_dossier(int n) {
  TDataDossier d = lit_dossier(n);
  ferme_dossier();
  dossier_ = d;
  dossier_courant_ = n;
}

void Store::relit_dossier() {
  dossier_ = lit_dossier(require_dossier());
}

void Store::modifie_dossier(const TDataDossier &d) {
  ecrit_dossier(require_dossier(), d);
  dossier_ = d;
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
  dossier_courant_ = support_courant_ = record_courant_ = -1;
  dossier_.clear();
  support_.clear();
  recording_ = Recording{};
}

void Store::supprime_dossier(int k) {
  ferme_dossier();
  const int total = nombre_dossiers();
  if (k < 0 || k >= total)
    throw StoreError("read", path(kMainFile), "dossier " + std::to_string(k) + " does not exist");
  static constexpr const char *kBases[] = {kSupportsBase, kRecordsBase, kRecords1Base,
                                           kCreditsBase,  kAwardsBase,  kPlanningBase};
  // The dossier's files are set aside and the later dossiers' files move down one place, in an
  // order where each target is free; a file never created has nothing to move.
  std::vector<std::pair<std::string, std::string>> moves;
  change(
      [&](Journal &j) {
        j.garde(path(kMainFile), place(k, TDataDossier::record_size).first);
        auto note = [&](const std::string &from, const std::string &to) {
          if (j.renomme(from, to)) moves.emplace_back(from, to);
        };
        for (const char *base : kBases) note(nom_fichier(base, k), nom_fichier(base, k) + "~");
        for (int i = k + 1; i < total; ++i)
          for (const char *base : kBases) note(nom_fichier(base, i), nom_fichier(base, i - 1));
      },
      [&] {
        for (const auto &[from, to] : moves)
          if (io_.rename(from.c_str(), to.c_str()) != 0)
            throw StoreError("rename", from, std::strerror(errno));
        RecordFile f(TDataDossier::record_size, io_);
        f.open_or_create(path(kMainFile));
        f.remove(k);
      });
  // The deleted dossier's files; one left behind is only a side file, which check names.
  for (const char *base : kBases) io_.unlink((nom_fichier(base, k) + "~").c_str());
}

// Takes the next support or recording number of the open dossier; returns the dossier as
// written, whose counter is the number taken.
TDataDossier Store::prend_numero(bool record) {
  int n = require_dossier();
  TDataDossier d = lit_dossier(n);
  if (record)
    d.set_dernier_record(d.dernier_record() + 1);
  else
    d.set_dernier_support(d.dernier_support() + 1);
  ecrit_dossier(n, d);
  dossier_ = d;
  return d;
}

// ---- supports ----

int Store::nombre_supports(int d) {
  if (d < 0) d = require_dossier();
  RecordFile f(TDataSupport::record_size, io_);
  f.open_for_reading(nom_fichier(kSupportsBase, d));
  return static_cast<int>(f.count());
}

void Store::choisit_support(int n) {
  if (n < 0) {
    support_courant_ = -1;
    support_.clear();
    return;
  }
  RecordFile f(TDataSupport::record_size, io_);
  f.open_for_reading(nom_fichier(kSupportsBase, require_dossier()));
  TDataSupport s;
  f.read(n, s.bytes.data());
  support_ = s;
  support_courant_ = n;
}

void Store::nouveau_support() {
  int at = nombre_supports();
  TDataDossier d = prend_numero(false);
  std::string today = date_du_jour();
  support_.clear();
  support_.set_numero(d.dernier_support());
  for (auto set : {&TDataSupport::set_date, &TDataSupport::set_pret_du, &TDataSupport::set_pret_au,
                   &TDataSupport::set_emprunt_du, &TDataSupport::set_emprunt_au})
    (support_.*set)(today);
  support_courant_ = at;
}

void Store::valide_support(const TDataSupport &s) {
  if (support_courant_ < 0)
    throw StoreError("write", nom_fichier(kSupportsBase, require_dossier()), "no support is current");
  write_one(*this, nom_fichier(kSupportsBase, require_dossier()), support_courant_, s);
  support_ = s;
}

int Store::supprime_support() {
  int d = require_dossier();
  if (support_courant_ < 0) throw StoreError("write", nom_fichier(kSupportsBase, d), "no support is current");
  const std::int32_t numero = support_.numero();
  // Records before the first one on the support do not move.
  std::int64_t first = -1;
  scan_records_main([&](int n, const TDataRecord &r) {
    if (first < 0 && r.numero_support() == numero) first = n;
  });
  int gone = 0;
  change(
      [&](Journal &j) {
        if (first >= 0) garde_recordings(j, d, first);
        j.garde(nom_fichier(kSupportsBase, d), place(support_courant_, TDataSupport::record_size).first);
      },
      [&] {
        if (first >= 0) {
          RecordingFiles files(io_);
          open_recording_files(d, files);
          remove_recordings(files, [&](const TDataRecord &r) {
            bool drop = r.numero_support() == numero;
            gone += drop;
            return drop;
          });
        }
        RecordFile f(TDataSupport::record_size, io_);
        f.open_or_create(nom_fichier(kSupportsBase, d));
        f.remove(support_courant_);
      });
  choisit_support(-1);
  choisit_record(-1);
  return gone;
}

// ---- recordings ----

void Store::open_recording_files_for_reading(int n, RecordingFiles &files) {
  files.records.open_for_reading(nom_fichier(kRecordsBase, n));
  files.records1.open_for_reading(nom_fichier(kRecords1Base, n));
  files.credits.open_for_reading(nom_fichier(kCreditsBase, n));
  files.awards.open_for_reading(nom_fichier(kAwardsBase, n));
}

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

int Store::nombre_records(int d) {
  if (d < 0) d = require_dossier();
  RecordFile f(TDataRecord::record_size, io_);
  f.open_for_reading(nom_fichier(kRecordsBase, d));
  return static_cast<int>(f.count());
}

void Store::choisit_record(int n) {
  if (n < 0) {
    record_courant_ = -1;
    recording_ = Recording{};
    return;
  }
  RecordingFiles files(io_);
  open_recording_files_for_reading(require_dossier(), files);
  Recording r;
  files.records.read(n, r.record.bytes.data());
  if (files.records1.count() > 0) files.records1.read(n, r.record1.bytes.data());
  files.credits.read(n, r.generique.bytes.data());
  files.awards.read(n, r.recompense.bytes.data());
  recording_ = r;
  record_courant_ = n;
}

void Store::nouveau_record() {
  int d = require_dossier();
  if (support_courant_ < 0) throw StoreError("write", nom_fichier(kRecordsBase, d), "no support is current");
  int at = nombre_records();
  TDataDossier dossier = prend_numero(true);
  std::string today = date_du_jour();
  recording_ = Recording{};
  TDataRecord &r = recording_.record;
  r.set_numero(dossier.dernier_record());
  r.set_numero_support(support_.numero());
  r.set_annee(leading_number(today.size() > 6 ? std::string_view(today).substr(6, 4) : ""));
  r.set_date(today);
  record_courant_ = at;
}

void Store::garde_recordings(Journal &journal, int d, std::int64_t from, std::int64_t count) const {
  auto save = [&](const char *base, std::size_t size) {
    auto [at, length] = place(from, size, count < 0 ? 1 : count);
    journal.garde(nom_fichier(base, d), at, count < 0 ? -1 : length);
  };
  save(kRecordsBase, TDataRecord::record_size);
  save(kRecords1Base, TDataRecord1::record_size);
  save(kCreditsBase, TDataGenerique::record_size);
  save(kAwardsBase, TDataRecompense::record_size);
}

void Store::valide_record(const Recording &r) {
  int d = require_dossier();
  const int n = record_courant_;
  if (n < 0) throw StoreError("write", nom_fichier(kRecordsBase, d), "no recording is current");
  change([&](Journal &j) { garde_recordings(j, d, n, 1); },
         [&] {
           RecordingFiles files(io_);
           open_recording_files(d, files);
           // All four are checked before any is written: a refused write is no change at all.
           for (RecordFile *f : {&files.records, &files.records1, &files.credits, &files.awards})
             if (n > f->count())
               throw StoreError("write", f->path(), "record " + std::to_string(n) + " would leave a hole");
           files.records.write(n, r.record.bytes.data());
           files.records1.write(n, r.record1.bytes.data());
           files.credits.write(n, r.generique.bytes.data());
           files.awards.write(n, r.recompense.bytes.data());
         });
  recording_ = r;
}

void Store::supprime_record() {
  int d = require_dossier();
  const int k = record_courant_;
  if (k < 0) throw StoreError("write", nom_fichier(kRecordsBase, d), "no recording is current");
  change([&](Journal &j) { garde_recordings(j, d, k); },
         [&] {
           RecordingFiles files(io_);
           open_recording_files(d, files);
           require_parallel(files);
           std::int64_t total = files.records.count();
           if (k >= total)
             throw StoreError("read", files.records.path(),
                              "record " + std::to_string(k) + " is beyond the end");
           for (RecordFile *f : {&files.records, &files.records1, &files.credits, &files.awards})
             f->remove(k, total);
         });
  choisit_record(-1);
}

// Drops the recordings `drop` picks from the four files in one compacting pass (the same result
// as removing them one by one).
void Store::remove_recordings(RecordingFiles &files, const std::function<bool(const TDataRecord &)> &drop) {
  require_parallel(files);
  std::int64_t kept = 0;
  // Records only move down, so every place written has been read already.
  scan_recording_files(files, [&](int n, const RecordingView &v) {
    if (drop(v.record)) return;
    if (kept != n) {
      files.records.write(kept, v.record.bytes.data());
      files.records1.write(kept, v.record1.bytes.data());
      files.credits.write(kept, v.generique.bytes.data());
      files.awards.write(kept, v.recompense.bytes.data());
    }
    ++kept;
  });
  for (RecordFile *f : {&files.records, &files.records1, &files.credits, &files.awards}) f->truncate(kept);
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

TDataPlanning Store::lit_planning() {
  RecordFile f(TDataPlanning::record_size, io_);
  TDataPlanning p = planning_defaut();
  // A missing file, or one cut short of its record, reads as the defaults; the next save writes
  // the whole record.
  if (f.open_for_reading(nom_fichier(kPlanningBase, require_dossier())) && f.count() > 0)
    f.read(0, p.bytes.data());
  return p;
}

void Store::ecrit_planning(const TDataPlanning &p) {
  write_one(*this, nom_fichier(kPlanningBase, require_dossier()), 0, p);
}

// ---- scans ----

// Reads a whole file of records in blocks and hands each one over.
template <class Record, class Visit>
static void scan_file(Io &io, const std::string &name, const Visit &visit) {
  RecordFile f(Record::record_size, io);
  f.open_for_reading(name);
  std::int64_t count = f.count();
  // One file alone reads in blocks of about a megabyte: fewer calls, and the block still stays in
  // cache while its records are handed over.
  constexpr std::int64_t per_block = std::max<std::int64_t>(kScanBlock, (1 << 20) / Record::record_size);
  std::vector<Record> block(static_cast<std::size_t>(std::min<std::int64_t>(count, per_block)));
  for (std::int64_t at = 0; at < count; at += per_block) {
    std::int64_t m = std::min<std::int64_t>(per_block, count - at);
    f.read_many(at, m, block.data());
    for (std::int64_t i = 0; i < m; ++i) visit(static_cast<int>(at + i), block[static_cast<std::size_t>(i)]);
  }
}

void Store::scan_supports(const std::function<void(int, const TDataSupport &)> &visit, int d) {
  if (d < 0) d = require_dossier();
  scan_file<TDataSupport>(io_, nom_fichier(kSupportsBase, d), visit);
}

void Store::scan_records_main(const std::function<void(int, const TDataRecord &)> &visit, int d) {
  if (d < 0) d = require_dossier();
  scan_file<TDataRecord>(io_, nom_fichier(kRecordsBase, d), visit);
}

void Store::scan_records(const std::function<void(int, const RecordingView &)> &visit, int d,
                         unsigned parts) {
  if (d < 0) d = require_dossier();
  RecordingFiles files(io_);
  open_recording_files_for_reading(d, files);
  scan_recording_files(files, visit, parts);
}

}  // namespace store
