#include "pdf_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>

namespace print {
namespace {

QColor couleur_qt(std::uint32_t rgb) {
  return QColor(QRgb(rgb));
}

QString qs(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// y grows upward on the canvas and downward on the page.
QRectF boite(int x1, int y1, int x2, int y2) {
  return QRectF(QPointF(x1, -y1), QPointF(x2, -y2)).normalized();
}

}  // namespace

struct QtPainterCanvas::Etat {
  QFont font{QStringLiteral("Times New Roman"), 10};
  QPen pen{QBrush(Qt::black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin};
  // A printer canvas starts with a white brush: a rectangle drawn over another hides it.
  QBrush brush{Qt::white};
};

QtPainterCanvas::QtPainterCanvas() : etat_(std::make_unique<Etat>()) {}
QtPainterCanvas::~QtPainterCanvas() = default;

void QtPainterCanvas::applique_etat() {
  if (QPainter *p = peintre()) {
    p->setFont(etat_->font);
    p->setPen(etat_->pen);
    p->setBrush(etat_->brush);
  }
}

void QtPainterCanvas::fixe_police(std::string_view famille, Style style, std::uint32_t couleur, int points) {
  QFont f{qs(famille), points};
  f.setBold(style != Style::normal);
  f.setItalic(style == Style::bolditalic);
  etat_->font = f;
  etat_->pen.setColor(couleur_qt(couleur));
  applique_etat();
}

void QtPainterCanvas::fixe_crayon(Trait, std::uint32_t couleur, int largeur) {
  etat_->pen.setColor(couleur_qt(couleur));
  etat_->pen.setWidthF(largeur);
  applique_etat();
}

void QtPainterCanvas::fixe_brosse(Remplissage remplissage, std::uint32_t couleur) {
  etat_->brush = remplissage == Remplissage::aucun ? QBrush(Qt::NoBrush) : QBrush(couleur_qt(couleur));
  applique_etat();
}

void QtPainterCanvas::texte(int x, int y, std::string_view utf8) {
  QPainter *p = peintre();
  if (!p) return;
  const QString t = qs(utf8);
  const QFontMetricsF m(p->font(), p->device());
  qreal left = x;
  if (align_ == Align::center) left -= m.horizontalAdvance(t) / 2;
  if (align_ == Align::right) left -= m.horizontalAdvance(t);
  p->drawText(QPointF(left, -y + m.ascent()), t);
}

void QtPainterCanvas::trace_ligne(int x1, int y1, int x2, int y2) {
  if (QPainter *p = peintre()) p->drawLine(QPointF(x1, -y1), QPointF(x2, -y2));
}

void QtPainterCanvas::rectangle(int x1, int y1, int x2, int y2) {
  if (QPainter *p = peintre()) p->drawRect(boite(x1, y1, x2, y2));
}

void QtPainterCanvas::rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) {
  // The corner is an ellipse of w by h: radii of half those.
  if (QPainter *p = peintre()) p->drawRoundedRect(boite(x1, y1, x2, y2), w / 2.0, h / 2.0, Qt::AbsoluteSize);
}

void QtPainterCanvas::image(int x1, int y1, int x2, int y2, const Image &img) {
  QPainter *p = peintre();
  if (!p || img.largeur <= 0 || img.hauteur <= 0 ||
      img.pixels.size() != static_cast<std::size_t>(img.largeur) * static_cast<std::size_t>(img.hauteur))
    return;
  const QImage q(reinterpret_cast<const uchar *>(img.pixels.data()), img.largeur, img.hauteur,
                 img.largeur * 4, QImage::Format_ARGB32);
  p->save();
  p->setRenderHint(QPainter::SmoothPixmapTransform);
  p->drawImage(boite(x1, y1, x2, y2), q);
  p->restore();
}

PdfCanvas::PdfCanvas(std::string path) : path_(std::move(path)) {}
PdfCanvas::~PdfCanvas() {
  termine();
}

void PdfCanvas::debut_job() {
  if (!writer_) {
    writer_ = std::make_unique<QPdfWriter>(QString::fromStdString(path_));
    writer_->setCreator(QStringLiteral("Tapemoor"));
    writer_->setResolution(254);
    // A printer's printable area: the coordinates start 5 mm inside the A4 sheet.
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                       QPageLayout::Millimeter));
    painter_ = std::make_unique<QPainter>();
    ouvert_ = painter_->begin(writer_.get());
  } else if (ouvert_) {
    writer_->newPage();
  }
  applique_etat();
}

void PdfCanvas::fin_job() {
  ++pages_;
}

bool PdfCanvas::termine() {
  if (!painter_) return false;
  const bool ok = ouvert_ && painter_->end();
  painter_.reset();
  writer_.reset();
  ouvert_ = false;
  return ok;
}

QPainter *PdfCanvas::peintre() {
  return ouvert_ ? painter_.get() : nullptr;
}

void FermeApplication::operator()(QGuiApplication *app) const {
  delete app;
}

Application ouvre_application() {
  if (QCoreApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's start-up notes (a missing runtime folder and the like) are not the command's output.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &m) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(m));
  });
  static int argc = 1;
  static char nom[] = "tapemoor";
  static char *argv[] = {nom, nullptr};
  return Application(new QGuiApplication(argc, argv));
}

}  // namespace print
