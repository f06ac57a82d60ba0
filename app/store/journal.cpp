#include "journal.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "record_file.h"

namespace store {

// A checksum of the body, so that a journal only partly on the disk after a power cut is known
// as one (its change had not begun): words of 8 bytes, multiplied in.
class Checksum {
 public:
  void add(const char *p, std::size_t n) {
    for (; n > 0 && fill_ != 0; --n) byte(*p++);
    for (; n >= 8; n -= 8, p += 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      mix(w);
    }
    for (; n > 0; --n) byte(*p++);
  }
  std::uint64_t value() const { return (h_ ^ pending_ ^ static_cast<std::uint64_t>(fill_)) * kPrime; }

 private:
  static constexpr std::uint64_t kPrime = 0x100000001b3u;
  void mix(std::uint64_t w) {
    h_ = (h_ ^ w) * kPrime;
    h_ ^= h_ >> 29;
  }
  void byte(char c) {
    pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * fill_);
    if (++fill_ == 8) mix(pending_), pending_ = 0, fill_ = 0;
  }
  std::uint64_t h_ = 0x9e3779b97f4a7c15u, pending_ = 0;
  int fill_ = 0;
};

namespace {

constexpr char kMagic[8] = {'T', 'P', 'M', 'J', 'R', 'N', 'L', '1'};
constexpr off_t kHeader = 24;

constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void fail(const char *operation, const std::string &path) {
  throw StoreError(operation, path, std::strerror(errno));
}

void read_all(Io &io, int fd, void *to, std::size_t n, off_t at, const std::string &path) {
  auto *p = static_cast<char *>(to);
  while (n > 0) {
    ssize_t got = io.pread(fd, p, n, at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail("read", path);
    if (got == 0) throw StoreError("read", path, "file ended early");
    p += got, at += got, n -= static_cast<std::size_t>(got);
  }
}

void write_all(Io &io, int fd, const void *from, std::size_t n, off_t at, const std::string &path) {
  const auto *p = static_cast<const char *>(from);
  while (n > 0) {
    ssize_t put = io.pwrite(fd, p, n, at);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) fail("write", path);
    p += put, at += put, n -= static_cast<std::size_t>(put);
  }
}

// A descriptor closed on every way out.
struct Fd {
  Io &io;
  int fd;
  ~Fd() {
    if (fd >= 0) io.close(fd);
  }
};

// -1 with errno ENOENT when the file is missing; any other failure throws.
int open_existing(Io &io, const std::string &path, int flags) {
  int fd = io.open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0 && errno != ENOENT) fail("open", path);
  return fd;
}

bool exists(Io &io, const std::string &path) {
  Fd f{io, open_existing(io, path, O_RDONLY)};
  return f.fd >= 0;
}

void sync_file(Io &io, const std::string &path, int flags = O_RDONLY) {
  Fd f{io, open_existing(io, path, flags)};
  if (f.fd >= 0 && io.fsync(f.fd) != 0) fail("sync", path);
}

void sync_dir(Io &io, const std::string &dir) {
  sync_file(io, dir, O_RDONLY | O_DIRECTORY);
}

off_t file_size(Io &io, int fd, const std::string &path) {
  off_t n = 0;
  if (io.size(fd, &n) != 0) fail("size query", path);
  return n;
}

std::uint64_t number(const char *p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(p[i]);
  return v;
}

void put_number(char *p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>(v >> (8 * i) & 0xff);
}

// One entry of a journal being played back; a 'B' entry's bytes stay in the journal at `at`.
struct Entry {
  char type;
  std::string name, to;
  bool existed = false;
  std::uint64_t size = 0, offset = 0, length = 0;
  off_t at = 0;
};

// Reads the entries of a sealed journal of `body` bytes.
std::vector<Entry> entries(Io &io, int fd, off_t body, const std::string &path) {
  std::vector<Entry> all;
  off_t at = kHeader, end = kHeader + body;
  auto bytes = [&](void *to, std::size_t n) {
    if (at + static_cast<off_t>(n) > end) throw StoreError("read", path, "an entry runs past the end");
    read_all(io, fd, to, n, at, path);
    at += static_cast<off_t>(n);
  };
  auto num = [&](std::size_t width) {
    char b[8] = {};
    bytes(b, width);
    return number(b);
  };
  auto name = [&] {
    std::string s(static_cast<std::size_t>(num(4)), '\0');
    bytes(s.data(), s.size());
    return s;
  };
  while (at < end) {
    Entry e;
    bytes(&e.type, 1);
    e.name = name();
    if (e.type == 'S') {
      e.existed = num(1) != 0;
      e.size = num(8);
    } else if (e.type == 'B') {
      e.offset = num(8);
      e.length = num(8);
      e.at = at;
      if (at + static_cast<off_t>(e.length) > end)
        throw StoreError("read", path, "an entry runs past the end");
      at += static_cast<off_t>(e.length);
    } else if (e.type == 'R') {
      e.to = name();
    } else {
      throw StoreError("read", path, "unknown entry");
    }
    all.push_back(std::move(e));
  }
  return all;
}

// Undoes one entry.
void play_back(Io &io, const std::string &dir, int journal, const Entry &e) {
  const std::string path = dir + e.name;
  if (e.type == 'R') {
    const std::string to = dir + e.to;
    if (exists(io, to) && !exists(io, path) && io.rename(to.c_str(), path.c_str()) != 0) fail("rename", to);
    return;
  }
  if (e.type == 'S' && !e.existed) {
    if (io.unlink(path.c_str()) != 0 && errno != ENOENT) fail("unlink", path);
    return;
  }
  Fd f{io, io.open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)};
  if (f.fd < 0) fail("open", path);
  if (e.type == 'S') {
    if (io.ftruncate(f.fd, static_cast<off_t>(e.size)) != 0) fail("truncation", path);
    return;
  }
  std::vector<char> block(std::min<std::uint64_t>(e.length, kBlock));
  for (std::uint64_t done = 0; done < e.length;) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, e.length - done));
    read_all(io, journal, block.data(), n, e.at + static_cast<off_t>(done), dir + kJournal);
    write_all(io, f.fd, block.data(), n, static_cast<off_t>(e.offset + done), path);
    done += n;
  }
}

}  // namespace

bool journal_en_attente(const std::string &dir, Io &io) {
  Fd f{io, open_existing(io, dir + kJournal, O_RDONLY)};
  return f.fd >= 0 && file_size(io, f.fd, dir + kJournal) > 0;
}

// True when the journal's body is all on the disk, as its header says.
static bool sealed(Io &io, int fd, off_t size, const std::string &path, off_t &body) {
  char header[kHeader] = {};
  if (size < kHeader) return false;
  read_all(io, fd, header, sizeof header, 0, path);
  body = static_cast<off_t>(number(header + 8));
  if (std::memcmp(header, kMagic, sizeof kMagic) != 0 || body <= 0 || size < kHeader + body) return false;
  Checksum sum;
  std::vector<char> block(static_cast<std::size_t>(std::min<off_t>(body, kBlock)));
  for (off_t done = 0; done < body;) {
    auto n = static_cast<std::size_t>(std::min<off_t>(kBlock, body - done));
    read_all(io, fd, block.data(), n, kHeader + done, path);
    sum.add(block.data(), n);
    done += static_cast<off_t>(n);
  }
  return sum.value() == number(header + 16);
}

bool rejoue_journal(const std::string &dir, Io &io) {
  const std::string path = dir + kJournal;
  Fd f{io, open_existing(io, path, O_RDONLY)};
  if (f.fd < 0) return false;
  const off_t size = file_size(io, f.fd, path);
  if (size == 0) return false;
  off_t body = 0;
  // Not sealed: the change never began, the files are as they were.
  if (sealed(io, f.fd, size, path, body)) {
    std::vector<Entry> all = entries(io, f.fd, body, path);
    for (auto e = all.rbegin(); e != all.rend(); ++e) play_back(io, dir, f.fd, *e);
    std::vector<std::string> names;
    for (const Entry &e : all)
      if (e.type != 'R' && std::find(names.begin(), names.end(), e.name) == names.end())
        names.push_back(e.name);
    for (const std::string &name : names) sync_file(io, dir + name);
    sync_dir(io, dir);
  }
  Fd w{io, io.open(path.c_str(), O_RDWR | O_CLOEXEC, 0)};
  if (w.fd < 0) fail("open", path);
  if (io.ftruncate(w.fd, 0) != 0) fail("truncation", path);
  return true;
}

Journal::Journal(std::string dir, Io &io)
    : dir_(std::move(dir)), io_(io), sum_(std::make_unique<Checksum>()) {
  rejoue_journal(dir_, io_);
}

Journal::~Journal() {
  if (fd_ < 0 && !begun_) return;
  try {
    annule();
  } catch (const StoreError &) {
    // Left for the next change or the next start to play back.
  }
}

std::string Journal::relative(const std::string &name) const {
  return name.starts_with(dir_) ? name.substr(dir_.size()) : name;
}

void Journal::append(const void *bytes, std::size_t n) {
  buffer_.append(static_cast<const char *>(bytes), n);
  sum_->add(static_cast<const char *>(bytes), n);
  try {
    if (buffer_.size() >= kBlock) flush();
  } catch (const StoreError &e) {
    rethrow(e);
  }
}

void Journal::append_name(const std::string &name) {
  char n[8];
  put_number(n, name.size());
  append(n, 4);
  append(name.data(), name.size());
}

void Journal::flush() {
  const std::string path = dir_ + kJournal;
  // The journal file stays between changes, empty: its folder entry is synced once.
  if (fd_ < 0) fd_ = open_existing(io_, path, O_RDWR);
  if (fd_ < 0) {
    fd_ = io_.open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0) fail("create", path);
    created_ = true;
  }
  write_all(io_, fd_, buffer_.data(), buffer_.size(), end_, path);
  end_ += static_cast<off_t>(buffer_.size());
  buffer_.clear();
}

void Journal::garde(const std::string &name, off_t from, off_t length) {
  garde(name, std::vector<std::pair<off_t, off_t>>{{from, length}});
}

void Journal::garde(const std::string &name, const std::vector<std::pair<off_t, off_t>> &ranges) {
  const std::string rel = relative(name), path = dir_ + rel;
  if (std::find(touched_.begin(), touched_.end(), rel) == touched_.end()) touched_.push_back(rel);
  Fd f{io_, open_existing(io_, path, O_RDONLY)};
  const off_t size = f.fd < 0 ? 0 : file_size(io_, f.fd, path);
  char n[8];
  append("S", 1);
  append_name(rel);
  append(f.fd < 0 ? "\0" : "\1", 1);
  put_number(n, static_cast<std::uint64_t>(size));
  append(n, 8);
  std::vector<char> block;
  for (auto [from, length] : ranges) {
    if (from >= size) continue;
    const off_t count = length < 0 ? size - from : std::min(length, size - from);
    append("B", 1);
    append_name(rel);
    put_number(n, static_cast<std::uint64_t>(from));
    append(n, 8);
    put_number(n, static_cast<std::uint64_t>(count));
    append(n, 8);
    block.resize(static_cast<std::size_t>(std::min<off_t>(count, kBlock)));
    for (off_t done = 0; done < count;) {
      auto m = static_cast<std::size_t>(std::min<off_t>(kBlock, count - done));
      read_all(io_, f.fd, block.data(), m, from + done, path);
      append(block.data(), m);
      done += static_cast<off_t>(m);
    }
  }
}

bool Journal::renomme(const std::string &from, const std::string &to) {
  // A rename of a missing file is not noted: undoing it could move an unrelated file there.
  if (!exists(io_, dir_ + relative(from))) return false;
  append("R", 1);
  append_name(relative(from));
  append_name(relative(to));
  renames_ = true;
  return true;
}

void Journal::rethrow(const StoreError &e) const {
  if (touched_.empty()) throw e;
  throw StoreError(e.operation(), e.file(), e.reason() + ", before changing " + touched_.front());
}

void Journal::commence() {
  const std::string path = dir_ + kJournal;
  try {
    flush();
    char header[kHeader];
    std::memcpy(header, kMagic, sizeof kMagic);
    put_number(header + 8, static_cast<std::uint64_t>(end_ - kHeader));
    put_number(header + 16, sum_->value());
    write_all(io_, fd_, header, sizeof header, 0, path);
    begun_ = true;
    if (io_.fsync(fd_) != 0) fail("sync", path);
    if (created_) sync_dir(io_, dir_);
  } catch (const StoreError &e) {
    rethrow(e);
  }
}

void Journal::valide() {
  for (const std::string &name : touched_) sync_file(io_, dir_ + name);
  if (renames_) sync_dir(io_, dir_);
  const std::string path = dir_ + kJournal;
  if (io_.ftruncate(fd_, 0) != 0) fail("truncation", path);
  io_.close(fd_);
  fd_ = -1;
  begun_ = false;
}

void Journal::annule() {
  const int fd = std::exchange(fd_, -1);
  Fd closing{io_, fd};
  if (begun_) {
    begun_ = false;
    rejoue_journal(dir_, io_);
  } else if (fd >= 0 && io_.ftruncate(fd, 0) != 0) {
    fail("truncation", dir_ + kJournal);
  }
}

}  // namespace store
