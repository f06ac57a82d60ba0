// An Io that counts the store's calls by kind and makes a chosen one fail with EIO, so a test
// can fail each call of a command in turn.
#pragma once

#include <array>

#include "io.h"

class FaultyIo : public store::Io {
 public:
  enum Call { Open, Write, Truncate, Sync, Rename, Unlink, Read, kCalls };

  // Counts from zero again; the k-th call of `call` from now fails (every later one too when
  // `sticky`). k = 0 fails nothing.
  void arm(Call call, int k, bool sticky = false);
  int count(Call call) const { return counts_[call]; }
  // Calls that were made to fail since arm().
  int failed() const { return failed_; }

  int open(const char *path, int flags, int mode) override;
  ssize_t pread(int fd, void *buffer, std::size_t n, off_t at) override;
  ssize_t pwrite(int fd, const void *buffer, std::size_t n, off_t at) override;
  int ftruncate(int fd, off_t size) override;
  int fsync(int fd) override;
  int rename(const char *from, const char *to) override;
  int unlink(const char *path) override;

 private:
  bool fails(Call call);
  std::array<int, kCalls> counts_{};
  Call call_ = Write;
  int k_ = 0;
  bool sticky_ = false;
  int failed_ = 0;
};
