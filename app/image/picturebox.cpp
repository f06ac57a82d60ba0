#include "picturebox.h"

#include <QPainter>
#include <algorithm>

#include "prompts.h"

namespace image {

namespace {

// However thin the bands and long the delay, a transition ends within this many steps.
constexpr int kEtapesMax = 60;

}  // namespace

QRegion zone_revelee(TFXMethod method, QSize size, int step, int steps, int thick) {
  const int w = size.width(), h = size.height();
  if (step >= steps || method == TFXMethod::FXNone) return QRegion(0, 0, w, h);
  const double f = double(step) / steps;
  thick = std::max(1, thick);
  switch (method) {
    case TFXMethod::FXHorizontal:
      return QRegion(0, 0, w, int(h * f));
    case TFXMethod::FXVertical:
      return QRegion(0, 0, int(w * f), h);
    case TFXMethod::FXDiagonal: {
      const int reach = int((w + h) * f);
      QRegion r;
      for (int y = 0; y < h && y < reach; y += thick) r += QRect(0, y, reach - y, thick);
      return r;
    }
    case TFXMethod::FXDiagonalSquares: {
      const int cols = (w + thick - 1) / thick, rows = (h + thick - 1) / thick;
      const int reach = int((cols + rows) * f);
      QRegion r;
      for (int j = 0; j < rows && j < reach; ++j)
        r += QRect(0, j * thick, std::min(cols, reach - j) * thick, thick);
      return r;
    }
    case TFXMethod::FXRectangles: {
      const int dx = int(w * f / 2), dy = int(h * f / 2);
      return QRegion(w / 2 - dx, h / 2 - dy, 2 * dx, 2 * dy);
    }
    case TFXMethod::FXNone:
      break;
  }
  return QRegion(0, 0, w, h);
}

TPictureBox::TPictureBox(ui::Prompts &prompts, UndoHistory &historique, QWidget *parent)
    : QWidget(parent), prompts_(prompts), historique_(historique) {
  fx_timer_.setSingleShot(false);
  QObject::connect(&fx_timer_, &QTimer::timeout, this, [this] { etape_effet(); });
}

void TPictureBox::setCenter(bool on) {
  center_ = on;
  update();
}

void TPictureBox::setStretch(bool on) {
  stretch_ = on;
  if (on) stretch_ratio_ = false;
  update();
}

void TPictureBox::setStretchRatio(bool on) {
  stretch_ratio_ = on;
  if (on) stretch_ = false;
  update();
}

void TPictureBox::setAutoSize(bool on) {
  auto_size_ = on;
  if (on && !affiche_.isNull()) resize(affiche_.size());
}

void TPictureBox::setImageName(const QString &nom) {
  Chargement c = charge(nom.toStdString(), reglages_);
  message_ = QString::fromStdString(c.message);
  erreur_ = c.erreur;
  if (c.erreur) {
    const QString texte = QString::fromStdString(c.erreur->texte);
    if (OnImageError)
      OnImageError(this, c.erreur->code, texte, c.erreur->texte.c_str());
    else
      prompts_.message(ui::Boite::erreur, texte, ui::Boutons::ok);
  }
  if (c.issue == Chargement::Issue::efface) {
    fx_timer_.stop();
    affiche_ = ancien_ = QImage();
    picture_.reset();
    ancien_picture_.reset();
    update();
  } else if (c.issue == Chargement::Issue::remplace) {
    if (!c.historique) affiche_ = QImage(), picture_.reset();
    remplace(std::move(c.image), true);
  }
  if (c.faits) faits_ = *c.faits;
}

void TPictureBox::setPicture(Picture p) {
  remplace(std::move(p), false);
}

void TPictureBox::remplace(Picture p, bool avec_effet) {
  if (keep_undo_ && picture_) historique_.empile(picture_);
  // The old image may show the old bitmap's own rows: the bitmap stays until the transition ends.
  ancien_picture_ = picture_;
  ancien_ = affiche_;
  picture_ = std::move(p);
  affiche_ = picture_ ? picture_->to_qimage() : QImage();
  if (auto_size_ && !affiche_.isNull()) resize(affiche_.size());
  fx_timer_.stop();
  if (!avec_effet || fx_method_ == TFXMethod::FXNone) ancien_ = QImage(), ancien_picture_.reset();
  if (avec_effet && fx_method_ != TFXMethod::FXNone && !affiche_.isNull()) {
    fx_step_ = 0;
    fx_steps_ = kEtapesMax;
    const int bande = std::max(1, fx_thick_);
    const int cote = std::max(width(), height());
    fx_steps_ = std::clamp(cote / bande, 1, kEtapesMax);
    fx_timer_.start(std::max(1, fx_delay_));
  }
  update();
}

void TPictureBox::etape_effet() {
  if (++fx_step_ >= fx_steps_) {
    fx_timer_.stop();
    ancien_ = QImage();
    ancien_picture_.reset();
  }
  update();
}

QRect TPictureBox::zone_image() const {
  if (affiche_.isNull()) return {};
  const QSize s = affiche_.size();
  if (stretch_) return rect();
  if (stretch_ratio_) {
    QSize fit = s.scaled(size(), Qt::KeepAspectRatio);
    if (center_) return QRect(QPoint((width() - fit.width()) / 2, (height() - fit.height()) / 2), fit);
    return QRect(QPoint(0, 0), fit);
  }
  if (center_) return QRect(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
  return QRect(QPoint(0, 0), s);
}

void TPictureBox::paintEvent(QPaintEvent *) {
  QPainter p(this);
  const QRect zone = zone_image();
  if (fx_timer_.isActive()) {
    if (!ancien_.isNull()) p.drawImage(rect(), ancien_);
    p.setClipRegion(zone_revelee(fx_method_, size(), fx_step_, fx_steps_, fx_thick_));
  }
  if (!affiche_.isNull()) p.drawImage(zone, affiche_);
  p.setClipping(false);
  if (OnPaintArea) OnPaintArea(this, zone.left(), zone.top(), zone.right() + 1, zone.bottom() + 1);
  if (OnPaint) OnPaint(this);
}

}  // namespace image
