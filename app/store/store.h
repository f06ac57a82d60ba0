// The collection store: the data directory, the open dossier and its current records.
//
// One Store is the program-wide state: the open dossier, the current support and recording and
// their records, kept private. Callers ask for whole operations (choose, add, validate, delete);
// each opens the files it needs, does its work and closes them again, so no file stays open
// between two operations. Whole-file scans read into buffers of their own.
//
// File invariants: the recordings, second recordings, credits and awards files are parallel
// (record k of each is the same recording) and are written together; the number of recordings
// is the record count of the recordings file alone. Removing a record shifts the later ones
// down; numero values come from the dossier's counters and are never reused.
//
// Every change goes through the rollback journal (journal.h): it happens whole or, when a call
// fails or the process dies, not at all; a failure is thrown as a StoreError.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dates.h"
#include "journal.h"
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

// Which of the parallel files a scan of the recordings reads; the others hand over blank records.
enum RecordingParts : unsigned { kPartFormat = 1, kPartCredits = 2, kPartAwards = 4, kAllParts = 7 };

// The four records of one recording, held together.
struct Recording {
  TDataRecord record;
  TDataRecord1 record1;
  TDataGenerique generique;
  TDataRecompense recompense;
};

// The four recording files of one dossier.
struct RecordingFiles {
  explicit RecordingFiles(Io &io = system_io())
      : records(TDataRecord::record_size, io),
        records1(TDataRecord1::record_size, io),
        credits(TDataGenerique::record_size, io),
        awards(TDataRecompense::record_size, io) {}
  RecordFile records;
  RecordFile records1;
  RecordFile credits;
  RecordFile awards;
  void close();
};

class Store {
 public:
  // `dir` is the data directory; a trailing '/' is added when missing. Every file call goes
  // through `io`.
  explicit Store(std::string dir, Io &io = system_io());

  const std::string data_dir;
  Io &io() const { return io_; }

  // Today's date text; replaceable so tests fix the day.
  std::function<std::string()> today = system_today;
  std::string date_du_jour() const { return today(); }

  std::string nom_fichier(std::string_view base, int n) const;
  std::string path(std::string_view name) const { return data_dir + std::string(name); }

  // Runs `write` as one change: `save(journal)` first tells the journal what will be written.
  // On any failure the files are put back and the failure is thrown again.
  template <class Save, class Write>
  void change(Save &&save, Write &&write) const {
    Journal journal(data_dir, io_);
    save(journal);
    journal.commence();
    write();
    journal.valide();
  }
  // True when the data directory cannot be written: the catalogue can only be read.
  bool lecture_seule() const;
  // Before a session that changes the catalogue: plays back the journal of an interrupted
  // change; true when there was one.
  bool recupere() { return rejoue_journal(data_dir, io_); }

  // ---- the current state: -1 when none ----
  int dossier_courant() const { return dossier_courant_; }
  int support_courant() const { return support_courant_; }
  int record_courant() const { return record_courant_; }
  // The open dossier's record as last read or written.
  const TDataDossier &dossier() const { return dossier_; }
  // The current support and recording; blank records when none is current. A new one not yet
  // validated is current at the position it will take (the file's record count).
  const TDataSupport &support() const { return support_; }
  const Recording &recording() const { return recording_; }
  const TDataRecord &record() const { return recording_.record; }

  // ---- dossiers ("MAINFILE") ----
  // Every dossier record in file order.
  std::vector<TDataDossier> lit_dossiers();
  int nombre_dossiers();
  // Appends `d` to "MAINFILE" and opens it; returns its number.
  int cree_dossier(const TDataDossier &d);
  // Makes dossier n the open one (its record read); no support or recording is current.
  void ouvre_dossier(int n);
  // Reads the open dossier's record again.
  void relit_dossier();
  // Writes `d` over the open dossier's record.
  void modifie_dossier(const TDataDossier &d);
  // True when a dossier other than `own` carries exactly this title.
  bool titre_pris(std::string_view titre, int own);
  // The last dossier whose title, upper-cased, equals `titre` upper-cased; -1 when none.
  int trouve_dossier(std::string_view titre);
  // Deletes dossier k: shifts "MAINFILE" and renames the files of the later dossiers down. The
  // open dossier is closed.
  void supprime_dossier(int k);
  void ferme_dossier();

  // ---- supports of the open dossier ----
  int nombre_supports(int dossier = -1);
  // Reads support n and makes it current; -1: none current.
  void choisit_support(int n);
  // A new support, current at the end of the file: the dossier's next number, today's dates.
  // Nothing is in the supports file until it is validated.
  void nouveau_support();
  // Writes `s` at the current support's position (appending a new one) and keeps it current.
  void valide_support(const TDataSupport &s);
  // The loan and borrowing dialogs change the current support's buffer only; the support
  // reaches its file when it is validated. Nothing happens when no support is current.
  void edite_support(const TDataSupport &s) {
    if (support_courant_ >= 0) support_ = s;
  }
  // Deletes the current support and every recording on it; nothing is current afterwards.
  // Returns how many recordings went.
  int supprime_support();

  // ---- recordings of the open dossier ----
  int nombre_records(int dossier = -1);
  // Reads recording n (its four records) and makes it current; -1: none current.
  void choisit_record(int n);
  // A new recording on the current support, current at the end of the files.
  void nouveau_record();
  // Writes the four records of `r` at the current recording's position and keeps it current.
  void valide_record(const Recording &r);
  // Deletes the current recording from the four files; none is current afterwards.
  void supprime_record();

  // ---- planning of the open dossier; a missing file reads as the defaults ----
  TDataPlanning lit_planning();
  void ecrit_planning(const TDataPlanning &p);
  static TDataPlanning planning_defaut();

  // ---- whole-file scans of dossier n (the open one by default); the state is untouched ----
  void scan_supports(const std::function<void(int, const TDataSupport &)> &visit, int dossier = -1);
  void scan_records(const std::function<void(int, const RecordingView &)> &visit, int dossier = -1,
                    unsigned parts = kAllParts);
  // The recordings file alone, for lists that need no credits, awards or format.
  void scan_records_main(const std::function<void(int, const TDataRecord &)> &visit, int dossier = -1);

  // Opens the four recording files of dossier n into `files` for a change, creating missing ones
  // (a missing second recordings file is back-filled to match).
  void open_recording_files(int n, RecordingFiles &files);
  // The same for reading only: nothing is created, a missing file reads as empty.
  void open_recording_files_for_reading(int n, RecordingFiles &files);

 private:
  int require_dossier() const;
  TDataDossier lit_dossier(int n);
  void ecrit_dossier(int n, const TDataDossier &d);
  // Takes the next support or recording number from the open dossier's counters.
  TDataDossier prend_numero(bool record);
  void remove_recordings(RecordingFiles &files, const std::function<bool(const TDataRecord &)> &drop);
  // Saves `count` records of the four recording files of dossier d from record `from` on; -1:
  // to the end.
  void garde_recordings(Journal &journal, int d, std::int64_t from, std::int64_t count = -1) const;

  Io &io_;
  int dossier_courant_ = -1;
  int support_courant_ = -1;
  int record_courant_ = -1;
  TDataDossier dossier_;
  TDataSupport support_;
  Recording recording_;
};

}  // namespace store
