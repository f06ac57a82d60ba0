#include "calendar.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

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
    auto day = [&dlg](int column) { return dlg.day_grid()->horizontalHeaderItem(column)->text(); };
    EXPECT_EQ((QStringList{dlg.windowTitle(), dlg.month_box()->itemText(7), day(0), day(6),
                           dlg.cancel_button()->text()}),
              (QStringList{"Calendrier", QString::fromUtf8("Août"), "Lun", "Dim", "&Annuler"}));
    EXPECT_EQ(std::pair(dlg.year_box()->minimum(), dlg.year_box()->maximum()), std::pair(1981, 2099));
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
  qputenv("TAPEMOOR_TODAY", "05/03/2004");
  calendar.set_regional(true, '.');
  for (const char *date : {"20/06/1999", ""}) {  // forced first, then unreadable
    calendar.setForceToday(*date != '\0');
    calendar.setDate(date);
    ASSERT_TRUE(run([](TPerpetualCalendarDlg &dlg) { dlg.ok_button()->click(); }));
    EXPECT_EQ(calendar.Date(), "05.03.2004") << date;
  }
  qunsetenv("TAPEMOOR_TODAY");
}

}  // namespace
}  // namespace ui
