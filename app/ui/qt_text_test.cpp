#include "qt_text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "prompts.h"

using namespace ui;

namespace {

// The store tests the conversion; the window tests show accented titles and store typed lines.
TEST(QtText, StoredMemoLineEndsComeBackAsNewlines) {
  EXPECT_EQ(qmemo("a\r\nb"), "a\nb");
}

// The window tests reach byte order, button face and highlight.
TEST(QtText, WindowsColours) {
  QPalette p;
  p.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
  EXPECT_EQ(couleur_windows(0x80000018, p), QColor(4, 5, 6));            // info background
  EXPECT_EQ(couleur_windows(0x800000FF, p), p.color(QPalette::Window));  // unknown index
}

// The frame's title of a message box shows whole: the box is wider than the title needs.
TEST(QtPrompts, MessageBoxesAreWideEnoughForTheirTitle) {
  int largeur = 0, titre = 0;
  QTimer::singleShot(0, [&] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    largeur = box->width(), titre = box->fontMetrics().horizontalAdvance(box->windowTitle());
    box->accept();
  });
  ui::QtPrompts().message(ui::Boite::avertissement, "Non", ui::Boutons::ok);
  EXPECT_GT(largeur, titre + 150);
}

}  // namespace
