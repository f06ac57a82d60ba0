#include "qt_text.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// The store tests the conversion's edge cases; here only its crossing into Qt.
TEST(QtText, StoredBytesAndMemoLineEnds) {
  EXPECT_EQ(qtext("\xC9t\xE9 \x80"), QString::fromUtf8("Été €"));
  EXPECT_EQ(ctext(QString::fromUtf8("Été €")), "\xC9t\xE9 \x80");
  EXPECT_EQ(cmemo("a\nb"), "a\r\nb");
  EXPECT_EQ(qmemo("a\r\nb"), "a\nb");
}

TEST(QtText, WindowsColours) {
  QPalette p;
  p.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
  EXPECT_EQ(couleur_windows(0x00332211, p), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(couleur_windows(0x80000018, p), QColor(4, 5, 6));            // info background
  EXPECT_EQ(couleur_windows(0x800000FF, p), p.color(QPalette::Window));  // unknown index
}

}  // namespace
