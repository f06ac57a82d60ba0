// What only the window shows: typed texts reaching the files, the refusals' boxes and focus,
// the modes of the fields, the date picker. The commands' logic is tested in commands_test.
#include "collection.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "calendar.h"
#include "catalogue.h"
#include "collection_texts.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

namespace {

using namespace browse;
using namespace std::string_literals;
using ui::Boite;
using ui::Reponse;

class Collection : public ::testing::Test {
 protected:
  void SetUp() override {
    c.liste(8, {"VHS", "S-VHS"}).liste(9, {"Bonne", "Moyenne"}).liste(1, {"drame", "western"}).dossier("Un");
  }
  void TearDown() override { prompts.attend_tout_consomme(); }
  void ouvre() {
    w = std::make_unique<Tcollection>(c.store, prompts, 0);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->Affecte_liste();
    w->ouvre_collection();
  }
  void clique(const char *nom) { qobject_cast<QToolButton *>(w->registre().cherche(nom))->click(); }
  void choix(QComboBox *box, const QString &t) {
    int i = box->findText(t, Qt::MatchExactly);
    ASSERT_GE(i, 0) << t.toStdString();
    box->setCurrentIndex(i);
  }
  void tape(QSpinBox *spin, const QString &t) { spin->findChild<QLineEdit *>()->setText(t); }
  // Sok or Eok refused: the box says why, the edit goes on with the field in focus.
  void refuse(const char *bouton, Msg m, QWidget *champ) {
    prompts.reponses = {Reponse::ok};
    clique(bouton);
    ASSERT_FALSE(prompts.boites.empty());
    EXPECT_EQ(prompts.boites.back().texte, message(m, 0));
    EXPECT_EQ(prompts.boites.back().boite, Boite::information);
    EXPECT_TRUE(w->edition_support() || w->edition_record());
    EXPECT_TRUE(champ->hasFocus()) << champ->objectName().toStdString();
  }

  TempDir dir;
  Catalogue c{dir.path()};
  ui::ScriptedPrompts prompts;
  std::unique_ptr<Tcollection> w;
};

TEST_F(Collection, ASupportTypedOnThePageReachesTheFile) {
  ouvre();
  PageSupport &p = *w->tx3_;
  EXPECT_FALSE(p.SupportsS.liste->isVisible());
  clique("Sajouter");
  EXPECT_TRUE(p.SupportsS.liste->isVisible());
  EXPECT_FALSE(p.SupportsS.zero->isVisible());
  EXPECT_EQ(p.ReferenceS->text(), "000001");  // the proposed date is checked as stored, below
  refuse("Sok", Msg::type_manquant, p.SupportsS.liste);
  choix(p.SupportsS.liste, "VHS");
  p.ReferenceS->clear();
  refuse("Sok", Msg::reference_support_manquante, p.ReferenceS);  // commands_test: nothing written

  p.ReferenceS->setText(QString::fromUtf8("K7-é"));
  choix(p.QualiteS.liste, "Moyenne");
  tape(p.DureeS, "abc");     // not a number: the lower bound
  tape(p.restantS, " 45 ");  // blanks around a number are ignored
  tape(p.finS, "20000");     // beyond the range: the upper bound
  p.ObservationS->setPlainText(QString(300, QChar(0xE9)) + "\n");
  clique("Sok");
  EXPECT_FALSE(w->edition_support());
  ASSERT_EQ(c.supports().size(), 1u);
  const store::TDataSupport s = c.supports()[0];
  EXPECT_EQ(std::tuple(s.support(), s.reference(), s.qualite(), s.date(), s.duree(), s.restant(), s.fin()),
            std::tuple("VHS"s, "K7-\xe9"s, "Moyenne"s, std::string(kToday), 1, 45, 10000));
  EXPECT_EQ(s.observation(), std::string(255, '\xe9'));  // cut to the field
  // Shown as stored, locked, in its tree.
  EXPECT_EQ(p.SupportsS.zero->text(), "VHS");
  EXPECT_FALSE(p.ReferenceS->isEnabled());
  EXPECT_EQ(w->arbre->selected_line(), 2);
}

TEST_F(Collection, ARecordingTypedOnThePageReachesTheFourFilesAndDeletionsAskFirst) {
  c.support("VHS", "K7").record("Heat", [](store::Recording &r) {
    r.record.set_reference("R");
    r.record.set_theme("policier");  // in no list
  });
  ouvre();
  PageRecord &p = *w->tx5_;
  w->TabSet1->setCurrentIndex(1);
  clique("Eajouter");
  EXPECT_EQ(p.AnneeE->value(), 2000);
  refuse("Eok", Msg::titre_manquant, p.TitreE);
  p.TitreE->setText("Playtime");
  QString reference = p.ReferenceE->text();
  p.ReferenceE->clear();
  refuse("Eok", Msg::reference_record_manquante, p.ReferenceE);
  p.ReferenceE->setText(reference);
  choix(p.ThemeE.liste, "western");
  tape(p.DebutE, "douze");
  p.ResumerE->setPlainText("deux\nlignes");
  clique("Eok");
  EXPECT_FALSE(w->edition_record());
  ASSERT_EQ(c.recordings().size(), 2u);
  const store::TDataRecord r = c.recordings()[1].record;
  EXPECT_EQ(std::tuple(r.titre(), r.reference(), r.theme(), r.debut(), r.resumer()),
            std::tuple("Playtime"s, "000002"s, "western"s, 1, "deux\r\nlignes"s));
  EXPECT_EQ(w->arbrek7->selected_line(), 3);  // Heat, Playtime
  EXPECT_EQ(p.ThemeE.zero->text(), "western");

  // A stored value missing from its list survives a modification, offered for that record only.
  w->arbrek7->select_line(2);
  emit w->arbrek7->line_clicked(2);
  clique("Emodifier");
  EXPECT_EQ(p.ThemeE.liste->currentText(), "policier");
  const std::string titre = "Heat (1995), with Al Pacino and Robert De Niro, a film by Michael Mann";
  p.TitreE->setText(QString::fromStdString(titre));
  clique("Eok");
  EXPECT_EQ(std::pair(c.recordings()[0].record.titre(), c.recordings()[0].record.theme()),
            std::pair(titre, "policier"s));
  EXPECT_EQ(p.TitreE->cursorPosition(), 0);  // a long title shows its beginning
  c.store.choisit_record(1);
  w->montre_pages();
  EXPECT_EQ(p.ThemeE.liste->findText("policier"), -1);

  // Deletions ask first.
  for (auto [bouton, question] :
       {std::pair{"Esupprimer", Msg::supprimer_record}, {"Ssupprimer", Msg::supprimer_support}}) {
    prompts.reponses = {Reponse::annuler};
    clique(bouton);
    EXPECT_EQ(prompts.boites.back().texte, message(question, 0));
    EXPECT_EQ(prompts.boites.back().boutons, ui::Boutons::ok_annuler);
  }
  EXPECT_EQ(std::pair(c.supports().size(), c.recordings().size()), std::pair(1ul, 2ul));
  prompts.reponses = {Reponse::ok};
  clique("Ssupprimer");
  EXPECT_EQ(std::pair(c.supports().size(), c.recordings().size()), std::pair(0ul, 0ul));
  EXPECT_TRUE(w->tx3_->ReferenceS->text().isEmpty());
}

TEST_F(Collection, DateButtonPlacesThePickerAndFillsTheField) {
  qputenv("TAPEMOOR_SLANGUAGE", "FRA");
  c.support("VHS", "K7");
  ouvre();
  PageSupport &p = *w->tx3_;
  clique("Smodifier");
  p.dateS->setText("31/01/2000");
  const QPoint attendu = p.dateSbtn->mapToGlobal(QPoint(0, 0)) - QPoint(190, 0);
  prompts.dialogues = {[&](QDialog &d) {
    auto &cal = dynamic_cast<ui::TPerpetualCalendarDlg &>(d);
    EXPECT_EQ(cal.value(), (ui::CalendarDate{31, 1, 2000}));
    EXPECT_EQ(d.pos(), attendu);
    cal.month_box()->setCurrentIndex(1);  // February: the day comes down to 29
    cal.ok_button()->click();
  }};
  clique("dateSbtn");
  EXPECT_EQ(p.dateS->text(), "29/02/2000");

  // Cancel leaves an unreadable date as typed.
  p.dateS->setText("99/99/9999");
  prompts.dialogues = {
      [](QDialog &d) { dynamic_cast<ui::TPerpetualCalendarDlg &>(d).cancel_button()->click(); }};
  clique("dateSbtn");
  clique("Sok");
  EXPECT_EQ(c.supports()[0].date(), "99/99/9999");

  // Month-first regions show the picker month first; the field stays day first.
  qputenv("TAPEMOOR_SLANGUAGE", "ENU");
  w->TabSet1->setCurrentIndex(1);
  clique("Eajouter");
  w->tx5_->DateE->setText("05/03/1999");
  prompts.dialogues = {[](QDialog &d) {
    auto &cal = dynamic_cast<ui::TPerpetualCalendarDlg &>(d);
    EXPECT_EQ(cal.value(), (ui::CalendarDate{5, 3, 1999}));
    cal.year_box()->setValue(2004);
    cal.ok_button()->click();
  }};
  clique("dateEbtn");
  EXPECT_EQ(w->tx5_->DateE->text(), "05/03/2004");
  qunsetenv("TAPEMOOR_SLANGUAGE");
}

}  // namespace
