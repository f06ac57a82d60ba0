#include "printer_canvas.h"

#include <QPainter>
#include <QPrinter>

namespace print {

PrinterCanvas::PrinterCanvas(QPrinter &printer) : printer_(printer) {
  printer_.setResolution(254);
  // The origin of the coordinates is the top-left corner of the printable area.
  printer_.setFullPage(false);
  printer_.setDocName(QStringLiteral("Tapemoor"));
}

PrinterCanvas::~PrinterCanvas() {
  if (painter_ && painter_->isActive()) painter_->end();
}

void PrinterCanvas::debut_job() {
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&printer_)) {
    ok_ = false;
    painter_.reset();
    return;
  }
  applique_etat();
}

void PrinterCanvas::fin_job() {
  if (painter_ && !painter_->end()) ok_ = false;
  painter_.reset();
}

QPainter *PrinterCanvas::peintre() {
  return painter_ && painter_->isActive() ? painter_.get() : nullptr;
}

}  // namespace print
