#include "tree_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <map>
#include <string>

namespace browse {
namespace {

constexpr int kWidth = 26, kHeight = 16;

void draw_film(QPainter &p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2f, 0x2f, 0x35));
  p.drawRoundedRect(QRectF(3, 1.5, 20, 13), 1.5, 1.5);
  // Perforations along both edges.
  p.setBrush(QColor(0xf4, 0xf4, 0xf4));
  for (int i = 0; i < 6; ++i) {
    p.drawRect(QRectF(4.5 + i * 3.2, 2.7, 1.8, 1.6));
    p.drawRect(QRectF(4.5 + i * 3.2, 11.7, 1.8, 1.6));
  }
  // Two frames of picture.
  p.setBrush(QColor(0x7e, 0xc8, 0xf0));
  p.drawRect(QRectF(5, 5.5, 7, 5));
  p.setBrush(QColor(0xf0, 0xc0, 0x60));
  p.drawRect(QRectF(14, 5.5, 7, 5));
}

// The cassette sits on the left so that the arrow of a loan has room on the right.
void draw_cassette(QPainter &p) {
  p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
  p.setBrush(QColor(0x3a, 0x3a, 0x40));
  p.drawRoundedRect(QRectF(1.5, 2.5, 17, 11), 1.5, 1.5);
  // Label along the top, window with the two reels below it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf2, 0xf2, 0xe8));
  p.drawRect(QRectF(3.5, 4, 13, 2.5));
  p.setBrush(QColor(0x9a, 0xa8, 0xb4));
  p.drawRect(QRectF(5, 8, 10, 4));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(7.5, 10), 1.6, 1.6);
  p.drawEllipse(QPointF(12.5, 10), 1.6, 1.6);
}

}  // namespace

void draw_arrow(QPainter &p, qreal x0, qreal x1, qreal y, const QColor &colour) {
  qreal dir = x1 > x0 ? 1 : -1;
  QPainterPath path;
  path.moveTo(x0, y - 1.4);
  path.lineTo(x1 - dir * 4.5, y - 1.4);
  path.lineTo(x1 - dir * 4.5, y - 4);
  path.lineTo(x1, y);
  path.lineTo(x1 - dir * 4.5, y + 4);
  path.lineTo(x1 - dir * 4.5, y + 1.4);
  path.lineTo(x0, y + 1.4);
  path.closeSubpath();
  p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(path);
}

namespace {

// The pictures of the planning's date, time and ShowView lines: a calendar leaf, a clock face
// and a keypad.
bool draw_planning(QPainter &p, std::string_view name) {
  p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1));
  if (name == "dateimg") {
    p.setBrush(QColor(0xfa, 0xfa, 0xf4));
    p.drawRect(QRectF(6.5, 1.5, 13, 13));
    p.setBrush(QColor(0xc8, 0x32, 0x2d));
    p.drawRect(QRectF(6.5, 1.5, 13, 4));
    for (qreal y : {8.0, 11.5})
      for (qreal x : {9.0, 13.0, 17.0}) p.drawPoint(QPointF(x, y));
  } else if (name == "heureimg") {
    p.setBrush(QColor(0xfa, 0xfa, 0xf4));
    p.drawEllipse(QPointF(13, 8), 6.5, 6.5);
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13, 8), QPointF(13, 3.5));
    p.drawLine(QPointF(13, 8), QPointF(16.5, 9.5));
  } else if (name == "showviewimg") {
    p.setBrush(QColor(0x3a, 0x3a, 0x40));
    p.drawRoundedRect(QRectF(7.5, 0.5, 11, 15), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7e, 0xc8, 0xf0));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) p.drawRect(QRectF(9.5 + c * 2.8, 3 + r * 3.6, 1.8, 2.2));
  } else {
    return false;
  }
  return true;
}

const QColor kLent(0x1f, 0x9d, 0x3a);
const QColor kBorrowed(0x1e, 0x6f, 0xd9);
const QColor kOverdue(0xe0, 0x1b, 0x1b);

QPixmap draw(std::string_view name, qreal ratio) {
  QPixmap pixmap(QSize(kWidth, kHeight) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (name == "filmimg") {
    draw_film(p);
    return pixmap;
  }
  if (draw_planning(p, name)) return pixmap;
  draw_cassette(p);
  // Lent: out of the cassette, to the right, high. Borrowed: into it, to the left, low.
  if (name == "k7imgout") draw_arrow(p, 13, 25, 5, kLent);
  if (name == "k7imgouta") draw_arrow(p, 13, 25, 5, kOverdue);
  if (name == "k7imgin") draw_arrow(p, 25, 13, 11, kBorrowed);
  if (name == "k7imgina") draw_arrow(p, 25, 13, 11, kOverdue);
  return pixmap;
}

bool known(std::string_view name) {
  return name == "filmimg" || name == "k7img" || name == "k7imgout" || name == "k7imgouta" ||
         name == "k7imgin" || name == "k7imgina" || name == "dateimg" || name == "heureimg" ||
         name == "showviewimg";
}

}  // namespace

QSize tree_icon_size() {
  return {kWidth, kHeight};
}

QPixmap tree_icon(std::string_view name, qreal device_pixel_ratio) {
  if (!known(name)) return {};
  // Kept for the whole run and never destroyed: pixmaps must not outlive the application object.
  static auto *cache = new std::map<std::pair<std::string, qreal>, QPixmap>;
  auto key = std::make_pair(std::string(name), device_pixel_ratio);
  auto it = cache->find(key);
  if (it == cache->end()) it = cache->emplace(key, draw(name, device_pixel_ratio)).first;
  return it->second;
}

}  // namespace browse
