// Tarbre: the outline control of the two trees. A view over the tree lines themselves, not one
// widget item per line, so a dossier of 100,000 recordings shows at once.
//
// Lines are numbered from 1 in display order, as the tree logic numbers them. A line of level 2
// or more is a child of the last line before it of a lower level. Texts arrive as stored
// (Windows-1252) bytes and are converted here, when a line is drawn.
#pragma once

#include <QAbstractItemModel>
#include <QTreeView>
#include <memory>
#include <string>
#include <vector>

#include "tree.h"
#include "tree_icons.h"

namespace browse {

// Draws the picture of an icon name at a device pixel ratio; null for none.
using IconSource = QPixmap (*)(std::string_view name, qreal device_pixel_ratio);

// The lines as a tree model. The internal id of an index is its line's position.
class TreeLinesModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  using QAbstractItemModel::QAbstractItemModel;

  // Shared, so a caller that keeps the lines (the collection's commands) needs no copy of them.
  void set_lines(std::shared_ptr<const std::vector<TreeLine>> lines);
  const std::vector<TreeLine> &lines() const { return *lines_; }

  // Line position (0-based) of an index, -1 for the root; and back.
  int line_of(const QModelIndex &index) const;
  QModelIndex index_of_line(int line) const;

  QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
  QModelIndex parent(const QModelIndex &child) const override;
  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  bool hasChildren(const QModelIndex &parent = {}) const override;
  bool has_second_level() const { return top_.size() < lines_->size(); }
  int children_of_line(int line) const { return children_[static_cast<std::size_t>(line)]; }
  QVariant data(const QModelIndex &index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  // The tree's pictures unless a window draws its own.
  IconSource icons = tree_icon;

 private:
  std::shared_ptr<const std::vector<TreeLine>> lines_ = std::make_shared<const std::vector<TreeLine>>();
  std::vector<int> parent_;    // line of the parent, -1 at the top
  std::vector<int> row_;       // row under the parent
  std::vector<int> children_;  // number of children
  std::vector<int> first_;     // where a line's children start in kids_
  std::vector<int> kids_;      // the children of every line, grouped by parent
  std::vector<int> top_;       // lines of the top level, in order
};

class Tarbre : public QTreeView {
  Q_OBJECT
 public:
  explicit Tarbre(QWidget *parent = nullptr);

  // Replaces every line and expands them all, shown from the top; no line is selected afterwards.
  void set_lines(std::vector<TreeLine> lines);
  void set_lines(std::shared_ptr<const std::vector<TreeLine>> lines);
  void clear() { set_lines(std::vector<TreeLine>{}); }
  const std::vector<TreeLine> &lines() const { return model_->lines(); }
  int line_count() const { return static_cast<int>(model_->lines().size()); }

  // 1-based; 0 when no line is selected.
  int selected_line() const;
  // Selects line n (1-based) and scrolls to it; any other n clears the selection. Emits nothing.
  void select_line(int n);

  // Line n (1-based); an empty text for a number outside the lines.
  const std::string &entry(int n) const;
  const std::string &icon(int n) const;
  const std::string &text(int n) const;

  void expand_all();
  void set_icons(IconSource icons) { model_->icons = icons; }

 signals:
  // The user chose line n: a click, or a move with the keyboard.
  void line_clicked(int n);
  void line_double_clicked(int n);

 protected:
  void keyPressEvent(QKeyEvent *event) override;

 private:
  TreeLinesModel *model_;
};

}  // namespace browse
