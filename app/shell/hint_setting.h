// THintSetting: the settings of the hint component. Its controls start from the component;
// hovering over the test button, the font button and OK apply them to it; cancel closes without
// applying, and what hovering or the font button applied stays in effect.
#pragma once

#include <QDialog>

#include "hint_stream.h"
#include "textes.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace ui {
class Prompts;
}

namespace shell {

class THintDesign;

class THintSetting : public QDialog {
  Q_OBJECT
 public:
  THintSetting(THintDesign &hint, ui::Prompts &prompts, int langue, QWidget *parent = nullptr);

  // The values the controls hold, over the component's other settings.
  HintSettings valeurs() const;
  // Copies the controls onto the component.
  void applique();

  void FormShow();
  void Memo1Change();
  void BitBtn12Click();
  void BitBtn3Click();
  void BitBtn11Click();
  void BitBtn4Click();
  void BitBtn2Click();
  void BitBtn1Click();

 protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *objet, QEvent *event) override;
  void reject() override { BitBtn1Click(); }

 private:
  void SetLingua();
  void montre_couleur(QFrame *panneau, std::int32_t valeur);
  void montre_image();
  void montre_fonte();
  // Runs the colour chooser from `panneau`'s colour into `valeur`.
  void choisit_couleur(QFrame *panneau, std::int32_t &valeur);

  THintDesign &hint_;
  ui::Prompts &prompts_;
  const int langue_;
  ui::Registre registre_;
  // What the controls cannot hold themselves.
  std::int32_t border_color_ = 0, color_ = 0;
  std::string picture_bmp_;
  std::int32_t font_color_ = 0, font_height_ = -13;
  std::string font_name_;
  unsigned font_style_ = 0;

  QCheckBox *Border, *Shadow;
  QFrame *BorderColor, *Color;
  QSpinBox *ShadowWidth, *ShadowIntensity;
  QComboBox *ShadowQuality, *HintType, *LinkType, *Position;
  QLabel *Picture, *font;
  QPushButton *BitBtn4, *TestBtn;
  QPlainTextEdit *Memo1;
};

}  // namespace shell
