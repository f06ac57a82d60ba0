// The canvas on the system printer through Qt Print Support: each print job of a report is a
// document of its own, as the page model wants (a three-page list sends three jobs).
#pragma once

#include <memory>

#include "pdf_canvas.h"

class QPrinter;

namespace print {

class PrinterCanvas : public QtPainterCanvas {
 public:
  // `printer` is the one chosen in the printer set-up dialog; its resolution is set to 254 dots
  // per inch, so one dot is 0.1 mm (Qt's Linux print engine accepts any resolution).
  explicit PrinterCanvas(QPrinter &printer);
  ~PrinterCanvas() override;
  void debut_job() override;
  void fin_job() override;
  // False when a job could not start or could not be sent.
  bool ok() const { return ok_; }

 protected:
  QPainter *peintre() override;

 private:
  QPrinter &printer_;
  std::unique_ptr<QPainter> painter_;
  bool ok_ = true;
};

}  // namespace print
