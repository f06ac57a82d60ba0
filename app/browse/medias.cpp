#include "medias.h"

#include <QAudioOutput>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStorageInfo>
#include <QStyle>
#include <QToolButton>
#include <QVideoWidget>

#include "decor.h"
#include "prompts.h"
#include "textes.h"

namespace browse {

using ui::Paire;

namespace {

constexpr Paire kCaptionChoix{"Sélection d'une image", "Image viewer"};
constexpr Paire kVisualisation{"Visualisation ", "Visualisation "};
constexpr Paire kAnnuler{"&Annuler", "&Cancel"};
constexpr Paire kTailleReelle{"Taille réelle", "Real size"};
constexpr Paire kVoirCacher{"Voir l'image ou la cacher", "Voir l'image ou la cacher"};
constexpr Paire kCaptionViewer{"Affiche de l'enregistrement", "Image"};

// The drives of a Unix desktop: the root, the home folder and what is mounted for removable media.
QStringList lecteurs() {
  QStringList l{QDir::rootPath(), QDir::homePath()};
  for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
    const QString r = v.rootPath();
    if (v.isValid() && v.isReady() &&
        (r.startsWith("/media/") || r.startsWith("/mnt/") || r.startsWith("/run/media/")))
      l << r;
  }
  return l;
}

// The magnifying glass of the zoom buttons.
QIcon loupe() {
  QPixmap pm(24, 24);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 44, 52), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
  p.setPen(QPen(QColor(40, 44, 52), 2));
  p.setBrush(QColor(200, 230, 250));
  p.drawEllipse(QPointF(10, 10), 7, 7);
  return QIcon(pm);
}

// A label whose click flips its check box.
class TitreCoche : public QLabel {
 public:
  TitreCoche(QCheckBox *coche, QWidget *parent) : QLabel(parent), coche_(coche) {}

 protected:
  void mousePressEvent(QMouseEvent *) override { coche_->toggle(); }

 private:
  QCheckBox *coche_;
};

}  // namespace

// ---- the lists ----

ListesFichiers::ListesFichiers(QWidget *parent, std::vector<TypeFichier> types, std::function<void()> change)
    : types_(std::move(types)), change_(std::move(change)) {
  Filter = new QComboBox(parent);
  Filter->setObjectName("Filter");
  for (const TypeFichier &t : types_) Filter->addItem(QString::fromUtf8(t.nom));
  DriveComboBox1 = new QComboBox(parent);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->addItems(lecteurs());
  FileListBox1 = new QListWidget(parent);
  FileListBox1->setObjectName("FileListBox1");
  DirectoryListBox1 = new QListWidget(parent);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  // The drive drives the directory list, which drives the file list, as does the type list.
  QObject::connect(DriveComboBox1, &QComboBox::textActivated, parent, [this](const QString &d) { va(d); });
  QObject::connect(DirectoryListBox1, &QListWidget::itemActivated, parent,
                   [this](QListWidgetItem *i) { va(i->data(Qt::UserRole).toString()); });
  QObject::connect(Filter, &QComboBox::currentIndexChanged, parent, [this] {
    remplit();
    if (!muet_) change_();
  });
  QObject::connect(FileListBox1, &QListWidget::currentRowChanged, parent, [this] {
    if (!muet_) change_();
  });
}

void ListesFichiers::va(const QString &dossier) {
  QFileInfo d(dossier);
  if (!d.isDir()) return;
  dossier_ = d.canonicalFilePath();
  remplit();
  if (!muet_) change_();
}

bool ListesFichiers::selectionne(const QString &fichier) {
  QFileInfo f(fichier);
  if (!f.isFile()) return false;
  muet_ = true;
  va(f.absolutePath());
  muet_ = false;
  const auto trouves = FileListBox1->findItems(f.fileName(), Qt::MatchExactly);
  if (trouves.isEmpty()) {
    change_();
    return false;
  }
  FileListBox1->setCurrentItem(trouves.front());
  return true;
}

QString ListesFichiers::fichier() const {
  const QListWidgetItem *i = FileListBox1->currentItem();
  return i && i->isSelected() ? QDir(dossier_).filePath(i->text()) : QString();
}

void ListesFichiers::remplit() {
  const bool etait_muet = muet_;
  muet_ = true;
  // The folder's ancestors from the root, each one step in, then its own sub-folders.
  DirectoryListBox1->clear();
  QStringList chemin;
  for (QDir d(dossier_);;) {
    chemin.prepend(d.absolutePath());
    if (!d.cdUp()) break;
  }
  int niveau = 0;
  auto ajoute = [&](const QString &texte, const QString &cible, QStyle::StandardPixmap icone) {
    auto *i = new QListWidgetItem(DirectoryListBox1->style()->standardIcon(icone),
                                  QString(niveau * 2, ' ') + texte, DirectoryListBox1);
    i->setData(Qt::UserRole, cible);
    return i;
  };
  for (const QString &a : chemin) {
    const QString nom = QFileInfo(a).fileName();
    QListWidgetItem *i = ajoute(nom.isEmpty() ? a : nom, a, QStyle::SP_DirOpenIcon);
    ++niveau;
    if (a == chemin.back()) DirectoryListBox1->setCurrentItem(i);
  }
  const QDir ici(dossier_);
  for (const QString &s : ici.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
    ajoute(s, ici.filePath(s), QStyle::SP_DirIcon);

  FileListBox1->clear();
  const int t = std::max(0, Filter->currentIndex());
  QStringList motifs;
  if (t < int(types_.size()))
    for (const std::string &m : types_[t].motifs) motifs << QString::fromStdString(m);
  FileListBox1->addItems(ici.entryList(motifs, QDir::Files, QDir::Name | QDir::IgnoreCase));
  FileListBox1->setCurrentRow(-1);
  const int d = DriveComboBox1->findText(chemin.front());
  if (d >= 0) DriveComboBox1->setCurrentIndex(d);
  muet_ = etait_muet;
}

// ---- Tnormal ----

Tnormal::Tnormal(ui::Prompts &prompts, image::UndoHistory &historique, int langue, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName("normal");
  setWindowTitle(ui::choisit(kCaptionViewer, langue));
  defile_ = new QScrollArea(this);
  defile_->setWidgetResizable(false);
  defile_->setFrameShape(QFrame::NoFrame);
  image = new image::TPictureBox(prompts, historique);
  image->setObjectName("image");
  image->setCenter(true);
  image->setImageDither(true);
  image->setImageReadRes(image::TLoadResolution::lAutoMatic);
  image->setTiffPage(1);
  defile_->setWidget(image);
  auto *l = new QHBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(defile_);
  setWindowState(Qt::WindowMaximized);
}

void Tnormal::montre(const QString &fichier) {
  image->setImageName(fichier);
  ajuste();
  setWindowState(Qt::WindowMaximized);
  show();
  raise();
  activateWindow();
}

void Tnormal::ajuste() {
  const QImage p = image->picture() ? image->picture()->to_qimage() : QImage();
  image->move(0, 0);
  image->resize(p.isNull() ? QSize(0, 0) : p.size());
}

void Tnormal::showEvent(QShowEvent *event) {
  ajuste();
  QDialog::showEvent(event);
}

// ---- Touvre_image ----

Touvre_image::Touvre_image(ui::Prompts &prompts, image::UndoHistory &historique, Tnormal &viewer, int langue,
                           QWidget *parent)
    : QDialog(parent, ui::kSansFermeture),
      listes(this, types_images(langue), [this] { change(); }),
      prompts_(prompts),
      viewer_(viewer) {
  setObjectName("ouvre_image");
  setWindowTitle(ui::choisit(kCaptionChoix, langue));
  setFixedSize(470, 294);
  listes.FileListBox1->setGeometry(8, 8, 136, 214);
  listes.Filter->setGeometry(8, 228, 136, 24);
  listes.DirectoryListBox1->setGeometry(150, 8, 136, 214);
  listes.DriveComboBox1->setGeometry(150, 228, 136, 24);

  cadre_image = new QFrame(this);
  cadre_image->setObjectName("cadre_image");
  cadre_image->setFrameShape(QFrame::StyledPanel);
  cadre_image->setFrameShadow(QFrame::Sunken);
  cadre_image->setGeometry(294, 8, 168, 186);
  MultiImage1 = new image::TPictureBox(prompts, historique, cadre_image);
  MultiImage1->setObjectName("MultiImage1");
  MultiImage1->setCenter(true);
  MultiImage1->setImageDither(true);
  MultiImage1->setImageReadRes(image::TLoadResolution::lAutoMatic);
  MultiImage1->setTiffPage(1);
  MultiImage1->setFXDelay(0);
  MultiImage1->setFXColRowThick(0);

  CheckBox1 = new QCheckBox(this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setChecked(true);
  CheckBox1->setToolTip(ui::choisit(kVoirCacher, langue));
  CheckBox1->setGeometry(296, 200, 20, 20);
  Label3D1 = new TitreCoche(CheckBox1, this);
  Label3D1->setObjectName("Label3D1");
  Label3D1->setText(ui::choisit(kVisualisation, langue));
  Label3D1->setGeometry(318, 200, 100, 20);
  zoom_bt = new QToolButton(this);
  zoom_bt->setObjectName("zoom_bt");
  zoom_bt->setIcon(loupe());
  zoom_bt->setIconSize(QSize(20, 20));
  zoom_bt->setAutoRaise(true);
  zoom_bt->setToolTip(ui::choisit(kTailleReelle, langue));
  zoom_bt->setGeometry(430, 197, 28, 26);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  OKBtn->setGeometry(294, 228, 80, 26);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(ui::choisit(kAnnuler, langue), this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  CancelBtn->setGeometry(380, 228, 82, 26);
  // No progress is ever reported by the readers: the gauge stays empty.
  Gauge1 = new QProgressBar(this);
  Gauge1->setObjectName("Gauge1");
  Gauge1->setGeometry(8, 262, 454, 22);
  Gauge1->setValue(0);
  Gauge1->setTextVisible(false);

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { apercu(); });
  connect(listes.FileListBox1, &QListWidget::itemDoubleClicked, this, [this] { apercu(); });
  connect(zoom_bt, &QToolButton::clicked, this, &Touvre_image::zoom_btClick);
  move(screen()->availableGeometry().center() - rect().center());
}

void Touvre_image::set_nom(const QString &nom, const QString &depart) {
  if (!listes.selectionne(nom)) listes.va(depart);
  nom_ = nom;
}

void Touvre_image::change() {
  // Browsing folders with nothing selected keeps the name already chosen.
  const QString f = listes.fichier();
  if (!f.isEmpty()) nom_ = f;
  listes.FileListBox1->setEnabled(false);
  apercu();
  listes.FileListBox1->setEnabled(true);
  listes.FileListBox1->setFocus();
}

void Touvre_image::apercu() {
  const QString f = listes.fichier();
  MultiImage1->setImageName(CheckBox1->isChecked() ? f : QString());
  dispose();
}

void Touvre_image::dispose() {
  const image::Picture &p = MultiImage1->picture();
  const Apercu a =
      dispose_apercu(cadre_image->width(), cadre_image->height(), p ? p->width() : 0, p ? p->height() : 0);
  MultiImage1->setGeometry(a.x, a.y, a.largeur, a.hauteur);
  MultiImage1->setStretchRatio(a.reduit);
  zoom_bt->setEnabled(zoom_actif(!listes.fichier().isEmpty(), CheckBox1->isChecked()));
}

void Touvre_image::zoom_btClick() {
  viewer_.image->setPicture(MultiImage1->picture());
  viewer_.ajuste();
  prompts_.execute(viewer_);
}

// ---- Tmultimedia ----

Tmultimedia::Tmultimedia(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName("multimedia");
  setWindowTitle(QStringLiteral("Player"));
  auto *rang = new QHBoxLayout(this);
  rang->setContentsMargins(0, 0, 0, 0);
  rang->setSpacing(0);
  auto bouton = [&](QStyle::StandardPixmap icone, auto action) {
    auto *b = new QToolButton(this);
    b->setIcon(style()->standardIcon(icone));
    b->setFixedSize(24, 20);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, action);
    rang->addWidget(b);
  };
  // The buttons act on the device once a file has opened it.
  bouton(QStyle::SP_MediaPlay, [this] {
    if (mp1 && !mp1->source().isEmpty()) {
      if (mp1->hasVideo()) ecran->show();
      mp1->play();
    }
  });
  bouton(QStyle::SP_MediaPause, [this] {
    if (mp1) mp1->pause();
  });
  bouton(QStyle::SP_MediaStop, [this] {
    if (mp1) mp1->stop();
  });
  bouton(QStyle::SP_MediaSkipBackward, [this] {
    if (mp1) mp1->setPosition(0);
  });
  bouton(QStyle::SP_MediaSkipForward, [this] {
    if (mp1) mp1->setPosition(mp1->duration());
  });
  position_ = new QSlider(Qt::Horizontal, this);
  position_->setFixedHeight(20);
  rang->addWidget(position_, 1);
  setFixedSize(253, 20);
}

void Tmultimedia::ouvre_peripherique() {
  if (mp1) return;
  mp1 = new QMediaPlayer(this);
  mp1->setObjectName("mp1");
  son_ = new QAudioOutput(this);
  mp1->setAudioOutput(son_);
  // The picture opens in a window of its own, beside the bar, as the video device does.
  ecran = new QVideoWidget;
  ecran->setObjectName("ecran");
  ecran->resize(320, 240);
  mp1->setVideoOutput(ecran);
  connect(mp1, &QMediaPlayer::durationChanged, position_,
          [this](qint64 d) { position_->setRange(0, int(d)); });
  connect(mp1, &QMediaPlayer::positionChanged, position_, [this](qint64 p) {
    if (!position_->isSliderDown()) position_->setValue(int(p));
  });
  connect(position_, &QSlider::sliderMoved, mp1, [this](int p) { mp1->setPosition(p); });
  connect(mp1, &QMediaPlayer::hasVideoChanged, ecran, [this](bool video) {
    if (video) {
      ecran->setWindowTitle(QFileInfo(mp1->source().toLocalFile()).fileName());
      ecran->show();
    }
  });
}

Tmultimedia::~Tmultimedia() {
  delete ecran;
}

void Tmultimedia::joue(const QString &fichier) {
  // The new file replaces whatever was open; a missing one leaves the device closed.
  ouvre_peripherique();
  mp1->stop();
  const bool existe = QFileInfo(fichier).isFile();
  mp1->setSource(existe ? QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath()) : QUrl());
  show();
  raise();
  if (existe) mp1->play();
}

}  // namespace browse
