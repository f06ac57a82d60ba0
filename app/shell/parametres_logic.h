// The reference-list editor's state without its window: the entries as the list control holds
// them, the selected and edited entries, the text the edit box held when it took the focus, and
// the editor's texts in both languages. Entry texts are stored (Windows-1252) bytes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace shell {

// Captions, the twelve titles and the deletion question; UTF-8.
struct ParametresTexts {
  const char *caption;
  const char *add;
  const char *del;
  const char *ok;
  const char *cancel;
  const char *question;
  const char *titles[12];
};
const ParametresTexts &parametres_texts(int langue);

class ParametresState {
 public:
  // The list control's order: entries are sorted by `less` when loaded, stably, so entries
  // the comparison calls equal keep their file order.
  using Less = std::function<bool(const std::string &, const std::string &)>;
  explicit ParametresState(Less less) : less_(std::move(less)) {}

  // FormShow: the entries of the file, sorted; entry 0 selected and copied into the edit box.
  void show(std::vector<std::string> entries);
  // ListClick: the edit box takes entry `index`, which becomes the edited entry.
  void list_click(int index);
  // Edit1Enter.
  void edit_enter();
  // Edit1Exit: the edited entry takes `text` in place (no re-sort). Returns the rename to carry
  // into the data when the text differs, case included, from the one the box was entered with.
  std::optional<std::pair<std::string, std::string>> edit_exit(const std::string &text);
  // addClick: an empty entry at the top (it sorts first), selected and being edited.
  void add();
  // deleteClick once confirmed: removes the edited entry.
  void remove();

  const std::vector<std::string> &entries() const { return entries_; }
  bool enabled() const { return enabled_; }
  int selected() const { return selected_; }
  int edited() const { return edited_; }
  const std::string &edit_text() const { return edit_text_; }

 private:
  void select_first();

  Less less_;
  std::vector<std::string> entries_;
  bool enabled_ = false;
  int selected_ = -1;
  int edited_ = -1;
  std::string old_text_;
  std::string edit_text_;
};

}  // namespace shell
