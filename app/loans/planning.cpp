#include "planning.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "aide.h"
#include "calendar.h"
#include "decor.h"
#include "planning_logic.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"
#include "tarbre.h"

namespace loans {

using ui::ctext;
using ui::qtext;

namespace {

constexpr ui::TexteSur C = ui::TexteSur::caption;
constexpr ui::TexteSur H = ui::TexteSur::hint;

constexpr ui::TexteControle kTextes[] = {
    {"Label1", C, "Titre", "Title"},          {"Label2", C, "Date", "Date"},
    {"Label3", C, "Heure", "Time"},           {"Label4", C, "Showview", "Showview"},
    {"BitBtn5", H, "Calendrier", "Calendar"},
};
constexpr ui::Paire kTitre{"Planning des enregistrements", "Planning of recordings"};

}  // namespace

Tplanning::Tplanning(const store::TDataPlanning &planning, ui::Prompts &prompts, int langue, QWidget *parent)
    : QDialog(parent), planning_(planning), prompts_(prompts), langue_(langue) {
  setObjectName("Tplanning");
  // FormCreate: a dialog frame without a close box.
  setWindowFlags(ui::kSansFermeture);

  auto edit = [this](const char *nom, int longueur, int largeur) {
    auto *e = new QLineEdit(this);
    e->setObjectName(nom);
    e->setMaxLength(longueur);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(largeur, QChar(u'0'))) + 12);
    e->installEventFilter(this);
    return e;
  };
  film_ = edit("film_", 20, 20);
  date_ = edit("date_", 10, 10);
  heure_ = edit("heure_", 5, 5);
  showview_ = edit("showview_", 15, 15);
  BitBtn5 = registre_.ajoute(ui::bouton("BitBtn5", 26, this));
  BitBtn5->setIcon(ui::icone("dateSbtn"));
  BitBtn5->installEventFilter(this);
  arbre = new browse::Tarbre(this);
  arbre->setObjectName("arbre");
  arbre->setMinimumSize(280, 480);
  ok = new QPushButton(this);
  ok->setObjectName("ok");
  ok->setText(QStringLiteral("OK"));
  ok->setDefault(true);

  auto *champs = new QGridLayout;
  QLineEdit *edits[] = {film_, date_, heure_, showview_};
  for (int i = 0; i < 4; ++i) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    registre_.ajoute(label);
    label->setBuddy(edits[i]);
    champs->addWidget(label, 2 * i, 0, 1, 2);
    champs->addWidget(edits[i], 2 * i + 1, 0);
  }
  champs->addWidget(BitBtn5, 3, 1);
  champs->setRowStretch(8, 1);
  champs->addWidget(ok, 9, 0, 1, 2, Qt::AlignRight);
  auto *layout = new QHBoxLayout(this);
  layout->addWidget(arbre, 1);
  layout->addLayout(champs);

  // A press selects at once, so an edit left by that press is stored before its entry changes.
  connect(arbre, &QAbstractItemView::pressed, this, [this] { arbreClick(arbre->selected_line()); });
  connect(arbre, &browse::Tarbre::line_clicked, this, &Tplanning::arbreClick);
  connect(BitBtn5, &QToolButton::clicked, this, &Tplanning::BitBtn5Click);
  connect(ok, &QPushButton::clicked, this, &Tplanning::okClick);
  ui::aide_f1(*this, prompts_, langue_, "planning");
}

void Tplanning::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void Tplanning::closeEvent(QCloseEvent *event) {
  if (!fermeture_) event->ignore();
}

bool Tplanning::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::FocusOut && (watched == film_ || watched == date_ || watched == heure_ ||
                                            watched == showview_ || watched == BitBtn5)) {
    // Another window taking the focus for a while (the picker, a menu) is not leaving the edit.
    Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) nom_Exit();
  }
  return QDialog::eventFilter(watched, event);
}

void Tplanning::FormShow() {
  setWindowTitle(ui::choisit(kTitre, langue_));
  registre_.applique(kTextes, langue_);
  courant_ = 1;
  remplit_arbre();
  montre_entree();
  film_->setFocus(Qt::OtherFocusReason);
}

void Tplanning::remplit_arbre() {
  // Kept where it was, so a refill under the mouse does not move the line being pressed.
  const int defilement = arbre->verticalScrollBar()->value();
  arbre->set_lines(lignes_planning(planning_, langue_));
  arbre->verticalScrollBar()->setValue(defilement);
  arbre->select_line(ligne_entree(courant_));
}

void Tplanning::montre_entree() {
  const std::pair<QLineEdit *, std::string> valeurs[] = {{film_, planning_.film(courant_)},
                                                         {date_, planning_.date_prevue(courant_)},
                                                         {heure_, planning_.heure(courant_)},
                                                         {showview_, planning_.showview(courant_)}};
  for (const auto &[e, v] : valeurs) {
    e->setText(qtext(v));
    e->setCursorPosition(0);
  }
}

void Tplanning::arbreClick(int ligne) {
  const int entree = entree_ligne(ligne);
  if (entree == 0) return;
  courant_ = entree;
  montre_entree();
}

void Tplanning::nom_Exit() {
  const store::TDataPlanning avant = planning_;
  stocke_entree(planning_, courant_, ctext(film_->text()), ctext(date_->text()), ctext(heure_->text()),
                ctext(showview_->text()));
  if (planning_ == avant) return;
  // After the event that left the edit: a press on the outline selects on the lines it was
  // aimed at, then the refill shows the entry that press made current.
  QTimer::singleShot(0, this, [this] { remplit_arbre(); });
}

void Tplanning::BitBtn5Click() {
  ui::TPerpetualCalendar calendrier(this, &prompts_);
  calendrier.setTitle(ui::choisit({"Calendrier", "Calendar"}, langue_));
  const QPoint coin = BitBtn5->mapToGlobal(QPoint(0, 0));
  calendrier.setPosition(ui::poDesigned);
  calendrier.setLeftPos(coin.x() - 190);
  calendrier.setTopPos(coin.y() + 20);
  calendrier.setDate(QString::fromStdString(
      ui::to_picker_date(ctext(date_->text()), calendrier.day_first(), calendrier.separator())));
  if (!calendrier.Execute()) return;
  date_->setText(qtext(ui::from_picker_date(ctext(calendrier.Date()), calendrier.day_first())));
  nom_Exit();
}

void Tplanning::okClick() {
  // Ok run from the keyboard leaves the focus in an edit: what it holds is taken first.
  nom_Exit();
  fermeture_ = true;
  accept();
}

void edite_planning(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent) {
  Tplanning dialogue(store.lit_planning(), prompts, langue, parent);
  prompts.execute(dialogue);
  store.ecrit_planning(dialogue.planning());
}

}  // namespace loans
