#include "io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace store {

int Io::open(const char *path, int flags, int mode) {
  return ::open(path, flags, mode);
}
int Io::close(int fd) {
  return ::close(fd);
}
ssize_t Io::pread(int fd, void *buffer, std::size_t n, off_t at) {
  return ::pread(fd, buffer, n, at);
}
ssize_t Io::pwrite(int fd, const void *buffer, std::size_t n, off_t at) {
  return ::pwrite(fd, buffer, n, at);
}
int Io::ftruncate(int fd, off_t size) {
  return ::ftruncate(fd, size);
}
// What was written and what is needed to read it back; a file's times can wait.
int Io::fsync(int fd) {
  return ::fdatasync(fd);
}

int Io::size(int fd, off_t *size) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return -1;
  *size = st.st_size;
  return 0;
}

int Io::rename(const char *from, const char *to) {
  return std::rename(from, to);
}
int Io::unlink(const char *path) {
  return ::unlink(path);
}

int Io::access(const char *path, int mode) {
  return ::access(path, mode);
}

Io &system_io() {
  static Io io;
  return io;
}

}  // namespace store
