#include "record_file.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace store {

StoreError::StoreError(std::string operation, std::string file, std::string reason)
    : std::runtime_error(operation + " failed on " + file + (reason.empty() ? "" : ": " + reason)),
      operation_(std::move(operation)),
      file_(std::move(file)),
      reason_(std::move(reason)) {}

RecordFile::RecordFile(RecordFile &&other) noexcept
    : io_(other.io_),
      fd_(std::exchange(other.fd_, -1)),
      absent_(std::exchange(other.absent_, false)),
      size_(other.size_),
      path_(std::move(other.path_)) {}

RecordFile &RecordFile::operator=(RecordFile &&other) noexcept {
  if (this != &other) {
    close();
    io_ = other.io_;
    fd_ = std::exchange(other.fd_, -1);
    absent_ = std::exchange(other.absent_, false);
    size_ = other.size_;
    path_ = std::move(other.path_);
  }
  return *this;
}

RecordFile::~RecordFile() {
  close();
}

void RecordFile::fail(const char *operation) const {
  throw StoreError(operation, path_, std::strerror(errno));
}

bool RecordFile::open_or_create(const std::string &path) {
  close();
  path_ = path;
  fd_ = io_->open(path.c_str(), O_RDWR | O_CLOEXEC, 0);
  if (fd_ >= 0) return false;
  // Only a missing file is created: any other failure (a transient error, no permission) must
  // never end in an empty file where the collection was.
  if (errno != ENOENT) fail("open");
  fd_ = io_->open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd_ < 0) fail("create");
  return true;
}

bool RecordFile::open_for_reading(const std::string &path) {
  close();
  path_ = path;
  fd_ = io_->open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (fd_ >= 0) return true;
  if (errno != ENOENT) fail("open");
  absent_ = true;
  return false;
}

void RecordFile::close() {
  if (fd_ >= 0) io_->close(fd_);
  fd_ = -1;
  absent_ = false;
}

std::int64_t RecordFile::count() const {
  off_t bytes = 0;
  if (absent_) return 0;
  if (fd_ < 0) {
    errno = EBADF;
    fail("size query");
  }
  if (io_->size(fd_, &bytes) != 0) fail("size query");
  return static_cast<std::int64_t>(bytes) / static_cast<std::int64_t>(size_);
}

void RecordFile::read(std::int64_t n, void *record) const {
  read_many(n, 1, record);
}

void RecordFile::read_many(std::int64_t first, std::int64_t count, void *records) const {
  if (count <= 0) return;
  if (first < 0 || first + count > this->count()) {
    errno = ESPIPE;
    throw StoreError("read", path_, "record " + std::to_string(first + count - 1) + " is beyond the end");
  }
  auto *p = static_cast<char *>(records);
  std::size_t left = static_cast<std::size_t>(count) * size_;
  off_t at = static_cast<off_t>(first) * static_cast<off_t>(size_);
  while (left > 0) {
    ssize_t got = io_->pread(fd_, p, left, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail("read");
    if (got == 0) throw StoreError("read", path_, "file ended early");
    p += got;
    at += got;
    left -= static_cast<std::size_t>(got);
  }
}

void RecordFile::write(std::int64_t n, const void *record) {
  write_many(n, 1, record);
}

void RecordFile::write_many(std::int64_t first, std::int64_t count, const void *records) {
  if (count <= 0) return;
  if (first < 0 || first > this->count())
    throw StoreError("write", path_, "record " + std::to_string(first) + " would leave a hole");
  const auto *p = static_cast<const char *>(records);
  std::size_t left = static_cast<std::size_t>(count) * size_;
  off_t at = static_cast<off_t>(first) * static_cast<off_t>(size_);
  while (left > 0) {
    ssize_t put = io_->pwrite(fd_, p, left, at);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) fail("write");
    p += put;
    at += put;
    left -= static_cast<std::size_t>(put);
  }
}

void RecordFile::truncate(std::int64_t count) {
  if (fd_ < 0) {
    errno = EBADF;
    fail("truncation");
  }
  if (io_->ftruncate(fd_, static_cast<off_t>(count < 0 ? 0 : count) * static_cast<off_t>(size_)) != 0)
    fail("truncation");
}

void RecordFile::remove(std::int64_t k, std::int64_t total) {
  std::int64_t have = count();
  if (total < 0) total = have;
  if (total > have)
    throw StoreError("read", path_, "record " + std::to_string(total - 1) + " is beyond the end");
  if (k < 0 || k >= total)
    throw StoreError("read", path_, "record " + std::to_string(k) + " is beyond the end");
  // Shift in blocks: the same effect as moving one record at a time, in far fewer calls.
  constexpr std::int64_t kBlock = 256;
  std::vector<char> buffer(static_cast<std::size_t>(kBlock) * size_);
  for (std::int64_t i = k + 1; i < total; i += kBlock) {
    std::int64_t n = std::min(kBlock, total - i);
    read_many(i, n, buffer.data());
    write_many(i - 1, n, buffer.data());
  }
  truncate(total - 1);
}

}  // namespace store

namespace store {

void RecordFile::sync() {
  if (fd_ >= 0 && io_->fsync(fd_) != 0) fail("sync");
}

void ecrit_entier(const std::string &path, std::string_view bytes, Io &io) {
  const std::string side = path + "~";
  try {
    RecordFile f(1, io);
    f.open_or_create(side);
    f.truncate(0);
    f.write_many(0, static_cast<std::int64_t>(bytes.size()), bytes.data());
    f.sync();
    f.close();
    if (io.rename(side.c_str(), path.c_str()) != 0) throw StoreError("rename", side, std::strerror(errno));
  } catch (const StoreError &) {
    io.unlink(side.c_str());
    throw;
  }
}

}  // namespace store
