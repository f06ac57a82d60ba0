// The canvas on a PDF file through Qt: every print job of a report becomes one page of the same
// document. The fonts the reports name ("Times New Roman", "Arial") are resolved by fontconfig,
// on Debian to the metric-compatible Liberation fonts.
#pragma once

#include <memory>
#include <string>

#include "canvas.h"

class QPainter;
class QPdfWriter;

class QGuiApplication;

namespace print {

class QtPainterCanvas : public Canvas {
 public:
  QtPainterCanvas();
  ~QtPainterCanvas() override;
  void fixe_police(std::string_view famille, Style style, std::uint32_t couleur, int points) override;
  void fixe_crayon(Trait trait, std::uint32_t couleur, int largeur) override;
  void fixe_brosse(Remplissage remplissage, std::uint32_t couleur) override;
  void fixe_alignement(Align align) override { align_ = align; }
  void texte(int x, int y, std::string_view utf8) override;
  void trace_ligne(int x1, int y1, int x2, int y2) override;
  void rectangle(int x1, int y1, int x2, int y2) override;
  void rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) override;
  void image(int x1, int y1, int x2, int y2, const Image &img) override;

 protected:
  // The painter of the open job, its device at 254 dots per inch so one dot is 0.1 mm.
  virtual QPainter *peintre() = 0;
  // A new page starts with a fresh painter state: the font, pen and brush set so far go on.
  void applique_etat();

 private:
  struct Etat;
  std::unique_ptr<Etat> etat_;
  Align align_ = Align::left;
};

class PdfCanvas : public QtPainterCanvas {
 public:
  // A QGuiApplication must exist (the fonts come from it); `ouvre_application` makes one.
  explicit PdfCanvas(std::string path);
  ~PdfCanvas() override;
  void debut_job() override;
  void fin_job() override;
  // Closes the document; false when it could not be written. No job: no file.
  bool termine();
  int pages() const { return pages_; }

 protected:
  QPainter *peintre() override;

 private:
  std::string path_;
  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<QPainter> painter_;
  int pages_ = 0;
  bool ouvert_ = false;
};

// For programs without a window (the CLI): a QGuiApplication on the offscreen platform when none
// exists yet, for the caller to keep while it prints (none when one exists already).
struct FermeApplication {
  void operator()(QGuiApplication *app) const;
};
using Application = std::unique_ptr<QGuiApplication, FermeApplication>;
Application ouvre_application();

}  // namespace print
