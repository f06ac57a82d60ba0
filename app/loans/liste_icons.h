// The six pictures of the lists of lent and borrowed supports, drawn rather than loaded, at the
// tree pictures' size: the cassette (k7img), the cassette with a red alert sign once its return
// date is reached (k7aimg), a calendar leaf with an arrow going out (outimg, start date) or
// coming in (inimg, return date), a film reel heading the recordings (filmimg) and a film strip
// for one recording (bandeimg).
#pragma once

#include <QPixmap>
#include <string_view>

namespace loans {

// A null pixmap for an unknown name. Drawn once per name and ratio.
QPixmap liste_icon(std::string_view name, qreal device_pixel_ratio = 1.0);

}  // namespace loans
