#include "dossier_dialogs.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "temp_dir.h"
#include "scripted_prompts_test.h"
#include "store.h"

using namespace shell;

namespace {

class DossierDialogs : public ::testing::Test {
 protected:
  void TearDown() override { prompts.attend_tout_consomme(); }
  TempDir dir;
  store::Store s{dir.path()};
  ui::ScriptedPrompts prompts;
};

TEST_F(DossierDialogs, PasswordPromptMasksAndTakesTenCharacters) {
  Tsaisie_code prompt(0);
  auto *edit = prompt.findChild<QLineEdit *>("code");
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  edit->setText("douze_lettre");
  EXPECT_EQ(prompt.code(), "douze_lett");
}

TEST_F(DossierDialogs, SoundIsChosenClearedAndCutTo80) {
  store::TDataDossier depart;
  depart.set_son("/old.wav");
  Tsaisie_dossier d(s, depart, prompts, 0);
  auto *son = d.findChild<QLineEdit *>("son");
  prompts.fichiers = {QString()};  // a cancelled chooser keeps the current sound
  d.findChild<QPushButton *>("open_sound")->click();
  EXPECT_EQ(son->text(), "/old.wav");
  d.findChild<QPushButton *>("efface_image")->click();
  EXPECT_TRUE(son->text().isEmpty());
  EXPECT_EQ(d.dossier().son(), "/old.wav");  // nothing taken before OK

  QString long_chemin = "/" + QString(195, 'x') + ".wav";
  prompts.fichiers = {long_chemin};
  d.findChild<QPushButton *>("open_sound")->click();
  d.findChild<QLineEdit *>("titre")->setText("Avec son");
  d.findChild<QPushButton *>("ok")->click();
  ASSERT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.dossier().son(), long_chemin.left(80).toStdString());
}

TEST_F(DossierDialogs, CancelKeepsTheRecordItStartedFrom) {
  store::TDataDossier depart;
  depart.set_titre("Avant");
  Tsaisie_dossier d(s, depart, prompts, 0);
  d.findChild<QLineEdit *>("titre")->setText("Après");
  EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);  // Cancel is the only way out
  d.findChild<QPushButton *>("annuler")->click();
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(d.dossier().titre(), "Avant");
}

}  // namespace
