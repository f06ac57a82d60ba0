// The collection store: the data directory, the open dossier and its current records.
//
// One Store is the program-wide state. It holds exactly one buffer per record type, the
// current dossier, support and recording, and the three current record numbers (-1 when none).
// Routines follow the files' pattern: open (creating a missing file), read or write by record
// number, close. Whole-file scans read into buffers of their own, so the current buffers always
// hold the current records.
//
// File invariants: the recordings, second recordings, credits and awards files are parallel
// (record k of each is the same recording) and are written together; the number of recordings
// is the record count of the recordings file alone. Removing a record shifts the later ones
// down; numero values come from the dossier's counters and are never reused.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dates.h"
#include "record_file.h"
#include "records.h"
#include "text.h"

namespace store {

// Base names of a dossier's files, in the order a deletion renames them.
inline constexpr const char *kSupportsBase = "SUPPORTS.";
inline constexpr const char *kRecordsBase = "RECORDS.";
inline constexpr const char *kRecords1Base = "RECORDS1.";
inline constexpr const char *kCreditsBase = "CT.";
inline constexpr const char *kAwardsBase = "AWARD.";
inline constexpr const char *kPlanningBase = "PLANNING.";
inline constexpr const char *kMainFile = "MAINFILE";

// The four parallel records of one recording, as a scan hands them over.
struct RecordingView {
  const TDataRecord &record;
  const TDataRecord1 &record1;
  const TDataGenerique &generique;
  const TDataRecompense &recompense;
};

// The four recording files of one dossier.
struct RecordingFiles {
  RecordFile records{TDataRecord::record_size};
  RecordFile records1{TDataRecord1::record_size};
  RecordFile credits{TDataGenerique::record_size};
  RecordFile awards{TDataRecompense::record_size};
  void close();
};

class Store {
 public:
  // `dir` is the data directory; a trailing '/' is added when missing.
  explicit Store(std::string dir);

  std::string data_dir;
  int dossier_courant = -1;
  int support_courant = -1;
  int record_courant = -1;

  TDataDossier dossier;
  TDataSupport support;
  TDataRecord record;
  TDataRecord1 record1;
  TDataGenerique generique;
  TDataRecompense recompense;
  TDataPlanning planning;

  // Today's date text; replaceable so tests fix the day.
  std::function<std::string()> today = system_today;
  std::string date_du_jour() const { return today(); }

  std::string nom_fichier(std::string_view base, int n) const;
  std::string path(std::string_view name) const { return data_dir + std::string(name); }

  // "MAINFILE"
  void ouvre_mainfile();
  void ferme_mainfile();
  void lit_dossier(int n);
  void ecrit_dossier(int n);
  void vide_dossier();
  int nombre_dossiers();
  // Every dossier record in file order, read into a list of its own (the buffer is untouched).
  std::vector<TDataDossier> lit_dossiers();

  // Supports file of the open dossier.
  void ouvre_supports();
  void ferme_supports();
  void lit_support(int n);
  void ecrit_support(int n);
  void nouveau_support();
  int nombre_supports();
  void supprime_support(int k);

  // The four recording files of the open dossier, opened and closed together.
  void ouvre_records();
  void ferme_records();
  void lit_record(int n);
  void ecrit_record(int n);
  void nouveau_record();
  int nombre_records();
  // Removes record k from all four files; all four end with the same count.
  void supprime_record(int k);
  // Removes every recording whose numero_support is `numero_support`, from the four open recording
  // files, in one compacting pass (the same result as removing them one by one). Returns how many.
  int supprime_records_du_support(std::int32_t numero_support);

  // Planning file of the open dossier; a missing file is created with its defaults.
  void ouvre_planning();
  void ferme_planning();
  void lit_planning();
  void ecrit_planning();
  static TDataPlanning planning_defaut();

  // Whole-file scans of dossier n (the open one by default), in large sequential blocks.
  void scan_supports(const std::function<void(int, const TDataSupport &)> &visit, int dossier = -1);
  void scan_records(const std::function<void(int, const RecordingView &)> &visit, int dossier = -1);
  // The recordings file alone, for lists that need no credits, awards or format.
  void scan_records_main(const std::function<void(int, const TDataRecord &)> &visit, int dossier = -1);

  // Dossier management, data side.
  // Appends the dossier buffer to "MAINFILE" and makes it the open dossier; returns its number.
  int cree_dossier();
  // True when a dossier other than `own` carries exactly this title.
  bool titre_pris(std::string_view titre, int own);
  // The last dossier whose title, upper-cased, equals `titre` upper-cased; -1 when none.
  int trouve_dossier(std::string_view titre);
  // Deletes dossier k: shifts "MAINFILE" and renames the files of the later dossiers down.
  void supprime_dossier(int k);
  void ferme_dossier();

  // Opens the four recording files of dossier n into `files` (back-filling a missing second
  // recordings file). Used by the open dossier and by scans of other dossiers.
  void open_recording_files(int n, RecordingFiles &files);

 private:
  int require_dossier() const;
  RecordFile mainfile_{TDataDossier::record_size};
  RecordFile supports_{TDataSupport::record_size};
  RecordingFiles records_;
  RecordFile planning_file_{TDataPlanning::record_size};
};

}  // namespace store
