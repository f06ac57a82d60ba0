#include "parametres.h"

#include <QCloseEvent>
#include <QCollator>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "lists.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"

namespace shell {

using namespace ui;
namespace {

// The list control's order: the user's locale, letter case ignored. The C locale has no
// collation of its own and would put every accented letter after "z": English order stands in.
ParametresState::Less locale_less() {
  QLocale locale;
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English);
  auto collator = std::make_shared<QCollator>(locale);
  collator->setCaseSensitivity(Qt::CaseInsensitive);
  return [collator](const std::string &a, const std::string &b) {
    return collator->compare(qtext(a), qtext(b)) < 0;
  };
}

}  // namespace

TParametres::TParametres(store::Store &store, Prompts &prompts, int langue, int list_kind, QWidget *parent)
    : QDialog(parent),
      store_(store),
      prompts_(prompts),
      langue_(langue),
      list_kind_(list_kind),
      state_(locale_less()) {
  store::list_kind(list_kind);  // a kind outside 1..12 is a caller's fault: throws here
  setObjectName("TParametres");
  // FormCreate: no system menu, no close box.
  setWindowFlags(ui::kSansFermeture);

  Edit1_ = new QLineEdit(this);
  Edit1_->setObjectName("Edit1");
  Edit1_->setMaxLength(40);
  Edit1_->setMinimumWidth(Edit1_->fontMetrics().horizontalAdvance(QString(24, QChar(u'M'))));
  List_ = new QListWidget(this);
  List_->setObjectName("List");
  List_->setMinimumHeight(220);
  add_ = new QPushButton(this);
  add_->setObjectName("add");
  delete__ = new QPushButton(this);
  delete__->setObjectName("delete");
  ok_ = new QPushButton(this);
  ok_->setObjectName("ok");
  ok_->setDefault(true);
  annuler_ = new QPushButton(this);
  annuler_->setObjectName("annuler");
  annuler_->hide();

  auto *left = new QVBoxLayout;
  left->addWidget(Edit1_);
  left->addWidget(List_, 1);
  auto *buttons = new QVBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(delete__);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(annuler_);
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  Edit1_->installEventFilter(this);
  connect(List_, &QListWidget::currentRowChanged, this, [this] { ListClick(); });
  connect(add_, &QPushButton::clicked, this, [this] { addClick(); });
  connect(delete__, &QPushButton::clicked, this, [this] { deleteClick(); });
  connect(ok_, &QPushButton::clicked, this, [this] { okClick(); });
  aide_f1(*this, prompts_, langue_, "listes");
}

void TParametres::report(const store::StoreError &e) {
  if (rapport_erreur)
    rapport_erreur(e);
  else
    prompts_.message(Boite::erreur, QString::fromStdString(e.what()), Boutons::ok);
}

void TParametres::finish(int result) {
  closing_ = true;
  done(result);
}

void TParametres::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TParametres::closeEvent(QCloseEvent *event) {
  if (!closing_) event->ignore();
}

bool TParametres::eventFilter(QObject *watched, QEvent *event) {
  if (watched == Edit1_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    // Another window taking the focus for a while is not leaving the box.
    Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (event->type() == QEvent::FocusIn)
        Edit1Enter();
      else
        Edit1Exit();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TParametres::FormShow() {
  const ParametresTexts &t = parametres_texts(langue_);
  setWindowTitle(QString::fromUtf8(t.caption));
  add_->setText(QString::fromUtf8(t.add));
  delete__->setText(QString::fromUtf8(t.del));
  ok_->setText(QString::fromUtf8(t.ok));
  annuler_->setText(QString::fromUtf8(t.cancel));
  setWindowTitle(QString::fromUtf8(t.titles[list_kind_ - 1]));
  try {
    state_.show(store::lit_liste(store_, list_kind_));
  } catch (const store::StoreError &e) {
    report(e);
    // Saving a list that could not be read would empty its file.
    QTimer::singleShot(0, this, [this] { finish(QDialog::Rejected); });
    return;
  }
  refresh();
  if (state_.enabled()) Edit1_->setFocus(Qt::OtherFocusReason);
}

void TParametres::ListClick() {
  state_.list_click(List_->currentRow());
  Edit1_->setText(qtext(state_.edit_text()));
}

void TParametres::Edit1Enter() {
  state_.edit_enter();
}

void TParametres::Edit1Exit() {
  std::optional<std::pair<std::string, std::string>> rename = state_.edit_exit(ctext(Edit1_->text()));
  if (int i = state_.edited(); i >= 0 && i < List_->count()) {
    List_->item(i)->setText(qtext(state_.entries()[i]));
    QSignalBlocker quiet(List_);
    List_->setCurrentRow(i);
  }
  if (!rename) return;
  try {
    store::Remplace_valeur(store_, list_kind_, rename->first, rename->second);
  } catch (const store::StoreError &e) {
    report(e);
  }
}

// A button run by its shortcut leaves the focus in the edit box: what was typed is taken first.
void TParametres::commit_edit() {
  if (focusWidget() == Edit1_) Edit1Exit();
}

void TParametres::addClick() {
  commit_edit();
  state_.add();
  refresh();
  Edit1_->setFocus(Qt::OtherFocusReason);
}

void TParametres::deleteClick() {
  commit_edit();
  const ParametresTexts &t = parametres_texts(langue_);
  if (prompts_.message(Boite::avertissement, QString::fromUtf8(t.question), Boutons::ok_annuler) !=
      Reponse::ok)
    return;
  state_.remove();
  refresh();
}

void TParametres::okClick() {
  commit_edit();
  try {
    store::ecrit_liste(store_, list_kind_, state_.entries());
  } catch (const store::StoreError &e) {
    report(e);
    finish(QDialog::Rejected);
    return;
  }
  finish(QDialog::Accepted);
}

// The controls from the state; the list's own signals stay quiet meanwhile.
void TParametres::refresh() {
  {
    QSignalBlocker quiet(List_);
    List_->clear();
    for (const std::string &entry : state_.entries()) List_->addItem(qtext(entry));
    List_->setCurrentRow(state_.selected());
  }
  // The text first: disabling the box while it has the focus makes it leave.
  Edit1_->setText(qtext(state_.edit_text()));
  List_->setEnabled(state_.enabled());
  Edit1_->setEnabled(state_.enabled());
  delete__->setEnabled(state_.enabled());
}

}  // namespace shell
