#include "saisie_generique.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "decor.h"
#include "page_logic.h"
#include "qt_text.h"

namespace browse {

using ui::ctext;
using ui::qtext;

namespace {

QString utf8(const char *t) {
  return QString::fromUtf8(t);
}

// The text of an input, whichever kind it is.
std::string texte(const QWidget *w) {
  if (auto *c = qobject_cast<const QComboBox *>(w)) return ctext(c->currentText());
  return ctext(static_cast<const QLineEdit *>(w)->text());
}

void charge(QWidget *w, const std::string &t) {
  if (auto *c = qobject_cast<QComboBox *>(w)) {
    const int i = c->findText(qtext(t), Qt::MatchExactly | Qt::MatchCaseSensitive);
    c->setCurrentIndex(i);
    if (i < 0) c->setEditText(qtext(t));
  } else {
    static_cast<QLineEdit *>(w)->setText(qtext(t));
  }
}

}  // namespace

// ---- what both dialogs share ----

SaisieLignes::SaisieLignes(const char *nom, const Textes &textes, int langue, QWidget *parent)
    : QDialog(parent), langue_(langue), textes_(textes) {
  setObjectName(nom);
  // No system menu, no close box.
  setWindowFlags(ui::kSansFermeture);
  list = new QListWidget(this);
  list->setObjectName("list");
  list->setMinimumHeight(list->fontMetrics().height() * 12);
  ok = new QPushButton(this);
  ok->setObjectName("ok");
  ok->setDefault(true);
  connect(list, &QListWidget::currentRowChanged, this, [this] { listClick(); });
  connect(ok, &QPushButton::clicked, this, [this] { okClick(); });
}

QComboBox *SaisieLignes::choix(const char *nom, const std::vector<std::string> &liste) {
  auto *c = new QComboBox(this);
  c->setObjectName(nom);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  // A typed text stays as typed, not completed into a list entry.
  c->setCompleter(nullptr);
  c->lineEdit()->setMaxLength(40);
  for (const std::string &e : contenu_liste(liste, true, "", false).entrees) c->addItem(qtext(e));
  return c;
}

QLineEdit *SaisieLignes::champ(const char *nom, int longueur) {
  auto *e = new QLineEdit(this);
  e->setObjectName(nom);
  e->setMaxLength(longueur);
  return e;
}

void SaisieLignes::place(std::array<QWidget *, 3> champs) {
  champs_ = champs;
  auto *g = new QGridLayout(this);
  for (int i = 0; i < 3; ++i) {
    labels_[i] = new QLabel(this);
    labels_[i]->setObjectName(QString("Label%1").arg(i + 1));
    g->addWidget(labels_[i], i, 0);
    g->addWidget(champs[i], i, 1);
    champs[i]->setMinimumWidth(champs[i]->fontMetrics().horizontalAdvance(QString(28, QChar(u'n'))));
    champs[i]->installEventFilter(this);
    if (auto *c = qobject_cast<QComboBox *>(champs[i])) c->lineEdit()->installEventFilter(this);
  }
  g->addWidget(list, 3, 0, 1, 2);
  g->addWidget(ok, 4, 1, Qt::AlignRight);
}

void SaisieLignes::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void SaisieLignes::closeEvent(QCloseEvent *event) {
  if (!fin_) event->ignore();
}

bool SaisieLignes::eventFilter(QObject *watched, QEvent *event) {
  // Another window taking the focus for a while, or a combo box opening, is not leaving.
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason r = static_cast<QFocusEvent *>(event)->reason();
    if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) nom_Exit();
  }
  return QDialog::eventFilter(watched, event);
}

void SaisieLignes::FormShow() {
  setWindowTitle(utf8(textes_.caption[langue_]));
  for (int i = 0; i < 3; ++i) labels_[i]->setText(utf8(textes_.labels[i][langue_]));
  ok->setText(QStringLiteral("&Ok"));
  lignes_ = lignes_du_buffer();
  QSignalBlocker calme(list);
  list->clear();
  for (const LigneSaisie &l : lignes_) list->addItem(qtext(l.affiche));
  list->setCurrentRow(0);
  listClick();
}

void SaisieLignes::listClick() {
  const int i = list->currentRow();
  if (i < 0 || i >= int(lignes_.size())) return;
  for (std::size_t k = 0; k < 3; ++k) charge(champs_[k], lignes_[std::size_t(i)].textes[k]);
}

void SaisieLignes::nom_Exit() {
  const int i = list->currentRow();
  if (i < 0 || i >= int(lignes_.size())) return;
  LigneSaisie &l = lignes_[std::size_t(i)];
  l = ligne_saisie(texte(champs_[0]), texte(champs_[1]), texte(champs_[2]), mot_vide(langue_));
  QSignalBlocker calme(list);
  list->item(i)->setText(qtext(l.affiche));
  list->setCurrentRow(i);
}

void SaisieLignes::okClick() {
  // Ok run by Enter leaves the focus in an input: what was typed there counts.
  for (QWidget *w : champs_)
    if (w->isAncestorOf(focusWidget()) || focusWidget() == w) nom_Exit();
  range(lignes_);
  fin_ = true;
  done(QDialog::Accepted);
}

// ---- credits ----

namespace {
constexpr SaisieLignes::Textes kTextesGenerique = {
    {"Générique", "Credits"}, {{"Dénomination", "Title"}, {"Nom", "Name"}, {"Rôle", "Role"}}};
constexpr SaisieLignes::Textes kTextesRecompense = {
    {"Saisi des récompenses", "Awards"},
    {{"Récompenses", "Title"}, {"Catégories", "Categories"}, {"Année", "Year"}}};
}  // namespace

Tsaisie_generique::Tsaisie_generique(store::TDataGenerique &generique, const std::vector<std::string> &distri,
                                     int langue, QWidget *parent)
    : SaisieLignes("Tsaisie_generique", kTextesGenerique, langue, parent), generique_(generique) {
  denomination_ = choix("denomination_", distri);
  nom_ = champ("nom_", 40);
  role_ = champ("role_", 40);
  place({denomination_, nom_, role_});
}

std::vector<LigneSaisie> Tsaisie_generique::lignes_du_buffer() const {
  return lignes_generique(generique_, mot_vide(langue_));
}

void Tsaisie_generique::range(std::vector<LigneSaisie> lignes) {
  range_generique(std::move(lignes), generique_);
}

// ---- awards ----

Tsaisie_recompense::Tsaisie_recompense(store::TDataRecompense &recompense,
                                       const std::vector<std::string> &awards,
                                       const std::vector<std::string> &categories, int langue,
                                       QWidget *parent)
    : SaisieLignes("Tsaisie_recompense", kTextesRecompense, langue, parent), recompense_(recompense) {
  recompenses_ = choix("recompenses_", awards);
  categories_ = choix("categories_", categories);
  annee_ = champ("annee_", 4);
  place({recompenses_, categories_, annee_});
}

std::vector<LigneSaisie> Tsaisie_recompense::lignes_du_buffer() const {
  return lignes_recompense(recompense_, mot_vide(langue_));
}

void Tsaisie_recompense::range(std::vector<LigneSaisie> lignes) {
  range_recompense(std::move(lignes), recompense_);
}

// ---- the credits viewer ----

Tvoir_generique::Tvoir_generique(const store::Store &store, int langue, QWidget *parent)
    : QScrollArea(parent), store_(store), langue_(langue) {
  setObjectName("Tvoir_generique");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::NoFrame);
  // Below a short picture the window stays as dark as the picture.
  viewport()->setStyleSheet("background: black");
  paintbox = new QLabel;
  paintbox->setObjectName("paintbox");
  setWidget(paintbox);
  resize(560, 600);
}

void Tvoir_generique::montre(std::vector<std::string> distri) {
  distri_ = std::move(distri);
  setWindowTitle(langue_ == 0 ? utf8("Générique") : QStringLiteral("Credits"));
  // The first time over the main window; then where the user left it.
  if (!place_ && parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
  place_ = true;
  show();
  raise();
  activateWindow();
  dessine();
}

void Tvoir_generique::resizeEvent(QResizeEvent *event) {
  QScrollArea::resizeEvent(event);
  if (isVisible()) dessine();
}

void Tvoir_generique::dessine() {
  QPixmap image(std::max(1, viewport()->width()), kHauteurGenerique);
  image.fill(Qt::black);
  QPainter p(&image);
  p.setPen(Qt::white);
  QFont police(QStringLiteral("Arial"), kPointsGenerique);
  for (const TexteGenerique &t : dessin_generique(distri_, store_.recording().generique, image.width())) {
    police.setBold(t.gras);
    p.setFont(police);
    const QString s = qtext(t.texte);
    const int large = p.fontMetrics().horizontalAdvance(s);
    const int x = t.ancre == TexteGenerique::gauche   ? t.x
                  : t.ancre == TexteGenerique::droite ? t.x - large
                                                      : t.x - large / 2;
    p.drawText(x, t.y + p.fontMetrics().ascent(), s);
  }
  p.end();
  paintbox->setPixmap(image);
  paintbox->resize(image.size());
}

}  // namespace browse
