#include "dossier_dialogs.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "temp_dir.h"
#include "scripted_prompts_test.h"
#include "store.h"

using namespace shell;
using ui::ScriptedPrompts;

namespace {

QStringList labels(const QWidget &w) {
  QStringList l;
  for (const QLabel *label : w.findChildren<QLabel *>()) l << label->text();
  return l;
}

TEST(DossierDialogs, TextsInBothLanguages) {
  TempDir dir;
  store::Store s(dir.path());
  ScriptedPrompts prompts;
  Tsaisie_dossier fr(s, {}, prompts, 0);
  EXPECT_EQ(fr.windowTitle(), "Votre dossier");
  EXPECT_EQ(labels(fr), (QStringList{"Titre", "Code secret", "Note", "Son"}));
  EXPECT_EQ(fr.findChild<QPushButton *>("annuler")->text(), "&Annuler");
  EXPECT_EQ(fr.findChild<QPushButton *>("open_sound")->toolTip(), QString::fromUtf8("Sélection d'un son"));
  Tsaisie_dossier en(s, {}, prompts, 1);
  EXPECT_EQ(en.windowTitle(), "Tapemoor");
  EXPECT_EQ(labels(en), (QStringList{"Title", "Password", "Note", "Sound"}));
  EXPECT_EQ(en.findChild<QPushButton *>("efface_image")->toolTip(), "Delete sound");
  EXPECT_EQ(en.findChild<QPushButton *>("annuler")->text(), "&Cancel");
  EXPECT_FALSE(en.windowFlags() & Qt::WindowCloseButtonHint);

  Tarbre_dossier liste_fr(s, 0), liste_en(s, 1);
  EXPECT_EQ(liste_fr.windowTitle(), "Liste des Dossiers");
  EXPECT_EQ(liste_en.windowTitle(), "Files list");
  EXPECT_EQ(Tarbre_dossier::texte(Tarbre_dossier::il_faut_creer, 1), "You must create a file");

  Tsaisie_code code_fr(0), code_en(1);
  EXPECT_EQ(code_fr.windowTitle(), "Code Secret");
  EXPECT_EQ(labels(code_fr), QStringList{"Saisissez votre code secret"});
  EXPECT_EQ(code_en.windowTitle(), "Password");
  EXPECT_EQ(labels(code_en), QStringList{"Enter password"});
}

TEST(DossierDialogs, PasswordPromptMasksAndTakesTenCharacters) {
  Tsaisie_code prompt(0);
  auto *edit = prompt.findChild<QLineEdit *>("code");
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  edit->setText("douze_lettre");
  EXPECT_EQ(prompt.code(), "douze_lett");
}

TEST(DossierDialogs, SoundIsChosenClearedAndCutTo80) {
  TempDir dir;
  store::Store s(dir.path());
  ScriptedPrompts prompts;
  store::TDataDossier depart;
  depart.set_titre("Avec son");
  depart.set_son("/old.wav");
  depart.set_dernier_support(3);
  Tsaisie_dossier d(s, depart, prompts, 0);
  EXPECT_EQ(d.findChild<QLineEdit *>("son")->text(), "/old.wav");
  d.findChild<QPushButton *>("efface_image")->click();
  EXPECT_TRUE(d.findChild<QLineEdit *>("son")->text().isEmpty());
  EXPECT_EQ(d.dossier().son(), "/old.wav");  // nothing taken before OK

  QString long_chemin = "/" + QString(195, 'x') + ".wav";
  ASSERT_EQ(long_chemin.size(), 200);
  prompts.fichiers = {long_chemin};
  d.findChild<QPushButton *>("open_sound")->click();
  d.findChild<QPushButton *>("ok")->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.dossier().son(), long_chemin.left(80).toStdString());
  EXPECT_EQ(d.dossier().dernier_support(), 3);  // counters are not the dialog's
  prompts.attend_tout_consomme();

  // A cancelled chooser keeps the current sound.
  prompts.fichiers = {QString()};
  d.findChild<QPushButton *>("open_sound")->click();
  EXPECT_EQ(d.findChild<QLineEdit *>("son")->text(), long_chemin);
}

TEST(DossierDialogs, CancelKeepsTheRecordItStartedFrom) {
  TempDir dir;
  store::Store s(dir.path());
  ScriptedPrompts prompts;
  store::TDataDossier depart;
  depart.set_titre("Avant");
  Tsaisie_dossier d(s, depart, prompts, 0);
  d.findChild<QLineEdit *>("titre")->setText("Après");
  d.findChild<QPushButton *>("annuler")->click();
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(d.dossier().titre(), "Avant");
}

}  // namespace
