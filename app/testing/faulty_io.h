// An Io that counts the store's calls by kind and makes a chosen one fail with EIO, so that a
// test can fail each call of a command in turn.
#pragma once

#include <array>
#include <cerrno>

#include "io.h"

class FaultyIo : public store::Io {
 public:
  enum Call { Open, Write, Truncate, Sync, Rename, Unlink, Read, kCalls };

  // Counts from zero again; the k-th call of `call` from now fails, and every later one too when
  // `sticky`. k = 0 fails nothing.
  void arm(Call call, int k, bool sticky = false) { counts_ = {}, call_ = call, k_ = k, sticky_ = sticky; }
  int count(Call call) const { return counts_[call]; }

  int open(const char *p, int flags, int m) override { return fails(Open) ? -1 : Io::open(p, flags, m); }
  ssize_t pread(int fd, void *b, std::size_t n, off_t at) override {
    return fails(Read) ? -1 : Io::pread(fd, b, n, at);
  }
  ssize_t pwrite(int fd, const void *b, std::size_t n, off_t at) override {
    return fails(Write) ? -1 : Io::pwrite(fd, b, n, at);
  }
  int ftruncate(int fd, off_t size) override { return fails(Truncate) ? -1 : Io::ftruncate(fd, size); }
  int fsync(int fd) override { return fails(Sync) ? -1 : Io::fsync(fd); }
  int rename(const char *from, const char *to) override { return fails(Rename) ? -1 : Io::rename(from, to); }
  int unlink(const char *p) override { return fails(Unlink) ? -1 : Io::unlink(p); }

 private:
  bool fails(Call call) {
    int n = ++counts_[call];
    if (call != call_ || k_ == 0 || n < k_ || (n > k_ && !sticky_)) return false;
    return errno = EIO, true;
  }
  std::array<int, kCalls> counts_{};
  Call call_ = Write;
  int k_ = 0;
  bool sticky_ = false;
};
