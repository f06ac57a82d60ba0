#include "fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace grainwick {

namespace {
constexpr std::uint32_t kDiskPiece = 32768;
constexpr std::uint64_t kStreamStep = 0x40000;
constexpr std::uint64_t kMaxPosition = 0xFFFFFFFFull;
}  // namespace

FileObject::~FileObject() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<FileObject> FileObject::open_disk(const std::string &name, OpenMode mode) {
  int flags = mode == OpenMode::read        ? O_RDONLY
              : mode == OpenMode::write_new ? (O_RDWR | O_CREAT | O_TRUNC)
                                            : O_RDWR;
  int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<FileObject> f(new FileObject);
  f->fd_ = fd;
  f->writable_ = mode != OpenMode::read;
  return f;
}

std::unique_ptr<FileObject> FileObject::open_stream(HGLOBAL block, std::uint32_t length, bool writable) {
  if (!block) return nullptr;
  std::unique_ptr<FileObject> f(new FileObject);
  f->block_ = block;
  // A caller's length beyond its block would let reads run off the end.
  f->length_ = std::uint32_t(std::min<std::uint64_t>(length, GlobalSize(block)));
  f->writable_ = writable;
  return f;
}

BYTE *FileObject::stream_data() const {
  // The caller holds the block locked; this lock only finds the current address.
  auto *p = static_cast<BYTE *>(GlobalLock(block_));
  GlobalUnlock(block_);
  return p;
}

std::uint64_t FileObject::size() const {
  if (block_) return length_;
  struct stat st {};
  return ::fstat(fd_, &st) == 0 ? std::uint64_t(st.st_size) : 0;
}

std::uint32_t FileObject::read(void *out, std::uint32_t count) {
  auto *dst = static_cast<BYTE *>(out);
  if (block_) {
    if (position_ >= length_) return 0;
    std::uint32_t n = std::uint32_t(std::min<std::uint64_t>(count, length_ - position_));
    std::memcpy(dst, stream_data() + position_, n);
    position_ += n;
    return n;
  }
  std::uint32_t done = 0;
  while (done < count) {
    std::uint32_t piece = std::min(count - done, kDiskPiece);
    ssize_t n = ::read(fd_, dst + done, piece);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += std::uint32_t(n);
  }
  position_ += done;
  return done;
}

std::uint32_t FileObject::view(BYTE *&at, std::uint32_t count) {
  if (!block_ || position_ >= length_) return 0;
  const std::uint32_t n = std::uint32_t(std::min<std::uint64_t>(count, length_ - position_));
  at = stream_data() + position_;
  position_ += n;
  return n;
}

bool FileObject::grow(std::uint64_t needed) {
  std::uint64_t have = GlobalSize(block_);
  if (needed <= have) return true;
  std::uint64_t size = have;
  while (size < needed) size += kStreamStep;
  if (size > kMaxPosition) return false;
  return GlobalReAlloc(block_, SIZE_T(size), GMEM_MOVEABLE | GMEM_ZEROINIT) != nullptr;
}

bool FileObject::write(const void *data, std::uint32_t count) {
  if (!writable_) return false;
  if (block_) {
    std::uint64_t end = position_ + count;
    if (end > kMaxPosition || !grow(end)) return false;
    std::memcpy(stream_data() + position_, data, count);
    position_ = end;
    length_ = std::uint32_t(std::max<std::uint64_t>(length_, end));
    return true;
  }
  auto *src = static_cast<const BYTE *>(data);
  std::uint32_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, src + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += std::uint32_t(n);
  }
  position_ += done;
  return done == count;
}

bool FileObject::seek(std::int64_t offset, Seek from) {
  std::int64_t base = from == Seek::absolute   ? 0
                      : from == Seek::relative ? std::int64_t(position_)
                                               : std::int64_t(size());
  std::int64_t target = base + offset;
  if (target < 0 || std::uint64_t(target) > kMaxPosition) return false;
  if (block_) {
    position_ = std::min<std::uint64_t>(std::uint64_t(target), length_);
    return true;
  }
  if (::lseek(fd_, off_t(target), SEEK_SET) < 0) return false;
  position_ = std::uint64_t(target);
  return true;
}

bool file_exists(const std::string &name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace grainwick
