#include "apropos.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QVBoxLayout>

#include "decor.h"
#include "mainform_logic.h"

namespace shell {

using namespace ui;

// ---- Splash ----

Splash::Splash(int maximum, int langue) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setFixedSize(330, 185);
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto *panneau = new QFrame(this);
  panneau->setGeometry(0, 0, 330, 185);
  panneau->setFrameShape(QFrame::Box);
  panneau->setStyleSheet(
      "QFrame { background: white; border: 1px solid #606060; }"
      "QLabel { border: none; }");
  auto *logo = new LogoAnime(64, false, panneau);
  logo->move(20, 28);
  auto *titre = new QLabel(QString::fromUtf8(kProgramTitle), panneau);
  QFont f = titre->font();
  f.setPixelSize(28);
  f.setBold(true);
  titre->setFont(f);
  titre->setGeometry(100, 32, 220, 40);
  auto *ligne = new QLabel(QString::fromUtf8(ligne_editeur(langue)), panneau);
  ligne->setGeometry(100, 76, 220, 40);
  ligne->setWordWrap(true);
  barre_ = new QProgressBar(panneau);
  barre_->setObjectName("barre");
  barre_->setGeometry(20, 140, 290, 18);
  barre_->setTextVisible(false);
  barre_->setStyleSheet(
      "QProgressBar { border: 1px solid #808080; background: #f4f4f4; }"
      "QProgressBar::chunk { background: #f2d21b; }");
  barre_->setRange(0, maximum);
  barre_->setValue(1);
}

void Splash::avance() {
  barre_->setValue(barre_->value() + 1);
}
int Splash::position() const {
  return barre_->value();
}

// ---- Apropos ----

Apropos::Apropos(int langue, QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("Apropos");
  setFixedSize(440, 210);
  setStyleSheet("QDialog { background: white; border: 2px solid #505060; }");
  auto *logo = new LogoAnime(72, true, this);
  logo->move(24, 30);
  auto *titre = new QLabel(QString::fromUtf8(kProgramTitle), this);
  QFont f = titre->font();
  f.setPixelSize(28);
  f.setBold(true);
  titre->setFont(f);
  titre->setGeometry(116, 30, 310, 40);
  auto *ligne = new QLabel(QString::fromUtf8(ligne_editeur(langue)), this);
  ligne->setGeometry(116, 74, 310, 40);
  ligne->setWordWrap(true);
  auto *texte =
      new QLabel(QString::fromUtf8(langue == 0 ? "Catalogue de vidéothèque privée.\nCliquez pour fermer."
                                               : "Private video collection catalogue.\nClick to close."),
                 this);
  texte->setGeometry(116, 124, 310, 60);
  texte->setStyleSheet("color: #505050");
}

void Apropos::mousePressEvent(QMouseEvent *) {
  accept();
}

}  // namespace shell
