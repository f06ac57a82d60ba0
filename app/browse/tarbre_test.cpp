#include "tarbre.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "tree_icons.h"

namespace browse {
namespace {

TreeLine heading(std::string text) { return {1, "", "", std::move(text)}; }
TreeLine item(int level, std::string icon, int record, std::string text) {
  char entry[8];
  std::snprintf(entry, sizeof entry, "%06d", record);
  return {level, std::move(icon), entry, std::move(text)};
}

// Grouping "Support" in miniature: two headings, the second empty, a third with one line.
std::vector<TreeLine> sample() {
  return {heading("VHS"),      item(2, "k7img", 0, "A1"),    item(2, "k7imgout", 3, "A2"),
          heading("DVD"),      heading("Laser"),             item(2, "k7imgina", 1, "Caf\xe9")};
}

TEST(Tarbre, LinesFormATwoLevelOutline) {
  Tarbre tree;
  tree.set_lines(sample());
  const QAbstractItemModel *m = tree.model();
  ASSERT_EQ(m->rowCount(), 3);
  QModelIndex vhs = m->index(0, 0), dvd = m->index(1, 0), laser = m->index(2, 0);
  EXPECT_EQ(m->rowCount(vhs), 2);
  EXPECT_EQ(m->rowCount(dvd), 0);
  EXPECT_EQ(m->rowCount(laser), 1);
  QModelIndex a2 = m->index(1, 0, vhs);
  EXPECT_EQ(a2.data().toString(), "A2");
  EXPECT_EQ(m->parent(a2), vhs);
  EXPECT_FALSE(m->parent(vhs).isValid());
  EXPECT_EQ(m->index(0, 0, laser).data().toString(), QString::fromUtf8("Café"));
  EXPECT_FALSE(m->index(2, 0, vhs).isValid());
  EXPECT_TRUE(tree.isExpanded(vhs));
  EXPECT_TRUE(tree.isExpanded(laser));
  // Headings draw no picture of their own; items do.
  EXPECT_FALSE(vhs.data(Qt::DecorationRole).isValid());
  EXPECT_TRUE(a2.data(Qt::DecorationRole).isValid());

  EXPECT_EQ(tree.line_count(), 6);
  EXPECT_EQ(tree.entry(3), "000003");
  EXPECT_EQ(tree.icon(6), "k7imgina");
  EXPECT_EQ(tree.entry(1), "");
  EXPECT_EQ(tree.entry(7), "");
  EXPECT_EQ(tree.icon(0), "");

  // A second-level line with no top line before it stays on top.
  tree.set_lines({item(2, "filmimg", 4, "Orphan"), heading("H"), item(2, "filmimg", 5, "X")});
  EXPECT_EQ(tree.model()->rowCount(), 2);
  EXPECT_EQ(tree.model()->rowCount(tree.model()->index(1, 0)), 1);
}

TEST(Tarbre, SelectionByLineNumberAndUserChoiceSignals) {
  Tarbre tree;
  tree.resize(300, 300);
  tree.set_lines(sample());
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  QSignalSpy clicks(&tree, &Tarbre::line_clicked);
  QSignalSpy doubles(&tree, &Tarbre::line_double_clicked);

  EXPECT_EQ(tree.selected_line(), 0);
  tree.select_line(6);
  EXPECT_EQ(tree.selected_line(), 6);
  tree.select_line(3);
  EXPECT_EQ(tree.selected_line(), 3);
  EXPECT_EQ(tree.entry(tree.selected_line()), "000003");
  EXPECT_EQ(clicks.count(), 0);  // choosing from the program is not a user's click
  tree.select_line(0);
  EXPECT_EQ(tree.selected_line(), 0);
  tree.select_line(3);
  tree.select_line(99);
  EXPECT_EQ(tree.selected_line(), 0);

  QModelIndex laser_child = tree.model()->index(0, 0, tree.model()->index(2, 0));
  QRect r = tree.visualRect(laser_child);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, r.center());
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks.takeFirst().at(0).toInt(), 6);
  EXPECT_EQ(tree.selected_line(), 6);

  tree.select_line(2);
  tree.setFocus();
  QTest::keyClick(&tree, Qt::Key_Down);
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks.takeFirst().at(0).toInt(), 3);

  QPoint first = tree.visualRect(tree.model()->index(0, 0)).center();
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, first);
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, first);
  ASSERT_GE(doubles.count(), 1);
  EXPECT_EQ(doubles.last().at(0).toInt(), 1);
  // The double click does not fold the heading: folding is the branch sign's job.
  EXPECT_TRUE(tree.isExpanded(tree.model()->index(0, 0)));
}

TEST(Tarbre, TheLastLineOfALongTreeIsUnfoldedAndScrolledTo) {
  std::vector<TreeLine> grouped, flat;
  for (int h = 0; h < 20; ++h) {
    grouped.push_back(heading("Theme " + std::to_string(h)));
    for (int i = 0; i < 100; ++i) grouped.push_back(item(2, "filmimg", h * 100 + i, "Title " + std::to_string(i)));
  }
  for (int i = 0; i < 2000; ++i) flat.push_back(item(1, "filmimg", i, "Title " + std::to_string(i)));

  Tarbre tree;
  tree.resize(300, 600);
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  for (auto *lines : {&grouped, &flat}) {
    tree.set_lines(*lines);
    tree.select_line(static_cast<int>(lines->size()));
    EXPECT_EQ(tree.selected_line(), static_cast<int>(lines->size()));
    EXPECT_EQ(tree.entry(tree.selected_line()), lines->back().entry);
    EXPECT_TRUE(tree.visualRect(tree.currentIndex()).isValid());
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
  const char *names[] = {"filmimg", "k7img", "k7imgout", "k7imgouta", "k7imgin", "k7imgina"};
  std::vector<QImage> images;
  for (const char *name : names) {
    QPixmap p = tree_icon(name);
    ASSERT_FALSE(p.isNull()) << name;
    EXPECT_EQ(p.size(), tree_icon_size());
    images.push_back(p.toImage());
  }
  for (std::size_t a = 0; a < images.size(); ++a)
    for (std::size_t b = a + 1; b < images.size(); ++b) EXPECT_NE(images[a], images[b]) << names[a] << " " << names[b];
  for (std::size_t i = 0; i < images.size(); ++i)
    EXPECT_EQ(has_red(images[i]), i == 3 || i == 5) << names[i];
  EXPECT_TRUE(tree_icon("").isNull());
  EXPECT_TRUE(tree_icon("k7imgx").isNull());
  EXPECT_EQ(tree_icon("k7img", 2.0).size(), tree_icon_size() * 2);
}

}  // namespace
}  // namespace browse
