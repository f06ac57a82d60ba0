// Typed files of fixed-size records, and the one exception every store failure raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "io.h"

namespace store {

// A failed seek, read, write, size query or truncation of a data file. Carries what failed and
// which file, so the window or the CLI can name both.
class StoreError : public std::runtime_error {
 public:
  StoreError(std::string operation, std::string file, std::string reason = {});
  const std::string &operation() const { return operation_; }
  const std::string &file() const { return file_; }
  const std::string &reason() const { return reason_; }

 private:
  std::string operation_;
  std::string file_;
  std::string reason_;
};

// A file of records of one size. Record n lies at n × size; the record count is the file size
// divided by the record size, so a partial record at the end is ignored. Reading a record at or
// beyond that count is a failure, never a read of zeroes.
class RecordFile {
 public:
  explicit RecordFile(std::size_t record_size, Io &io = system_io()) : io_(&io), size_(record_size) {}
  RecordFile(const RecordFile &) = delete;
  RecordFile &operator=(const RecordFile &) = delete;
  RecordFile(RecordFile &&other) noexcept;
  RecordFile &operator=(RecordFile &&other) noexcept;
  ~RecordFile();

  // Opens the file for reading and writing; a missing file is created empty. Returns true when
  // the file had to be created. Any other failure throws, and the file is left as it was.
  bool open_or_create(const std::string &path);
  // Opens the file for reading only. A missing file reads as empty and is not created (false);
  // any other failure throws.
  bool open_for_reading(const std::string &path);
  void close();
  bool is_open() const { return fd_ >= 0; }
  const std::string &path() const { return path_; }
  std::size_t record_size() const { return size_; }

  std::int64_t count() const;
  void read(std::int64_t n, void *record) const;
  // Reads `count` consecutive records from `first` in one call, for whole-file scans.
  void read_many(std::int64_t first, std::int64_t count, void *records) const;
  // Writing at n = count() appends; beyond that would leave a hole and is refused.
  void write(std::int64_t n, const void *record);
  void write_many(std::int64_t first, std::int64_t count, const void *records);
  // Keeps the first `count` records.
  void truncate(std::int64_t count);
  // Moves records k+1 .. total-1 down by one and keeps total-1 records: record k disappears.
  // `total` defaults to the file's count; a parallel file passes its master file's count so a
  // stale record past it goes too.
  void remove(std::int64_t k, std::int64_t total = -1);
  // Forces what was written to the disk.
  void sync();

 private:
  [[noreturn]] void fail(const char *operation) const;
  Io *io_;
  int fd_ = -1;
  bool absent_ = false;  // opened for reading, and missing: no records
  std::size_t size_;
  std::string path_;
};

// Writes `bytes` as the whole of `path`: beside it first ("~" added), synced, then renamed over
// it, so the old file stays until the new one is all on the disk. A failure removes the side
// file and throws.
void ecrit_entier(const std::string &path, std::string_view bytes, Io &io = system_io());

}  // namespace store
