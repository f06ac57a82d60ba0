// File access layer shared by the reader and the writer: one object wraps either a disk file or
// a memory stream (a TIFF file image held in a movable global memory block).
//
// Disk reads go in pieces of at most 32,768 bytes until the count is read or the file ends.
// Streams copy from the block; reads stop at the stream length, seeks are clamped to it, writes
// grow the block in steps of 0x40000 bytes and the length is the highest position written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win32mem.h"

namespace grainwick {

enum class OpenMode { read, write_new, read_write };
enum class Seek { absolute, relative, end };

class FileObject {
 public:
  ~FileObject();
  FileObject(const FileObject &) = delete;
  FileObject &operator=(const FileObject &) = delete;

  // Null when the file cannot be opened (write_new creates or truncates).
  static std::unique_ptr<FileObject> open_disk(const std::string &name, OpenMode mode);
  // `block` is the stream's memory block; `length` its valid bytes (clamped to the block's size).
  // Null for a null block.
  static std::unique_ptr<FileObject> open_stream(HGLOBAL block, std::uint32_t length, bool writable);

  // Bytes actually read.
  std::uint32_t read(void *out, std::uint32_t count);
  // Streams only: the address of the bytes from the current position on, at most `count` of
  // them, and moves past them; returns how many (0 at the end, or for a disk file).
  std::uint32_t view(BYTE *&at, std::uint32_t count);
  // False when not all bytes could be written.
  bool write(const void *data, std::uint32_t count);
  // False when the position cannot be had (negative, beyond 4 GB); streams clamp to their length.
  bool seek(std::int64_t offset, Seek from = Seek::absolute);
  std::uint64_t tell() const { return position_; }
  // Current size: the file's size, or the stream length.
  std::uint64_t size() const;

  bool is_stream() const { return block_ != nullptr; }
  HGLOBAL block() const { return block_; }
  std::uint32_t stream_length() const { return length_; }

 private:
  FileObject() = default;
  BYTE *stream_data() const;
  bool grow(std::uint64_t needed);

  int fd_ = -1;
  HGLOBAL block_ = nullptr;
  std::uint32_t length_ = 0;
  bool writable_ = false;
  std::uint64_t position_ = 0;
};

// Disk: an existence probe by name. Streams count as existing when their length is non-zero.
bool file_exists(const std::string &name);

}  // namespace grainwick
