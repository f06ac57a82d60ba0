#include "parametres_logic.h"

#include <algorithm>

namespace shell {

const ParametresTexts &parametres_texts(int langue) {
  static const ParametresTexts kFrench{
      "Paramètres",
      "&Ajouter",
      "&Supprimer",
      "&Ok",
      "&Annuler",
      "Vous confirmez la suppression ?",
      {"Thème", "Genre", "Nationalité", "Version", "Couleur", "Appréciation", "Récompense", "Support",
       "Qualité (support)", "Générique", "Catégorie", "Formats"}};
  static const ParametresTexts kEnglish{
      "Parameters",
      "&Add",
      "&Delete",
      "&Ok",
      "&Cancel",
      "Delete ?",
      {"Theme", "Genre", "Nationality", "Version", "Color", "Appreciation", "Award", "Support",
       "Quality (support)", "Credits", "Category", "Format"}};
  return langue == 0 ? kFrench : kEnglish;
}

void ParametresState::show(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  std::stable_sort(entries_.begin(), entries_.end(), less_);
  old_text_.clear();
  edited_ = -1;
  select_first();
}

void ParametresState::select_first() {
  enabled_ = !entries_.empty();
  if (!enabled_) {
    selected_ = edited_ = -1;
    edit_text_.clear();
    return;
  }
  selected_ = 0;
  edit_text_ = entries_[0];
}

void ParametresState::list_click(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  selected_ = edited_ = index;
  edit_text_ = entries_[index];
}

void ParametresState::edit_enter() {
  edited_ = selected_;
  old_text_ = edit_text_;
}

std::optional<std::pair<std::string, std::string>> ParametresState::edit_exit(const std::string &text) {
  if (edited_ < 0 || edited_ >= static_cast<int>(entries_.size())) return std::nullopt;
  edit_text_ = text;
  entries_[edited_] = text;
  selected_ = edited_;
  // Empty stored values are never renamed, so naming a fresh entry has nothing to carry.
  if (text == old_text_ || old_text_.empty()) {
    old_text_ = text;
    return std::nullopt;
  }
  // A second exit without a new entering carries nothing twice.
  std::pair<std::string, std::string> rename{old_text_, text};
  old_text_ = text;
  return rename;
}

void ParametresState::add() {
  entries_.insert(entries_.begin(), std::string());
  enabled_ = true;
  selected_ = edited_ = 0;
  edit_text_.clear();
  old_text_.clear();
}

void ParametresState::remove() {
  if (edited_ < 0 || edited_ >= static_cast<int>(entries_.size())) return;
  entries_.erase(entries_.begin() + edited_);
  // The box shows the new selection at once: left with the deleted text, the next exit would
  // write that text over entry 0.
  select_first();
  edited_ = selected_;
  old_text_ = edit_text_;
}

}  // namespace shell
