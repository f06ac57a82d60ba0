// Small picture files made by the real libraries at test time: GraphicsMagick for its formats,
// Grainwick for TIFF, Qt for icons, and hand-made DXF, WMF and text pictures.
#pragma once

#include <Magick++.h>

#include <QImageWriter>
#include <string>

#include "device.h"
#include "grainwick.h"
#include "temp_dir.h"

namespace image {

// A w x h colour gradient, `colours` distinct colours at most (0: true colour).
inline Magick::Image gradient(unsigned w, unsigned h, unsigned colours = 0) {
  Magick::InitializeMagick(nullptr);
  Magick::Image m(Magick::Geometry(w, h), Magick::Color("white"));
  m.modifyImage();
  for (unsigned y = 0; y < h; ++y)
    for (unsigned x = 0; x < w; ++x) m.pixelColor(x, y, Magick::ColorRGB(double(x) / w, double(y) / h, 0.5));
  if (colours) m.quantizeColors(colours), m.quantize();
  return m;
}

// Writes `name` in the format its extension says; TIFF pages get widths w, w + 1, ...
inline std::string fixture(const TempDir &d, const std::string &name, unsigned w = 24, unsigned h = 16,
                           int pages = 1) {
  const std::string path = d.file(name), ext = name.substr(name.rfind('.') + 1);
  if (ext == "tif") {
    for (int i = 0; i < pages; ++i) {
      HBITMAP b = nullptr;
      HPALETTE p = nullptr;
      to_device(from_qimage(QImage(int(w) + i, int(h), QImage::Format_RGB32)), &b, &p);
      writetiffile(path.c_str(), 5, 24, i > 0, b, p, nullptr, 0);
      DeleteObject(b);
    }
  } else if (ext == "ico") {
    QImage i(int(w), int(h), QImage::Format_ARGB32);
    i.fill(Qt::blue);
    QImageWriter(QString::fromStdString(path), "ico").write(i);
  } else if (ext == "dxf") {
    d.write(name,
            "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n62\n1\n10\n0\n20\n0\n11\n100\n21\n50\n"
            "0\nCIRCLE\n8\n0\n10\n50\n20\n25\n40\n20\n0\nARC\n8\n0\n10\n0\n20\n0\n40\n30\n50\n0\n51\n90\n"
            "0\nTEXT\n8\n0\n10\n10\n20\n40\n40\n5\n1\nTapemoor\n0\nENDSEC\n0\nEOF\n");
  } else if (ext == "wmf") {
    // Placeable header, standard header, a window of 100 x 50, a red rectangle, end.
    auto words = [](std::initializer_list<int> v) {
      std::string s;
      for (int x : v) s += char(x & 0xff), s += char((x >> 8) & 0xff);
      return s;
    };
    std::string head = words({0xcdd7, 0x9ac6, 0, 0, 0, 100, 50, 96, 0, 0});
    int sum = 0;
    for (std::size_t i = 0; i < head.size(); i += 2)
      sum ^= (unsigned char)head[i] | (unsigned char)head[i + 1] << 8;
    d.write(name, head + words({sum, 1, 9, 0x300, 44, 0, 1, 7, 0, 0}) + words({5, 0, 0x20b, 0, 0}) +
                      words({5, 0, 0x20c, 50, 100}) + words({7, 0, 0x2fc, 0, 255, 0, 0}) +
                      words({4, 0, 0x12d, 0}) + words({7, 0, 0x41b, 40, 90, 10, 10}) + words({3, 0, 0}));
  } else if (ext == "scm" || ext == "cms") {
    d.write(name, "255\n0\nLiberation Sans\n14\n1000\n0\n4\nFirst line\nSecond line\n");
  } else {
    Magick::Image m = gradient(w, h, ext == "gif" || ext == "pcx" ? 16 : 0);
    m.write((ext == "thb" ? "bmp" : ext == "thj" || ext == "jpeg" ? "jpeg" : ext) + ":" + path);
  }
  return path;
}

}  // namespace image
