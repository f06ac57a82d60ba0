// The start-up splash and the About box.
#pragma once

#include <QDialog>
#include <QWidget>

class QProgressBar;

namespace shell {

// The borderless start-up window with its yellow gauge.
class Splash : public QWidget {
  Q_OBJECT
 public:
  Splash(int maximum, int langue);
  void avance();
  int position() const;

 private:
  QProgressBar *barre_;
};

// Closed by a click anywhere on it.
class Apropos : public QDialog {
  Q_OBJECT
 public:
  explicit Apropos(int langue, QWidget *parent = nullptr);

 protected:
  void mousePressEvent(QMouseEvent *event) override;
};

}  // namespace shell
