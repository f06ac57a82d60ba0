#include "configuration.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "hint_setting.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"

namespace shell {

using namespace ui;

namespace {

constexpr TexteSur C = TexteSur::caption;
constexpr TexteSur H = TexteSur::hint;
constexpr TexteControle kTextes[] = {
    {"GroupBox1", C, "Couleur et texture du fond ", "Background "},
    {"BackgroundT_", C, " &Texture", " &Bitmap"},
    {"ColorT_", C, " &Couleur", " &Color"},
    {"BitBtn5", H, "Select bitmap", "Select bitmap"},
    {"BitBtn6", H, "Select color", "Select color"},
    {"BitBtn3", H, "Select color", "Select color"},
    {"BitBtn2", H, "Select color", "Select color"},
    {"BitBtn4", H, "Select color", "Select color"},
    {"GroupBox2", C, "Couleur des titres des champs ", "Color of fields titles "},
    {"Label1", C, "Support", "Support"},
    {"Label2", C, "Enregistrement", "Record"},
    {"Label3", C, "Arborescence", "Tree view"},
    {"BitBtn1", C, "Bulles d'aide", "Hint windows"},
    {"ok", C, "&Ok", "&Ok"},
};

constexpr QSize kApercu(96, 44);

}  // namespace

Tconfiguration::Tconfiguration(store::Store &store, THintDesign &hint, Prompts &prompts, int langue,
                               QWidget *parent)
    : QDialog(parent), store_(store), hint_(hint), prompts_(prompts), langue_(langue) {
  setObjectName("Tconfiguration");
  setWindowFlags(kSansFermeture);
  auto nomme = [this](auto *w, const char *nom) {
    w->setObjectName(nom);
    return registre_.ajoute(w);
  };
  auto panneau = [&](const char *nom) {
    auto *f = nomme(new QFrame, nom);
    f->setFrameShape(QFrame::Box);
    f->setFixedSize(kApercu.width(), 22);
    f->setAutoFillBackground(true);
    return f;
  };
  auto bouton = [&](const char *nom, void (Tconfiguration::*clic)()) {
    auto *b = nomme(new QPushButton(QStringLiteral("…")), nom);
    b->setFixedWidth(30);
    connect(b, &QPushButton::clicked, this, [this, clic] { (this->*clic)(); });
    return b;
  };

  auto *fond = nomme(new QGroupBox, "GroupBox1");
  auto *g = new QGridLayout(fond);
  BackgroundT_ = nomme(new QRadioButton, "BackgroundT_");
  ColorT_ = nomme(new QRadioButton, "ColorT_");
  BackgroundBmp_ = nomme(new QLabel, "BackgroundBmp_");
  BackgroundBmp_->setFixedSize(kApercu);
  BackgroundBmp_->setFrameShape(QFrame::Box);
  BackgroundBmp_->setAlignment(Qt::AlignCenter);
  BackgroundColor_ = panneau("BackgroundColor_");
  g->addWidget(BackgroundT_, 0, 0);
  g->addWidget(BackgroundBmp_, 0, 1);
  g->addWidget(bouton("BitBtn5", &Tconfiguration::BackgroundBtnClick), 0, 2);
  g->addWidget(ColorT_, 1, 0);
  g->addWidget(BackgroundColor_, 1, 1);
  g->addWidget(bouton("BitBtn6", &Tconfiguration::BackgroundColorBtnClick), 1, 2);
  g->setColumnStretch(0, 1);

  auto *titres = nomme(new QGroupBox, "GroupBox2");
  g = new QGridLayout(titres);
  cts_ = panneau("cts_");
  cte_ = panneau("cte_");
  cta_ = panneau("cta_");
  const std::tuple<const char *, QFrame *, const char *, void (Tconfiguration::*)()> rangs[] = {
      {"Label1", cts_, "BitBtn3", &Tconfiguration::BitBtn3Click},
      {"Label2", cte_, "BitBtn2", &Tconfiguration::BitBtn2Click},
      {"Label3", cta_, "BitBtn4", &Tconfiguration::BitBtn4Click}};
  int r = 0;
  for (const auto &[nom_label, apercu, nom_bouton, clic] : rangs) {
    g->addWidget(nomme(new QLabel, nom_label), r, 0);
    g->addWidget(apercu, r, 1);
    g->addWidget(bouton(nom_bouton, clic), r++, 2);
  }
  g->setColumnStretch(0, 1);

  // The tree label mode is kept in the file, not offered here.
  auto *arbre = nomme(new QGroupBox, "GroupBox3");
  auto *a = new QVBoxLayout(arbre);
  for (auto [radio, nom] : {std::pair{&Titre_, "Titre_"}, {&reference_, "reference_"}, {&RT_, "RT_"}}) {
    *radio = nomme(new QRadioButton, nom);
    a->addWidget(*radio);
  }
  arbre->hide();

  auto *bulles = nomme(new QPushButton, "BitBtn1");
  connect(bulles, &QPushButton::clicked, this, &Tconfiguration::BitBtn1Click);
  auto *ok = nomme(new QPushButton, "ok");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &Tconfiguration::okClick);
  auto *boutons = new QHBoxLayout;
  boutons->addWidget(bulles);
  boutons->addStretch(1);
  boutons->addWidget(ok);

  auto *tout = new QVBoxLayout(this);
  tout->addWidget(fond);
  tout->addWidget(titres);
  tout->addWidget(arbre);
  tout->addLayout(boutons);
  tout->setSizeConstraint(QLayout::SetFixedSize);
  aide_f1(*this, prompts_, langue_, "preferences");
}

void Tconfiguration::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void Tconfiguration::SetLingua() {
  setWindowTitle(choisit({"Configuration", "Preferences"}, langue_));
  registre_.applique(kTextes, langue_);
}

void Tconfiguration::FormShow() {
  SetLingua();
  for (QRadioButton *b : {Titre_, reference_, RT_}) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
  try {
    config_ = store::lit_config(store_);
  } catch (const std::exception &e) {
    signale_echec(prompts_, e, langue_);
    // Preferences that could not be read are not written back over the file.
    QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
    return;
  }
  montre_bitmap();
  montre_couleur(BackgroundColor_, config_.fond_couleur());
  montre_couleur(cts_, config_.couleur_support());
  montre_couleur(cte_, config_.couleur_enregistrement());
  montre_couleur(cta_, config_.couleur_arbre());
  (config_.fond_texture() ? BackgroundT_ : ColorT_)->setChecked(true);
  const int mode = config_.index_arbre();
  if (mode >= 1 && mode <= 3) (mode == 1 ? Titre_ : mode == 2 ? reference_ : RT_)->setChecked(true);
}

void Tconfiguration::montre_couleur(QFrame *panneau, std::uint32_t valeur) {
  QPalette p = panneau->palette();
  p.setColor(QPalette::Window, couleur_windows(valeur, palette()));
  panneau->setPalette(p);
}

// The texture tiled over the preview; a file that does not load leaves it empty, named in its hint.
void Tconfiguration::montre_bitmap() {
  const QString chemin = qtext(config_.fond_bitmap());
  QPixmap texture(chemin);
  BackgroundBmp_->setToolTip(chemin);
  if (texture.isNull()) {
    BackgroundBmp_->setPixmap(QPixmap());
    BackgroundBmp_->setText(choisit({"(aucune image)", "(no bitmap)"}, langue_));
    return;
  }
  QPixmap apercu(kApercu);
  QPainter(&apercu).drawTiledPixmap(apercu.rect(), texture);
  BackgroundBmp_->setPixmap(apercu);
}

std::uint32_t Tconfiguration::choisit_couleur(QFrame *panneau, std::uint32_t valeur) {
  std::optional<QColor> c = prompts_.choix_couleur(panneau->palette().color(QPalette::Window));
  if (!c) return valeur;
  montre_couleur(panneau, valeur_windows(*c));
  return valeur_windows(*c);
}

void Tconfiguration::BackgroundBtnClick() {
  const QString actuel = qtext(config_.fond_bitmap());
  const QString chemin = prompts_.choix_fichier(
      choisit({"Choisir une image", "Select bitmap"}, langue_),
      choisit({"Images bitmap (*.bmp)", "Bitmaps (*.bmp)"}, langue_), QFileInfo(actuel).absolutePath());
  if (chemin.isEmpty()) return;
  config_.set_fond_bitmap(ctext(chemin));
  montre_bitmap();
}

void Tconfiguration::BackgroundColorBtnClick() {
  config_.set_fond_couleur(choisit_couleur(BackgroundColor_, config_.fond_couleur()));
}

void Tconfiguration::BitBtn3Click() {
  config_.set_couleur_support(choisit_couleur(cts_, config_.couleur_support()));
}

void Tconfiguration::BitBtn2Click() {
  config_.set_couleur_enregistrement(choisit_couleur(cte_, config_.couleur_enregistrement()));
}

void Tconfiguration::BitBtn4Click() {
  config_.set_couleur_arbre(choisit_couleur(cta_, config_.couleur_arbre()));
}

void Tconfiguration::BitBtn1Click() {
  THintSetting reglages(hint_, prompts_, langue_, this);
  prompts_.execute(reglages);
}

void Tconfiguration::okClick() {
  config_.set_fond_texture(BackgroundT_->isChecked());
  config_.set_index_arbre(Titre_->isChecked() ? 1 : reference_->isChecked() ? 2 : 3);
  try {
    store::ecrit_config(store_, config_);
  } catch (const std::exception &e) {
    signale_echec(prompts_, e, langue_);
    done(QDialog::Rejected);
    return;
  }
  done(QDialog::Accepted);
}

}  // namespace shell
