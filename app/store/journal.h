// The rollback journal that makes every change of the catalogue all-or-nothing.
//
// Before a change writes, the journal saves what it will overwrite (byte ranges and sizes of the
// files it touches, whether each existed) and the renames it will make, and is synced; the
// change then writes the catalogue's own files in place, so their formats stay as other programs
// expect. Emptying the journal is the commit. A journal found later with a sealed body means the
// change did not finish: playing it back, newest entry first, puts every file as it was before.
// The file stays, empty, between changes.
//
// On disk: "TPMJRNL1", the body length and a checksum of the body, 8 bytes each, written with
// the body's one sync (a journal not wholly on the disk fails the checksum, and its change had
// not begun), then the entries:
//   'S' name existed:1 size:8            the file's size (or absence) before the change
//   'B' name offset:8 length:8 bytes     bytes the change will overwrite
//   'R' from to                          a rename the change makes
// Names are 4-byte lengths and bytes, relative to the data directory; numbers little-endian.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "io.h"
#include "record_file.h"

namespace store {

inline constexpr const char *kJournal = "JOURNAL";

class Checksum;

class Journal {
 public:
  // `dir` ends with '/'. A journal left by an interrupted change is played back first, so the
  // new change starts from whole files; when that fails, this throws and nothing is written.
  Journal(std::string dir, Io &io);
  // A change begun and neither committed nor rolled back is rolled back; if that fails too the
  // journal stays for the next start.
  ~Journal();
  Journal(const Journal &) = delete;
  Journal &operator=(const Journal &) = delete;

  // Saves the size of `name` (or that it is missing) and its bytes in [from, from + length),
  // cut to its size; length -1: to the end.
  void garde(const std::string &name, off_t from = 0, off_t length = -1);
  // The same for several ranges of one file, in increasing order.
  void garde(const std::string &name, const std::vector<std::pair<off_t, off_t>> &ranges);
  // Notes a rename the change will make, to be undone on rollback, when `from` exists; false
  // when it does not, and then the change must not make it.
  bool renomme(const std::string &from, const std::string &to);
  // Syncs the journal: from here the change may write.
  void commence();
  // Syncs what the change wrote and removes the journal: the change is done.
  void valide();
  // Puts every file back as it was and removes the journal.
  void annule();

 private:
  void append(const void *bytes, std::size_t n);
  void append_name(const std::string &name);
  void flush();
  // Names the file being changed in a failure of the journal itself.
  [[noreturn]] void rethrow(const StoreError &e) const;
  std::string relative(const std::string &name) const;

  std::string dir_;
  Io &io_;
  int fd_ = -1;
  off_t end_ = 24;  // where the next flushed entry goes: after the header
  std::string buffer_;  // entries not yet written
  std::vector<std::string> touched_;
  bool renames_ = false;
  bool begun_ = false;
  bool created_ = false;
  std::unique_ptr<Checksum> sum_;
};

// True when a journal of an interrupted change is in the data directory.
bool journal_en_attente(const std::string &dir, Io &io);
// Plays back and removes a journal left by an interrupted change; false when there was none.
// A journal cut short (the change had not begun) is only removed.
bool rejoue_journal(const std::string &dir, Io &io);

}  // namespace store
