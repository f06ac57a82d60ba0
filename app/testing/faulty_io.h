// An Io that counts the store's calls by kind and makes a chosen one fail with EIO, so that a
// test can fail each call of a command in turn.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <fstream>
#include <string>

#include "io.h"
#include "store.h"

class FaultyIo : public store::Io {
 public:
  enum Call { Open, Write, Truncate, Sync, Rename, Unlink, Read, kCalls };

  // Counts from zero again; the k-th call of `call` from now fails, and every later one too when
  // `sticky`. k = 0 fails nothing.
  void arm(Call call, int k, bool sticky = false) { counts_ = {}, call_ = call, k_ = k, sticky_ = sticky; }
  int count(Call call) const { return counts_[call]; }

  // Every call that would write fails with EROFS, as on a read-only mount.
  bool read_only = false;

  int open(const char *p, int flags, int m) override {
    if (read_only && (flags & (O_WRONLY | O_RDWR | O_CREAT))) return errno = EROFS, -1;
    return fails(Open) ? -1 : Io::open(p, flags, m);
  }
  ssize_t pread(int fd, void *b, std::size_t n, off_t at) override {
    return fails(Read) ? -1 : Io::pread(fd, b, n, at);
  }
  ssize_t pwrite(int fd, const void *b, std::size_t n, off_t at) override {
    return fails(Write) ? -1 : Io::pwrite(fd, b, n, at);
  }
  int ftruncate(int fd, off_t size) override { return fails(Truncate) ? -1 : Io::ftruncate(fd, size); }
  int fsync(int fd) override { return fails(Sync) ? -1 : Io::fsync(fd); }
  int rename(const char *from, const char *to) override {
    return read_only ? (errno = EROFS, -1) : fails(Rename) ? -1 : Io::rename(from, to);
  }
  int unlink(const char *p) override {
    return read_only ? (errno = EROFS, -1) : fails(Unlink) ? -1 : Io::unlink(p);
  }
  int access(const char *p, int mode) override {
    return read_only && (mode & W_OK) ? (errno = EROFS, -1) : Io::access(p, mode);
  }

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

// Leaves a change of file `name` of `s` half done, as a kill would: the file emptied under a
// journal whose playback then fails. `io` must be the store's; it fails nothing afterwards.
inline void interrompt(store::Store &s, FaultyIo &io, const std::string &name) {
  auto scramble = [&] {
    std::ofstream(s.path(name), std::ios::trunc);
    io.arm(FaultyIo::Write, 1, true);
    throw store::StoreError("write", s.path(name));
  };
  try {
    s.change([&](store::Journal &j) { j.garde(s.path(name)); }, scramble);
  } catch (const store::StoreError &) {
  }
  io.arm(FaultyIo::Write, 0);
}
