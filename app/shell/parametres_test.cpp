#include "parametres.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "catalogue.h"
#include "lists.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

namespace shell {
namespace {

using namespace ui;
using Entries = std::vector<std::string>;

QStringList items(const QListWidget *list) {
  QStringList r;
  for (int i = 0; i < list->count(); ++i) r << list->item(i)->text();
  return r;
}

class ParametresTest : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  ui::ScriptedPrompts prompts;

  // One dossier whose recordings carry the themes "Drame", "drame" and "Western".
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    c.dossier("D0").support("VHS", "K7");
    for (const char *theme : {"Drame", "drame", "Western"})
      c.record("", [theme](store::Recording &r) { r.record.set_theme(theme); });
    c.liste(1, {"Western", "drame", "Com\351die", "\311pop\351e", "Drame"});
  }
  void TearDown() override { prompts.attend_tout_consomme(); }

  // The themes of the recordings, in file order.
  Entries themes() {
    Entries all;
    s.scan_records_main([&](int, const store::TDataRecord &r) { all.push_back(r.theme()); });
    return all;
  }

  // Shows the editor as its opening command does and waits until it has the focus.
  void open(TParametres &p) {
    p.show();
    p.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
  }
};

TEST_F(ParametresTest, OpensSortedThenRenamesReachTheDossierWhenTheBoxIsLeftAndDeletionsOnlyTheList) {
  TParametres p(s, prompts, 0, 1);
  open(p);
  EXPECT_EQ(p.windowTitle(), QString::fromUtf8("Thème"));
  // Letter case ignored, accents after their letter; equal entries keep file order.
  EXPECT_EQ(items(p.List()), (QStringList{QString::fromUtf8("Comédie"), "drame", "Drame",
                                          QString::fromUtf8("Épopée"), "Western"}));
  EXPECT_EQ(p.Edit1()->text(), QString::fromUtf8("Comédie"));
  EXPECT_TRUE(p.Edit1()->hasFocus());
  EXPECT_EQ(p.Edit1()->maxLength(), 40);
  EXPECT_TRUE(p.annuler()->isHidden());
  EXPECT_FALSE(p.windowFlags() & Qt::WindowCloseButtonHint);
  // Neither Escape nor a close request leaves without saving.
  QTest::keyClick(&p, Qt::Key_Escape);
  p.close();
  EXPECT_TRUE(p.isVisible());

  p.List()->setFocus();
  p.List()->setCurrentRow(2);  // "Drame"
  p.Edit1()->setFocus();
  p.Edit1()->setText(QString::fromUtf8("Tragédie"));
  EXPECT_EQ(themes(), (Entries{"Drame", "drame", "Western"}));  // nothing before the box is left
  p.List()->setFocus();
  const Entries renamed{"Trag\351die", "drame", "Western"};  // another case is another wording
  EXPECT_EQ(themes(), renamed);

  p.List()->setCurrentRow(4);  // "Western"
  prompts.reponses = {Reponse::annuler, Reponse::ok};
  p.delete_()->click();  // declined: a deletion here would change what Ok saves below
  p.delete_()->click();
  ASSERT_EQ(prompts.boites.size(), 2u);
  EXPECT_EQ(prompts.boites[0].texte, "Vous confirmez la suppression ?");
  EXPECT_EQ(prompts.boites[0].boite, Boite::avertissement);
  EXPECT_EQ(prompts.boites[0].boutons, Boutons::ok_annuler);
  EXPECT_EQ(p.Edit1()->text(), QString::fromUtf8("Comédie"));
  // Leaving the box unchanged writes nothing, not even the deleted entry over entry 0.
  p.Edit1()->setFocus();
  p.List()->setFocus();

  // Ok saves in list order: the renamed entry keeps its place until the next load.
  p.ok()->click();
  EXPECT_FALSE(p.isVisible());
  EXPECT_EQ(store::lit_liste(s, 1), (Entries{"Com\351die", "drame", "Trag\351die", "\311pop\351e"}));
  EXPECT_EQ(themes(), renamed);
}

TEST_F(ParametresTest, UnderTheCLocaleAccentsSortWithTheirLetterAndReturnTakesTheTypedText) {
  QLocale::setDefault(QLocale::c());
  TParametres p(s, prompts, 1, 1);
  open(p);
  EXPECT_EQ(p.List()->item(3)->text(), QString::fromUtf8("Épopée"));
  QTest::keyClick(p.Edit1(), Qt::Key_F1);  // the editor's page of the guide, in its language
  EXPECT_EQ(prompts.adresses,
            std::vector{QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/doc/en/listes.html")});
  p.Edit1()->setText("Comedy");
  QTest::keyClick(p.Edit1(), Qt::Key_Return);  // the default button, the box keeps the focus
  EXPECT_EQ(p.result(), QDialog::Accepted);
  EXPECT_EQ(store::lit_liste(s, 1).front(), "Comedy");
}

TEST_F(ParametresTest, MissingFileOpensEmptyAndDisabledThenAddAndOkStoreAnEmptyEntry) {
  TParametres p(s, prompts, 1, 4);
  open(p);
  EXPECT_FALSE(dir.exists("VERSION"));
  const QList<QWidget *> controls{p.List(), p.Edit1(), p.delete_()};
  for (QWidget *w : controls) EXPECT_FALSE(w->isEnabled());
  p.add()->click();
  for (QWidget *w : controls) EXPECT_TRUE(w->isEnabled());
  EXPECT_TRUE(p.Edit1()->hasFocus());
  p.ok()->click();
  EXPECT_EQ(dir.read("VERSION"), std::string(41, '\0'));
}

}  // namespace
}  // namespace shell
