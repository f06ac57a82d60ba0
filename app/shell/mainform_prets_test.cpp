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

#include "calendar.h"
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
    c.liste(8, {"VHS"})
        .dossier("Un")
        .support("VHS", "K7",
                 [](TDataSupport &s) {
                   s.set_emprunt_a("Club");
                   // Inside the page's bounds, so that saving the page keeps them.
                   s.set_duree(180);
                   s.set_restant(60);
                   s.set_fin(900);
                 })
        .support("VHS", "P1", [](TDataSupport &s) { s.set_pret_a("Paul"); })
        .record("Heat");
    s.ferme_dossier();
    w = std::make_unique<shell::Tmainform>(s, 0, prompts);
    s.ouvre_dossier(0);
    w->collection().ouvre_collection();
    w->etat_commandes();
  }
  void TearDown() override { prompts.attend_tout_consomme(); }

  void clique(const char *nom) {
    auto *b = w->findChild<QToolButton *>(nom);
    ASSERT_TRUE(b && b->isEnabled()) << nom;
    b->click();
  }
  // Smodifier, the dialog of `bouton` run by `script`, then Sok.
  void edite(const char *bouton, std::function<void(loans::Tsaisie &)> script) {
    clique("Smodifier");
    prompts.dialogues = {[script](QDialog &d) { script(dynamic_cast<loans::Tsaisie &>(d)); }};
    clique(bouton);
    clique("Sok");
  }
  std::string support0() { return dir.read("SUPPORTS.000").substr(0, TDataSupport::record_size); }
  static std::string octets(const TDataSupport &s) { return {s.bytes.begin(), s.bytes.end()}; }

  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  ScriptedPrompts prompts;
  std::unique_ptr<shell::Tmainform> w;
};

TEST_F(Prets, LoanBorrowingAndClearReachTheFileWhenTheSupportIsSaved) {
  auto remplit = [](const char *a, const char *du, const char *au, const char *obs) {
    return [=](loans::Tsaisie &d) {
      d.a_->setText(QString::fromUtf8(a));
      d.du_->setText(du);
      d.au_->setText(au);
      d.observations_->setPlainText(obs);
      d.ok->click();
    };
  };
  TDataSupport attendu = c.supports()[0];
  // A loan ends the borrowing; the name is cut to its 40 characters.
  edite("Sprete", remplit("Éloïse Dupont-Montmorency de la Rochefoucauld", "01/06/2000", "30/06/2000",
                          "rayée\nà voir"));
  attendu.set_pret_a("\xc9lo\xefse Dupont-Montmorency de la Rochefoucauld");
  attendu.set_pret_du("01/06/2000");
  attendu.set_pret_au("30/06/2000");
  attendu.set_pret_observations(
      "ray\xe9"
      "e\r\n\xe0 voir");
  attendu.set_emprunt_a("");
  EXPECT_EQ(support0(), octets(attendu));
  // A borrowing ends the loan.
  edite("Semprunte", [&](loans::Tsaisie &d) {
    EXPECT_EQ(d.windowTitle(), "Emprunt de ce support");
    remplit("Club", "02/06/2000", "03/06/2000", "")(d);
  });
  attendu.set_emprunt_a("Club");
  attendu.set_emprunt_du("02/06/2000");
  attendu.set_emprunt_au("03/06/2000");
  attendu.set_pret_a("");
  EXPECT_EQ(support0(), octets(attendu));
  // Clear and OK end the borrowing: today's dates, and the loan stays ended.
  edite("Semprunte", [](loans::Tsaisie &d) {
    EXPECT_EQ(d.a_->text(), "Club");
    d.BitBtn1->click();
    d.ok->click();
  });
  attendu.set_emprunt_a("");
  attendu.set_emprunt_du(kToday);
  attendu.set_emprunt_au(kToday);
  EXPECT_EQ(support0(), octets(attendu));
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
    // The picker starts from the field and puts its choice back.
    prompts.dialogues = {[](QDialog &p) {
      auto &cal = dynamic_cast<TPerpetualCalendarDlg &>(p);
      EXPECT_EQ(cal.windowTitle(), "Calendrier");
      cal.year_box()->setValue(2001);
      cal.ok_button()->click();
    }};
    d.BitBtn2->click();
    d.ok->click();
  });
  EXPECT_EQ(c.supports()[0].pret_au(), "15/06/2001");
}

TEST_F(Prets, TheListChoosesTheSupportOfAnyOfItsLines) {
  prompts.dialogues = {[](QDialog &d) {
    auto &liste = dynamic_cast<loans::Tliste &>(d);
    EXPECT_EQ(liste.windowTitle(), QString::fromUtf8("Liste des supports prêtés"));
    EXPECT_EQ(liste.arbre->icon(1), "k7aimg");
    liste.arbre->select_line(5);  // the recording
    liste.ok->click();
  }};
  w->findChild<QAction *>("Support2")->trigger();
  EXPECT_EQ(s.support_courant(), 1);
  EXPECT_EQ(w->collection().rubrique->currentIndex(), 2);
  EXPECT_EQ(w->collection().tx3_->ReferenceS->text(), "P1");
  // Cancel changes nothing.
  prompts.dialogues = {[](QDialog &d) { dynamic_cast<loans::Tliste &>(d).BitBtn1->click(); }};
  w->findChild<QAction *>("Liste2")->trigger();
  EXPECT_EQ(s.support_courant(), 1);
}

}  // namespace
