#include "open_bitmap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>

#include "decor.h"
#include "platform/regional.h"
#include "prompts.h"

namespace browse {

QImage lit_image(const QString &fichier) {
  image::Reglages r;
  r.ImageReadRes = image::TLoadResolution::lColorTrue;
  const image::Chargement c = image::charge(fichier.toStdString(), r);
  return c.issue == image::Chargement::Issue::remplace && c.image ? c.image->to_qimage() : QImage();
}

// ---- TRealSize ----

TRealSize::TRealSize(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName("RealSize");
  defile_ = new QScrollArea(this);
  defile_->setFrameShape(QFrame::NoFrame);
  Image = new QLabel;
  Image->setObjectName("Image");
  defile_->setWidget(Image);
  auto *l = new QHBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(defile_);
}

void TRealSize::montre(const QImage &image, const QString &fichier) {
  Image->setPixmap(QPixmap::fromImage(image));
  Image->resize(image.size());
  setWindowTitle(QStringLiteral("Zoom - ") + fichier);
  setWindowState(Qt::WindowMaximized);
  show();
  raise();
}

// ---- TOpenBmpDlg ----

TOpenBmpDlg::TOpenBmpDlg(TLanguage langue, const QString &titre, const QString &InitialDir, QWidget *parent)
    : QDialog(parent, ui::kSansFermeture),
      listes(this, types_bitmap(textes_bitmap(langue_bitmap(langue, platform::regional_language())).toutes),
             [this] { change(); }) {
  setObjectName("OpenBmpDlg");
  const TextesBitmap &t = textes_bitmap(langue_bitmap(langue, platform::regional_language()));
  setWindowTitle(titre.isEmpty() ? QString::fromUtf8(t.caption) : titre);
  setFixedSize(470, 300);
  RealSize = new TRealSize(this);
  listes.FileListBox1->setGeometry(8, 8, 136, 220);
  listes.Filter->setGeometry(8, 234, 136, 24);
  listes.DirectoryListBox1->setGeometry(150, 8, 136, 220);
  listes.DriveComboBox1->setGeometry(150, 234, 136, 24);
  ImageRect = new QGroupBox(this);
  ImageRect->setObjectName("ImageRect");
  ImageRect->setGeometry(294, 4, 168, 190);
  Image = new QLabel(ImageRect);
  Image->setObjectName("Image");
  Image->setScaledContents(true);
  CheckBox1 = new QCheckBox(QString::fromUtf8(t.voir), this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setGeometry(300, 200, t.largeur_voir + 20, 22);
  ZoomBtn = new QToolButton(this);
  ZoomBtn->setObjectName("ZoomBtn");
  ZoomBtn->setText(QStringLiteral("1:1"));
  ZoomBtn->setGeometry(430, 198, 32, 26);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  OKBtn->setGeometry(294, 234, 80, 26);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QString::fromUtf8(t.annuler), this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  CancelBtn->setGeometry(380, 234, 82, 26);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { change(); });
  connect(ZoomBtn, &QToolButton::clicked, this, [this] { RealSize->montre(lit_image(FileName), FileName); });
  CheckBox1->setChecked(true);
  listes.va(InitialDir.isEmpty() ? QDir::currentPath() : InitialDir);
  move(screen()->availableGeometry().center() - rect().center());
}

TOpenBmpDlg::~TOpenBmpDlg() = default;

void TOpenBmpDlg::change() {
  if (listes.FileListBox1->currentRow() < 0 && listes.FileListBox1->count() > 0) {
    listes.FileListBox1->setCurrentRow(0);  // runs change again
    return;
  }
  FileName = listes.fichier();
  image_ = CheckBox1->isChecked() && QFileInfo(FileName).isFile() ? lit_image(FileName) : QImage();
  const QRect zone = ImageRect->contentsRect();
  const Taille t = taille_apercu_bmp({ImageRect->width() - 30, ImageRect->height() - 30},
                                     {image_.width(), image_.height()});
  Image->setPixmap(QPixmap::fromImage(image_));
  Image->setGeometry(zone.center().x() - t.largeur / 2, zone.center().y() - t.hauteur / 2, t.largeur,
                     t.hauteur);
  Image->setVisible(!image_.isNull());
  ZoomBtn->setEnabled(!image_.isNull() && !(t == Taille{image_.width(), image_.height()}));
}

// ---- TOpenBitmap ----

bool TOpenBitmap::Execute(QWidget *parent) {
  TOpenBmpDlg d(Language, Title, InitialDir, parent);
  if (prompts_.execute(d)) {
    FileName = d.FileName;
    InitialDir = d.listes.dossier();
    return true;
  }
  FileName.clear();
  InitialDir.clear();
  Title.clear();
  return false;
}

}  // namespace browse
