#include "dossier_dialogs.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "scripted_prompts_test.h"
#include "store.h"
#include "temp_dir.h"

using namespace shell;

namespace {

TEST(DossierDialogs, PasswordPromptMasksAndTakesTenCharacters) {
  Tsaisie_code prompt(0);
  auto *edit = prompt.findChild<QLineEdit *>("code");
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  edit->setText("douze_lettre");
  EXPECT_EQ(prompt.code(), "douze_lett");
}

TEST(DossierDialogs, CancelKeepsTheRecordAndOkTakesTheSoundCutTo80) {
  TempDir dir;
  store::Store s{dir.path()};
  ui::ScriptedPrompts prompts;
  store::TDataDossier depart;
  depart.set_titre("Avant");
  depart.set_son("/old.wav");
  Tsaisie_dossier annule(s, depart, prompts, 0);
  EXPECT_FALSE(annule.windowFlags() & Qt::WindowCloseButtonHint);  // Cancel is the only way out
  annule.findChild<QLineEdit *>("titre")->setText("Après");
  annule.findChild<QPushButton *>("efface_image")->click();
  EXPECT_TRUE(annule.findChild<QLineEdit *>("son")->text().isEmpty());
  annule.findChild<QPushButton *>("annuler")->click();
  EXPECT_EQ(annule.result(), QDialog::Rejected);
  EXPECT_EQ(annule.dossier(), depart);

  Tsaisie_dossier d(s, depart, prompts, 0);
  QString long_chemin = "/" + QString(195, 'x') + ".wav";
  prompts.fichiers = {QString(), long_chemin};  // the first chooser is cancelled: the sound stays
  d.findChild<QPushButton *>("open_sound")->click();
  EXPECT_EQ(d.findChild<QLineEdit *>("son")->text(), "/old.wav");
  d.findChild<QPushButton *>("open_sound")->click();
  d.findChild<QPushButton *>("ok")->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.dossier().son(), long_chemin.left(80).toStdString());
  prompts.attend_tout_consomme();
}

}  // namespace
