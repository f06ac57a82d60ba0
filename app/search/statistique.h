// Tstatistique: the seven statistics charts of the open dossier as a pie with its legend, one
// tab each; the pie turns on request and the chart prints on one page.
#pragma once

#include <QDialog>
#include <functional>
#include <string_view>

#include "canvas.h"
#include "reports.h"
#include "statistique_logic.h"
#include "textes.h"

class QTabBar;
class QTimer;
class QToolButton;
class QGraphicsSimpleTextItem;

class QChart;
class QChartView;
class QPieSeries;

namespace store {
class Store;
}

namespace ui {
class Prompts;
}

namespace search {

class Tstatistique : public QDialog {
  Q_OBJECT
 public:
  // Runs a page on the printer chosen in the set-up, reporting its failures itself.
  using Impression = std::function<void(const std::function<print::Bilan(print::Canvas &)> &)>;

  Tstatistique(store::Store &store, ui::Prompts &prompts, int langue, Impression imprime,
               QWidget *parent = nullptr);
  ~Tstatistique() override;

  int graphique() const { return graphique_; }
  // The slots of the chart shown.
  const Statistique &statistique() const { return statistique_; }

  // The handlers.
  void affiche(int n);
  void FormShow();
  void TabSet1Change(int index);
  void prepare();
  void RotationbtnClick();
  void Timer1Timer();
  void Win97Btn8Click();
  void Win97Btn10Click();

  // The whole chart (title, pie, legend) as a picture of `largeur` × `hauteur` pixels.
  print::Image image(int largeur, int hauteur) const;

  QTabBar *TabSet1;
  QChartView *vue;
  QChart *stat1;
  QPieSeries *Pie;
  QToolButton *Win97Btn8, *Win97Btn10, *Rotationbtn;
  QTimer *Timer1;

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void indique_rotation();

  store::Store &store_;
  ui::Prompts &prompts_;
  const int langue_;
  Impression imprime_;
  ui::Registre registre_;
  QGraphicsSimpleTextItem *titre_;
  Statistique statistique_;
  int graphique_ = 1;
  int angle_ = 0;
};

// The chart's printed page: the title centred in Arial bold 20, the chart below it over the
// page's width.
print::Bilan imprime_statistique(print::Canvas &c, std::string_view titre, const print::Image &graphique);

}  // namespace search
