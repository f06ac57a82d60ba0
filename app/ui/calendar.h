// The date picker: TPerpetualCalendar holds the properties a window sets, TPerpetualCalendarDlg
// is the modal dialog it runs. Date texts are in the regional order and separator (see
// calendar_logic.h for how a caller converts from and to the stored day-first text).
#pragma once

#include <QDialog>
#include <QString>

#include "calendar_logic.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace ui {

class Prompts;

enum TPosition { poDesigned, poDefault, poScreenCenter };

class TPerpetualCalendarDlg : public QDialog {
  Q_OBJECT
 public:
  // `day_first` and `separator` are the regional date order and separator.
  TPerpetualCalendarDlg(bool day_first, char separator, QWidget *parent = nullptr);

  // The showing step: texts of `language` (already resolved), then `date` split into the grid.
  void prepare(TLanguage language, const QString &title, const QString &date);
  // The text OK builds from the grid.
  QString result_text() const;
  const CalendarDate &value() const { return value_; }

  // The controls, named as designed, for the callers' tests and the screenshots.
  QComboBox *month_box() const { return month_; }
  QSpinBox *year_box() const { return year_; }
  QTableWidget *day_grid() const { return grid_; }
  QPushButton *ok_button() const { return ok_; }
  QPushButton *cancel_button() const { return cancel_; }

 private:
  void monthChange(int index);
  void yearChange(int year);
  void dayClick(int row, int column);
  void fill_grid();

  bool day_first_;
  char separator_;
  CalendarDate value_;
  bool filling_ = false;
  QComboBox *month_;
  QSpinBox *year_;
  QTableWidget *grid_;
  QPushButton *ok_;
  QPushButton *cancel_;
};

class TPerpetualCalendar {
 public:
  // With `prompts`, Execute runs the dialog through it (so tests can answer); else exec().
  explicit TPerpetualCalendar(QWidget *parent = nullptr, Prompts *prompts = nullptr);

  TLanguage Language() const { return language_; }
  // Also sets Title to the language's word for calendar.
  void setLanguage(TLanguage language);
  QString Title() const { return title_; }
  void setTitle(const QString &title) { title_ = title; }
  QString Date() const { return date_; }
  void setDate(const QString &date) { date_ = date; }
  TPosition Position() const { return position_; }
  void setPosition(TPosition position) { position_ = position; }
  int LeftPos() const { return left_; }
  void setLeftPos(int left) { left_ = left; }
  int TopPos() const { return top_; }
  void setTopPos(int top) { top_ = top; }
  bool ForceToday() const { return force_today_; }
  void setForceToday(bool force) { force_today_ = force; }

  // The regional order and separator, read at creation; tests and callers may fix them.
  void set_regional(bool day_first, char separator) {
    day_first_ = day_first;
    separator_ = separator;
  }
  bool day_first() const { return day_first_; }
  char separator() const { return separator_; }

  // Shows the dialog modally; true on OK, Date then holds the chosen date.
  bool Execute();

 private:
  QWidget *parent_;
  Prompts *prompts_;
  TLanguage language_ = laDefault;
  QString title_;
  QString date_;
  TPosition position_ = poScreenCenter;
  int left_ = 0;
  int top_ = 0;
  bool force_today_ = false;
  bool day_first_;
  char separator_;
};

}  // namespace ui
