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

class CalendarTest : public ::testing::Test {
 protected:
  ScriptedPrompts prompts;
  TPerpetualCalendar calendar{nullptr, &prompts};
  void TearDown() override { prompts.attend_tout_consomme(); }

  bool run(const std::function<void(TPerpetualCalendarDlg &)> &script) {
    prompts.dialogues.push_back([script](QDialog &d) { script(static_cast<TPerpetualCalendarDlg &>(d)); });
    return calendar.Execute();
  }
};

TEST_F(CalendarTest, LanguageTextsAndCancelKeepingTheDate) {
  calendar.setLanguage(laFrench);
  calendar.set_regional(true, '/');
  calendar.setDate("14/07/1995");
  EXPECT_FALSE(run([](TPerpetualCalendarDlg &dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Calendrier");
    EXPECT_EQ(dlg.month_box()->itemText(7), QString::fromUtf8("Août"));
    EXPECT_EQ(dlg.day_grid()->horizontalHeaderItem(0)->text(), "Lun");
    EXPECT_EQ(dlg.day_grid()->horizontalHeaderItem(6)->text(), "Dim");
    EXPECT_EQ(dlg.cancel_button()->text(), "&Annuler");
    EXPECT_EQ(dlg.year_box()->minimum(), 1981);
    EXPECT_EQ(dlg.year_box()->maximum(), 2099);
    dlg.month_box()->setCurrentIndex(11);
    dlg.cancel_button()->click();
  }));
  EXPECT_EQ(calendar.Date(), "14/07/1995");
}

// The page tests run the picker day first with a month change and month first with a year
// change; here the grid itself and the year lowering the day.
TEST_F(CalendarTest, TheGridShowsTheDayAndAClickChoosesOne) {
  calendar.set_regional(false, '-');
  calendar.setDate("02-29-2000");
  ASSERT_TRUE(run([](TPerpetualCalendarDlg &dlg) {
    // 1 February 2000 is a Tuesday, and so is the 29th.
    QTableWidget *grid = dlg.day_grid();
    EXPECT_EQ(grid->currentItem()->text(), "29");
    EXPECT_EQ(grid->currentColumn(), 1);
    dlg.year_box()->setValue(2001);
    EXPECT_EQ(dlg.value(), (CalendarDate{28, 2, 2001}));
    // 1 February 2001 is a Thursday: the 7th is the Wednesday of the second row.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(1, 2)).center());
    dlg.ok_button()->click();
  }));
  EXPECT_EQ(calendar.Date(), "02-07-2001");
}

TEST_F(CalendarTest, TodayWhenForcedOrWhenTheDateIsUnreadable) {
  ::setenv("TAPEMOOR_TODAY", "05/03/2004", 1);
  calendar.set_regional(true, '.');
  calendar.setDate("20/06/1999");
  calendar.setForceToday(true);
  auto ok = [](TPerpetualCalendarDlg &dlg) { dlg.ok_button()->click(); };
  ASSERT_TRUE(run(ok));
  EXPECT_EQ(calendar.Date(), "05.03.2004");
  calendar.setForceToday(false);
  calendar.setDate("");
  ASSERT_TRUE(run(ok));
  EXPECT_EQ(calendar.Date(), "05.03.2004");
  ::unsetenv("TAPEMOOR_TODAY");
}

}  // namespace
}  // namespace ui
