#include "hint_design.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include "qt_text.h"

namespace shell {

namespace {

constexpr int kLargeurMax = 400;  // a longer line wraps
constexpr int kDrapeaux = Qt::AlignHCenter | Qt::TextWordWrap;

QColor couleur(std::int32_t valeur) {
  return ui::couleur_windows(static_cast<std::uint32_t>(valeur), QGuiApplication::palette());
}

QRectF rect(const Cadre &c) {
  return QRectF(c.x, c.y, c.largeur, c.hauteur);
}

}  // namespace

// A borderless window that shows a hint drawn beforehand over what the screen held beneath it:
// without a compositor, a see-through window would show black around the shape.
class HintWindow : public QWidget {
 public:
  HintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName("HintWindow");
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  void prepare(const QPixmap &dessous, const QImage &dessin) {
    dessous_ = dessous;
    dessin_ = dessin;
    update();
  }

 protected:
  void paintEvent(QPaintEvent *) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    if (!dessous_.isNull()) p.drawPixmap(0, 0, dessous_);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(0, 0, dessin_);
  }

 private:
  QPixmap dessous_;
  QImage dessin_;
};

QFont fonte_hint(const HintSettings &h) {
  QFont f(ui::qtext(h.font_name));
  if (h.font_height != 0) f.setPixelSize(std::abs(h.font_height));
  f.setBold(h.font_style & kFsBold);
  f.setItalic(h.font_style & kFsItalic);
  f.setUnderline(h.font_style & kFsUnderline);
  f.setStrikeOut(h.font_style & kFsStrikeOut);
  return f;
}

void dessine_hint(QPainter &p, const FormeHint &f, const HintSettings &h, const QFont &fonte,
                  const QImage &image, const QString &texte) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const std::vector<CoucheOmbre> ombre = couches_ombre(h);
  p.setFont(fonte);
  if (f.contour == Contour::aucun) {
    // The text alone, its shadow cast by the letters.
    for (const CoucheOmbre &c : ombre) {
      p.setPen(QColor(0, 0, 0, c.alpha));
      p.drawText(rect(f.texte).translated(c.decalage, c.decalage), kDrapeaux, texte);
    }
  } else {
    const QRectF corps = rect(f.corps).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath chemin;
    if (f.contour == Contour::ellipse)
      chemin.addEllipse(corps);
    else if (f.contour == Contour::rectangle_arrondi)
      chemin.addRoundedRect(corps, f.rayon, f.rayon);
    else
      chemin.addRect(corps);
    if (!f.fleche.empty()) {
      QPolygonF fleche;
      for (const Point &pt : f.fleche) fleche << QPointF(pt.x + 0.5, pt.y + 0.5);
      QPainterPath a;
      a.addPolygon(fleche);
      a.closeSubpath();
      chemin = chemin.united(a);
    }
    for (const Cadre &b : f.bulles) {
      QPainterPath bulle;
      bulle.addEllipse(rect(b));
      chemin = chemin.united(bulle);
    }
    for (const CoucheOmbre &c : ombre)
      p.fillPath(chemin.translated(c.decalage, c.decalage), QColor(0, 0, 0, c.alpha));
    p.fillPath(chemin, couleur(h.color));
    if (!image.isNull() && h.hint_style == HintStyle::hiTexture) {
      p.fillPath(chemin, QBrush(image));
    } else if (!image.isNull() && h.hint_style == HintStyle::hiImage) {
      p.save();
      p.setClipPath(chemin);
      p.drawImage(rect(f.corps), image);
      p.restore();
    }
    if (h.border) p.strokePath(chemin, QPen(couleur(h.border_color), 1));
  }
  p.setPen(couleur(h.font_color));
  p.drawText(rect(f.texte), kDrapeaux, texte);
  p.restore();
}

THintDesign::THintDesign(QObject *parent)
    : QObject(parent), fin_(new QTimer(this)), attente_(new QTimer(this)) {
  setObjectName("HintDesign1");
  fin_->setSingleShot(true);
  connect(fin_, &QTimer::timeout, this, &THintDesign::cache);
  // The screen keeps showing a hint just hidden until the windows beneath have repainted: the
  // next one waits for that before it takes what lies under it.
  attente_->setSingleShot(true);
  attente_->setInterval(80);
  connect(attente_, &QTimer::timeout, this, &THintDesign::affiche);
  qApp->installEventFilter(this);
  set_settings(settings_);
}

THintDesign::~THintDesign() {
  delete fenetre_;
}

void THintDesign::set_settings(const HintSettings &h) {
  settings_ = h;
  fonte_ = fonte_hint(h);
  image_ = QImage::fromData(QByteArray::fromStdString(h.picture_bmp), "BMP");
  QToolTip::setFont(fonte_);
  QPalette p = QToolTip::palette();
  p.setColor(QPalette::ToolTipBase, couleur(h.color));
  p.setColor(QPalette::ToolTipText, couleur(h.font_color));
  QToolTip::setPalette(p);
  if (fenetre()) {
    cache();
    attente_->start();
  }
}

QWidget *THintDesign::fenetre() const {
  return fenetre_ && fenetre_->isVisible() ? fenetre_ : nullptr;
}

void THintDesign::cache() {
  fin_->stop();
  attente_->stop();
  if (fenetre_) fenetre_->hide();
}

void THintDesign::montre(QWidget *controle, const QString &texte, QPoint souris) {
  // Asked again as the mouse moves over its control, a hint stays where it is.
  if (fenetre() && controle == controle_ && texte == texte_) return;
  const bool remplace = fenetre() != nullptr;
  cache();
  if (!controle || texte.isEmpty()) return;
  controle_ = controle;
  texte_ = texte;
  souris_ = souris;
  if (remplace)
    attente_->start();
  else
    affiche();
}

void THintDesign::affiche() {
  QWidget *controle = controle_;
  if (!controle) return;
  const QString &texte = texte_;
  const QPoint souris = souris_;
  QScreen *ecran = QGuiApplication::screenAt(souris);
  if (!ecran) ecran = controle->screen();
  const QRect zone = ecran->availableGeometry();
  const QRect t = QFontMetrics(fonte_).boundingRect(QRect(0, 0, kLargeurMax, 4000), kDrapeaux, texte);
  const QRect c(controle->mapToGlobal(QPoint(0, 0)), controle->size());
  const Point vise =
      point_vise({c.x(), c.y(), c.width(), c.height()}, {souris.x(), souris.y()}, settings_.position);
  const Placement pl = place_hint(settings_, vise, {zone.x(), zone.y(), zone.width(), zone.height()},
                                  t.width(), t.height(), image_.width(), image_.height());
  QImage dessin(pl.forme.largeur, pl.forme.hauteur, QImage::Format_ARGB32_Premultiplied);
  dessin.fill(Qt::transparent);
  {
    QPainter p(&dessin);
    dessine_hint(p, pl.forme, settings_, fonte_, image_, texte);
  }
  const QRect ou(pl.coin.x, pl.coin.y, pl.forme.largeur, pl.forme.hauteur);
  const QPoint origine = ecran->geometry().topLeft();
  const QPixmap dessous =
      ecran->grabWindow(0, ou.x() - origine.x(), ou.y() - origine.y(), ou.width(), ou.height());
  if (!fenetre_) fenetre_ = new HintWindow;
  fenetre_->prepare(dessous, dessin);
  fenetre_->setGeometry(ou);
  fenetre_->show();
  // As long as Qt's own: ten seconds, and more for a longer text.
  fin_->start(10000 + 40 * static_cast<int>(texte.size()));
}

bool THintDesign::eventFilter(QObject *objet, QEvent *event) {
  switch (event->type()) {
    case QEvent::ToolTip: {
      auto *w = qobject_cast<QWidget *>(objet);
      // Items of views carry their own texts: Qt shows those.
      if (!w || w->toolTip().isEmpty()) break;
      montre(w, w->toolTip(), static_cast<QHelpEvent *>(event)->globalPos());
      return true;
    }
    case QEvent::Leave:
    case QEvent::Hide:
      if (objet == controle_) cache();
      break;
    case QEvent::KeyPress: {
      // A modifier alone is not typing.
      const int touche = static_cast<QKeyEvent *>(event)->key();
      if (touche < Qt::Key_Shift || touche > Qt::Key_ScrollLock) cache();
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
      cache();
      break;
    default:
      break;
  }
  return QObject::eventFilter(objet, event);
}

}  // namespace shell
