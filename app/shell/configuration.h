// Tconfiguration: the preferences: background texture or colour, the colours of the field titles,
// and the way to the hint settings. OK is the only way out and writes the preferences; the main
// window then dresses itself with them.
#pragma once

#include <QDialog>

#include "config.h"
#include "textes.h"

class QFrame;
class QLabel;
class QRadioButton;

namespace store {
class Store;
}

namespace ui {
class Prompts;
}

namespace shell {

class THintDesign;

class Tconfiguration : public QDialog {
  Q_OBJECT
 public:
  Tconfiguration(store::Store &store, THintDesign &hint, ui::Prompts &prompts, int langue,
                 QWidget *parent = nullptr);

  const store::TDataConfig &config() const { return config_; }

  void FormShow();
  void BackgroundBtnClick();
  void BackgroundColorBtnClick();
  void BitBtn3Click();
  void BitBtn2Click();
  void BitBtn4Click();
  void BitBtn1Click();
  void okClick();

 protected:
  void showEvent(QShowEvent *event) override;
  // Neither Escape nor the frame closes it: OK does.
  void reject() override {}

 private:
  void SetLingua();
  void montre_couleur(QFrame *panneau, std::uint32_t valeur);
  void montre_bitmap();
  // Runs the colour chooser from `panneau`'s colour; the chosen colour, or `valeur` unchanged.
  std::uint32_t choisit_couleur(QFrame *panneau, std::uint32_t valeur);

  store::Store &store_;
  THintDesign &hint_;
  ui::Prompts &prompts_;
  const int langue_;
  ui::Registre registre_;
  store::TDataConfig config_;

  QRadioButton *BackgroundT_, *ColorT_, *Titre_, *reference_, *RT_;
  QLabel *BackgroundBmp_;
  QFrame *BackgroundColor_, *cts_, *cte_, *cta_;
};

}  // namespace shell
