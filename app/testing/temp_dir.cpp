#include "temp_dir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

std::string file_bytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "tapemoor-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  path_ = ::mkdtemp(buf.data());
}

TempDir::~TempDir() { fs::remove_all(path_); }

bool TempDir::exists(const std::string &name) const { return fs::exists(file(name)); }
std::uintmax_t TempDir::size(const std::string &name) const { return fs::file_size(file(name)); }

void TempDir::write(const std::string &name, const std::string &bytes) const {
  std::ofstream(file(name), std::ios::binary) << bytes;
}

std::map<std::string, std::string> TempDir::snapshot() const {
  std::map<std::string, std::string> all;
  for (const fs::directory_entry &e : fs::directory_iterator(path_))
    all[e.path().filename().string()] = file_bytes(e.path().string());
  return all;
}
