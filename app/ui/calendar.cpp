#include "calendar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "aide.h"
#include "dates.h"
#include "platform/regional.h"
#include "prompts.h"

namespace ui {
namespace {

constexpr int kRows = 6, kColumns = 7;

CalendarDate today_value() {
  store::DateParts t = store::split_date(store::system_today());
  CalendarDate d{1, 1, 2000};
  d.set_year(t.year);
  d.set_month(t.second);
  d.set_day(t.first);
  return d;
}

}  // namespace

TPerpetualCalendarDlg::TPerpetualCalendarDlg(bool day_first, char separator, QWidget *parent)
    : QDialog(parent), day_first_(day_first), separator_(separator), value_(today_value()) {
  setObjectName("TPerpetualCalendarDlg");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  month_ = new QComboBox(this);
  month_->setObjectName("Month");
  for (int m = 0; m < 12; ++m) month_->addItem(QString());
  year_ = new QSpinBox(this);
  year_->setObjectName("Year");
  year_->setRange(kFirstYear, kLastYear);
  if (auto *edit = year_->findChild<QLineEdit *>()) edit->setMaxLength(4);

  grid_ = new QTableWidget(kRows, kColumns, this);
  grid_->setObjectName("Calendar");
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setDefaultSectionSize(38);
  grid_->verticalHeader()->setDefaultSectionSize(24);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setShowGrid(false);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      auto *cell = new QTableWidgetItem;
      cell->setTextAlignment(Qt::AlignCenter);
      grid_->setItem(r, c, cell);
    }
  int header_height = grid_->horizontalHeader()->sizeHint().height();
  grid_->setFixedSize(kColumns * 38 + 2 * grid_->frameWidth(),
                      kRows * 24 + header_height + 2 * grid_->frameWidth());

  ok_ = new QPushButton("&OK", this);
  ok_->setObjectName("OKBtn");
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  cancel_->setObjectName("CancelBtn");

  auto *top = new QHBoxLayout;
  top->addWidget(month_, 1);
  top->addWidget(year_);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(month_, &QComboBox::currentIndexChanged, this, &TPerpetualCalendarDlg::monthChange);
  connect(year_, &QSpinBox::valueChanged, this, &TPerpetualCalendarDlg::yearChange);
  connect(grid_, &QTableWidget::cellClicked, this, &TPerpetualCalendarDlg::dayClick);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) {
    dayClick(r, c);
    if (!grid_->item(r, c)->text().isEmpty()) accept();
  });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  fill_grid();
}

void TPerpetualCalendarDlg::prepare(TLanguage language, const QString &title, const QString &date) {
  setWindowTitle(title);
  const auto &weekdays = weekday_names(language);
  QStringList heads;
  for (const char *w : weekdays) heads << QString::fromUtf8(w);
  grid_->setHorizontalHeaderLabels(heads);
  const auto &months = month_names(language);
  for (int m = 0; m < 12; ++m) month_->setItemText(m, QString::fromUtf8(months[m]));
  cancel_->setText(QString::fromUtf8(cancel_caption(language)));
  value_ = read_picker_date(date.toStdString(), day_first_, value_);
  fill_grid();
}

QString TPerpetualCalendarDlg::result_text() const {
  return QString::fromStdString(picker_text(value_, day_first_, separator_));
}

void TPerpetualCalendarDlg::monthChange(int index) {
  if (filling_ || index < 0) return;
  value_.set_month(index + 1);
  fill_grid();
}

void TPerpetualCalendarDlg::yearChange(int year) {
  if (filling_) return;
  value_.set_year(year);
  fill_grid();
}

void TPerpetualCalendarDlg::dayClick(int row, int column) {
  int offset = first_weekday(value_.month, value_.year);
  if (value_.set_day(row * kColumns + column - offset + 1)) fill_grid();
}

// Puts value_ into the three controls without their handlers running again.
void TPerpetualCalendarDlg::fill_grid() {
  filling_ = true;
  month_->setCurrentIndex(value_.month - 1);
  year_->setValue(value_.year);
  int offset = first_weekday(value_.month, value_.year);
  int days = days_in_month(value_.month, value_.year);
  for (int i = 0; i < kRows * kColumns; ++i) {
    QTableWidgetItem *cell = grid_->item(i / kColumns, i % kColumns);
    int day = i - offset + 1;
    bool inside = day >= 1 && day <= days;
    cell->setText(inside ? QString::number(day) : QString());
    cell->setFlags(inside ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
  }
  int at = offset + value_.day - 1;
  grid_->setCurrentCell(at / kColumns, at % kColumns);
  filling_ = false;
}

TPerpetualCalendar::TPerpetualCalendar(QWidget *parent, Prompts *prompts)
    : parent_(parent),
      prompts_(prompts),
      day_first_(platform::day_first(platform::regional_language())),
      separator_(platform::regional_date_separator()) {
  setLanguage(laDefault);
}

void TPerpetualCalendar::setLanguage(TLanguage language) {
  language_ = language;
  title_ = QString::fromUtf8(calendar_title(resolved_language(language, platform::regional_language())));
}

bool TPerpetualCalendar::Execute() {
  TPerpetualCalendarDlg dlg(day_first_, separator_, parent_);
  const TLanguage langue = resolved_language(language_, platform::regional_language());
  // Without prompts the picker still has its help, through the desktop.
  QtPrompts bureau(&dlg);
  aide_f1(dlg, prompts_ ? *prompts_ : bureau, langue == laFrench ? 0 : 1, "calendrier");
  QString start = force_today_ ? QString::fromStdString(to_picker_date(store::system_today(), day_first_, separator_))
                               : date_;
  dlg.prepare(langue, title_, start);
  if (position_ == poDesigned) {
    dlg.adjustSize();
    dlg.move(left_, top_);
  }
  bool ok = prompts_ ? prompts_->execute(dlg) : dlg.exec() == QDialog::Accepted;
  if (ok) date_ = dlg.result_text();
  return ok;
}

}  // namespace ui
