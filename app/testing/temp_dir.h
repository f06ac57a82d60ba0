// A fresh data directory per test, removed afterwards, and the bytes of the files in it.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// Every byte of a file; empty when it cannot be read.
std::string file_bytes(const std::string &path);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  std::string file(const std::string &name) const { return path_ + "/" + name; }
  bool exists(const std::string &name) const;
  std::uintmax_t size(const std::string &name) const;
  void write(const std::string &name, const std::string &bytes) const;
  std::string read(const std::string &name) const { return file_bytes(file(name)); }
  // Name and bytes of every file, to check that a refused change wrote nothing.
  std::map<std::string, std::string> snapshot() const;

 private:
  std::string path_;
};
