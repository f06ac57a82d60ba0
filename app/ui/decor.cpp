#include "decor.h"

#include <QDateTime>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

// ---- Fond ----

Fond::Fond(QWidget *parent) : QWidget(parent), couleur_(palette().color(QPalette::Button)) {}

void Fond::set_texture(const QPixmap &texture) {
  texture_ = texture;
  update();
}

void Fond::set_couleur(const QColor &couleur) {
  texture_ = QPixmap();
  couleur_ = couleur;
  update();
}

void Fond::paintEvent(QPaintEvent *) {
  QPainter p(this);
  if (!texture_.isNull())
    p.drawTiledPixmap(rect(), texture_);
  else
    p.fillRect(rect(), couleur_);
}

// ---- the reel ----

namespace {

void dessine_bobine(QPainter &p, QRectF r, double angle) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QPointF c = r.center();
  double R = r.width() / 2 - 1;
  p.setPen(QPen(QColor(40, 40, 48), 1.2));
  p.setBrush(QColor(70, 90, 140));
  p.drawEllipse(c, R, R);
  p.setBrush(QColor(215, 220, 230));
  for (int i = 0; i < 3; ++i) {
    double a = (angle + i * 120) * std::numbers::pi / 180;
    QPointF h(c.x() + std::cos(a) * R * 0.55, c.y() + std::sin(a) * R * 0.55);
    p.drawEllipse(h, R * 0.24, R * 0.24);
  }
  p.setBrush(QColor(30, 30, 36));
  p.drawEllipse(c, R * 0.14, R * 0.14);
  p.restore();
}

}  // namespace

LogoAnime::LogoAnime(int taille, bool anime, QWidget *parent) : QWidget(parent), taille_(taille) {
  setFixedSize(taille, taille);
  if (anime) {
    auto *t = new QTimer(this);
    connect(t, &QTimer::timeout, this, [this] {
      angle_ = (angle_ + 15) % 360;
      update();
    });
    t->start(120);
  }
}

void LogoAnime::paintEvent(QPaintEvent *) {
  QPainter p(this);
  dessine_bobine(p, QRectF(rect()), angle_);
}

// ---- Horloge ----

Horloge::Horloge(QWidget *parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  auto *t = new QTimer(this);
  connect(t, &QTimer::timeout, this, qOverload<>(&QWidget::update));
  t->start(1000);
}

void Horloge::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.fillRect(rect(), QColor(20, 24, 20));
  QFont f(QStringLiteral("Monospace"));
  f.setStyleHint(QFont::TypeWriter);
  f.setBold(true);
  f.setPixelSize(height() - 6);
  p.setFont(f);
  p.setPen(QColor(90, 255, 110));
  p.drawText(rect(), Qt::AlignCenter, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
}

// ---- icons ----

QIcon icone(const QString &nom) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor trait(40, 44, 52);
  p.setPen(QPen(trait, 1.6));
  auto papier = [&](QRectF r) {
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(r);
  };
  auto calendrier = [&] {
    papier(QRectF(5, 7, 22, 20));
    p.setBrush(QColor(200, 50, 45));
    p.drawRect(QRectF(5, 7, 22, 6));
    p.setPen(QPen(trait, 1));
    for (int y = 16; y <= 23; y += 4)
      for (int x = 9; x <= 23; x += 5) p.drawPoint(QPointF(x, y));
  };
  if (nom == "dossier_bt") {
    p.setBrush(QColor(235, 190, 80));
    QPainterPath d;
    d.moveTo(3, 9);
    d.lineTo(12, 9);
    d.lineTo(14, 12);
    d.lineTo(29, 12);
    d.lineTo(29, 26);
    d.lineTo(3, 26);
    d.closeSubpath();
    p.drawPath(d);
    p.setBrush(QColor(250, 215, 120));
    p.drawRect(QRectF(3, 15, 26, 11));
  } else if (nom == "photo_bt" || nom == "Eaffiche") {
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(QRectF(4, 6, 24, 20));
    p.setBrush(QColor(250, 210, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(21, 12), 3, 3);
    p.setBrush(QColor(70, 140, 70));
    p.drawPolygon(QPolygonF({QPointF(5, 25), QPointF(13, 14), QPointF(20, 25)}));
  } else if (nom == "video_bt" || nom == "Evideo") {
    p.setBrush(QColor(50, 50, 56));
    p.drawRect(QRectF(6, 3, 20, 26));
    p.setBrush(QColor(235, 235, 235));
    p.setPen(Qt::NoPen);
    for (int y = 5; y < 28; y += 5) {
      p.drawRect(QRectF(7.5, y, 3, 2.5));
      p.drawRect(QRectF(21.5, y, 3, 2.5));
    }
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(12, 6, 8, 8));
    p.drawRect(QRectF(12, 17, 8, 8));
  } else if (nom == "generique_bt" || nom == "Egenerique") {
    p.setBrush(QColor(110, 140, 200));
    p.drawEllipse(QPointF(16, 10), 5, 5);
    p.drawChord(QRectF(6, 17, 20, 18), 0, 180 * 16);
  } else if (nom == "recherche_bt") {
    p.setPen(QPen(trait, 3));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(trait, 2));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QPointF(13, 13), 8, 8);
  } else if (nom == "resultat_bt") {
    papier(QRectF(6, 4, 20, 25));
    p.setPen(QPen(QColor(30, 140, 60), 2.2));
    for (int y = 10; y <= 22; y += 6) {
      p.drawLine(QPointF(9, y), QPointF(11, y + 2));
      p.drawLine(QPointF(11, y + 2), QPointF(14, y - 2));
    }
    p.setPen(QPen(trait, 1.2));
    for (int y = 11; y <= 23; y += 6) p.drawLine(QPointF(16, y), QPointF(23, y));
  } else if (nom == "statistiques_bt") {
    QRectF r(4, 4, 24, 24);
    p.setBrush(QColor(90, 140, 220));
    p.drawPie(r, 90 * 16, 150 * 16);
    p.setBrush(QColor(240, 180, 60));
    p.drawPie(r, 240 * 16, 80 * 16);
    p.setBrush(QColor(200, 70, 70));
    p.drawPie(r, 320 * 16, 130 * 16);
  } else if (nom == "editions_bt") {
    papier(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    papier(QRectF(9, 20, 14, 9));
    p.setBrush(QColor(80, 200, 90));
    p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
  } else if (nom == "echeancier_bt" || nom == "dateSbtn" || nom == "dateEbtn") {
    calendrier();
  } else if (nom == "parametres_bt") {
    papier(QRectF(5, 4, 22, 25));
    p.setPen(QPen(QColor(60, 90, 160), 2));
    for (int y = 9; y <= 24; y += 5) p.drawLine(QPointF(9, y), QPointF(23, y));
  } else if (nom == "Sajouter" || nom == "Eajouter") {
    p.setPen(QPen(QColor(30, 140, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 6), QPointF(16, 26));
    p.drawLine(QPointF(6, 16), QPointF(26, 16));
  } else if (nom == "Ssupprimer" || nom == "Esupprimer") {
    p.setPen(QPen(QColor(200, 40, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
  } else if (nom == "Smodifier" || nom == "Emodifier") {
    p.translate(16, 16);
    p.rotate(45);
    p.setBrush(QColor(240, 190, 60));
    p.drawRect(QRectF(-4, -13, 8, 20));
    p.setBrush(QColor(240, 200, 170));
    p.drawPolygon(QPolygonF({QPointF(-4, 7), QPointF(4, 7), QPointF(0, 14)}));
  } else if (nom == "Sok" || nom == "Eok") {
    p.setBrush(QColor(60, 90, 170));
    p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(9, 5, 14, 8));
    p.drawRect(QRectF(9, 17, 14, 10));
  } else if (nom == "Sprete" || nom == "Semprunte") {
    bool sortie = nom == "Sprete";
    p.setBrush(QColor(70, 90, 140));
    p.drawRect(QRectF(4, 9, 15, 14));
    p.setPen(QPen(sortie ? QColor(210, 120, 30) : QColor(30, 140, 60), 3.2, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    double a = sortie ? 17 : 29, b = sortie ? 29 : 17;
    p.drawLine(QPointF(a, 16), QPointF(b, 16));
    p.drawLine(QPointF(b + (sortie ? -5 : 5), 11), QPointF(b, 16));
    p.drawLine(QPointF(b + (sortie ? -5 : 5), 21), QPointF(b, 16));
  } else if (nom == "Erecompenses") {
    p.setBrush(QColor(245, 200, 50));
    QPolygonF etoile;
    for (int i = 0; i < 10; ++i) {
      double a = (-90 + i * 36) * std::numbers::pi / 180, r = i % 2 ? 5.5 : 13;
      etoile << QPointF(16 + std::cos(a) * r, 17 + std::sin(a) * r);
    }
    p.drawPolygon(etoile);
  }
  p.end();
  return QIcon(pm);
}

QToolButton *bouton(const char *nom, int taille, QWidget *parent) {
  auto *b = new QToolButton(parent);
  b->setObjectName(nom);
  b->setAutoRaise(true);
  b->setFixedSize(taille, taille);
  b->setIcon(icone(QString::fromLatin1(nom)));
  const int cote = std::min(32, taille - 6);
  b->setIconSize(QSize(cote, cote));
  return b;
}

}  // namespace ui
