// The control: where it draws, what it does with a failed read, the shared undo history.
#include "picturebox.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "fixtures_test.h"
#include "readers.h"
#include "scripted_prompts_test.h"

namespace image {
namespace {

struct Box {
  TempDir d;
  ui::ScriptedPrompts prompts;
  UndoHistory undo;
  TPictureBox box{prompts, undo};
  Box() { box.resize(100, 80); }
};

TEST(PictureBox, DrawingModes) {
  Box b;
  b.box.setImageName(QString::fromStdString(fixture(b.d, "a.png")));
  struct Case {
    bool center, stretch, ratio;
    QRect zone;
  };
  for (const Case &c : {Case{false, false, false, {0, 0, 24, 16}},
                        {true, false, false, {38, 32, 24, 16}},
                        {false, true, false, {0, 0, 100, 80}},
                        {false, false, true, {0, 0, 100, 66}},
                        {true, false, true, {0, 7, 100, 66}}}) {
    b.box.setCenter(c.center);
    b.box.setStretch(c.stretch);
    b.box.setStretchRatio(c.ratio);
    EXPECT_EQ(b.box.zone_image(), c.zone);
  }
  b.box.setStretch(true);
  EXPECT_FALSE(b.box.StretchRatio());
  b.box.setAutoSize(true);
  EXPECT_EQ(b.box.size(), QSize(24, 16));
}

TEST(PictureBox, ReadFailureGoesToTheEventOrTheBox) {
  Box b;
  b.d.write("bad.gif", "GIF89a");
  b.prompts.reponses.push_back(ui::Reponse::ok);
  b.box.setImageName(QString::fromStdString(b.d.file("bad.gif")));
  ASSERT_EQ(b.prompts.boites.size(), 1u);
  EXPECT_EQ(b.prompts.boites[0].boite, ui::Boite::erreur);
  std::int16_t code = 0;
  b.box.OnImageError = [&](TPictureBox *, std::int16_t c, const QString &, const char *) { code = c; };
  b.box.setImageName(QString::fromStdString(b.d.file("bad.gif")));
  EXPECT_EQ(code, kErrFormat);
  EXPECT_EQ(b.prompts.boites.size(), 1u);
}

TEST(PictureBox, UndoHistoryIsShared) {
  Box b;
  TPictureBox other(b.prompts, b.undo);
  b.box.setImageName(QString::fromStdString(fixture(b.d, "a.bmp")));
  Picture first = b.box.picture();
  b.box.setImageName(QString::fromStdString(fixture(b.d, "a.gif")));
  other.setImageName(QString::fromStdString(fixture(b.d, "a.jpg")));
  other.setKeepUndo(false);
  other.setImageName(QString::fromStdString(fixture(b.d, "a.pcx")));
  EXPECT_EQ(b.undo.nombre(), 1u);
  EXPECT_EQ(b.undo.entree(0), first);
}

TEST(PictureBox, TransitionsEndWithTheWholePicture) {
  for (TFXMethod m : {TFXMethod::FXHorizontal, TFXMethod::FXVertical, TFXMethod::FXDiagonal,
                      TFXMethod::FXDiagonalSquares, TFXMethod::FXRectangles}) {
    QRegion half = zone_revelee(m, {100, 80}, 5, 10, 4);
    EXPECT_FALSE(half.isEmpty() || half == QRegion(0, 0, 100, 80)) << int(m);
    EXPECT_EQ(zone_revelee(m, {100, 80}, 10, 10, 4), QRegion(0, 0, 100, 80)) << int(m);
  }
  Box b;
  b.box.setFXMethod(TFXMethod::FXDiagonal);
  b.box.setFXDelay(1);
  b.box.setImageName(QString::fromStdString(fixture(b.d, "a.png")));
  EXPECT_TRUE(b.box.transition_en_cours());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !b.box.transition_en_cours(); }, 2000));
}

}  // namespace
}  // namespace image
