// One damaged or unusual file from testdata/tiff, given on the command line, through every read
// and append export. Each call must fail cleanly or give a sound result: a read a DIB whose size
// fits its header, an append a file whose old pages read as before and whose new page reads
// back as written; a failed append leaves the file as it was.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "grainwick.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

int failures = 0;
void check(bool ok, const std::string &what) {
  if (!ok) std::fprintf(stderr, "FAILED: %s\n", what.c_str()), ++failures;
}

// Page `page` read from a memory stream, with a depth request; null when the read failed.
HGLOBAL read_page(const Bytes &file, int16_t page, int16_t bits = 0, int16_t convert = 0) {
  StreamBlock s(file);
  HGLOBAL dib = nullptr;
  const int r = readtiffiledibstream(s.data, s.length, bits, convert, page, &dib, nullptr, 0);
  check(r == 1 || r == -1, "read returns 1 or -1");
  check((r == 1) == (dib != nullptr), "a DIB exactly when the read succeeds");
  return dib;
}

void every_read(const Bytes &file) {
  for (int16_t page = -1; page < 5; ++page) {
    const Info i = info(file, page);
    check(i.result == 1 || i.result == -1, "getinfo returns 1 or -1");
    for (auto [bits, convert] : {std::pair<int16_t, int16_t>{0, 0}, {24, 1}, {8, 1}, {4, 1}, {1, 1}, {0, 1}}) {
      Dib dib(read_page(file, page, bits, convert));
      if (!dib) continue;
      check(i.result == 1, "a page that reads has facts");
      const BITMAPINFOHEADER hd = dib.header();
      check(hd.biWidth > 0 && hd.biHeight > 0, "DIB has pixels");
      check(GlobalSize(dib) >= 40 + 4 * dib.table_size() + dib_stride(hd.biWidth, hd.biBitCount) * hd.biHeight,
            "DIB holds what its header says");
    }
  }
}

// The first four pages as read (empty where a page does not read).
std::vector<Bytes> pages_of(const Bytes &file) {
  std::vector<Bytes> pages;
  for (int16_t page = 0; page < 4; ++page) pages.push_back(Dib(read_page(file, page)).bytes());
  return pages;
}

// Appends a page to the file on disk and to a memory stream of it.
void every_append(const std::string &name, const Bytes &file) {
  const std::vector<Bytes> before = pages_of(file);
  const std::string copy = temp_dir() + "/append.tif";
  for (auto [compression, bits] : {std::pair{1, 8}, {5, 8}, {32773, 8}, {4, 1}}) {
    Dib page(busy_dib(bits, 19, 11));
    for (bool stream : {false, true}) {
      const std::string what = name + (stream ? " stream" : " file") + ", compression " + std::to_string(compression) + ": ";
      Bytes after;
      int r;
      if (stream) {
        StreamBlock s(file);
        void *data = s.data;
        std::int32_t length = s.length;
        r = writetiffiledibstream(&data, &length, int16_t(compression), int16_t(bits), 1, page, nullptr, 0);
        after = bytes_at(data, length);
      } else {
        write_file(copy, file);
        r = writetiffiledib(copy.c_str(), int16_t(compression), int16_t(bits), 1, page, nullptr, 0);
        after = read_file(copy);
      }
      check(r == 1 || r == -1, what + "write returns 1 or -1");
      if (r != 1) {
        check(after == file, what + "a failed append leaves the file alone");
        continue;
      }
      const std::vector<Bytes> now = pages_of(after);
      for (std::size_t p = 0; p < before.size() && !before[p].empty(); ++p) check(now[p] == before[p], what + "old page unchanged");
      const Info i = info(after);
      Dib back(i.result == 1 ? read_page(after, int16_t(i.pages - 1)) : nullptr);
      check(back && compare_dibs(page, back) == 0, what + "new page reads back");
    }
  }
}

}  // namespace
}  // namespace grainwick::test

int main(int argc, char **argv) {
  using namespace grainwick::test;
  if (argc != 2 || !std::filesystem::exists(argv[1])) {
    std::fprintf(stderr, "usage: grainwick_regression FILE\n");
    return 2;
  }
  const Bytes file = read_file(argv[1]);
  every_read(file);
  every_append(std::filesystem::path(argv[1]).filename().string(), file);
  return failures ? 1 : 0;
}
