// Every system call the store makes on the data directory passes through one Io object, so a
// test can make the k-th write, rename or truncation fail and watch what the store does.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace store {

class Io {
 public:
  virtual ~Io() = default;
  // The POSIX calls of the same names, with their return values and errno.
  virtual int open(const char *path, int flags, int mode);
  virtual int close(int fd);
  virtual ssize_t pread(int fd, void *buffer, std::size_t n, off_t at);
  virtual ssize_t pwrite(int fd, const void *buffer, std::size_t n, off_t at);
  virtual int ftruncate(int fd, off_t size);
  virtual int fsync(int fd);
  // The file's size in bytes into `size`; 0 on success.
  virtual int size(int fd, off_t *size);
  virtual int rename(const char *from, const char *to);
  virtual int unlink(const char *path);
  virtual int access(const char *path, int mode);
};

// The real calls.
Io &system_io();

}  // namespace store
