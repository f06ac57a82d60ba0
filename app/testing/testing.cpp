#include <unistd.h>

#include <cerrno>
#include <vector>

#include "catalogue.h"
#include "faulty_io.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "tapemoor-XXXXXX").string();
  std::vector<char> buffer(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
  path_ = ::mkdtemp(buffer.data());
}

std::map<std::string, std::string> TempDir::snapshot() const {
  std::map<std::string, std::string> all;
  for (const fs::directory_entry &e : fs::directory_iterator(path_)) all[e.path().filename()] = file_bytes(e);
  return all;
}

bool FaultyIo::fails(Call call) {
  int n = ++counts_[call];
  if (call != call_ || k_ == 0 || n < k_ || (n > k_ && !sticky_)) return false;
  errno = EIO;
  return true;
}

Catalogue &Catalogue::support(const std::string &type, const std::string &reference,
                              const Edit<store::TDataSupport> &more) {
  store.nouveau_support();
  store::TDataSupport s = store.support();
  s.set_support(type);
  s.set_reference(reference);
  if (more) more(s);
  return store.valide_support(s), *this;
}

Catalogue &Catalogue::record(const std::string &titre, const Edit<store::Recording> &more) {
  store.nouveau_record();
  store::Recording r = store.recording();
  r.record.set_titre(titre);
  if (more) more(r);
  return store.valide_record(r), *this;
}

std::vector<store::Recording> Catalogue::recordings(int d) {
  std::vector<store::Recording> all;
  store.scan_records(
      [&](int, const store::RecordingView &v) {
        all.push_back({v.record, v.record1, v.generique, v.recompense});
      },
      d);
  return all;
}
