// The loading logic over real files: dispatch, depths, TIFF pages, facts, damaged files.
#include <gtest/gtest.h>

#include "fixtures_test.h"
#include "loader.h"
#include "readers.h"
#include "text_picture.h"

namespace image {
namespace {

int palette_size(const Picture &p) {
  return p && p->palette() ? int(GetPaletteEntries(p->palette(), 0, 0, nullptr)) : 0;
}

TEST(Image, ExtensionAndDepthAsked) {
  for (auto [name, ext] : {std::pair{"photo.jpeg", ".JPE"}, {"scan.Tiff", ".TIF"}, {"a.b/none", ""}})
    EXPECT_EQ(extension(name), ext) << name;
  for (auto [screen, bits] : {std::pair{1, 4}, {4, 4}, {8, 8}, {15, 8}, {16, 24}, {32, 24}})
    EXPECT_EQ(bits_demandes(TLoadResolution::lAutoMatic, screen), bits) << screen;
}

TEST(Image, EachReaderLoadsItsFormat) {
  TempDir d;
  struct Case {
    const char *name, *type;
    int width, height;
    const char *message = nullptr;
  };
  for (const Case &c : {Case{"a.bmp", "BMP", 24, 16},
                        {"a.thb", "BMP", 24, 16},
                        {"a.jpg", "JPEG", 24, 16},
                        {"a.jpeg", "JPEG", 24, 16},
                        {"a.thj", "JPEG", 24, 16},
                        {"a.gif", "GIF", 24, 16},
                        {"a.png", "PNG", 24, 16},
                        {"a.pcx", "PCX", 24, 16},
                        {"a.tif", "TIF", 24, 16},
                        {"a.dxf", "DXF", 800, 408},
                        {"a.ico", "ICO", 24, 16, kMessageNonLu},
                        {"a.wmf", "WMF", 100, 50, kMessageNonLu},
                        {"a.scm", "SCM", 0, 0}}) {
    Reglages r;
    Chargement l = charge(fixture(d, c.name), r);
    ASSERT_FALSE(l.erreur) << c.name << ": " << l.erreur->texte;
    ASSERT_TRUE(l.image && !l.image->empty() && l.faits) << c.name;
    EXPECT_EQ(l.faits->type, c.type) << c.name;
    if (c.width) {
      EXPECT_EQ(QSize(l.faits->largeur, l.faits->hauteur), QSize(c.width, c.height)) << c.name;
    }
    EXPECT_EQ(QSize(l.image->width(), l.image->height()), QSize(l.faits->largeur, l.faits->hauteur))
        << c.name;
    EXPECT_EQ(l.message,
              c.message ? c.message : QString::fromStdString(d.file(c.name)).toUpper().toStdString());
  }
}

TEST(Image, DepthAskedIsTheDepthGiven) {
  TempDir d;
  const std::string png = fixture(d, "a.png"), gif = fixture(d, "a.gif"), tif = fixture(d, "a.tif");
  struct Case {
    std::string file;
    TLoadResolution res;
    bool dither;
    int colours;
  };
  for (const Case &c : {Case{png, TLoadResolution::lMonoChrome, true, 2},
                        {png, TLoadResolution::lColor16, true, 16},
                        {png, TLoadResolution::lColor256, false, 216},
                        {png, TLoadResolution::lColorVga, false, 256},
                        {png, TLoadResolution::lColorTrue, false, 0},
                        {gif, TLoadResolution::lColor256, false, 16},
                        {tif, TLoadResolution::lColorVga, true, 256},
                        {tif, TLoadResolution::lColorVga, false, 0}}) {
    Reglages r{c.res, c.dither};
    Chargement l = charge(c.file, r);
    ASSERT_FALSE(l.erreur);
    EXPECT_EQ(palette_size(l.image), c.colours) << c.file << int(c.res);
  }
  SetScreenBitsPixel(8);
  Reglages r;
  EXPECT_EQ(palette_size(charge(png, r).image), 216) << "automatic on an 8-bit screen";
  SetScreenBitsPixel(24);
}

TEST(Image, TiffPageIsKeptWithinTheFile) {
  TempDir d;
  struct Case {
    int pages;
    std::int16_t page, read;
  };
  for (const Case &c : {Case{3, 5, 2}, {1, 1, 0}, {3, 1, 1}}) {
    Reglages r;
    r.TiffPage = c.page;
    Chargement l = charge(fixture(d, "p" + std::to_string(c.pages) + ".tif", 10, 8, c.pages), r);
    ASSERT_FALSE(l.erreur);
    EXPECT_EQ(r.TiffPage, c.read);
    EXPECT_EQ(l.image->width(), 10 + c.read);
    EXPECT_EQ(l.faits->images, c.pages);
    EXPECT_EQ(l.faits->compression, "LZW");
  }
}

TEST(Image, PhotoCdModePicksTheResolution) {
  TempDir d;
  const std::string pcd = fixture(d, "a.pcd", 768, 512);
  for (auto [mode, width] :
       {std::pair{TPCDMode::pcd_BASE16, 192}, {TPCDMode::pcd_BASE4, 384}, {TPCDMode::pcd_BASE, 768}}) {
    Reglages r;
    r.PCDMode = mode;
    Chargement l = charge(pcd, r);
    ASSERT_FALSE(l.erreur);
    EXPECT_EQ(l.image->width(), width);
  }
}

TEST(Image, MissingAndUnknownFiles) {
  TempDir d;
  Reglages r;
  Chargement l = charge(d.file("none.png"), r);
  EXPECT_EQ(l.issue, Chargement::Issue::efface);
  EXPECT_EQ(l.message, kMessageAbsent);
  EXPECT_EQ(l.faits->type, "ERR");
  EXPECT_EQ(l.faits->largeur, -1);
  d.write("a.xyz", "x");
  EXPECT_EQ(charge(d.file("a.xyz"), r).issue, Chargement::Issue::inchange);
}

TEST(Image, DamagedFilesAreErrors) {
  TempDir d;
  for (const char *name : {"a.bmp", "a.jpg", "a.gif", "a.png", "a.pcx", "a.tif", "a.ico", "a.wmf", "a.dxf"}) {
    fixture(d, name, 64, 64);
    const std::string bytes = d.read(name);
    for (std::string damaged : {bytes.substr(0, bytes.size() / 2), std::string(300, '\xff'), std::string()}) {
      d.write(name, damaged);
      Reglages r;
      EXPECT_TRUE(charge(d.file(name), r).erreur) << name << " of " << damaged.size() << " bytes";
    }
  }
}

TEST(Image, FilesThatBrokeTheOutsideLibrariesAreErrors) {
  for (const char *name : {"lwpolyline-vertex-count-beyond-32-bits.dxf",
                           "vertex-count-after-misaligned-groups.dxf", "header-announces-2-gb-record.wmf"}) {
    Reglages r;
    EXPECT_TRUE(charge(std::string(TESTDATA_IMAGE) + "/" + name, r).erreur) << name;
  }
}

TEST(Image, TextPictureReadsAtMostItsLimit) {
  std::string big = "0\n0\nLiberation Sans\n10\n0000\n0\n0\n" + std::string(kTexteMax, 'a') + "\nbeyond\n";
  TextPicture t = lit_text_picture(big);
  ASSERT_EQ(t.lignes.size(), 1);
  EXPECT_LT(t.lignes[0].size(), qsizetype(kTexteMax));
  EXPECT_EQ(lit_text_picture("255\n0\nX\n12\n1010\n").couleur, QColor(255, 0, 0));
}

TEST(Image, UndoHistoryKeepsTheLastFour) {
  UndoHistory h;
  std::vector<Picture> p;
  for (int i = 0; i < 5; ++i) h.empile(p.emplace_back(std::make_shared<const TBitmap>()));
  EXPECT_EQ(h.nombre(), 4u);
  EXPECT_EQ(h.depile(), p[4]);
  EXPECT_EQ(h.entree(2), p[1]);
  EXPECT_EQ(h.nombre(), 3u);
}

}  // namespace
}  // namespace image
