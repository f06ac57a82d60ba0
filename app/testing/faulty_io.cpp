#include "faulty_io.h"

#include <cerrno>

void FaultyIo::arm(Call call, int k, bool sticky) {
  counts_ = {};
  call_ = call;
  k_ = k;
  sticky_ = sticky;
  failed_ = 0;
}

bool FaultyIo::fails(Call call) {
  int n = ++counts_[call];
  if (call != call_ || k_ == 0 || n < k_ || (n > k_ && !sticky_)) return false;
  ++failed_;
  errno = EIO;
  return true;
}

int FaultyIo::open(const char *path, int flags, int mode) { return fails(Open) ? -1 : Io::open(path, flags, mode); }
ssize_t FaultyIo::pread(int fd, void *buffer, std::size_t n, off_t at) {
  return fails(Read) ? -1 : Io::pread(fd, buffer, n, at);
}
ssize_t FaultyIo::pwrite(int fd, const void *buffer, std::size_t n, off_t at) {
  return fails(Write) ? -1 : Io::pwrite(fd, buffer, n, at);
}
int FaultyIo::ftruncate(int fd, off_t size) { return fails(Truncate) ? -1 : Io::ftruncate(fd, size); }
int FaultyIo::fsync(int fd) { return fails(Sync) ? -1 : Io::fsync(fd); }
int FaultyIo::rename(const char *from, const char *to) { return fails(Rename) ? -1 : Io::rename(from, to); }
int FaultyIo::unlink(const char *path) { return fails(Unlink) ? -1 : Io::unlink(path); }
