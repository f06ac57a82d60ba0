#include "dossier_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "mainform_logic.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"

namespace shell {

using namespace ui;

namespace {

struct Texte {
  const char *fr;
  const char *en;
};
QString tr2(const Texte &t, int langue) {
  return QString::fromUtf8(langue == 0 ? t.fr : t.en);
}

// Tsaisie_dossier
constexpr Texte kCaptionDossier{"Votre dossier", "Tapemoor"};
constexpr Texte kTitre{"Titre", "Title"};
constexpr Texte kNote{"Note", "Note"};
constexpr Texte kSon{"Son", "Sound"};
constexpr Texte kCode{"Code secret", "Password"};
constexpr Texte kEffaceSon{"Supprimer le son", "Delete sound"};
constexpr Texte kChoixSon{"Sélection d'un son", "Select sound"};
constexpr Texte kOk{"&Ok", "&Ok"};
constexpr Texte kAnnuler{"&Annuler", "&Cancel"};
constexpr const char *kTitreObligatoire = "Titre obligatoire";
constexpr const char *kTitreExistant = "Titre existant";
constexpr const char *kFiltreSon = "Son Wav (*.wav)";
constexpr const char *kTitreChoixSon = "Sélectionnez un son wav";

// Tarbre_dossier
constexpr Texte kCaptionListe{"Liste des Dossiers", "Files list"};
constexpr Texte kIlFautCreer{"Il faut créer un dossier", "You must create a file"};
constexpr Texte kCodeIncorrect{"Code secret\nincorrect", "Wrong password"};

// Tsaisie_code
constexpr Texte kCaptionCode{"Code Secret", "Password"};
constexpr Texte kSaisissez{"Saisissez votre code secret", "Enter password"};

}  // namespace

// ---- Tsaisie_dossier ----

Tsaisie_dossier::Tsaisie_dossier(store::Store &store, const store::TDataDossier &depart, Prompts &prompts,
                                 int langue, QWidget *parent)
    : QDialog(parent, ui::kSansFermeture), store_(store), dossier_(depart), prompts_(prompts) {
  setObjectName("saisie_dossier");
  titre_ = new QLineEdit;
  titre_->setObjectName("titre");
  code_ = new QLineEdit;
  code_->setObjectName("code");
  notes_ = new QPlainTextEdit;
  notes_->setObjectName("notes");
  notes_->setTabChangesFocus(true);
  son_ = new QLineEdit;
  son_->setObjectName("son");
  son_->setReadOnly(true);
  open_sound_ = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QString());
  open_sound_->setObjectName("open_sound");
  efface_image_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogDiscardButton), QString());
  efface_image_->setObjectName("efface_image");
  ok_ = new QPushButton;
  ok_->setObjectName("ok");
  ok_->setDefault(true);
  annuler_ = new QPushButton;
  annuler_->setObjectName("annuler");
  l_titre_ = new QLabel;
  l_code_ = new QLabel;
  l_notes_ = new QLabel;
  l_son_ = new QLabel;
  l_titre_->setBuddy(titre_);
  l_code_->setBuddy(code_);
  l_notes_->setBuddy(notes_);

  auto *grille = new QGridLayout;
  grille->addWidget(l_titre_, 0, 0);
  grille->addWidget(titre_, 0, 1, 1, 3);
  grille->addWidget(l_code_, 1, 0);
  grille->addWidget(code_, 1, 1);
  grille->addWidget(l_notes_, 2, 0, Qt::AlignTop);
  grille->addWidget(notes_, 2, 1, 1, 3);
  grille->addWidget(l_son_, 3, 0);
  grille->addWidget(son_, 3, 1);
  grille->addWidget(open_sound_, 3, 2);
  grille->addWidget(efface_image_, 3, 3);
  grille->setColumnStretch(1, 1);
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(ok_);
  boutons->addWidget(annuler_);
  auto *tout = new QVBoxLayout(this);
  tout->addLayout(grille);
  tout->addLayout(boutons);
  resize(460, 300);

  connect(ok_, &QPushButton::clicked, this, &Tsaisie_dossier::okClick);
  connect(annuler_, &QPushButton::clicked, this, &QDialog::reject);
  connect(open_sound_, &QPushButton::clicked, this, &Tsaisie_dossier::open_soundClick);
  connect(efface_image_, &QPushButton::clicked, son_, &QLineEdit::clear);
  SetLingua(langue);
  filetodata();
  aide_f1(*this, prompts, langue, "dossiers");
}

void Tsaisie_dossier::SetLingua(int langue) {
  setWindowTitle(tr2(kCaptionDossier, langue));
  l_titre_->setText(tr2(kTitre, langue));
  l_notes_->setText(tr2(kNote, langue));
  l_son_->setText(tr2(kSon, langue));
  l_code_->setText(tr2(kCode, langue));
  efface_image_->setToolTip(tr2(kEffaceSon, langue));
  open_sound_->setToolTip(tr2(kChoixSon, langue));
  ok_->setText(tr2(kOk, langue));
  annuler_->setText(tr2(kAnnuler, langue));
}

void Tsaisie_dossier::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  titre_->setFocus();
}

void Tsaisie_dossier::filetodata() {
  const store::TDataDossier &d = dossier_;
  titre_->setText(qtext(d.titre()));
  code_->setText(qtext(d.code()));
  notes_->setPlainText(qmemo(d.notes()));
  son_->setText(qtext(d.son()));
}

void Tsaisie_dossier::datatofile() {
  store::TDataDossier &d = dossier_;
  d.set_titre(ctext(titre_->text()));
  d.set_code(ctext(code_->text()));
  d.set_notes(cmemo(notes_->toPlainText()));
  d.set_son(ctext(son_->text()));
}

void Tsaisie_dossier::okClick() {
  const char *refus = nullptr;
  switch (valide_dossier(store_, ctext(titre_->text()))) {
    case ValidationDossier::ok:
      datatofile();
      accept();
      return;
    case ValidationDossier::titre_vide:
      refus = kTitreObligatoire;
      break;
    case ValidationDossier::titre_existant:
      refus = kTitreExistant;
      break;
  }
  if (prompts_.message(Boite::avertissement, QString::fromUtf8(refus), Boutons::ok_annuler) == Reponse::ok)
    titre_->setFocus();
  else
    reject();
}

void Tsaisie_dossier::open_soundClick() {
  QString depart = son_->text().isEmpty() ? QString::fromStdString(store_.data_dir)
                                          : QFileInfo(son_->text()).absolutePath();
  QString chemin =
      prompts_.choix_fichier(QString::fromUtf8(kTitreChoixSon), QString::fromUtf8(kFiltreSon), depart);
  if (!chemin.isEmpty()) son_->setText(QDir::toNativeSeparators(chemin));
}

// ---- Tarbre_dossier ----

QString Tarbre_dossier::texte(Message m, int langue) {
  return tr2(m == il_faut_creer ? kIlFautCreer : kCodeIncorrect, langue);
}

Tarbre_dossier::Tarbre_dossier(store::Store &store, Prompts &prompts, int langue, QWidget *parent)
    : QDialog(parent) {
  setObjectName("arbre_dossier");
  setWindowTitle(tr2(kCaptionListe, langue));
  arbre_ = new QTreeWidget;
  arbre_->setObjectName("arbre");
  arbre_->setHeaderHidden(true);
  arbre_->setRootIsDecorated(false);
  auto *ok = new QPushButton(tr2(kOk, langue));
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto *annuler = new QPushButton(tr2(kAnnuler, langue));
  annuler->setObjectName("annuler");
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(ok);
  boutons->addWidget(annuler);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(arbre_);
  tout->addLayout(boutons);
  resize(360, 340);

  connect(arbre_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem *item) { arbreClick(item); });
  connect(arbre_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
    arbreClick(item);
    accept();
  });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
  construire_arbre(store);
  aide_f1(*this, prompts, langue, "dossiers");
}

void Tarbre_dossier::construire_arbre(store::Store &store) {
  QString ouvert;
  if (store.dossier_courant() >= 0) ouvert = qtext(store.dossier().titre());
  for (const std::string &titre : titres_dossiers(store)) {
    auto *ligne = new QTreeWidgetItem(arbre_, QStringList(qtext(titre)));
    if (store.dossier_courant() >= 0 && ligne->text(0) == ouvert) arbre_->setCurrentItem(ligne);
  }
  // With no dossier open the first line is offered, so OK alone opens something.
  if (!arbre_->currentItem() && arbre_->topLevelItemCount() > 0)
    arbre_->setCurrentItem(arbre_->topLevelItem(0));
  arbre_->expandAll();
  arbreClick(arbre_->currentItem());
}

void Tarbre_dossier::arbreClick(QTreeWidgetItem *item) {
  choisi_ = item ? item->text(0) : QString();
}

// ---- Tsaisie_code ----

Tsaisie_code::Tsaisie_code(int langue, QWidget *parent) : QDialog(parent) {
  setObjectName("saisie_code");
  setWindowTitle(tr2(kCaptionCode, langue));
  auto *label = new QLabel(tr2(kSaisissez, langue));
  code_ = new QLineEdit;
  code_->setObjectName("code");
  code_->setMaxLength(10);
  code_->setEchoMode(QLineEdit::Password);
  code_->setStyleSheet("lineedit-password-character: 42");
  auto *ok = new QPushButton(QStringLiteral("&Ok"));
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(label);
  tout->addWidget(code_);
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(ok);
  boutons->addStretch();
  tout->addLayout(boutons);
  setMinimumWidth(260);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString Tsaisie_code::code() const {
  return code_->text();
}

QString saisie_code(ui::Prompts &prompts, int langue) {
  Tsaisie_code dialogue(langue);
  aide_f1(dialogue, prompts, langue, "dossiers");
  prompts.execute(dialogue);
  // Closing the prompt without OK still hands back what was typed, as the prompt has no cancel.
  return dialogue.code();
}

}  // namespace shell
