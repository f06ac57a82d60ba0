#include "statistique.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLegend>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QShowEvent>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "prompts.h"
#include "qt_text.h"

namespace search {
namespace {

constexpr ui::TexteSur H = ui::TexteSur::hint;
constexpr ui::TexteControle kTextes[] = {
    {"Win97Btn8", H, "Imprimer", "Print"},
    {"Win97Btn10", H, "Quitter", "Exit"},
};
constexpr ui::Paire kCaption{"Statistiques", "Statistics"};
constexpr ui::Paire kTourne{"Rotation off", "Stop rotation"};
constexpr ui::Paire kArrete{"Rotation on", "Rotation"};

// A 1 ms timer would spin the pie faster than the eye follows and keep a core busy; one tick per
// screen refresh turns it at a readable pace.
constexpr int kTick = 16;

// The printed page, in 0.1 mm on the A4 printable area the reports use.
constexpr int kLargeurPage = 2000;
constexpr int kHauteurPage = 2870;

// The chart's look, shared by the window and its printed picture.
void habille(QChart &chart, QPieSeries &pie, QGraphicsSimpleTextItem &titre) {
  chart.legend()->setAlignment(Qt::AlignRight);
  QFont legende(QStringLiteral("Arial"));
  legende.setPixelSize(11);
  chart.legend()->setFont(legende);
  chart.legend()->setLabelColor(Qt::black);
  QLinearGradient degrade(0, 0, 0, 1);
  degrade.setCoordinateMode(QGradient::ObjectBoundingMode);
  degrade.setColorAt(0, QColor(0, 0, 255));
  degrade.setColorAt(1, Qt::white);
  chart.setBackgroundBrush(degrade);
  chart.setBackgroundPen(Qt::NoPen);
  chart.setBackgroundRoundness(0);
  chart.setDropShadowEnabled(false);
  // The chart's own title would be centred: this one stands at the left.
  QFont police(QStringLiteral("Times New Roman"));
  police.setPixelSize(24);
  police.setBold(true);
  police.setItalic(true);
  titre.setFont(police);
  titre.setBrush(Qt::white);
  titre.setPos(12, 8);
  chart.setMargins(QMargins(8, 40, 8, 8));
  chart.addSeries(&pie);
  pie.setLabelsVisible(false);
}

// Distinct colours in turn: the library's own pie palette is shades of one blue, lost on the
// blue background.
constexpr QRgb kPalette[] = {0xff3050c8, 0xffe0702a, 0xff40a040, 0xffd8b020, 0xffb03030, 0xff8040b0,
                             0xff20a0c0, 0xff909090, 0xffe060a0, 0xff806030, 0xff60d0a0, 0xff203070,
                             0xfff0a0a0, 0xffa0a000, 0xff006060, 0xff404040};

// One slice per slot, in slot order, zero counts too; the legend shows label and share.
void remplit(QPieSeries &pie, const Statistique &st, int langue, int angle) {
  pie.clear();
  for (std::size_t i = 0; i < st.parts.size(); ++i) {
    const QString texte = ui::qtext(st.parts[i].libelle) + QStringLiteral("  ") +
                          QString::fromStdString(texte_pourcentage(st.pourcentage(i), langue));
    QPieSlice *part = pie.append(texte, static_cast<qreal>(st.parts[i].nombre));
    // Edged in its own colour, an empty one not at all: any other edge would stand as a stray
    // radius when one slice is whole.
    part->setColor(QColor::fromRgb(kPalette[i % std::size(kPalette)]));
    if (st.parts[i].nombre > 0)
      part->setBorderColor(part->color());
    else
      part->setPen(Qt::NoPen);
  }
  pie.setPieStartAngle(angle);
  pie.setPieEndAngle(angle + 360);
}

QString titre_de(const Statistique &st, int langue) {
  return QString::fromStdString(titre_graphique(st.graphique, langue));
}

QIcon icone_locale(bool fermer) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (fermer) {
    p.setPen(QPen(QColor(40, 44, 52), 1.6));
    p.setBrush(QColor(150, 100, 60));
    p.drawRect(QRectF(8, 4, 16, 24));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(20, 17), 1.8, 1.8);
  } else {
    p.setPen(QPen(QColor(30, 90, 170), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
    p.setBrush(QColor(30, 90, 170));
    p.drawPolygon(QPolygonF({QPointF(17, 3), QPointF(25, 8), QPointF(17, 13)}));
  }
  p.end();
  return QIcon(pm);
}

}  // namespace

Tstatistique::Tstatistique(store::Store &store, ui::Prompts &prompts, int langue, Impression imprime,
                           QWidget *parent)
    : QDialog(parent), store_(store), prompts_(prompts), langue_(langue), imprime_(std::move(imprime)) {
  setObjectName("Tstatistique");
  // FormCreate
  setWindowTitle(ui::choisit(kCaption, langue_));
  Win97Btn8 = registre_.ajoute(ui::bouton("Win97Btn8", 36, this));
  Win97Btn8->setIcon(ui::icone("editions_bt"));
  Rotationbtn = registre_.ajoute(ui::bouton("Rotationbtn", 36, this));
  Rotationbtn->setIcon(icone_locale(false));
  Win97Btn10 = registre_.ajoute(ui::bouton("Win97Btn10", 36, this));
  Win97Btn10->setIcon(icone_locale(true));
  registre_.applique(kTextes, langue_);

  stat1 = new QChart;
  Pie = new QPieSeries(stat1);
  titre_ = new QGraphicsSimpleTextItem(stat1);
  habille(*stat1, *Pie, *titre_);
  vue = new QChartView(stat1, this);
  vue->setObjectName("stat1");
  vue->setRenderHint(QPainter::Antialiasing);
  vue->setFrameShape(QFrame::NoFrame);
  vue->setMinimumSize(720, 460);

  TabSet1 = new QTabBar(this);
  TabSet1->setObjectName("TabSet1");
  TabSet1->setShape(QTabBar::RoundedSouth);
  TabSet1->setExpanding(false);
  for (int n = 1; n <= kGraphiques; ++n) TabSet1->addTab(QString::fromStdString(onglet(n, langue_)));

  Timer1 = new QTimer(this);
  Timer1->setInterval(kTick);
  indique_rotation();

  auto *boutons = new QHBoxLayout;
  for (QToolButton *b : {Win97Btn8, Rotationbtn, Win97Btn10}) boutons->addWidget(b);
  boutons->addStretch(1);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(2);
  layout->addLayout(boutons);
  layout->addWidget(vue, 1);
  layout->addWidget(TabSet1);

  connect(TabSet1, &QTabBar::currentChanged, this, &Tstatistique::TabSet1Change);
  connect(Rotationbtn, &QToolButton::clicked, this, &Tstatistique::RotationbtnClick);
  connect(Timer1, &QTimer::timeout, this, &Tstatistique::Timer1Timer);
  connect(Win97Btn8, &QToolButton::clicked, this, &Tstatistique::Win97Btn8Click);
  connect(Win97Btn10, &QToolButton::clicked, this, &Tstatistique::Win97Btn10Click);
  ui::aide_f1(*this, prompts_, langue_, "statistiques");
}

Tstatistique::~Tstatistique() = default;

void Tstatistique::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void Tstatistique::affiche(int n) {
  graphique_ = n;
  {
    const QSignalBlocker calme(TabSet1);  // FormShow builds the chart
    TabSet1->setCurrentIndex(n - 1);
  }
  prompts_.execute(*this);
}

void Tstatistique::FormShow() {
  prepare();
}

void Tstatistique::TabSet1Change(int index) {
  graphique_ = index + 1;
  prepare();
}

void Tstatistique::prepare() {
  try {
    statistique_ = search::prepare(store_, graphique_, langue_);
  } catch (const std::exception &e) {
    ui::signale_echec(prompts_, e, langue_);
    return;
  }
  titre_->setText(titre_de(statistique_, langue_));
  remplit(*Pie, statistique_, langue_, angle_);
}

void Tstatistique::indique_rotation() {
  Rotationbtn->setToolTip(ui::choisit(Timer1->isActive() ? kTourne : kArrete, langue_));
}

void Tstatistique::RotationbtnClick() {
  if (Timer1->isActive())
    Timer1->stop();
  else
    Timer1->start();
  indique_rotation();
}

void Tstatistique::Timer1Timer() {
  angle_ = (angle_ + 2) % 360;
  Pie->setPieStartAngle(angle_);
  Pie->setPieEndAngle(angle_ + 360);
}

print::Image Tstatistique::image(int largeur, int hauteur) const {
  // A chart of its own, laid out at a third of the picture's size (about the window's) and drawn
  // at three times it, so its texts keep the proportions they have on the screen.
  QGraphicsScene scene;
  auto *chart = new QChart;
  auto *pie = new QPieSeries(chart);
  auto *titre = new QGraphicsSimpleTextItem(chart);
  scene.addItem(chart);
  habille(*chart, *pie, *titre);
  titre->setText(titre_de(statistique_, langue_));
  remplit(*pie, statistique_, langue_, angle_);
  const QRectF cadre(0, 0, largeur / 3.0, hauteur / 3.0);
  chart->setGeometry(cadre);
  QImage q(largeur, hauteur, QImage::Format_ARGB32);
  q.fill(Qt::white);
  {
    QPainter p(&q);
    p.setRenderHint(QPainter::Antialiasing);
    scene.render(&p, QRectF(0, 0, largeur, hauteur), cadre);
  }
  print::Image img{largeur, hauteur, {}};
  img.pixels.resize(static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur));
  for (int y = 0; y < hauteur; ++y) {
    const auto *ligne = reinterpret_cast<const std::uint32_t *>(q.constScanLine(y));
    std::copy(ligne, ligne + largeur, img.pixels.begin() + static_cast<std::ptrdiff_t>(y) * largeur);
  }
  return img;
}

void Tstatistique::Win97Btn8Click() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const std::unique_ptr<Tstatistique, void (*)(Tstatistique *)> rend(
      this, [](Tstatistique *) { QGuiApplication::restoreOverrideCursor(); });
  const std::string titre = titre_graphique(graphique_, langue_);
  const print::Image graphique = image(kLargeurPage, kHauteurPage / 2 + 950 - 900);
  imprime_([&](print::Canvas &c) { return imprime_statistique(c, titre, graphique); });
}

void Tstatistique::Win97Btn10Click() {
  Timer1->stop();
  accept();
}

print::Bilan imprime_statistique(print::Canvas &c, std::string_view titre, const print::Image &graphique) {
  c.debut_job();
  c.police(print::kArial, print::Style::bold, 20);
  c.ecrit(kLargeurPage / 2, -250, titre, print::Align::center);
  c.image(0, -900, kLargeurPage, -(kHauteurPage / 2 + 950), graphique);
  c.fin_job();
  return {1, 1, {}};
}

}  // namespace search
