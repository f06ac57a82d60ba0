// THintDesign: the main window's hint component. It draws every tooltip of the program with its
// settings (shape, border, shadow, colour, picture, link, position, font); the shape comes from
// hint_logic.h, this only paints it. Tooltips that belong to items of a list or tree are left
// to Qt, dressed in the same colours and font.
#pragma once

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include "hint_logic.h"

class QPainter;
class QTimer;
class QWidget;

namespace shell {

class HintWindow;

class THintDesign : public QObject {
  Q_OBJECT
 public:
  // Watches the whole application for tooltips from now on.
  explicit THintDesign(QObject *parent = nullptr);
  ~THintDesign() override;

  const HintSettings &settings() const { return settings_; }
  // The new settings take effect at once, on a hint being shown too.
  void set_settings(const HintSettings &settings);
  QFont fonte() const { return fonte_; }
  const QImage &image() const { return image_; }

  // Shows `texte` pointing at `controle`, near the mouse at `souris` (screen coordinates).
  void montre(QWidget *controle, const QString &texte, QPoint souris);
  void cache();
  // The window of the hint shown; nothing when none is.
  QWidget *fenetre() const;

 protected:
  bool eventFilter(QObject *objet, QEvent *event) override;

 private:
  // Draws the hint of controle_, texte_ and souris_ over what the screen shows there.
  void affiche();

  HintSettings settings_;
  QFont fonte_;
  QImage image_;
  QPointer<QWidget> controle_;
  QString texte_;
  QPoint souris_;
  HintWindow *fenetre_ = nullptr;
  QTimer *fin_;
  QTimer *attente_;
};

// The font of stored settings.
QFont fonte_hint(const HintSettings &h);
// Paints a hint of `texte` in `forme` with `h`, in window coordinates.
void dessine_hint(QPainter &p, const FormeHint &forme, const HintSettings &h, const QFont &fonte,
                  const QImage &image, const QString &texte);

}  // namespace shell
