#include "calendar.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>

#include "scripted_prompts_test.h"

namespace ui {
namespace {

TPerpetualCalendarDlg &picker(QDialog &d) { return static_cast<TPerpetualCalendarDlg &>(d); }

// The grid cell that shows `day` in the current month.
QTableWidgetItem *cell_of(TPerpetualCalendarDlg &dlg, int day) {
  QTableWidget *grid = dlg.day_grid();
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < grid->columnCount(); ++c)
      if (grid->item(r, c)->text() == QString::number(day)) return grid->item(r, c);
  return nullptr;
}

class CalendarTest : public ::testing::Test {
 protected:
  ScriptedPrompts prompts;
  TPerpetualCalendar calendar{nullptr, &prompts};
  void TearDown() override { prompts.attend_tout_consomme(); }
};

TEST_F(CalendarTest, LanguageSetsTitleAndTheDialogTexts) {
  calendar.setLanguage(laGerman);
  EXPECT_EQ(calendar.Title(), "Kalender");
  calendar.setLanguage(laFrench);
  EXPECT_EQ(calendar.Title(), "Calendrier");
  calendar.setTitle("Choisir");
  prompts.dialogues.push_back([](QDialog &d) {
    TPerpetualCalendarDlg &dlg = picker(d);
    EXPECT_EQ(dlg.windowTitle(), "Choisir");
    EXPECT_EQ(dlg.month_box()->itemText(7), QString::fromUtf8("Août"));
    EXPECT_EQ(dlg.day_grid()->horizontalHeaderItem(0)->text(), "Lun");
    EXPECT_EQ(dlg.day_grid()->horizontalHeaderItem(6)->text(), "Dim");
    EXPECT_EQ(dlg.cancel_button()->text(), "&Annuler");
    dlg.cancel_button()->click();
  });
  EXPECT_FALSE(calendar.Execute());

  calendar.setLanguage(laSpanish);
  prompts.dialogues.push_back([](QDialog &d) {
    TPerpetualCalendarDlg &dlg = picker(d);
    EXPECT_EQ(dlg.windowTitle(), "Calendario");
    EXPECT_EQ(dlg.month_box()->itemText(0), "Enero");
    EXPECT_EQ(dlg.cancel_button()->text(), "&Cancelar");
    EXPECT_EQ(dlg.year_box()->minimum(), 1981);
    EXPECT_EQ(dlg.year_box()->maximum(), 2099);
    dlg.cancel_button()->click();
  });
  EXPECT_FALSE(calendar.Execute());
}

TEST_F(CalendarTest, MonthChangeLowersTheDayAndOkBuildsDayFirstText) {
  calendar.set_regional(true, '/');
  calendar.setDate("31/01/2001");
  prompts.dialogues.push_back([](QDialog &d) {
    TPerpetualCalendarDlg &dlg = picker(d);
    EXPECT_EQ(dlg.month_box()->currentIndex(), 0);
    EXPECT_EQ(dlg.year_box()->value(), 2001);
    EXPECT_EQ(dlg.day_grid()->currentItem()->text(), "31");
    // 1 January 2001 is a Monday, so the 31st falls on a Wednesday.
    EXPECT_EQ(dlg.day_grid()->currentColumn(), 2);
    dlg.month_box()->setCurrentIndex(1);
    EXPECT_EQ(dlg.day_grid()->currentItem()->text(), "28");
    dlg.ok_button()->click();
  });
  ASSERT_TRUE(calendar.Execute());
  EXPECT_EQ(calendar.Date(), "28/02/2001");
}

TEST_F(CalendarTest, MonthFirstOrderWithItsSeparatorAndAYearChange) {
  calendar.set_regional(false, '-');
  calendar.setDate("02-29-2000");
  prompts.dialogues.push_back([](QDialog &d) {
    TPerpetualCalendarDlg &dlg = picker(d);
    EXPECT_EQ(dlg.value(), (CalendarDate{29, 2, 2000}));
    dlg.year_box()->setValue(2001);
    EXPECT_EQ(dlg.value(), (CalendarDate{28, 2, 2001}));
    // A click on a day of the grid chooses it.
    QTableWidgetItem *seventh = cell_of(dlg, 7);
    ASSERT_NE(seventh, nullptr);
    QRect r = dlg.day_grid()->visualItemRect(seventh);
    QTest::mouseClick(dlg.day_grid()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(dlg.value().day, 7);
    dlg.ok_button()->click();
  });
  ASSERT_TRUE(calendar.Execute());
  EXPECT_EQ(calendar.Date(), "02-07-2001");
  EXPECT_EQ(from_picker_date(calendar.Date().toStdString(), false), "07/02/2001");
}

TEST_F(CalendarTest, CancelLeavesTheDate) {
  calendar.set_regional(true, '/');
  calendar.setDate("14/07/1995");
  prompts.dialogues.push_back([](QDialog &d) {
    TPerpetualCalendarDlg &dlg = picker(d);
    dlg.month_box()->setCurrentIndex(11);
    dlg.cancel_button()->click();
  });
  EXPECT_FALSE(calendar.Execute());
  EXPECT_EQ(calendar.Date(), "14/07/1995");
}

TEST_F(CalendarTest, ForceTodayAndAnUnreadableDateStartFromToday) {
  ::setenv("TAPEMOOR_TODAY", "05/03/2004", 1);
  calendar.set_regional(true, '.');
  calendar.setDate("20/06/1999");
  calendar.setForceToday(true);
  prompts.dialogues.push_back([](QDialog &d) { picker(d).ok_button()->click(); });
  ASSERT_TRUE(calendar.Execute());
  EXPECT_EQ(calendar.Date(), "05.03.2004");

  calendar.setForceToday(false);
  calendar.setDate("");
  prompts.dialogues.push_back([](QDialog &d) { picker(d).ok_button()->click(); });
  ASSERT_TRUE(calendar.Execute());
  EXPECT_EQ(calendar.Date(), "05.03.2004");
  ::unsetenv("TAPEMOOR_TODAY");
}

TEST_F(CalendarTest, DesignedPositionPlacesTheDialog) {
  calendar.setPosition(poDesigned);
  calendar.setLeftPos(120);
  calendar.setTopPos(80);
  prompts.dialogues.push_back([](QDialog &d) {
    EXPECT_EQ(d.pos(), QPoint(120, 80));
    picker(d).cancel_button()->click();
  });
  EXPECT_FALSE(calendar.Execute());
}

}  // namespace
}  // namespace ui
