#include "check.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "config.h"
#include "lists.h"
#include "store.h"

namespace store {

namespace {

struct Kind {
  const char *base;  // a dossier file's base ends with '.', followed by its number
  std::size_t size;
};

constexpr Kind kDossierFiles[] = {
    {kSupportsBase, TDataSupport::record_size},  {kRecordsBase, TDataRecord::record_size},
    {kRecords1Base, TDataRecord1::record_size},  {kCreditsBase, TDataGenerique::record_size},
    {kAwardsBase, TDataRecompense::record_size}, {kPlanningBase, TDataPlanning::record_size}};

// The record size of a file of the catalogue by its name, and its dossier (-1: none); 0 when
// the name is none of the catalogue's.
std::size_t record_size(const std::string &name, int &dossier) {
  dossier = -1;
  if (name == kMainFile) return TDataDossier::record_size;
  if (name == kConfigFile) return TDataConfig::record_size;
  for (const ListKind &k : kListKinds)
    if (name == k.file) return TListEntry::record_size;
  for (const Kind &k : kDossierFiles) {
    std::string_view base = k.base;
    if (name.size() <= base.size() || name.compare(0, base.size(), base) != 0) continue;
    const char *digits = name.data() + base.size(), *end = name.data() + name.size();
    auto [p, ec] = std::from_chars(digits, end, dossier);
    if (ec == std::errc() && p == end && dossier >= 0) return k.size;
  }
  dossier = -1;
  return 0;
}

}  // namespace

std::vector<Probleme> verifie(Store &store) {
  std::vector<Probleme> found;
  std::vector<std::string> names;
  for (const auto &e : std::filesystem::directory_iterator(store.data_dir))
    if (e.is_regular_file()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  const int dossiers = store.nombre_dossiers();
  for (const std::string &name : names) {
    if (name == kJournal) {
      if (journal_en_attente(store.data_dir, store.io()))
        found.push_back({name, "an interrupted change waits to be rolled back"});
      continue;
    }
    if (name.ends_with('~')) {
      found.push_back({name, "left by an interrupted change"});
      continue;
    }
    int dossier = -1;
    const std::size_t size = record_size(name, dossier);
    if (size == 0) continue;
    const auto bytes = std::filesystem::file_size(store.path(name));
    if (bytes % size != 0)
      found.push_back({name, std::to_string(bytes) + " bytes is not a whole number of " +
                                 std::to_string(size) + "-byte records"});
    if (dossier >= dossiers)
      found.push_back({name, "no dossier " + std::to_string(dossier) + " in MAINFILE"});
  }
  // The recording files of each dossier hold as many records as its recordings file; a missing
  // second recordings file is made to match by the next change.
  for (int d = 0; d < dossiers; ++d) {
    const int records = store.nombre_records(d);
    if (records > 0 && !std::filesystem::exists(store.nom_fichier(kSupportsBase, d)))
      found.push_back({std::string(kSupportsBase) + nombre_zero(d, 3),
                       "missing, while " + std::to_string(records) + " recordings refer to it"});
    RecordingFiles files(store.io());
    store.open_recording_files_for_reading(d, files);
    for (RecordFile *f : {&files.records1, &files.credits, &files.awards}) {
      const auto count = f->count();
      if (count == records || (f == &files.records1 && count == 0)) continue;
      found.push_back({std::filesystem::path(f->path()).filename().string(),
                       "holds " + std::to_string(count) + " records, " +
                           (std::string(kRecordsBase) + nombre_zero(d, 3)) + " holds " +
                           std::to_string(records)});
    }
  }
  return found;
}

std::vector<Probleme> repare(Store &store) {
  std::vector<Probleme> done;
  if (store.recupere()) done.push_back({kJournal, "interrupted change rolled back"});
  for (const auto &e : std::filesystem::directory_iterator(store.data_dir)) {
    const std::string name = e.path().filename().string();
    int dossier = -1;
    const std::string stem = name.substr(0, name.size() - (name.ends_with('~') ? 1 : 0));
    if (stem == name || (record_size(stem, dossier) == 0 && stem != kHintFile)) continue;
    if (store.io().unlink(e.path().c_str()) != 0) throw StoreError("unlink", e.path().string(), "");
    done.push_back({name, "removed"});
  }
  for (int d = 0; d < store.nombre_dossiers(); ++d) {
    RecordingFiles files(store.io());
    store.open_recording_files_for_reading(d, files);
    const std::int64_t records = files.records.count();
    std::vector<RecordFile *> short_ones;
    // One with a partial record at the end is left alone: where its blanks belong is unsure.
    for (RecordFile *f : {&files.records1, &files.credits, &files.awards})
      if (f->count() < records && !(f == &files.records1 && f->count() == 0) &&
          std::filesystem::file_size(f->path()) % f->record_size() == 0)
        short_ones.push_back(f);
    if (short_ones.empty()) continue;
    store.change(
        [&](Journal &j) {
          for (RecordFile *f : short_ones)
            j.garde(f->path(), static_cast<off_t>(f->count() * f->record_size()));
        },
        [&] {
          for (RecordFile *f : short_ones) {
            RecordFile w(f->record_size(), store.io());
            w.open_or_create(f->path());
            const std::int64_t had = w.count();
            std::vector<char> blank(static_cast<std::size_t>(records - had) * f->record_size());
            w.write_many(had, records - had, blank.data());
            done.push_back({std::filesystem::path(f->path()).filename().string(),
                            "padded with " + std::to_string(records - had) + " blank records"});
          }
        });
  }
  return done;
}

}  // namespace store
