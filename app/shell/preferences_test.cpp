// The preferences and hint settings dialogs, run from the real main window with scripted answers:
// what they write, how the window is dressed after them, and what cancel leaves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "catalogue.h"
#include "collection.h"
#include "config.h"
#include "decor.h"
#include "hint_design.h"
#include "mainform.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

using namespace shell;
using namespace ui;

namespace {

template <class T = QPushButton>
T *enfant(QDialog &d, const char *nom) {
  T *t = d.findChild<T *>(nom);
  EXPECT_NE(t, nullptr) << nom;
  return t;
}
void clique(QDialog &d, const char *nom) {
  enfant<QAbstractButton>(d, nom)->click();
}

class Preferences : public ::testing::Test {
 protected:
  void SetUp() override {
    c.dossier("Un").support("VHS", "K7").record("Heat");
    w = std::make_unique<Tmainform>(s, 0, prompts);
  }
  void TearDown() override { prompts.attend_tout_consomme(); }
  QColor couleur(const char *label) const {
    return w->findChild<QLabel *>(label)->palette().color(QPalette::WindowText);
  }

  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  ScriptedPrompts prompts;
  std::unique_ptr<Tmainform> w;
};

TEST_F(Preferences, OkWritesTheFileAndTheWindowIsDressedAtOnce) {
  w->collection().rubrique->setCurrentIndex(5);  // grouped by title: the tree shows recordings
  store::TDataConfig avant = store::lit_config(s);
  avant.set_index_arbre(3);  // not offered by the dialog: kept as read
  store::ecrit_config(s, avant);
  prompts.couleurs = {QColor(0x33, 0x66, 0x99), std::nullopt, QColor(255, 0, 0), QColor(0, 0, 255),
                      QColor(0, 128, 0)};
  prompts.dialogues = {[](QDialog &d) {
    EXPECT_EQ(d.windowTitle(), "Configuration");
    EXPECT_EQ(enfant<QRadioButton>(d, "ColorT_")->text(), " &Couleur");
    EXPECT_EQ(enfant(d, "BitBtn1")->text(), "Bulles d'aide");
    EXPECT_TRUE(enfant<QRadioButton>(d, "BackgroundT_")->isChecked());
    clique(d, "ColorT_");
    for (const char *bouton : {"BitBtn6", "BitBtn3", "BitBtn3", "BitBtn2", "BitBtn4"}) clique(d, bouton);
    clique(d, "ok");
  }};
  w->findChild<QAction *>("configuration_me")->trigger();
  // Each chooser opens on its preview's colour.
  EXPECT_EQ(prompts.couleurs_depart[0], w->palette().color(QPalette::Button));
  EXPECT_EQ(prompts.couleurs_depart[1], QColor(Qt::black));
  const store::TDataConfig apres = store::lit_config(s);
  EXPECT_FALSE(apres.fond_texture());
  EXPECT_EQ(apres.fond_couleur(), 0x00996633u);
  EXPECT_EQ(apres.couleur_support(), 0x000000FFu);  // the cancelled chooser changed nothing
  EXPECT_EQ(apres.couleur_enregistrement(), 0x00FF0000u);
  EXPECT_EQ(apres.couleur_arbre(), 0x00008000u);
  EXPECT_EQ(apres.index_arbre(), 3);
  EXPECT_EQ(dir.read("Moorkeep.CFG").substr(0, 9), std::string("Tapemoor\0", 9));

  for (const char *tx : {"tx1", "tx2", "tx3", "tx4", "tx5"})
    EXPECT_EQ(w->findChild<Fond *>(tx)->couleur(), QColor(0x33, 0x66, 0x99)) << tx;
  EXPECT_EQ(couleur("s1_"), QColor(255, 0, 0));
  EXPECT_EQ(couleur("e1_"), QColor(0, 0, 255));
  EXPECT_EQ(couleur("a3_"), QColor(0, 128, 0));
  // The tree is built again in the mode of the file: reference and title.
  const auto &lignes = w->collection().arbre->lines();
  EXPECT_TRUE(std::ranges::any_of(lignes, [](const auto &l) { return l.text.ends_with(" - Heat"); }));
}

// Each list's lines, in both languages, stand for the values of the component.
struct Ligne {
  const char *liste, *fr, *en;
  bool (*attendu)(const HintSettings &);
};
constexpr Ligne kLignes[] = {
    {"HintType", "rectangle arrondi", "rounded rectangle",
     [](const HintSettings &h) { return h.hint_style == HintStyle::hiRoundrect; }},
    {"LinkType", "aucun", "none", [](const HintSettings &h) { return h.link_style == LinkStyle::liNone; }},
    {"Position", "haut gauche", "top left",
     [](const HintSettings &h) { return h.position == HintPosition::hiTopLeft; }},
    {"ShadowQuality", "haute", "hi",
     [](const HintSettings &h) { return h.shadow_quality == ShadowQuality::quHi; }},
};

TEST_F(Preferences, HoveringAppliesTheHintSettingsWhichCancelKeepsAndCloseWrites) {
  const HintSettings avant = w->hint();
  auto reglages = [&](int langue, bool ok) {
    return [&, langue, ok](QDialog &d) {
      THintDesign &hint = w->HintDesign1();
      const HintSettings ouverture = hint.settings();
      EXPECT_EQ(d.windowTitle(), langue == 0 ? "Bulles d'aide" : "Hint Windows");
      auto *test = enfant(d, "TestBtn");
      EXPECT_EQ(test->toolTip(), langue == 0 ? "Test des bulles d'aides" : "hint window");
      EXPECT_EQ(enfant(d, "BitBtn4")->text(), langue == 0 ? "Arial, 10" : "DejaVu Sans, 12");
      for (const Ligne &l : kLignes) {
        auto *liste = enfant<QComboBox>(d, l.liste);
        liste->setCurrentIndex(liste->findText(QString::fromUtf8(langue == 0 ? l.fr : l.en)));
      }
      enfant<QCheckBox>(d, "Border")->setChecked(false);
      enfant<QSpinBox>(d, "ShadowWidth")->setValue(9);
      clique(d, "BitBtn3");
      EXPECT_EQ(hint.settings(), ouverture);  // nothing applied yet
      QEnterEvent entre(QPointF(5, 5), QPointF(5, 5), test->mapToGlobal(QPointF(5, 5)));
      QApplication::sendEvent(test, &entre);
      const HintSettings &h = hint.settings();
      for (const Ligne &l : kLignes) EXPECT_TRUE(l.attendu(h)) << l.liste << ' ' << langue;
      EXPECT_FALSE(h.border);
      EXPECT_EQ(h.shadow_width, 9);
      EXPECT_EQ(h.color, 0x00CCFFFF);
      // The memo is the test button's hint, drawn by the component above-left of the button.
      enfant<QPlainTextEdit>(d, "Memo1")->setPlainText(QString(300, 'x'));
      EXPECT_EQ(test->toolTip(), QString(255, 'x'));
      QHelpEvent bulle(QEvent::ToolTip, QPoint(5, 5), test->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(test, &bulle);
      ASSERT_NE(hint.fenetre(), nullptr);
      EXPECT_LT(hint.fenetre()->geometry().center().y(), test->mapToGlobal(QPoint(0, 0)).y());
      prompts.fontes = {QFont("DejaVu Sans", 12, QFont::Bold)};
      clique(d, "BitBtn4");  // the font is applied at once
      EXPECT_EQ(enfant(d, "BitBtn4")->text(), "DejaVu Sans, 12");
      EXPECT_EQ(hint.settings().font_height, -16);
      EXPECT_EQ(hint.settings().font_style, kFsBold);
      clique(d, ok ? "BitBtn2" : "BitBtn1");
    };
  };
  auto preferences = [](QDialog &d) {
    clique(d, "BitBtn1");
    clique(d, "ok");
  };
  prompts.couleurs = {QColor(0xFF, 0xFF, 0xCC), QColor(0xFF, 0xFF, 0xCC)};
  prompts.dialogues = {preferences, reglages(0, false)};
  w->findChild<QAction *>("configuration_me")->trigger();
  const HintSettings survolees = w->hint();  // hovered, then cancelled: kept
  EXPECT_NE(survolees, avant);
  EXPECT_EQ(survolees.shadow_width, 9);
  prompts.reponses = {Reponse::annuler};
  w->close();
  EXPECT_EQ(dir.read("HINT.CFG"), write_hint_stream(survolees));

  w = std::make_unique<Tmainform>(s, 1, prompts);
  prompts.dialogues = {preferences, reglages(1, true)};
  w->findChild<QAction *>("configuration_me")->trigger();
  const HintSettings apres = w->hint();
  EXPECT_EQ(apres.font_name, "DejaVu Sans");
  prompts.reponses = {Reponse::ok};
  w->close();
  EXPECT_EQ(read_hint_stream(dir.read("HINT.CFG")), apres);
}

}  // namespace
