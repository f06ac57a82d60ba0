// Loans and borrowings through the real window: the dialogs change the support being edited,
// Sok writes it, and the lists make the chosen support current.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "catalogue.h"
#include "collection.h"
#include "liste_pret.h"
#include "mainform.h"
#include "saisie_pret.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

using namespace ui;
using store::TDataSupport;

namespace {

class Prets : public ::testing::Test {
 protected:
  void SetUp() override {
    // Duration and counters inside the page's bounds, so that saving the page keeps them.
    c.liste(8, {"VHS"}).dossier("Un").support("VHS", "K7", [](TDataSupport &s) {
      s.set_emprunt_a("Club"), s.set_duree(180), s.set_restant(60), s.set_fin(900);
    });
    c.support("VHS", "P1", [](TDataSupport &s) { s.set_pret_a("Paul"); }).record("Heat");
    s.ferme_dossier();
    w = std::make_unique<shell::Tmainform>(s, 0, prompts);
    s.ouvre_dossier(0);
    w->collection().ouvre_collection();
    w->etat_commandes();
  }
  void TearDown() override { prompts.attend_tout_consomme(); }

  // Smodifier, the dialog of `bouton` run by `script`, then Sok.
  void edite(const char *bouton, std::function<void(loans::Tsaisie &)> script) {
    prompts.dialogues = {[script](QDialog &d) { script(dynamic_cast<loans::Tsaisie &>(d)); }};
    for (const char *nom : {"Smodifier", bouton, "Sok"}) w->findChild<QToolButton *>(nom)->click();
  }

  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  ScriptedPrompts prompts;
  std::unique_ptr<shell::Tmainform> w;
};

TEST_F(Prets, LoanBorrowingAndClearReachTheFileWhenTheSupportIsSaved) {
  // What is typed ("": Clear), then the loan's and the borrowing's four fields as stored.
  const char *kPas[][3] = {
      {"Sprete", "Éloïse Dupont-Montmorency de la Rochefoucauld|01/06/2000|30/06/2000|ligne 1\nligne 2",
       "\xc9lo\xefse Dupont-Montmorency de la Rochefou|01/06/2000|30/06/2000|ligne 1\r\nligne "
       "2||15/06/2000|15/06/2000|"},
      {"Semprunte", "Club|02/06/2000|03/06/2000|",  // ends the loan
       "|01/06/2000|30/06/2000|ligne 1\r\nligne 2|Club|02/06/2000|03/06/2000|"},
      {"Sprete", "", "|15/06/2000|15/06/2000||Club|02/06/2000|03/06/2000|"}};  // Clear: the borrowing stays
  using Champ = void (TDataSupport::*)(std::string_view);
  const Champ kChamps[] = {&TDataSupport::set_pret_a,     &TDataSupport::set_pret_du,
                           &TDataSupport::set_pret_au,    &TDataSupport::set_pret_observations,
                           &TDataSupport::set_emprunt_a,  &TDataSupport::set_emprunt_du,
                           &TDataSupport::set_emprunt_au, &TDataSupport::set_emprunt_observations};
  TDataSupport attendu = c.supports()[0];
  for (const auto &[bouton, saisi, stocke] : kPas) {
    const QStringList champs = QString::fromUtf8(saisi).split('|');
    edite(bouton, [&](loans::Tsaisie &d) {
      if (champs.size() < 4) d.BitBtn1->click();
      for (int i = 0; i < 3 && champs.size() == 4; ++i) std::array{d.a_, d.du_, d.au_}[i]->setText(champs[i]);
      if (champs.size() == 4) d.observations_->setPlainText(champs[3]);
      d.ok->click();
    });
    const QStringList valeurs = QString::fromLatin1(stocke).split('|');
    for (int i = 0; i < 8; ++i) (attendu.*kChamps[i])(valeurs[i].toLatin1().toStdString());
    EXPECT_EQ(dir.read("SUPPORTS.000").substr(0, TDataSupport::record_size),
              std::string(attendu.bytes.begin(), attendu.bytes.end()))
        << bouton;
  }
}

TEST_F(Prets, AWrongDateIsShownAndReplacedByTodayAndThePickerFillsTheField) {
  edite("Sprete", [this](loans::Tsaisie &d) {
    d.du_->setText("32/01/2000");
    d.au_->setText("1/1/2000");
    for (QLineEdit *champ : {d.du_, d.au_}) {
      const QString faux = champ->text();
      prompts.reponses = {Reponse::ok};
      d.ok->click();
      EXPECT_EQ(prompts.boites.back().texte, faux + "\nFormat de la date incorrecte");
      EXPECT_EQ(champ->text(), kToday);
      EXPECT_TRUE(d.isVisible());
    }
    prompts.dialogues = {[](QDialog &p) {  // the picker starts from the field and puts its choice back
      p.findChild<QSpinBox *>("Year")->setValue(2001);
      p.accept();
    }};
    d.BitBtn2->click();
    d.ok->click();
  });
  EXPECT_EQ(c.supports()[0].pret_au(), "15/06/2001");
}

TEST_F(Prets, TheListChoosesTheSupportOfAnyOfItsLines) {
  prompts.dialogues = {[](QDialog &d) {
    auto &liste = dynamic_cast<loans::Tliste &>(d);
    liste.arbre->select_line(5);  // the recording of P1
    liste.ok->click();
  }};
  w->findChild<QAction *>("Support2")->trigger();
  EXPECT_EQ(std::tuple(s.support_courant(), w->collection().rubrique->currentIndex(),
                       w->collection().tx3_->ReferenceS->text()),
            std::tuple(1, 2, QString("P1")));
}

}  // namespace
