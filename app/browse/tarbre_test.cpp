#include "tarbre.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "tree_icons.h"

namespace browse {
namespace {

const auto heading = [](std::string text) { return TreeLine{1, "", "", std::move(text)}; };
const auto item = [](int level, std::string icon, int record, std::string text) {
  return TreeLine{level, std::move(icon), store::nombre_zero(record, 6), std::move(text)};
};

// Grouping "Support" in miniature: two headings, the second empty, a third with one line.
std::vector<TreeLine> sample() {
  return {heading("VHS"), item(2, "k7img", 0, "A1"), item(2, "k7imgout", 3, "A2"),
          heading("DVD"), heading("Laser"),          item(2, "k7imgina", 1, "Caf\xe9")};
}

TEST(Tarbre, LinesFormATwoLevelOutlineSelectedByLineNumberWithUserChoiceSignals) {
  Tarbre tree;
  tree.resize(300, 300);
  tree.set_lines(sample());
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  const QAbstractItemModel *m = tree.model();
  QModelIndex vhs = m->index(0, 0), dvd = m->index(1, 0), laser = m->index(2, 0);
  ASSERT_EQ((std::vector{m->rowCount(), m->rowCount(vhs), m->rowCount(dvd), m->rowCount(laser)}),
            (std::vector{3, 2, 0, 1}));
  QModelIndex a2 = m->index(1, 0, vhs);
  EXPECT_EQ(a2.data().toString(), "A2");
  EXPECT_EQ(m->parent(a2), vhs);
  EXPECT_FALSE(m->parent(vhs).isValid());
  EXPECT_EQ(m->index(0, 0, laser).data().toString(), QString::fromUtf8("Café"));
  EXPECT_FALSE(m->index(2, 0, vhs).isValid());
  EXPECT_TRUE(tree.isExpanded(vhs) && tree.isExpanded(laser));
  // Headings draw no picture of their own; items do.
  EXPECT_FALSE(vhs.data(Qt::DecorationRole).isValid());
  EXPECT_TRUE(a2.data(Qt::DecorationRole).isValid());
  // Line numbers count the headings, the empty one included.
  EXPECT_EQ((std::vector{tree.entry(1), tree.entry(3), tree.icon(6), tree.entry(7), tree.icon(0)}),
            (std::vector<std::string>{"", "000003", "k7imgina", "", ""}));

  QSignalSpy clicks(&tree, &Tarbre::line_clicked);
  QSignalSpy doubles(&tree, &Tarbre::line_double_clicked);
  EXPECT_EQ(tree.selected_line(), 0);
  tree.select_line(6);
  EXPECT_EQ(tree.selected_line(), 6);
  tree.select_line(99);
  EXPECT_EQ(tree.selected_line(), 0);

  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(m->index(0, 0, laser)).center());
  EXPECT_EQ(tree.selected_line(), 6);
  tree.select_line(2);
  tree.setFocus();
  QTest::keyClick(&tree, Qt::Key_Down);
  EXPECT_EQ(clicks, (QList<QVariantList>{{6}, {3}}));  // none for the program's own choices

  QPoint first = tree.visualRect(vhs).center();
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, first);
  ASSERT_GE(doubles.count(), 1);
  EXPECT_EQ(doubles.last().at(0).toInt(), 1);
  // The double click does not fold the heading: folding is the branch sign's job.
  EXPECT_TRUE(tree.isExpanded(vhs));

  // A second-level line with no top line before it stays on top.
  tree.set_lines({item(2, "filmimg", 4, "Orphan"), heading("H"), item(2, "filmimg", 5, "X")});
  EXPECT_EQ((std::vector{m->rowCount(), m->rowCount(m->index(1, 0))}), (std::vector{2, 1}));
}

TEST(Tarbre, TheLastLineOfALongTreeIsUnfoldedAndScrolledTo) {
  std::vector<TreeLine> grouped, flat;
  for (int i = 0; i < 2000; ++i) {
    if (i % 100 == 0) grouped.push_back(heading("Theme " + std::to_string(i / 100)));
    grouped.push_back(item(2, "filmimg", i, "Title " + std::to_string(i)));
    flat.push_back(item(1, "filmimg", i, "Title " + std::to_string(i)));
  }
  Tarbre tree;
  tree.resize(300, 600);
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  for (auto *lines : {&grouped, &flat}) {
    tree.set_lines(*lines);
    tree.select_line(static_cast<int>(lines->size()));
    EXPECT_EQ(tree.selected_line(), static_cast<int>(lines->size()));
    EXPECT_TRUE(tree.visualRect(tree.currentIndex()).isValid());
    tree.set_lines(*lines);  // rebuilt with nothing reselected: from the top
    EXPECT_EQ(tree.verticalScrollBar()->value(), 0);
  }
}

bool has_red(const QImage &image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      if (c.alpha() > 200 && c.red() > 180 && c.green() < 80 && c.blue() < 80) return true;
    }
  return false;
}

TEST(TreeIcons, SixDistinctPicturesRedWhenOverdue) {
  std::vector<QImage> seen;
  for (std::string_view name : {"filmimg", "k7img", "k7imgout", "k7imgouta", "k7imgin", "k7imgina"}) {
    QPixmap p = tree_icon(name);
    ASSERT_EQ(p.size(), tree_icon_size()) << name;
    QImage image = p.toImage();
    EXPECT_EQ(has_red(image), name == "k7imgouta" || name == "k7imgina") << name;
    for (const QImage &other : seen) EXPECT_NE(image, other) << name;
    seen.push_back(image);
  }
  EXPECT_TRUE(tree_icon("").isNull());
  EXPECT_TRUE(tree_icon("k7imgx").isNull());
  EXPECT_EQ(tree_icon("k7img", 2.0).size(), tree_icon_size() * 2);
}

}  // namespace
}  // namespace browse
