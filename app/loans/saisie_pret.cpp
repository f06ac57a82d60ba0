#include "saisie_pret.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "prompts.h"
#include "qt_text.h"
#include "textes.h"

namespace loans {

namespace {

using ui::Paire;

// Loan, then borrowing, where they differ.
constexpr Paire kCaption[] = {{"Prêt de ce support", "Lent support"},
                              {"Emprunt de ce support", "Borrowed support"}};
constexpr Paire kNom[] = {{"Prêté à", "Lent to"}, {"Emprunté à", "Borrowed from"}};
constexpr Paire kLe{"Le", "Date"};
constexpr Paire kJusqua{"Jusqu'à", "Until"};
constexpr Paire kObservations{"Observations", "Observations"};
constexpr Paire kEffacer{"&Effacer", "&Clear"};
constexpr Paire kOk{"&Ok", "&Ok"};
constexpr Paire kCalendrier{"Calendrier", "Calendar"};
constexpr Paire kDateIncorrecte{"Format de la date incorrecte", "Wrong date format"};

}  // namespace

Tsaisie::Tsaisie(Sorte sorte, store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent)
    : QDialog(parent, ui::kSansFermeture),
      PerpetualCalendar1(this, &prompts),
      sorte_(sorte),
      store_(store),
      prompts_(prompts),
      langue_(langue) {
  setObjectName(sorte == Sorte::pret ? "saisie_pret" : "saisie_emprunt");
  auto nomme = [](auto *w, const char *nom) {
    w->setObjectName(nom);
    return w;
  };
  a_ = nomme(new QLineEdit, "a_");
  du_ = nomme(new QLineEdit, "du_");
  au_ = nomme(new QLineEdit, "au_");
  observations_ = nomme(new QPlainTextEdit, "observations_");
  observations_->setTabChangesFocus(true);
  // The picker buttons wear the calendar artwork of the pages' date buttons.
  BitBtn5 = nomme(ui::bouton("dateSbtn", 26), "BitBtn5");
  BitBtn2 = nomme(ui::bouton("dateSbtn", 26), "BitBtn2");
  BitBtn1 = nomme(new QPushButton, "BitBtn1");
  ok = nomme(new QPushButton, "ok");
  ok->setDefault(true);
  l_a_ = new QLabel;
  l_du_ = new QLabel;
  l_au_ = new QLabel;
  l_observations_ = new QLabel;
  l_a_->setBuddy(a_);
  l_du_->setBuddy(du_);
  l_au_->setBuddy(au_);
  l_observations_->setBuddy(observations_);

  auto *grille = new QGridLayout;
  grille->addWidget(l_a_, 0, 0);
  grille->addWidget(a_, 0, 1, 1, 3);
  grille->addWidget(l_du_, 1, 0);
  grille->addWidget(du_, 1, 1);
  grille->addWidget(BitBtn5, 1, 2);
  grille->addWidget(l_au_, 2, 0);
  grille->addWidget(au_, 2, 1);
  grille->addWidget(BitBtn2, 2, 2);
  grille->addWidget(l_observations_, 3, 0, Qt::AlignTop);
  grille->addWidget(observations_, 3, 1, 1, 3);
  grille->setColumnStretch(3, 1);
  grille->setRowStretch(3, 1);
  du_->setFixedWidth(du_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
  au_->setFixedWidth(du_->width());
  auto *boutons = new QHBoxLayout;
  boutons->addWidget(BitBtn1);
  boutons->addStretch();
  boutons->addWidget(ok);
  auto *tout = new QVBoxLayout(this);
  tout->addLayout(grille);
  tout->addLayout(boutons);
  resize(420, 300);

  connect(ok, &QPushButton::clicked, this, &Tsaisie::okClick);
  connect(BitBtn1, &QPushButton::clicked, this, &Tsaisie::BitBtn1Click);
  connect(BitBtn5, &QToolButton::clicked, this, [this] { choisit_date(du_, BitBtn5); });
  connect(BitBtn2, &QToolButton::clicked, this, [this] { choisit_date(au_, BitBtn2); });
  SetLingua();
  ui::aide_f1(*this, prompts_, langue_, "prets");

  const Saisie e = lit_saisie(store_.support(), sorte_);
  a_->setText(ui::qtext(e.a));
  du_->setText(ui::qtext(e.du));
  au_->setText(ui::qtext(e.au));
  observations_->setPlainText(ui::qmemo(e.observations));
  a_->setCursorPosition(0);
}

void Tsaisie::SetLingua() {
  const int k = sorte_ == Sorte::pret ? 0 : 1;
  setWindowTitle(ui::choisit(kCaption[k], langue_));
  l_a_->setText(ui::choisit(kNom[k], langue_));
  l_du_->setText(ui::choisit(kLe, langue_));
  l_au_->setText(ui::choisit(kJusqua, langue_));
  l_observations_->setText(ui::choisit(kObservations, langue_));
  BitBtn1->setText(ui::choisit(kEffacer, langue_));
  ok->setText(ui::choisit(kOk, langue_));
  PerpetualCalendar1.setLanguage(langue_ == 0 ? ui::laFrench : ui::laEnglish);
  PerpetualCalendar1.setTitle(ui::choisit(kCalendrier, langue_));
  for (QToolButton *b : {BitBtn5, BitBtn2}) b->setToolTip(ui::choisit(kCalendrier, langue_));
}

void Tsaisie::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  a_->setFocus();
}

void Tsaisie::okClick() {
  const Saisie e{ui::ctext(a_->text()), ui::ctext(du_->text()), ui::ctext(au_->text()),
                 ui::cmemo(observations_->toPlainText())};
  if (int refus = date_refusee(e)) {
    // The faulty text, then the reason; the field starts again from today.
    QLineEdit *champ = refus == 1 ? du_ : au_;
    prompts_.message(ui::Boite::information, champ->text() + '\n' + ui::choisit(kDateIncorrecte, langue_),
                     ui::Boutons::ok);
    champ->setText(ui::qtext(store_.date_du_jour()));
    champ->setFocus();
    return;
  }
  store::TDataSupport s = store_.support();
  ecrit_saisie(s, sorte_, e);
  store_.edite_support(s);
  accept();
}

void Tsaisie::BitBtn1Click() {
  a_->clear();
  observations_->clear();
  du_->setText(ui::qtext(store_.date_du_jour()));
  au_->setText(ui::qtext(store_.date_du_jour()));
  a_->setFocus();
}

// The picker opens 190 pixels left of the button and 20 below its top, counted from the form.
void Tsaisie::choisit_date(QLineEdit *champ, QToolButton *bouton) {
  ui::TPerpetualCalendar &c = PerpetualCalendar1;
  const QPoint b = bouton->mapTo(this, QPoint(0, 0));
  c.setPosition(ui::poDesigned);
  c.setLeftPos(x() + b.x() - 190);
  c.setTopPos(y() + b.y() + 20);
  c.setDate(
      QString::fromStdString(ui::to_picker_date(ui::ctext(champ->text()), c.day_first(), c.separator())));
  if (c.Execute()) champ->setText(ui::qtext(ui::from_picker_date(ui::ctext(c.Date()), c.day_first())));
}

}  // namespace loans
