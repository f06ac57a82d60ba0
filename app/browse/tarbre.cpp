#include "tarbre.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "text.h"
#include "tree_icons.h"

namespace browse {

void TreeLinesModel::set_lines(std::shared_ptr<const std::vector<TreeLine>> lines) {
  beginResetModel();
  lines_ = std::move(lines);
  const std::vector<TreeLine> &all = *lines_;
  std::size_t n = all.size();
  parent_.assign(n, -1);
  row_.assign(n, 0);
  children_.assign(n, 0);
  top_.clear();
  std::vector<int> open;  // the lines that may still take children, levels rising
  for (std::size_t i = 0; i < n; ++i) {
    const int line = static_cast<int>(i);
    while (!open.empty() && all[static_cast<std::size_t>(open.back())].level >= all[i].level) open.pop_back();
    // A deeper line before any top line has no parent to go under: it stays on top.
    if (all[i].level >= 2 && !open.empty()) {
      parent_[i] = open.back();
      row_[i] = children_[static_cast<std::size_t>(open.back())]++;
    } else {
      open.clear();
      row_[i] = static_cast<int>(top_.size());
      top_.push_back(line);
    }
    open.push_back(line);
  }
  first_.assign(n, 0);
  for (std::size_t i = 1; i < n; ++i) first_[i] = first_[i - 1] + children_[i - 1];
  kids_.assign(n, 0);
  for (std::size_t i = 0; i < n; ++i)
    if (parent_[i] >= 0)
      kids_[static_cast<std::size_t>(first_[static_cast<std::size_t>(parent_[i])] + row_[i])] =
          static_cast<int>(i);
  endResetModel();
}

int TreeLinesModel::line_of(const QModelIndex &index) const {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex TreeLinesModel::index_of_line(int line) const {
  if (line < 0 || line >= static_cast<int>(lines_->size())) return {};
  return createIndex(row_[line], 0, static_cast<quintptr>(line));
}

QModelIndex TreeLinesModel::index(int row, int column, const QModelIndex &parent) const {
  if (row < 0 || column != 0) return {};
  if (!parent.isValid()) {
    if (row >= static_cast<int>(top_.size())) return {};
    return createIndex(row, 0, static_cast<quintptr>(top_[row]));
  }
  int p = line_of(parent);
  if (row >= children_[p]) return {};
  return createIndex(row, 0, static_cast<quintptr>(kids_[first_[p] + row]));
}

QModelIndex TreeLinesModel::parent(const QModelIndex &child) const {
  int line = line_of(child);
  if (line < 0 || parent_[line] < 0) return {};
  return index_of_line(parent_[line]);
}

int TreeLinesModel::rowCount(const QModelIndex &parent) const {
  if (!parent.isValid()) return static_cast<int>(top_.size());
  if (parent.column() != 0) return 0;
  return children_[line_of(parent)];
}

int TreeLinesModel::columnCount(const QModelIndex &) const {
  return 1;
}

bool TreeLinesModel::hasChildren(const QModelIndex &parent) const {
  if (!parent.isValid()) return !top_.empty();
  return parent.column() == 0 && children_[line_of(parent)] > 0;
}

QVariant TreeLinesModel::data(const QModelIndex &index, int role) const {
  int line = line_of(index);
  if (line < 0) return {};
  const TreeLine &l = (*lines_)[line];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:  // the full text when the column is too narrow
      return QString::fromStdString(store::cp1252_to_utf8(l.text));
    case Qt::DecorationRole:
      if (l.icon.empty()) return {};
      return icons(l.icon, qApp ? qApp->devicePixelRatio() : 1.0);
    default:
      return {};
  }
}

Qt::ItemFlags TreeLinesModel::flags(const QModelIndex &index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

namespace {

// Rows all take the height of a picture: with uniform heights the first line sets it, and that
// line is often a heading without one.
class LineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), tree_icon_size().height() + 2));
    return size;
  }
};

}  // namespace

Tarbre::Tarbre(QWidget *parent) : QTreeView(parent), model_(new TreeLinesModel(this)) {
  setModel(model_);
  setItemDelegate(new LineDelegate(this));
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setIconSize(tree_icon_size());
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);
  connect(this, &QTreeView::clicked, this,
          [this](const QModelIndex &i) { emit line_clicked(model_->line_of(i) + 1); });
  connect(this, &QTreeView::doubleClicked, this,
          [this](const QModelIndex &i) { emit line_double_clicked(model_->line_of(i) + 1); });
}

void Tarbre::set_lines(std::vector<TreeLine> lines) {
  set_lines(std::make_shared<const std::vector<TreeLine>>(std::move(lines)));
}

void Tarbre::set_lines(std::shared_ptr<const std::vector<TreeLine>> lines) {
  model_->set_lines(std::move(lines));
  expand_all();
  // New lines start at the top; selecting one afterwards scrolls to it.
  scrollToTop();
}

int Tarbre::selected_line() const {
  QModelIndex current = currentIndex();
  if (!current.isValid() || !selectionModel()->isSelected(current)) return 0;
  return model_->line_of(current) + 1;
}

void Tarbre::select_line(int n) {
  QModelIndex index = model_->index_of_line(n - 1);
  if (!index.isValid()) {
    selectionModel()->clear();
    return;
  }
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

namespace {
const TreeLine &line_or_blank(const std::vector<TreeLine> &lines, int n) {
  static const TreeLine kBlank;
  return n >= 1 && n <= static_cast<int>(lines.size()) ? lines[n - 1] : kBlank;
}
}  // namespace

const std::string &Tarbre::entry(int n) const {
  return line_or_blank(lines(), n).entry;
}
const std::string &Tarbre::icon(int n) const {
  return line_or_blank(lines(), n).icon;
}
const std::string &Tarbre::text(int n) const {
  return line_or_blank(lines(), n).text;
}

// Only the lines that have children: right after a reset the view merely notes them and lays
// out once, where expandAll would walk every line.
void Tarbre::expand_all() {
  if (!model_->has_second_level()) return;
  for (int line = 0, n = line_count(); line < n; ++line)
    if (model_->children_of_line(line) > 0) setExpanded(model_->index_of_line(line), true);
}

void Tarbre::keyPressEvent(QKeyEvent *event) {
  int before = selected_line();
  QTreeView::keyPressEvent(event);
  int after = selected_line();
  if (after != 0 && after != before) emit line_clicked(after);
}

}  // namespace browse
