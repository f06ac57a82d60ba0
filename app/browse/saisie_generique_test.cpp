// The credits and awards dialogs through the recording page: what is typed reaches the files
// only with the recording's validation, in the order of the lines.
#include "saisie_generique.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "catalogue.h"
#include "collection.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

namespace {

using namespace browse;
using Textes = std::array<std::string, 3>;

// Types into the selected line and leaves the inputs, as the user does.
void tape(SaisieLignes &d, int ligne, std::array<QWidget *, 3> champs, Textes t) {
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  d.list->setFocus();
  d.list->setCurrentRow(ligne);
  for (std::size_t i = 0; i < 3; ++i) {
    champs[i]->setFocus();
    auto *c = qobject_cast<QComboBox *>(champs[i]);
    (c ? c->lineEdit() : static_cast<QLineEdit *>(champs[i]))->setText(QString::fromLatin1(t[i]));
  }
}

TEST(SaisieGenerique, EditedThroughTheDialogsAndWrittenByTheValidation) {
  TempDir dir;
  Catalogue c{dir.path()};
  c.liste(10, {"Real", "Acteur"}).liste(7, {"Oscar"}).dossier("Un").support("VHS", "K7");
  c.record("Heat", [](store::Recording &r) {
    r.record.set_reference("R");
    r.generique.set_denomination(5, "Real");
    r.generique.set_nom(5, "Mann");
  });
  ui::ScriptedPrompts prompts;
  Tcollection w(c.store, prompts, 0);
  w.show();
  w.ouvre_collection();
  auto clique = [&](const char *nom) { qobject_cast<QToolButton *>(w.registre().cherche(nom))->click(); };
  clique("Emodifier");
  prompts.dialogues = {[](QDialog &dialogue) {
    auto &d = dynamic_cast<Tsaisie_generique &>(dialogue);
    EXPECT_EQ(d.denomination_->currentIndex(), 2);  // "Real : Mann" first, after "" and "Acteur"
    tape(d, 1, {d.denomination_, d.nom_, d.role_}, {"Acteur", "Jean - Pierre : fils", "Le chef"});
    tape(d, 2, {d.denomination_, d.nom_, d.role_}, {"Acteur", "", "Lui"});
    tape(d, 3, {d.denomination_, d.nom_, d.role_}, {"Zorro", "Z", "Diego"});
    EXPECT_EQ(d.list->item(2)->text(), "Acteur");
    d.ok->click();  // as Enter does: the focus is still in the character
  }};
  const auto avant = dir.snapshot();
  clique("Egenerique");
  prompts.dialogues = {[](QDialog &dialogue) {
    auto &d = dynamic_cast<Tsaisie_recompense &>(dialogue);
    tape(d, 0, {d.recompenses_, d.categories_, d.annee_}, {"Oscar", "", "1995"});
    d.ok->click();
  }};
  clique("Erecompenses");
  ASSERT_EQ(w.tx5_->prixE->count(), 1);
  EXPECT_EQ(w.tx5_->prixE->item(0)->text(), "Oscar");
  EXPECT_EQ(dir.snapshot(), avant);  // nothing is written before the validation

  clique("Eok");
  const store::Recording r = c.recordings()[0];
  auto credit = [&](int i) {
    return Textes{r.generique.denomination(i), r.generique.nom(i), r.generique.role(i)};
  };
  // The placeholders sort before "Zorro".
  EXPECT_EQ((std::vector{credit(1), credit(2), credit(3), credit(4), credit(30)}),
            (std::vector<Textes>{{"Acteur", "", ""},
                                 {"Acteur", "Jean - Pierre : fils", "Le chef"},
                                 {"Real", "Mann", ""},
                                 {},
                                 {"Zorro", "Z", "Diego"}}));
  EXPECT_EQ(Textes({r.recompense.recompense(1), r.recompense.categorie(1), r.recompense.annee_recompense(1)}),
            (Textes{"Oscar", "", ""}));

  // The viewer's picture is 810 pixels high, scrolled in a shorter window.
  w.generique_bt_Click();
  auto *voir = w.findChild<Tvoir_generique *>();
  voir->resize(400, 300);
  EXPECT_EQ(voir->paintbox->height(), 810);
  EXPECT_TRUE(voir->verticalScrollBar()->isVisible());
  prompts.attend_tout_consomme();
}

}  // namespace
