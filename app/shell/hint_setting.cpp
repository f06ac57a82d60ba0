#include "hint_setting.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <span>

#include "aide.h"
#include "decor.h"
#include "hint_design.h"
#include "hint_logic.h"
#include "prompts.h"
#include "qt_text.h"

namespace shell {

using namespace ui;

namespace {

constexpr TexteSur C = TexteSur::caption;
constexpr TexteControle kTextes[] = {
    {"GroupBox1", C, "Bord ", "Border "},
    {"GroupBox2", C, "Ombre ", "Shadow "},
    {"GroupBox3", C, "Propriété ", "Properties "},
    {"GroupBox4", C, "Zone de test ", "Test "},
    {"Border", C, "Visible", "Visible"},
    {"Shadow", C, "Visible", "Visible"},
    {"Label1", C, "Couleur", "Color"},
    {"Label2", C, "Epaisseur", "Width"},
    {"Label3", C, "Intensité", "Intensity"},
    {"Label4", C, "Qualité", "Quality"},
    {"Label5", C, "Couleur", "Color"},
    {"Label6", C, "Image", "Image"},
    {"Label7", C, "Type", "Style"},
    {"Label8", C, "Lien", "Link"},
    {"Label9", C, "Position", "Position"},
    {"Label10", C, "Fonte", "Font"},
    {"TestBtn", C, "bouton test", "button test"},
    {"BitBtn2", C, "&Ok", "&Ok"},
    {"BitBtn1", C, "&Annuler", "&Cancel"},
};

// The lines of the four lists, in the order of hint_logic.h.
constexpr Paire kQualites[] = {{"basse", "low"}, {"haute", "hi"}};
constexpr Paire kTypes[] = {{"bulle", "bubble"},        {"image", "image"},
                            {"rectangle", "rectangle"}, {"rectangle arrondi", "rounded rectangle"},
                            {"texte", "text"},          {"texture", "texture"}};
constexpr Paire kLiens[] = {{"flèche", "arrow"}, {"bulle", "bubble"}, {"aucun", "none"}};
constexpr Paire kPositions[] = {{"bas gauche", "bottom left"},
                                {"bas droit", "bottom right"},
                                {"haut gauche", "top left"},
                                {"haut droit", "top right"}};
static_assert(std::size(kQualites) == kListeQualite.size() && std::size(kTypes) == kListeType.size() &&
              std::size(kLiens) == kListeLien.size() && std::size(kPositions) == kListePosition.size());

constexpr int kMemoMax = 255;

void remplit(QComboBox *liste, std::span<const Paire> lignes, int langue) {
  const int choisie = liste->currentIndex();
  liste->clear();
  for (const Paire &l : lignes) liste->addItem(choisit(l, langue));
  liste->setCurrentIndex(choisie < 0 ? 0 : choisie);
}

}  // namespace

THintSetting::THintSetting(THintDesign &hint, Prompts &prompts, int langue, QWidget *parent)
    : QDialog(parent), hint_(hint), prompts_(prompts), langue_(langue) {
  setObjectName("THintSetting");
  setWindowFlags(kSansFermeture);
  auto nomme = [this](auto *w, const char *nom) {
    w->setObjectName(nom);
    return registre_.ajoute(w);
  };
  auto label = [&](const char *nom) { return nomme(new QLabel, nom); };
  auto panneau = [&](const char *nom) {
    auto *f = nomme(new QFrame, nom);
    f->setFrameShape(QFrame::Box);
    f->setFixedSize(44, 20);
    f->setAutoFillBackground(true);
    return f;
  };
  auto petit_bouton = [&](const char *nom, const char *bulle) {
    auto *b = nomme(new QPushButton(QStringLiteral("…")), nom);
    b->setFixedWidth(30);
    b->setToolTip(QString::fromUtf8(bulle));
    return b;
  };

  auto *bord = nomme(new QGroupBox, "GroupBox1");
  auto *g = new QGridLayout(bord);
  Border = nomme(new QCheckBox, "Border");
  BorderColor = panneau("BorderColor");
  g->addWidget(Border, 0, 0, 1, 3);
  g->addWidget(label("Label1"), 1, 0);
  g->addWidget(BorderColor, 1, 1);
  g->addWidget(petit_bouton("BitBtn12", "Select color"), 1, 2);

  auto *ombre = nomme(new QGroupBox, "GroupBox2");
  g = new QGridLayout(ombre);
  Shadow = nomme(new QCheckBox, "Shadow");
  ShadowWidth = nomme(new QSpinBox, "ShadowWidth");
  ShadowWidth->setRange(1, 10);
  ShadowIntensity = nomme(new QSpinBox, "ShadowIntensity");
  ShadowIntensity->setRange(10, 200);
  ShadowQuality = nomme(new QComboBox, "ShadowQuality");
  g->addWidget(Shadow, 0, 0, 1, 2);
  g->addWidget(label("Label2"), 1, 0);
  g->addWidget(ShadowWidth, 1, 1);
  g->addWidget(label("Label3"), 2, 0);
  g->addWidget(ShadowIntensity, 2, 1);
  g->addWidget(label("Label4"), 3, 0);
  g->addWidget(ShadowQuality, 3, 1);

  auto *proprietes = nomme(new QGroupBox, "GroupBox3");
  g = new QGridLayout(proprietes);
  Color = panneau("Color");
  Picture = label("Picture");
  Picture->setFixedSize(48, 48);
  Picture->setFrameShape(QFrame::Box);
  Picture->setAlignment(Qt::AlignCenter);
  HintType = nomme(new QComboBox, "HintType");
  LinkType = nomme(new QComboBox, "LinkType");
  Position = nomme(new QComboBox, "Position");
  BitBtn4 = nomme(new QPushButton, "BitBtn4");
  font = label("font");
  font->setText(QStringLiteral("AaBbYyZz"));
  font->setFrameShape(QFrame::Panel);
  font->setFrameShadow(QFrame::Sunken);
  font->setAlignment(Qt::AlignCenter);
  font->setMinimumHeight(36);
  font->setAutoFillBackground(true);
  g->addWidget(label("Label5"), 0, 0);
  g->addWidget(Color, 0, 1);
  g->addWidget(petit_bouton("BitBtn3", "Select color"), 0, 2);
  g->addWidget(label("Label6"), 1, 0);
  g->addWidget(Picture, 1, 1);
  g->addWidget(petit_bouton("BitBtn11", "Select bitmap"), 1, 2);
  g->addWidget(label("Label7"), 2, 0);
  g->addWidget(HintType, 2, 1, 1, 2);
  g->addWidget(label("Label8"), 3, 0);
  g->addWidget(LinkType, 3, 1, 1, 2);
  g->addWidget(label("Label9"), 4, 0);
  g->addWidget(Position, 4, 1, 1, 2);
  g->addWidget(label("Label10"), 5, 0);
  g->addWidget(BitBtn4, 5, 1, 1, 2);
  g->addWidget(font, 6, 0, 1, 3);

  auto *test = nomme(new QGroupBox, "GroupBox4");
  auto *t = new QHBoxLayout(test);
  TestBtn = nomme(new QPushButton, "TestBtn");
  TestBtn->setMinimumHeight(40);
  Memo1 = nomme(new QPlainTextEdit, "Memo1");
  Memo1->setFixedHeight(52);
  t->addWidget(TestBtn);
  t->addWidget(Memo1, 1);

  auto *ok = nomme(new QPushButton, "BitBtn2");
  ok->setDefault(true);
  auto *annuler = nomme(new QPushButton, "BitBtn1");
  auto *boutons = new QHBoxLayout;
  boutons->addStretch(1);
  boutons->addWidget(ok);
  boutons->addWidget(annuler);

  auto *gauche = new QVBoxLayout;
  gauche->addWidget(bord);
  gauche->addWidget(ombre);
  gauche->addStretch(1);
  auto *haut = new QHBoxLayout;
  haut->addLayout(gauche);
  haut->addWidget(proprietes, 1);
  auto *tout = new QVBoxLayout(this);
  tout->addLayout(haut);
  tout->addWidget(test);
  tout->addLayout(boutons);
  tout->setSizeConstraint(QLayout::SetFixedSize);

  const std::pair<const char *, void (THintSetting::*)()> clics[] = {
      {"BitBtn12", &THintSetting::BitBtn12Click}, {"BitBtn3", &THintSetting::BitBtn3Click},
      {"BitBtn11", &THintSetting::BitBtn11Click}, {"BitBtn4", &THintSetting::BitBtn4Click},
      {"BitBtn2", &THintSetting::BitBtn2Click},   {"BitBtn1", &THintSetting::BitBtn1Click}};
  for (const auto &[nom, clic] : clics)
    connect(qobject_cast<QPushButton *>(registre_.cherche(nom)), &QPushButton::clicked, this,
            [this, c = clic] { (this->*c)(); });
  connect(Memo1, &QPlainTextEdit::textChanged, this, &THintSetting::Memo1Change);
  TestBtn->installEventFilter(this);
  aide_f1(*this, prompts_, langue_, "preferences");
  SetLingua();  // the lists' widths are taken before the first showing
}

void THintSetting::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

bool THintSetting::eventFilter(QObject *objet, QEvent *event) {
  // Over the test button, its hint shows what the controls hold.
  if (objet == TestBtn && event->type() == QEvent::Enter) applique();
  return QDialog::eventFilter(objet, event);
}

void THintSetting::SetLingua() {
  setWindowTitle(choisit({"Bulles d'aide", "Hint Windows"}, langue_));
  registre_.applique(kTextes, langue_);
  remplit(ShadowQuality, kQualites, langue_);
  remplit(HintType, kTypes, langue_);
  remplit(LinkType, kLiens, langue_);
  remplit(Position, kPositions, langue_);
  Memo1->setPlainText(choisit({"Test des bulles d'aides", "hint window"}, langue_));
}

void THintSetting::FormShow() {
  SetLingua();
  Memo1Change();
  const HintSettings h = hint_.settings();
  Border->setChecked(h.border);
  border_color_ = h.border_color;
  montre_couleur(BorderColor, border_color_);
  Shadow->setChecked(h.shadow);
  ShadowWidth->setValue(h.shadow_width);
  ShadowIntensity->setValue(h.shadow_intensity);
  ShadowQuality->setCurrentIndex(ligne_liste(kListeQualite, h.shadow_quality));
  color_ = h.color;
  montre_couleur(Color, color_);
  picture_bmp_ = h.picture_bmp;
  montre_image();
  HintType->setCurrentIndex(ligne_liste(kListeType, h.hint_style));
  LinkType->setCurrentIndex(ligne_liste(kListeLien, h.link_style));
  Position->setCurrentIndex(ligne_liste(kListePosition, h.position));
  font_color_ = h.font_color;
  font_height_ = h.font_height;
  font_name_ = h.font_name;
  font_style_ = h.font_style;
  montre_fonte();
}

HintSettings THintSetting::valeurs() const {
  HintSettings h = hint_.settings();
  h.border = Border->isChecked();
  h.border_color = border_color_;
  h.shadow = Shadow->isChecked();
  h.shadow_width = ShadowWidth->value();
  h.shadow_intensity = ShadowIntensity->value();
  h.shadow_quality = valeur_liste(kListeQualite, ShadowQuality->currentIndex());
  h.color = color_;
  h.hint_style = valeur_liste(kListeType, HintType->currentIndex());
  h.link_style = valeur_liste(kListeLien, LinkType->currentIndex());
  h.position = valeur_liste(kListePosition, Position->currentIndex());
  h.picture_bmp = picture_bmp_;
  h.font_color = font_color_;
  h.font_height = font_height_;
  h.font_name = font_name_;
  h.font_style = font_style_;
  return h;
}

void THintSetting::applique() {
  hint_.set_settings(valeurs());
}

void THintSetting::Memo1Change() {
  QString texte = Memo1->toPlainText();
  if (texte.size() > kMemoMax) {
    texte.truncate(kMemoMax);
    const QSignalBlocker calme(Memo1);
    Memo1->setPlainText(texte);
    Memo1->moveCursor(QTextCursor::End);
  }
  TestBtn->setToolTip(texte);
}

void THintSetting::montre_couleur(QFrame *panneau, std::int32_t valeur) {
  QPalette p = panneau->palette();
  p.setColor(QPalette::Window, couleur_windows(static_cast<std::uint32_t>(valeur), palette()));
  panneau->setPalette(p);
}

void THintSetting::choisit_couleur(QFrame *panneau, std::int32_t &valeur) {
  if (std::optional<QColor> c = prompts_.choix_couleur(panneau->palette().color(QPalette::Window))) {
    valeur = static_cast<std::int32_t>(valeur_windows(*c));
    montre_couleur(panneau, valeur);
  }
}

void THintSetting::BitBtn12Click() {
  choisit_couleur(BorderColor, border_color_);
}

void THintSetting::BitBtn3Click() {
  choisit_couleur(Color, color_);
  montre_fonte();  // the sample is shown on the message's colour
}

void THintSetting::montre_image() {
  QImage image = QImage::fromData(QByteArray::fromStdString(picture_bmp_), "BMP");
  Picture->setPixmap(image.isNull()
                         ? QPixmap()
                         : QPixmap::fromImage(image.scaled(Picture->size() - QSize(4, 4), Qt::KeepAspectRatio,
                                                           Qt::SmoothTransformation)));
}

void THintSetting::BitBtn11Click() {
  const QString chemin =
      prompts_.choix_fichier(choisit({"Choisir une image", "Select bitmap"}, langue_),
                             choisit({"Images bitmap (*.bmp)", "Bitmaps (*.bmp)"}, langue_), QString());
  if (chemin.isEmpty()) return;
  QFile fichier(chemin);
  QByteArray octets;
  if (fichier.open(QIODevice::ReadOnly)) octets = fichier.readAll();
  QImage image = QImage::fromData(octets);
  if (image.isNull()) {
    prompts_.message(
        Boite::erreur,
        choisit({"Ce fichier n'est pas une image lisible :\n%1", "This file is not a readable image:\n%1"},
                langue_)
            .arg(chemin),
        Boutons::ok);
    return;
  }
  // The settings keep a bitmap file: another format is stored as one.
  if (!octets.startsWith("BM")) {
    octets.clear();
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    image.save(&tampon, "BMP");
  }
  picture_bmp_ = octets.toStdString();
  montre_image();
}

void THintSetting::montre_fonte() {
  HintSettings h;
  h.font_name = font_name_;
  h.font_height = font_height_;
  h.font_style = font_style_;
  font->setFont(fonte_hint(h));
  QPalette p = font->palette();
  p.setColor(QPalette::WindowText, couleur_windows(static_cast<std::uint32_t>(font_color_), palette()));
  p.setColor(QPalette::Window, couleur_windows(static_cast<std::uint32_t>(color_), palette()));
  font->setPalette(p);
  BitBtn4->setText(qtext(font_name_) + QStringLiteral(", ") +
                   QString::number(points_de_hauteur(font_height_)));
}

void THintSetting::BitBtn4Click() {
  QFont depart(qtext(font_name_));
  depart.setPointSize(std::max(1, points_de_hauteur(font_height_)));
  depart.setBold(font_style_ & kFsBold);
  depart.setItalic(font_style_ & kFsItalic);
  depart.setUnderline(font_style_ & kFsUnderline);
  depart.setStrikeOut(font_style_ & kFsStrikeOut);
  std::optional<QFont> f = prompts_.choix_fonte(depart);
  if (!f) return;
  font_name_ = ctext(f->family());
  font_height_ = f->pointSize() > 0 ? hauteur_de_points(f->pointSize()) : -f->pixelSize();
  font_style_ = (f->bold() ? kFsBold : 0) | (f->italic() ? kFsItalic : 0) |
                (f->underline() ? kFsUnderline : 0) | (f->strikeOut() ? kFsStrikeOut : 0);
  montre_fonte();
  applique();
}

void THintSetting::BitBtn2Click() {
  applique();
  accept();
}

void THintSetting::BitBtn1Click() {
  QDialog::reject();
}

}  // namespace shell
