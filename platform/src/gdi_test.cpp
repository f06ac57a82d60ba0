#include "platform/gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A bottom-up DIB in one buffer: header, table, rows.
struct Dib {
  std::vector<BYTE> bytes;
  BITMAPINFO *info() { return reinterpret_cast<BITMAPINFO *>(bytes.data()); }
  BYTE *bits() { return bytes.data() + 40 + 4 * colours; }
  int colours = 0;
  Dib(int w, int h, int bpp, std::vector<RGBQUAD> table) : colours(int(table.size())) {
    bytes.assign(40 + 4 * table.size() + dib_stride(w, bpp) * std::size_t(h), 0);
    BITMAPINFOHEADER hd{40, w, h, 1, WORD(bpp), 0, 0, 0, 0, DWORD(table.size()), 0};
    std::memcpy(bytes.data(), &hd, 40);
    if (!table.empty()) std::memcpy(bytes.data() + 40, table.data(), 4 * table.size());
  }
};

TEST(Gdi, PaletteFromLogPaletteAndEntries) {
  std::vector<BYTE> buf(4 + 3 * 4);
  auto *lp = reinterpret_cast<LOGPALETTE *>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  for (int i = 0; i < 3; ++i) lp->palPalEntry[i] = PALETTEENTRY{BYTE(i * 10), BYTE(i * 20), BYTE(i * 30), 0};
  HPALETTE p = CreatePalette(lp);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetPaletteEntries(p, 0, 0, nullptr), 3u);
  PALETTEENTRY out[3]{};
  EXPECT_EQ(GetPaletteEntries(p, 1, 5, out), 2u);
  EXPECT_EQ(out[1].peBlue, 60);
  WORD n = 0;
  EXPECT_EQ(GetObjectA(p, sizeof n, &n), int(sizeof n));
  EXPECT_EQ(n, 3);
  lp->palVersion = 0x200;
  EXPECT_EQ(CreatePalette(lp), nullptr);
  EXPECT_TRUE(DeleteObject(p));
  EXPECT_FALSE(DeleteObject(p));  // stale handle is refused, not followed
}

TEST(Gdi, CompatibleBitmapDepthFollowsScreenOrSelectedBitmap) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP a = CreateCompatibleBitmap(screen, 10, 5);
  HBITMAP b = CreateCompatibleBitmap(mem, 10, 5);  // the fresh context holds a monochrome bitmap
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(a, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmBitsPixel, 24);
  EXPECT_EQ(bm.bmWidthBytes, 30);
  ASSERT_TRUE(GetObjectA(b, sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  ASSERT_TRUE(SetScreenBitsPixel(32));
  HBITMAP c = CreateCompatibleBitmap(nullptr, 3, 3);
  ASSERT_TRUE(GetObjectA(c, sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_FALSE(SetScreenBitsPixel(16));
  EXPECT_EQ(GetScreenBitsPixel(), 32);
  SetScreenBitsPixel(24);

  HGDIOBJ old = SelectObject(mem, a);
  ASSERT_NE(old, nullptr);
  EXPECT_FALSE(DeleteObject(a));  // still selected
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, a), nullptr);  // one context at a time
  SelectObject(mem, old);
  EXPECT_TRUE(DeleteObject(a));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_TRUE(DeleteObject(c));
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_TRUE(DeleteDC(mem));
  EXPECT_TRUE(ReleaseDC(nullptr, screen));
  EXPECT_EQ(CreateBitmap(0, 5, 1, 1, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(5, 5, 2, 1, nullptr), nullptr);
}

TEST(Gdi, StretchDibIntoColourAndMonoBitmapsAndReadBack) {
  // 4 × 2 DIB, 8 bits, image top row: colours 0 1 2 3; bottom row: 3 2 1 0.
  Dib dib(4, 2, 8, {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}});
  BYTE top[4] = {0, 1, 2, 3}, bottom[4] = {3, 2, 1, 0};
  std::memcpy(dib.bits() + 4, top, 4);  // DIB row 1 is the image's top row
  std::memcpy(dib.bits(), bottom, 4);

  HDC mem = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SetStretchBltMode(mem, COLORONCOLOR), BLACKONWHITE);
  EXPECT_EQ(GetStretchBltMode(mem), COLORONCOLOR);
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 8, 4);  // doubled in both directions
  HGDIOBJ old = SelectObject(mem, colour);
  EXPECT_EQ(StretchDIBits(mem, 0, 0, 8, 4, 0, 0, 4, 2, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY), 2);
  BITMAP bm{};
  GetObjectA(colour, sizeof bm, &bm);
  const BYTE *px = static_cast<const BYTE *>(bm.bmBits);
  // Bitmap rows are top-down: row 0 and 1 come from the image's top row.
  EXPECT_EQ(px[2], 255);                      // pixel 0: red
  EXPECT_EQ(px[3 * 2 + 1], 255);              // pixel 2: green
  EXPECT_EQ(px[3 * 2 + 2], 0);
  EXPECT_EQ(px[3 * bm.bmWidthBytes + 2], 255);  // last row, pixel 0 = colour 3 = white
  EXPECT_EQ(px[3 * bm.bmWidthBytes + 0], 255);

  // Read back as a 24-bit DIB, bottom-up.
  std::vector<BYTE> info_buf(40 + 4 * 256, 0);
  auto *info = reinterpret_cast<BITMAPINFO *>(info_buf.data());
  info->bmiHeader.biSize = 40;
  ASSERT_EQ(GetDIBits(mem, colour, 0, 4, nullptr, info, DIB_RGB_COLORS), 4);  // header query
  EXPECT_EQ(info->bmiHeader.biBitCount, 24);
  std::vector<BYTE> rows(dib_stride(8, 24) * 4);
  ASSERT_EQ(GetDIBits(mem, colour, 0, 4, rows.data(), info, DIB_RGB_COLORS), 4);
  EXPECT_EQ(rows[2], 255);  // first DIB row = image bottom row, pixel 0 = white
  EXPECT_EQ(rows[1], 255);
  EXPECT_EQ(rows[3 * 6 + 0], 0);  // bottom row, pixel 6 (source 3) = red
  EXPECT_EQ(rows[3 * 6 + 1], 0);
  EXPECT_EQ(rows[3 * 6 + 2], 255);
  SelectObject(mem, old);

  // Monochrome: luminance decides; source sub-rectangle origin is the DIB's lower-left corner.
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, nullptr);
  SelectObject(mem, mono);
  ASSERT_EQ(StretchDIBits(mem, 0, 0, 2, 1, 2, 1, 2, 1, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY), 1);
  GetObjectA(mono, sizeof bm, &bm);
  // Top row, pixels 2 and 3: blue (dark) and white.
  EXPECT_EQ(static_cast<const BYTE *>(bm.bmBits)[0] & 0xC0, 0x40);
  info->bmiHeader.biBitCount = 1;
  BYTE mono_rows[4]{};
  ASSERT_EQ(GetDIBits(mem, mono, 0, 1, mono_rows, info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(mono_rows[0] & 0xC0, 0x40);
  EXPECT_EQ(info->bmiColors[1].rgbRed, 255);
  EXPECT_EQ(StretchDIBits(mem, 0, 0, 2, 1, 3, 0, 2, 1, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY), 0);
  SelectObject(mem, old);
  EXPECT_TRUE(DeleteObject(mono));
  EXPECT_TRUE(DeleteObject(colour));
  EXPECT_TRUE(DeleteDC(mem));
}

TEST(Gdi, EightBitBitmapUsesTheSelectedPalette) {
  std::vector<BYTE> buf(4 + 2 * 4);
  auto *lp = reinterpret_cast<LOGPALETTE *>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 2;
  lp->palPalEntry[0] = {10, 20, 30, 0};
  lp->palPalEntry[1] = {200, 100, 50, 0};
  HPALETTE pal = CreatePalette(lp);
  HDC mem = CreateCompatibleDC(nullptr);
  HPALETTE old_pal = SelectPalette(mem, pal, 0);
  EXPECT_EQ(RealizePalette(mem), 2u);
  EXPECT_FALSE(DeleteObject(pal));  // selected
  HBITMAP b = CreateBitmap(2, 1, 1, 8, nullptr);
  HGDIOBJ old = SelectObject(mem, b);
  Dib dib(2, 1, 24, {});
  BYTE px[6] = {50, 100, 190, 31, 21, 11};  // near entry 1, then near entry 0
  std::memcpy(dib.bits(), px, 6);
  ASSERT_EQ(StretchDIBits(mem, 0, 0, 2, 1, 0, 0, 2, 1, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY), 1);
  BITMAP bm{};
  GetObjectA(b, sizeof bm, &bm);
  EXPECT_EQ(static_cast<const BYTE *>(bm.bmBits)[0], 1);
  EXPECT_EQ(static_cast<const BYTE *>(bm.bmBits)[1], 0);
  std::vector<BYTE> info_buf(40 + 4 * 256, 0);
  auto *info = reinterpret_cast<BITMAPINFO *>(info_buf.data());
  info->bmiHeader.biSize = 40;
  info->bmiHeader.biBitCount = 8;
  BYTE rows[4]{};
  ASSERT_EQ(GetDIBits(mem, b, 0, 1, rows, info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(rows[0], 1);
  EXPECT_EQ(info->bmiColors[1].rgbRed, 200);
  SelectObject(mem, old);
  SelectPalette(mem, old_pal, 0);
  EXPECT_TRUE(DeleteObject(pal));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_TRUE(DeleteDC(mem));
}

}  // namespace
