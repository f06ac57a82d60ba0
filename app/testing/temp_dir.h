// A fresh data directory per test, removed afterwards, and the bytes of the files in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

// Every byte of a file; empty when it cannot be read.
inline std::string file_bytes(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
 public:
  TempDir();
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  std::string file(const std::string &name) const { return path_ + "/" + name; }
  bool exists(const std::string &name) const { return std::filesystem::exists(file(name)); }
  std::uintmax_t size(const std::string &name) const { return std::filesystem::file_size(file(name)); }
  void write(const std::string &name, const std::string &bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string &name) const { return file_bytes(file(name)); }
  // Name and bytes of every file, to show that a refused change wrote nothing.
  std::map<std::string, std::string> snapshot() const;

 private:
  std::string path_;
};
