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

// The pages' DIBs as read now (empty where a page cannot be read), for the first four pages.
std::vector<Bytes> read_pages(const Bytes &file) {
  StreamBlock s(file);
  std::vector<Bytes> pages;
  for (int16_t page = 0; page < 4; ++page) {
    HGLOBAL dib = nullptr;
    const int r = readtiffiledibstream(s.data, s.length, 0, 0, page, &dib, nullptr, 0);
    check(r == 1 || r == -1, "read returns 1 or -1");
    pages.push_back(r == 1 ? Dib(dib).bytes() : Bytes{});
  }
  return pages;
}

void every_read(const Bytes &file) {
  StreamBlock s(file);
  int16_t w, h, c, pages, bits;
  int32_t map;
  for (int16_t page = -1; page < 5; ++page) {
    const int info = getinfostream(s.data, s.length, page, &w, &h, &c, &map, &pages, &bits);
    check(info == 1 || info == -1, "getinfo returns 1 or -1");
    for (auto [depth, convert] : {std::pair<int16_t, int16_t>{0, 0}, {24, 1}, {8, 1}, {4, 1}, {1, 1}, {0, 1}}) {
      HGLOBAL handle = nullptr;
      const int r = readtiffiledibstream(s.data, s.length, depth, convert, page, &handle, nullptr, 0);
      check(r == 1 || r == -1, "read returns 1 or -1");
      check(r == 1 || handle == nullptr, "a failed read hands back no DIB");
      if (r != 1) continue;
      check(info == 1, "a page that reads has facts");
      Dib dib(handle);
      const BITMAPINFOHEADER hd = dib.header();
      check(hd.biWidth > 0 && hd.biHeight > 0, "DIB has pixels");
      check(GlobalSize(handle) >= 40 + 4 * dib.table_size() + dib_stride(hd.biWidth, hd.biBitCount) * hd.biHeight,
            "DIB holds what its header says");
    }
  }
}

// Appends a page to the file on disk and to a memory stream of it.
void every_append(const std::string &path, const Bytes &file) {
  const std::vector<Bytes> before = read_pages(file);
  std::size_t old_pages = 0;
  while (old_pages < before.size() && !before[old_pages].empty()) ++old_pages;
  const std::string copy = temp_dir() + "/append.tif";
  for (auto [compression, bits] : {std::pair{1, 8}, {5, 8}, {32773, 8}, {4, 1}}) {
    const std::string what = path + " compression " + std::to_string(compression) + ": ";
    Dib page(busy_dib(bits, 19, 11));
    write_file(copy, file);
    for (int stream = 0; stream < 2; ++stream) {
      Bytes after;
      int r;
      if (stream) {
        StreamBlock s(file);
        void *data = s.data;
        std::int32_t length = s.length;
        r = writetiffiledibstream(&data, &length, int16_t(compression), int16_t(bits), 1, page.get(), nullptr, 0);
        after.assign(static_cast<std::uint8_t *>(data), static_cast<std::uint8_t *>(data) + length);
      } else {
        r = writetiffiledib(copy.c_str(), int16_t(compression), int16_t(bits), 1, page.get(), nullptr, 0);
        after = read_file(copy);
      }
      check(r == 1 || r == -1, what + "write returns 1 or -1");
      if (r != 1) {
        check(after == file, what + "a failed append leaves the file alone");
        continue;
      }
      const std::vector<Bytes> now = read_pages(after);
      for (std::size_t p = 0; p < old_pages; ++p) check(now[p] == before[p], what + "old page unchanged");
      StreamBlock s(after);
      HGLOBAL back = nullptr;
      int16_t w, h, c, pages, b;
      int32_t map;
      check(getinfostream(s.data, s.length, 0, &w, &h, &c, &map, &pages, &b) == 1, what + "pages counted");
      check(readtiffiledibstream(s.data, s.length, 0, 0, int16_t(pages - 1), &back, nullptr, 0) == 1 &&
                compare_dibs(page.get(), Dib(back).get()) == 0,
            what + "new page reads back");
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
  every_append(argv[1], file);
  return failures ? 1 : 0;
}
