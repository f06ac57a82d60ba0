#include "liste_icons.h"

#include <QPainter>
#include <map>
#include <string>

#include "tree_icons.h"

namespace loans {
namespace {

const QColor kDepart(0x1f, 0x9d, 0x3a);
const QColor kRetour(0x1e, 0x6f, 0xd9);
const QColor kAlerte(0xe0, 0x1b, 0x1b);

// A leaf of a wall calendar: red binding along the top, the day lines below.
void draw_page(QPainter &p) {
  p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 2.5, 13, 12));
  p.setPen(Qt::NoPen);
  p.setBrush(kAlerte);
  p.drawRect(QRectF(2, 3, 12, 3));
  p.setBrush(QColor(0x80, 0x80, 0x80));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) p.drawRect(QRectF(3.5 + c * 2.7, 7.5 + r * 2.2, 1.6, 1.3));
}

// A round red sign with a white exclamation mark, on the free right of the cassette.
void draw_alert(QPainter &p) {
  p.setPen(QPen(Qt::white, 1.2));
  p.setBrush(kAlerte);
  p.drawEllipse(QPointF(20.5, 8), 5, 5);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(19.7, 4.6, 1.6, 4.6), 0.8, 0.8);
  p.drawEllipse(QPointF(20.5, 11), 0.95, 0.95);
}

// A film reel: the heading of a support's recordings, where a strip is one recording.
void draw_reel(QPainter &p) {
  p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
  p.setBrush(QColor(0x4a, 0x4a, 0x52));
  p.drawEllipse(QPointF(9, 8), 6.5, 6.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xe8, 0xe8));
  for (int i = 0; i < 5; ++i) {
    QTransform t;
    t.translate(9, 8);
    t.rotate(i * 72);
    p.drawEllipse(t.map(QPointF(0, -3.6)), 1.6, 1.6);
  }
  p.drawEllipse(QPointF(9, 8), 0.9, 0.9);
  // The film leaving the reel.
  p.setBrush(QColor(0x2f, 0x2f, 0x35));
  p.drawRect(QRectF(9, 12.5, 15, 2.5));
}

QPixmap draw(std::string_view name, qreal ratio) {
  if (name == "k7img") return browse::tree_icon("k7img", ratio);
  if (name == "bandeimg") return browse::tree_icon("filmimg", ratio);
  QPixmap pixmap(browse::tree_icon_size() * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (name == "k7aimg") {
    p.drawPixmap(0, 0, browse::tree_icon("k7img", ratio));
    draw_alert(p);
  } else if (name == "outimg") {
    draw_page(p);
    browse::draw_arrow(p, 11, 25, 10, kDepart);  // the support leaves on this day
  } else if (name == "inimg") {
    draw_page(p);
    browse::draw_arrow(p, 25, 11, 10, kRetour);  // and comes back on this one
  } else if (name == "filmimg") {
    draw_reel(p);
  } else {
    return {};
  }
  return pixmap;
}

}  // namespace

QPixmap liste_icon(std::string_view name, qreal device_pixel_ratio) {
  // Kept for the whole run and never destroyed: pixmaps must not outlive the application object.
  static auto *cache = new std::map<std::pair<std::string, qreal>, QPixmap>;
  auto key = std::make_pair(std::string(name), device_pixel_ratio);
  auto it = cache->find(key);
  if (it == cache->end()) it = cache->emplace(key, draw(name, device_pixel_ratio)).first;
  return it->second;
}

}  // namespace loans
