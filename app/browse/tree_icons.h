// The pictures of the outline lines, drawn rather than loaded: a film strip for a recording, a
// cassette for a support, and the cassette with an arrow going out (lent) or coming in
// (borrowed), the arrow red once the return date is reached; the planning's date, time and
// ShowView pictures.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <string_view>

class QPainter;

namespace browse {

// Every picture has this size, so texts line up whatever the icon.
QSize tree_icon_size();

// The picture of an icon name at the given device pixel ratio; a null pixmap for an empty
// (heading) or unknown name. Drawn once per name and ratio.
QPixmap tree_icon(std::string_view name, qreal device_pixel_ratio = 1.0);

// A horizontal arrow from x0 to x1 (the head at x1), with a white rim so it reads over the
// picture under it; the loan lists draw theirs the same way.
void draw_arrow(QPainter &p, qreal x0, qreal x1, qreal y, const QColor &colour);

}  // namespace browse
