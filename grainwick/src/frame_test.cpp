// The export layer: device bitmaps and their budget, depth requests, streams, getinfo's
// failure rules, progress, the exported symbol list and the command-line tool.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "frame.h"
#include "grainwick.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

// Blank pixels under a full table whose entry i is red 255 - i.
HGLOBAL blank_dib(int w, int h, int bits) {
  std::vector<RGBQUAD> table;
  for (int i = 0; bits <= 8 && i < 1 << bits; ++i) table.push_back(quad(255 - i, i, i));
  return DibBuilder(w, h, bits, table, 0, 0).handle();
}

BITMAP bitmap_facts(HBITMAP b) {
  BITMAP bm{};
  EXPECT_EQ(GetObjectA(b, sizeof bm, &bm), int(sizeof bm));
  return bm;
}

TEST(DeviceBitmap, ScaleAndBudget) {
  struct {
    int w, h, bits, percent, want_w, want_h;
  } cases[] = {
      {2000, 2000, 24, 50, 1000, 1000},  // scaled as asked
      {3000, 3000, 24, 100, 888, 888},   // 27,000,000 bytes: scale 8/27
      {3000, 3000, 8, 100, 2666, 2666},  // 256 colours, one byte a pixel
      {100, 60, 1, 100, 100, 60},
  };
  for (const auto &c : cases) {
    Dib dib(blank_dib(c.w, c.h, c.bits));
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    ASSERT_EQ(device_bitmap(dib, int16_t(c.percent), nullptr, bitmap, palette), 1);
    BITMAP bm = bitmap_facts(bitmap);
    EXPECT_EQ(bm.bmWidth, c.want_w) << c.w << "x" << c.h << "@" << c.bits;
    EXPECT_EQ(bm.bmHeight, c.want_h);
    EXPECT_EQ(bm.bmBitsPixel, c.bits == 1 ? 1 : 24);
    if (c.bits == 24) {
      EXPECT_EQ(palette, nullptr);
    } else {
      ASSERT_NE(palette, nullptr);
      EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 1u << c.bits);
      PALETTEENTRY e{};
      GetPaletteEntries(palette, 1, 1, &e);
      EXPECT_EQ(e.peRed, 254);
      EXPECT_TRUE(DeleteObject(palette));
    }
    EXPECT_TRUE(DeleteObject(bitmap));  // not left selected anywhere
  }
  HBITMAP bitmap = nullptr;
  HPALETTE palette = nullptr;
  EXPECT_EQ(device_bitmap(Dib(blank_dib(10, 10, 24)), 0, nullptr, bitmap, palette), -1);
  EXPECT_EQ(bitmap, nullptr);
}

TEST(ReadExports, BitmapFromFileCarriesTheImage) {
  const std::string path = temp_dir() + "/bm.tif";
  ASSERT_TRUE(write_tiff(path, make_image(Kind::rgb24, 40, 30)));
  ASSERT_EQ(InitDLL(nullptr), 1);
  HBITMAP bitmap = nullptr;
  HPALETTE palette = reinterpret_cast<HPALETTE>(1);
  ASSERT_EQ(readtiffile(path.c_str(), 0, 0, 0, 100, &bitmap, &palette, nullptr, 0), 1);
  EXPECT_EQ(palette, nullptr);  // 24 bits: no palette
  BITMAP bm = bitmap_facts(bitmap);
  ASSERT_EQ(bm.bmWidth, 40);
  const Pixels ref = libtiff_rgba(path);
  Pixels got{40, 30, {}};
  const auto *px = static_cast<const std::uint8_t *>(bm.bmBits);
  for (std::uint32_t y = 0; y < 30; ++y)
    for (std::uint32_t x = 0; x < 40; ++x) {
      const std::uint8_t *p = px + y * std::size_t(bm.bmWidthBytes) + 3 * x;
      got.rgba.push_back(0xFF000000u | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
    }
  EXPECT_EQ(differences(got, ref), 0);
  EXPECT_TRUE(DeleteObject(bitmap));

  // Palette images hand over their palette; a failed read leaves the out-parameters alone.
  ASSERT_TRUE(write_tiff(path, make_image(Kind::palette8, 40, 30)));
  StreamBlock s(read_file(path));
  ASSERT_EQ(readtiffilestream(s.data, s.length, 0, 0, 0, 100, &bitmap, &palette, nullptr, 0), 1);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);
  DeleteObject(bitmap);
  DeleteObject(palette);
  bitmap = reinterpret_cast<HBITMAP>(2);
  EXPECT_EQ(readtiffile("/nonexistent/x.tif", 0, 0, 0, 100, &bitmap, &palette, nullptr, 0), -1);
  EXPECT_EQ(bitmap, reinterpret_cast<HBITMAP>(2));
}

TEST(ReadExports, DepthRequests) {
  const std::string path = temp_dir() + "/depth.tif";
  ASSERT_TRUE(write_tiff(path, make_image(Kind::palette8, 33, 9)));
  // 24 without conversion asked stays 8; 0 is grey; 16 is refused.
  for (auto [bits, convert, depth] : {std::tuple{24, 0, 8}, {8, 1, 8}, {24, 1, 24}, {4, 1, 4}, {1, 1, 1}, {0, 1, 8}, {16, 1, 0}}) {
    HGLOBAL handle = nullptr;
    const int r = readtiffiledib(path.c_str(), int16_t(bits), int16_t(convert), 0, &handle, nullptr, 0);
    Dib dib(handle);
    EXPECT_EQ(r, depth ? 1 : -1) << bits;
    EXPECT_EQ(dib ? dib.header().biBitCount : 0, depth) << bits;
    if (depth == 24) {
      EXPECT_EQ(compare_with_libtiff(dib, path), 0);  // widening keeps colours
    }
  }
}

int calls = 0;
int last_percent = -1;
int16_t count_progress(int16_t percent) {
  ++calls;
  EXPECT_GE(percent, last_percent);
  last_percent = percent;
  return 1;
}
int16_t cancel_at_half(int16_t percent) { return percent >= 50 ? 0 : 1; }

TEST(ReadExports, StreamsMustBeWholeBlocksProgressAndCancel) {
  const std::string path = temp_dir() + "/p.tif";
  ASSERT_TRUE(write_tiff(path, make_image(Kind::grey8, 100, 400)));
  StreamBlock s(read_file(path));
  HGLOBAL dib = nullptr;
  EXPECT_EQ(readtiffiledibstream(static_cast<char *>(s.data) + 1, s.length - 1, 0, 0, 0, &dib, nullptr, 0), -1);
  EXPECT_EQ(readtiffiledibstream(nullptr, 100, 0, 0, 0, &dib, nullptr, 0), -1);
  EXPECT_EQ(readtiffiledibstream(s.data, 0, 0, 0, 0, &dib, nullptr, 0), -1);
  // A length beyond the block is cut to the block.
  ASSERT_EQ(readtiffiledibstream(s.data, s.length + 100000, 0, 0, 0, &dib, nullptr, 0), 1);
  GlobalFree(dib);
  dib = nullptr;
  ASSERT_EQ(readtiffiledib(path.c_str(), 0, 0, 0, &dib, count_progress, 0), 1);
  EXPECT_EQ(last_percent, 100);
  EXPECT_GE(calls, 15);
  EXPECT_LE(calls, 22);
  GlobalFree(dib);
  dib = nullptr;
  EXPECT_EQ(readtiffiledib(path.c_str(), 0, 0, 0, &dib, cancel_at_half, 0), -1);
  EXPECT_EQ(dib, nullptr);
}

TEST(ReadExports, GetinfoZeroesOutputsFirst) {
  const std::string path = temp_dir() + "/not.tif";
  write_file(path, std::vector<std::uint8_t>(64, 'x'));
  int16_t w = 9, h = 9, comp = 9, count = 9, bits = 9;
  int32_t map = 9;
  EXPECT_EQ(getinfo(path.c_str(), 0, &w, &h, &comp, &map, &count, &bits), -1);
  EXPECT_EQ(w | h | comp | count | bits, 0);
  EXPECT_EQ(map, 0);
  ASSERT_TRUE(write_tiff(path, make_image(Kind::grey1, 70, 20)));
  ASSERT_TRUE(tiffcp("-c g4", path, path + "4"));
  const Info i = info(path + "4");
  EXPECT_EQ((std::vector<int>{i.result, i.width, i.height, i.compression, i.pages, i.bits}),
            (std::vector<int>{1, 70, 20, 4, 1, 1}));
}

TEST(Library, ExportsOnlyThePublicNames) {
  void *lib = dlopen(GRAINWICK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  for (const char *name : {"InitDLL", "readtiffile", "readtiffiledib", "readtiffilestream", "readtiffiledibstream",
                           "getinfo", "getinfostream", "GetColorsInPalette", "ImgReduceColors"})
    EXPECT_NE(dlsym(lib, name), nullptr) << name;
  EXPECT_EQ(dlsym(lib, "_ZN9grainwick14device_bitmapEP11GlobalBlocksP6HWND__RP9GdiBitmapRP10GdiPalette"), nullptr);
  EXPECT_EQ(dlsym(lib, "refill_scratch"), nullptr);
  dlclose(lib);
}

std::string run(const std::string &args, int &status) {
  std::string out;
  FILE *p = popen((std::string(GRAINWICK_TOOL) + " " + args + " 2>&1").c_str(), "r");
  char buf[256];
  while (p && fgets(buf, sizeof buf, p)) out += buf;
  status = p ? WEXITSTATUS(pclose(p)) : -1;
  return out;
}

TEST(Tool, InfoAndBmp) {
  const std::string dir = temp_dir();
  ASSERT_TRUE(write_tiff(dir + "/t.tif", make_image(Kind::palette4, 21, 5)));
  int status;
  EXPECT_EQ(run("info " + dir + "/t.tif", status),
            "width: 21\nheight: 5\ncompression: 1\ncolormap: yes\npages: 1\nbits: 4\n");
  EXPECT_EQ(status, 0);
  run("tobmp " + dir + "/t.tif " + dir + "/t.bmp --bits 24 --convert", status);
  EXPECT_EQ(status, 0);
  auto bmp = read_file(dir + "/t.bmp");
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp.size(), 54u + dib_stride(21, 24) * 5);
  std::string msg = run("tobmp " + dir + "/missing.tif " + dir + "/m.bmp", status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(std::count(msg.begin(), msg.end(), '\n'), 1);
  run("tobmp " + dir + "/t.tif", status);
  EXPECT_EQ(status, 2);
  run("tobmp " + dir + "/t.tif x.bmp --bits 4", status);  // --bits without --convert
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace grainwick::test
