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

TEST_F(DossierDialogs, CancelKeepsTheRecordAndOkTakesTheSoundCutTo80) {
  store::TDataDossier depart;
  depart.set_titre("Avant");
  depart.set_son("/old.wav");
  {
    Tsaisie_dossier d(s, depart, prompts, 0);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);  // Cancel is the only way out
    d.findChild<QLineEdit *>("titre")->setText("Après");
    d.findChild<QPushButton *>("efface_image")->click();
    EXPECT_TRUE(d.findChild<QLineEdit *>("son")->text().isEmpty());
    d.findChild<QPushButton *>("annuler")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.dossier(), depart);
  }
  Tsaisie_dossier d(s, depart, prompts, 0);
  QString long_chemin = "/" + QString(195, 'x') + ".wav";
  prompts.fichiers = {QString(), long_chemin};  // the first chooser is cancelled: the sound stays
  d.findChild<QPushButton *>("open_sound")->click();
  EXPECT_EQ(d.findChild<QLineEdit *>("son")->text(), "/old.wav");
  d.findChild<QPushButton *>("open_sound")->click();
  d.findChild<QPushButton *>("ok")->click();
  ASSERT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.dossier().son(), long_chemin.left(80).toStdString());
}

}  // namespace
