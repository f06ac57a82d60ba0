// A fresh data directory per test, removed afterwards, and the bytes of the files in it.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

class TempDir {
 public:
  TempDir() : path_((std::filesystem::temp_directory_path() / "tapemoor-XXXXXX").string()) {
    if (!::mkdtemp(path_.data())) throw std::runtime_error("no temporary directory");
  }
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
  // Every byte of a file; empty when it cannot be read.
  std::string read(const std::string &name) const {
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Name and bytes of every file, to show that a refused change wrote nothing.
  std::map<std::string, std::string> snapshot() const { return snapshot_of(path_); }
  static std::map<std::string, std::string> snapshot_of(const std::string &dir) {
    std::map<std::string, std::string> all;
    for (const auto &e : std::filesystem::directory_iterator(dir)) {
      std::ifstream in(e.path(), std::ios::binary);
      all[e.path().filename()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return all;
  }

 private:
  std::string path_;
};
