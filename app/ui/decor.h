// The decoration controls the windows are built from: tiled backgrounds, the animated logo,
// the digital clock, the tool-button artwork.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

class QTimer;
class QToolButton;

namespace ui {

// A dialog with a title but no close box: its own buttons are the way out.
inline constexpr Qt::WindowFlags kSansFermeture = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// A panel painted with a tiled texture when one is set, else with a plain colour.
class Fond : public QWidget {
  Q_OBJECT
 public:
  explicit Fond(QWidget *parent = nullptr);
  void set_texture(const QPixmap &texture);
  void set_couleur(const QColor &couleur);
  bool a_texture() const { return !texture_.isNull(); }
  QColor couleur() const { return couleur_; }

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  QPixmap texture_;
  QColor couleur_;
};

// The small turning reel of the status bar.
class LogoAnime : public QWidget {
  Q_OBJECT
 public:
  explicit LogoAnime(int taille, bool anime, QWidget *parent = nullptr);
  QSize sizeHint() const override { return {taille_, taille_}; }

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  int taille_;
  int angle_ = 0;
};

// hh:mm:ss in lit segments, renewed every second.
class Horloge : public QWidget {
  Q_OBJECT
 public:
  explicit Horloge(QWidget *parent = nullptr);
  QSize sizeHint() const override { return {96, 22}; }

 protected:
  void paintEvent(QPaintEvent *event) override;
};

// Tool-button artwork drawn at run time, by the control's name.
QIcon icone(const QString &nom);
// A flat square tool button named `nom`, with its artwork.
QToolButton *bouton(const char *nom, int taille, QWidget *parent = nullptr);

}  // namespace ui
