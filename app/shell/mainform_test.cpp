// The real main window driven through its actions, with scripted answers.
#include "mainform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "../store/temp_dir_test.h"
#include "config.h"
#include "decor.h"
#include "hint_stream.h"
#include "lists.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "scripted_prompts_test.h"
#include "store.h"

using namespace shell;
using Script = ScriptedPrompts::Script;

namespace {

Script saisie(const QString &titre, const QString &code = {}, const QString &notes = {}) {
  return [=](QDialog &d) {
    d.findChild<QLineEdit *>("titre")->setText(titre);
    d.findChild<QLineEdit *>("code")->setText(code);
    d.findChild<QPlainTextEdit *>("notes")->setPlainText(notes);
    d.findChild<QPushButton *>("ok")->click();
  };
}

Script choisit(const QString &titre) {
  return [=](QDialog &d) {
    auto *arbre = d.findChild<QTreeWidget *>("arbre");
    QList<QTreeWidgetItem *> lignes = arbre->findItems(titre, Qt::MatchExactly);
    ASSERT_EQ(lignes.size(), 1) << titre.toStdString();
    arbre->setCurrentItem(lignes[0]);
    d.findChild<QPushButton *>("ok")->click();
  };
}

Script tape_code(const QString &code) {
  return [=](QDialog &d) {
    d.findChild<QLineEdit *>("code")->setText(code);
    d.findChild<QPushButton *>("ok")->click();
  };
}

class Mainform : public ::testing::Test {
 protected:
  void demarre(int langue = 0) { w = std::make_unique<Tmainform>(s, langue, prompts, nullptr); }
  void TearDown() override { prompts.attend_tout_consomme(); }

  void declenche(const char *nom) {
    auto *a = w->findChild<QAction *>(nom);
    ASSERT_NE(a, nullptr) << nom;
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  }
  bool actif(const char *nom) const {
    QObject *o = w->findChild<QObject *>(nom);
    if (auto *m = qobject_cast<QMenu *>(o)) return m->menuAction()->isEnabled();
    if (auto *a = qobject_cast<QAction *>(o)) return a->isEnabled();
    if (auto *wi = qobject_cast<QWidget *>(o)) return wi->isEnabled();
    ADD_FAILURE() << "no control " << nom;
    return false;
  }
  // Dossiers written straight into "MAINFILE", closed afterwards.
  void ajoute(const std::string &titre, const std::string &code = "", const std::string &son = "") {
    s.vide_dossier();
    s.dossier.set_titre(titre);
    s.dossier.set_code(code);
    s.dossier.set_son(son);
    s.cree_dossier();
    s.ferme_dossier();
  }
  QString derniere_boite() const {
    return prompts.boites.empty() ? QString() : prompts.boites.back().texte;
  }

  TempDir dir;
  store::Store s{dir.path()};
  ScriptedPrompts prompts;
  std::unique_ptr<Tmainform> w;
};

// ---- start-up and preference file ----

TEST_F(Mainform, FirstStartWritesTheDefaultPreferencesAndUsesTheColourWithoutTexture) {
  demarre();
  ASSERT_EQ(dir.size("Moorkeep.CFG"), 331u);
  std::string b = dir.read("Moorkeep.CFG");
  std::string texture = dir.path() + "/grey.bmp";
  EXPECT_EQ(b.substr(0, 9), std::string("Tapemoor\0", 9));
  EXPECT_EQ(std::size_t(static_cast<unsigned char>(b[43])), texture.size());
  EXPECT_EQ(b.substr(44, texture.size()), texture);
  EXPECT_EQ(b.substr(299, 4), std::string("\x0f\x00\x00\x80", 4));
  EXPECT_EQ(b[303], 1);
  EXPECT_EQ(b.substr(304, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(b.substr(308, 12), std::string(12, '\0'));  // black titles
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  // "grey.bmp" is missing: every background takes the button-face colour.
  for (const char *tx : {"tx1", "tx2", "tx3", "tx4", "tx5"}) {
    auto *f = w->findChild<Fond *>(tx);
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->a_texture()) << tx;
    EXPECT_EQ(f->couleur(), w->palette().color(QPalette::Button)) << tx;
  }
  EXPECT_EQ(w->findChild<QLabel *>("s1_")->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(Mainform, PreferencesDressTheWindow) {
  dir.write("grey.bmp", grey_texture_bmp());
  store::TDataConfig c = store::config_defaut(s);
  c.set_couleur_support(0x000000FF);         // red, as 0x00BBGGRR
  c.set_couleur_enregistrement(0x00FF0000);  // blue
  c.set_couleur_arbre(0x8000000D);           // system highlight
  store::ecrit_config(s, c);
  demarre();
  EXPECT_TRUE(w->findChild<Fond *>("tx3")->a_texture());
  EXPECT_EQ(w->findChild<QLabel *>("s9_")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(w->findChild<QLabel *>("e17_")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(w->findChild<QLabel *>("a3_")->palette().color(QPalette::WindowText),
            w->palette().color(QPalette::Highlight));

  c.set_fond_texture(false);
  c.set_fond_couleur(0x0000FF00);
  store::ecrit_config(s, c);
  Tmainform autre(s, 0, prompts);
  EXPECT_FALSE(autre.findChild<Fond *>("tx1")->a_texture());
  EXPECT_EQ(autre.findChild<Fond *>("tx1")->couleur(), QColor(0, 255, 0));
}

TEST_F(Mainform, UnwritablePreferencesAreReportedAndTheWindowStillOpens) {
  std::filesystem::create_directory(dir.file("Moorkeep.CFG"));  // cannot be opened as a file
  prompts.reponses = {Reponse::ok};
  demarre();
  ASSERT_EQ(prompts.boites.size(), 1u);
  EXPECT_EQ(prompts.boites[0].boite, Boite::erreur);
  EXPECT_TRUE(derniere_boite().contains("Moorkeep.CFG"));
  EXPECT_FALSE(w->findChild<Fond *>("tx1")->a_texture());
  EXPECT_TRUE(actif("creer_dossier_me"));
}

// ---- hint settings ----

TEST_F(Mainform, CloseAnsweredNoStillWritesTheHintFile) {
  demarre();
  w->show();
  prompts.reponses = {Reponse::annuler};
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(prompts.boites.size(), 1u);
  EXPECT_EQ(prompts.boites[0].boite, Boite::confirmation);
  EXPECT_EQ(prompts.boites[0].boutons, Boutons::ok_annuler);
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Désirez-vous quitter Tapemoor 98"));
  EXPECT_EQ(dir.read("HINT.CFG"), write_hint_stream(hint_defaut()));

  dir.write("HINT.CFG", "");
  prompts.reponses = {Reponse::ok};
  EXPECT_TRUE(w->close());
  EXPECT_EQ(dir.read("HINT.CFG"), write_hint_stream(hint_defaut()));
}

TEST_F(Mainform, HintFileIsLoadedAndUsedByTheTooltips) {
  HintSettings h = hint_defaut();
  h.color = 0x00CCEEFF;  // pale yellow
  h.font_height = -17;
  h.delay = 900;
  h.hint_style = HintStyle::hiRoundrect;
  ecrit_hint(dir.file("HINT.CFG"), h);
  demarre();
  EXPECT_EQ(w->hint(), h);
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0xFF, 0xEE, 0xCC));
  EXPECT_EQ(QToolTip::font().pixelSize(), 17);
  prompts.reponses = {Reponse::annuler};
  w->close();
  EXPECT_EQ(dir.read("HINT.CFG"), write_hint_stream(h));
}

TEST_F(Mainform, DamagedHintFileFallsBackToTheDesignedValues) {
  dir.write("HINT.CFG", "TPF0\x0bTHintDe");
  demarre();
  EXPECT_EQ(w->hint(), hint_defaut());
}

// ---- dossier commands ----

TEST_F(Mainform, CreateCutsTitleAndPasswordAndOpensTheDossier) {
  demarre();
  EXPECT_TRUE(actif("creer_dossier_me"));
  EXPECT_FALSE(actif("modifier_dossier_me"));
  // 45 accented characters and a 12-character password.
  QString titre = QString::fromUtf8("Éléphants à l'écran : été, hiver, forêt — déjà");
  ASSERT_GE(titre.size(), 41);
  prompts.dialogues = {saisie(titre, "douze_lettre", "ligne 1\nligne 2")};
  declenche("creer_dossier_me");
  EXPECT_TRUE(prompts.boites.empty());
  EXPECT_EQ(s.dossier_courant, 0);
  std::vector<store::TDataDossier> all = s.lit_dossiers();
  ASSERT_EQ(all.size(), 1u);
  std::string attendu = store::utf8_to_cp1252(titre.left(40).toStdString());
  EXPECT_EQ(all[0].titre(), attendu);
  EXPECT_EQ(all[0].titre().size(), 40u);
  EXPECT_EQ(all[0].code(), "douze_lett");
  EXPECT_EQ(all[0].notes(), "ligne 1\r\nligne 2");
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - " + titre.left(40));
  EXPECT_FALSE(actif("creer_dossier_me"));
  EXPECT_TRUE(actif("modifier_dossier_me"));
  EXPECT_TRUE(actif("parametresM"));
}

TEST_F(Mainform, CreateRefusesEmptyAndTakenTitles) {
  ajoute("Films");
  demarre();
  prompts.dialogues = {[](QDialog &d) {
    auto *titre = d.findChild<QLineEdit *>("titre");
    auto *ok = d.findChild<QPushButton *>("ok");
    ok->click();  // empty: OK keeps the dialog open
    EXPECT_TRUE(d.isVisible());
    titre->setText("Films");
    ok->click();  // taken: Cancel closes it
  }};
  prompts.reponses = {Reponse::ok, Reponse::annuler};
  declenche("creer_dossier_me");
  ASSERT_EQ(prompts.boites.size(), 2u);
  EXPECT_EQ(prompts.boites[0].texte, "Titre obligatoire");
  EXPECT_EQ(prompts.boites[0].boite, Boite::avertissement);
  EXPECT_EQ(prompts.boites[1].texte, "Titre existant");
  EXPECT_EQ(s.lit_dossiers().size(), 1u);
  EXPECT_EQ(s.dossier_courant, -1);
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
}

TEST_F(Mainform, OpenWithoutAnyDossierSaysToCreateOne) {
  demarre();
  prompts.reponses = {Reponse::ok};
  declenche("ouvre_dossier_me");
  EXPECT_TRUE(prompts.dialogues_vus.empty());
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Il faut créer un dossier"));
  EXPECT_EQ(prompts.boites.back().boite, Boite::information);
}

TEST_F(Mainform, OpenWithWrongThenRightPassword) {
  ajoute("Libre");
  ajoute("Secret", "abc", "/data/sons/ouvre.wav");
  demarre();
  prompts.dialogues = {choisit("Secret"), tape_code("abd")};
  prompts.reponses = {Reponse::ok};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Code secret\nincorrect"));
  EXPECT_EQ(s.dossier_courant, -1);
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  EXPECT_TRUE(prompts.sons.empty());

  prompts.dialogues = {choisit("Secret"), tape_code("abc")};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(s.dossier_courant, 1);
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Secret");
  EXPECT_EQ(prompts.sons, std::vector<QString>{"/data/sons/ouvre.wav"});
  EXPECT_EQ(prompts.dialogues_vus,
            (std::vector<QString>{"arbre_dossier", "saisie_code", "arbre_dossier", "saisie_code"}));

  // The chooser shows the open dossier selected; a wrong password keeps it open.
  prompts.dialogues = {[](QDialog &d) {
                         auto *arbre = d.findChild<QTreeWidget *>("arbre");
                         ASSERT_NE(arbre->currentItem(), nullptr);
                         EXPECT_EQ(arbre->currentItem()->text(0), "Secret");
                         EXPECT_EQ(arbre->topLevelItemCount(), 2);
                         d.findChild<QPushButton *>("annuler")->click();
                       }};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(s.dossier_courant, 1);
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Secret");
}

TEST_F(Mainform, ChooserDoubleClickOpens) {
  ajoute("Un");
  ajoute("Deux");
  demarre();
  w->show();
  prompts.dialogues = {[](QDialog &d) {
    auto *arbre = d.findChild<QTreeWidget *>("arbre");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QTreeWidgetItem *ligne = arbre->topLevelItem(1);
    QPoint centre = arbre->visualItemRect(ligne).center();
    QTest::mouseClick(arbre->viewport(), Qt::LeftButton, {}, centre);  // the press a double click follows
    QTest::mouseDClick(arbre->viewport(), Qt::LeftButton, {}, centre);
  }};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(s.dossier_courant, 1);
}

TEST_F(Mainform, ModifyWithoutChangingTheTitleKeepsCounters) {
  ajoute("Un");
  ajoute("Deux");
  s.ouvre_mainfile();
  s.lit_dossier(0);
  s.dossier.set_dernier_support(4);
  s.dossier.set_dernier_record(9);
  s.ecrit_dossier(0);
  s.ferme_mainfile();
  demarre();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  prompts.dialogues = {[](QDialog &d) {
    EXPECT_EQ(d.findChild<QLineEdit *>("titre")->text(), "Un");
    d.findChild<QPlainTextEdit *>("notes")->setPlainText("revu");
    d.findChild<QPushButton *>("ok")->click();
  }};
  declenche("modifier_dossier_me");
  EXPECT_TRUE(prompts.boites.empty());
  std::vector<store::TDataDossier> all = s.lit_dossiers();
  EXPECT_EQ(all[0].titre(), "Un");
  EXPECT_EQ(all[0].notes(), "revu");
  EXPECT_EQ(all[0].dernier_support(), 4);
  EXPECT_EQ(all[0].dernier_record(), 9);

  // Renaming shows at once in the caption.
  prompts.dialogues = {saisie("Premier")};
  declenche("modifier_dossier_me");
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Premier");
}

TEST_F(Mainform, ModifyWithWrongPasswordChangesNothing) {
  ajoute("Gard\xE9", "pw");
  demarre();
  prompts.dialogues = {choisit(QString::fromUtf8("Gardé")), tape_code("pw")};
  declenche("ouvre_dossier_me");
  std::string avant = dir.read("MAINFILE");
  prompts.dialogues = {tape_code("PW")};
  prompts.reponses = {Reponse::ok};
  declenche("modifier_dossier_me");
  EXPECT_EQ(derniere_boite(), "Code secret incorrect");
  EXPECT_EQ(dir.read("MAINFILE"), avant);
  EXPECT_EQ(s.dossier_courant, 0);
}

TEST_F(Mainform, DeleteDossierOneOfThreeShiftsRecordsAndFiles) {
  ajoute("Zéro");
  ajoute("Un");
  ajoute("Deux");
  for (const char *base : {"SUPPORTS.", "RECORDS.", "RECORDS1.", "CT.", "AWARD.", "PLANNING."})
    for (int n = 0; n < 3; ++n) dir.write(s.nom_fichier(base, n).substr(dir.path().size() + 1),
                                          std::string(base) + std::to_string(n));
  demarre();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  ASSERT_EQ(s.dossier_courant, 1);

  prompts.reponses = {Reponse::annuler};
  declenche("supprimer_dossier_me");
  EXPECT_EQ(s.lit_dossiers().size(), 3u);
  EXPECT_EQ(s.dossier_courant, 1);

  prompts.reponses = {Reponse::ok};
  declenche("supprimer_dossier_me");
  EXPECT_EQ(prompts.boites.back().texte, QString::fromUtf8("Désirez-vous supprimer ce dossier ?"));
  std::vector<store::TDataDossier> all = s.lit_dossiers();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].titre(), "Deux");
  EXPECT_EQ(dir.size("MAINFILE"), 2u * store::TDataDossier::record_size);
  for (const char *base : {"SUPPORTS.", "RECORDS.", "RECORDS1.", "CT.", "AWARD.", "PLANNING."}) {
    EXPECT_EQ(dir.read(std::string(base) + "000"), std::string(base) + "0");
    EXPECT_EQ(dir.read(std::string(base) + "001"), std::string(base) + "2");
    EXPECT_FALSE(dir.exists(std::string(base) + "002")) << base;
  }
  EXPECT_EQ(s.dossier_courant, -1);
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  EXPECT_TRUE(actif("creer_dossier_me"));
}

TEST_F(Mainform, DeletingTheOnlyDossierLeavesNothingBehind) {
  ajoute("Seul");
  dir.write("SUPPORTS.000", "x");
  demarre();
  prompts.dialogues = {choisit("Seul")};
  declenche("ouvre_dossier_me");
  prompts.reponses = {Reponse::ok, Reponse::ok};
  declenche("supprimer_dossier_me");
  EXPECT_EQ(dir.size("MAINFILE"), 0u);
  EXPECT_FALSE(dir.exists("SUPPORTS.000"));
  declenche("ouvre_dossier_me");
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Il faut créer un dossier"));
}

TEST_F(Mainform, CloseBlanksPagesAndEnablesCreate) {
  ajoute("Un");
  demarre();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  w->findChild<QLineEdit *>("TitreE")->setText("reste");
  std::string avant = dir.read("MAINFILE");
  declenche("fermer_dossier_me");
  EXPECT_EQ(s.dossier_courant, -1);
  EXPECT_TRUE(w->findChild<QLineEdit *>("TitreE")->text().isEmpty());
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  EXPECT_TRUE(actif("creer_dossier_me"));
  EXPECT_FALSE(actif("fermer_dossier_me"));
  EXPECT_EQ(dir.read("MAINFILE"), avant);
}

TEST_F(Mainform, StoreFailureIsShownOnceAndTheWindowStaysConsistent) {
  ajoute("Un");
  demarre();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  // "MAINFILE" turns into something that cannot be opened as a file.
  std::filesystem::rename(dir.file("MAINFILE"), dir.file("MAINFILE.bak"));
  std::filesystem::create_directory(dir.file("MAINFILE"));
  prompts.reponses = {Reponse::ok};
  declenche("modifier_dossier_me");
  ASSERT_EQ(prompts.boites.size(), 1u);
  EXPECT_EQ(prompts.boites[0].boite, Boite::erreur);
  EXPECT_TRUE(prompts.boites[0].texte.contains(QString::fromStdString(dir.file("MAINFILE"))));
  EXPECT_EQ(s.dossier_courant, -1);  // the dossier record cannot be read any more
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  EXPECT_TRUE(actif("creer_dossier_me"));
  EXPECT_FALSE(actif("modifier_dossier_me"));

  std::filesystem::remove(dir.file("MAINFILE"));
  std::filesystem::rename(dir.file("MAINFILE.bak"), dir.file("MAINFILE"));
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Un");
}

// ---- enabling ----

TEST_F(Mainform, ControlsFollowTheEnablingRulesInEveryState) {
  store::ecrit_liste(s, 8, {"VHS", "S-VHS"});
  ajoute("Un");
  demarre();
  auto verifie = [&](const char *etat) {
    w->etat_commandes();
    EtatCommandes c = etat_commandes(w->etat());
    for (const EtatCible &cible : etat_cibles())
      EXPECT_EQ(actif(cible.nom), c.*cible.actif) << etat << ": " << cible.nom;
  };
  verifie("no dossier");
  EXPECT_FALSE(actif("parametresM"));
  EXPECT_FALSE(actif("photo_bt"));
  EXPECT_TRUE(actif("dossier_bt"));
  EXPECT_TRUE(actif("aideM"));
  EXPECT_FALSE(w->findChild<QAction *>("Paramtres1_mb")->isEnabled());

  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  verifie("browsing");
  EXPECT_TRUE(actif("Sajouter"));  // two support types
  EXPECT_FALSE(actif("Ssupprimer"));
  EXPECT_TRUE(w->findChild<QAction *>("Paramtres1_mb")->isEnabled());
  EXPECT_FALSE(w->findChild<QAction *>("ficheMB3")->isEnabled());

  w->edition_support = true;
  verifie("support edited");
  EXPECT_FALSE(actif("fichierM"));
  EXPECT_FALSE(actif("TabSet1"));
  EXPECT_FALSE(actif("dossier_bt"));
  EXPECT_TRUE(actif("Sok"));
  EXPECT_TRUE(actif("aideM"));

  w->edition_support = false;
  w->edition_record = true;
  verifie("recording edited");
  EXPECT_TRUE(actif("Eok"));
  EXPECT_FALSE(actif("arbre"));
}

// ---- language ----

TEST_F(Mainform, EveryTextOfTheTableReachesAControl) {
  demarre();
  for (const TexteControle &t : textes_mainform())
    EXPECT_NE(w->findChild<QObject *>(t.nom), nullptr) << t.nom;
}

TEST_F(Mainform, FrenchTexts) {
  demarre(0);
  EXPECT_EQ(w->findChild<QMenu *>("fichierM")->title(), "&Fichier");
  EXPECT_EQ(w->findChild<QMenu *>("parametresM")->title(), QString::fromUtf8("&Paramètres"));
  EXPECT_EQ(w->findChild<QAction *>("Paramtres1")->text(), QString::fromUtf8("&Thème"));
  EXPECT_EQ(w->findChild<QAction *>("Qualitsupport1_mb")->text(), QString::fromUtf8("&Qualité (supports)"));
  EXPECT_EQ(w->findChild<QToolButton *>("echeancier_bt")->toolTip(), "Planning\nd'enregistrement");
  EXPECT_EQ(w->findChild<QLabel *>("e4_")->text(), QString::fromUtf8("Début comp."));
  EXPECT_EQ(w->findChild<QLabel *>("a2_")->text(), QString::fromUtf8("Vidéothèque"));
  auto *rubrique = w->findChild<QComboBox *>("rubrique");
  ASSERT_EQ(rubrique->count(), 6);
  EXPECT_EQ(rubrique->itemText(1), QString::fromUtf8("Nationalité"));
  EXPECT_EQ(rubrique->currentIndex(), 3);
  EXPECT_EQ(w->findChild<QTabBar *>("TabSet1")->tabText(1), "Enregistrement");
  EXPECT_EQ(message(Msg::non_classe, 0), QString::fromUtf8("non Classé"));
}

TEST_F(Mainform, EnglishTextsWithFrenchFramedBoxes) {
  demarre(1);
  EXPECT_EQ(w->findChild<QMenu *>("fichierM")->title(), "&File");
  EXPECT_EQ(w->findChild<QAction *>("modifier_dossier_me")->text(), "&File &informations");
  EXPECT_EQ(w->findChild<QAction *>("ficheM")->text(), "&Recording informations");
  EXPECT_EQ(w->findChild<QAction *>("ficheMB3")->text(), "Recording &informations");
  EXPECT_EQ(w->findChild<QToolButton *>("dossier_bt")->toolTip(), "Open\nfile");
  EXPECT_EQ(w->findChild<QLabel *>("e4_")->text(), "Counter(begin)");
  EXPECT_EQ(w->findChild<QLabel *>("s10_")->text(), "Memo");
  EXPECT_EQ(w->findChild<QComboBox *>("rubrique")->itemText(3), "Support");
  EXPECT_EQ(w->findChild<QTabBar *>("TabSet1")->tabText(1), "Recording");
  prompts.reponses = {Reponse::annuler};
  w->close();
  EXPECT_EQ(derniere_boite(), "Are you sure you want to quit Tapemoor 98");
  EXPECT_EQ(prompts.boites.back().boite, Boite::confirmation);

  ajoute("Kept", "pw");
  prompts.dialogues = {choisit("Kept"), tape_code("no")};
  prompts.reponses = {Reponse::ok};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(derniere_boite(), "Wrong password");
}

// ---- frame commands ----

TEST_F(Mainform, LaterFeaturesSayNotYetAndWriteNothing) {
  ajoute("Un");
  demarre();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  auto fichiers = [&] {
    std::vector<std::string> noms;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
      noms.push_back(e.path().filename().string() + ":" + std::to_string(e.file_size()));
    std::sort(noms.begin(), noms.end());
    return noms;
  };
  auto avant = fichiers();
  for (const char *nom : {"Support2", "Prt1", "Multicritres1",
                          "Thme1", "Liste1", "PlanningM", "configuration_me"}) {
    prompts.reponses = {Reponse::ok};
    declenche(nom);
    EXPECT_EQ(prompts.boites.back().boite, Boite::information) << nom;
    EXPECT_EQ(derniere_boite(), message(Msg::pas_disponible, 0)) << nom;
  }
  prompts.reponses = {Reponse::ok};
  w->findChild<QToolButton *>("recherche_bt")->click();
  EXPECT_EQ(derniere_boite(), message(Msg::pas_disponible, 0));
  EXPECT_EQ(fichiers(), avant);
}

TEST_F(Mainform, HelpWebAndAbout) {
  demarre(1);
  prompts.reponses = {Reponse::ok};
  declenche("Documentation1");
  EXPECT_TRUE(prompts.adresses.empty());
  EXPECT_TRUE(derniere_boite().contains(QString::fromStdString(dir.file("DOCEN.HLP"))));

  dir.write("DOCEN.HLP", "help");
  declenche("Documentation1");
  ASSERT_EQ(prompts.adresses.size(), 1u);
  EXPECT_EQ(prompts.adresses[0], QUrl::fromLocalFile(QString::fromStdString(dir.file("DOCEN.HLP"))));

  prompts.reponses = {Reponse::annuler};
  declenche("SiteWeb");
  EXPECT_EQ(derniere_boite(),
            "Preparing your internet browser to visit our web site.\nAre you ready to go on-line now ?");
  EXPECT_EQ(prompts.adresses.size(), 1u);
  prompts.reponses = {Reponse::ok};
  declenche("SiteWeb");
  ASSERT_EQ(prompts.adresses.size(), 2u);
  EXPECT_EQ(prompts.adresses[1], QUrl(kWebEn));

  prompts.dialogues = {[](QDialog &d) { QTest::mouseClick(&d, Qt::LeftButton, {}, QPoint(300, 180)); }};
  declenche("apropos");
  EXPECT_FALSE(prompts.dialogues_vus.empty());
  EXPECT_EQ(prompts.dialogues_vus.back(), "Apropos");
}

TEST_F(Mainform, AboutClosesOnAClick) {
  Apropos about(0);
  about.show();
  ASSERT_TRUE(about.isVisible());
  QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

// ---- layout ----

TEST_F(Mainform, LayoutRulesAndTabs) {
  demarre();
  w->show();
  w->resize(500, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(w->width(), 640);
  EXPECT_EQ(w->height(), 480);
  EXPECT_EQ(w->findChild<QWidget *>("Panel3")->width(), 425);
  w->resize(1040, 700);
  QCoreApplication::processEvents();
  EXPECT_EQ(w->findChild<QWidget *>("Panel3")->width(), 625);
  auto *arbre = w->findChild<QWidget *>("arbre");
  EXPECT_EQ(arbre->width(), w->findChild<QWidget *>("tx2")->width() - 20);

  auto *tabs = w->findChild<QTabBar *>("TabSet1");
  auto *pages = w->findChild<QStackedWidget *>("NoteBook1");
  EXPECT_TRUE(w->findChild<QWidget *>("barre_support")->isVisible());
  tabs->setCurrentIndex(1);
  EXPECT_EQ(pages->currentIndex(), 1);
  EXPECT_TRUE(w->findChild<QWidget *>("barre_enregistrement")->isVisible());
  EXPECT_FALSE(w->findChild<QWidget *>("barre_support")->isVisible());
  tabs->setCurrentIndex(0);
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_TRUE(w->findChild<QWidget *>("barre_support")->isVisible());
}

TEST_F(Mainform, ToolButtonPopupOpens78PixelsBelowTheButtonTop) {
  ajoute("Un");
  demarre();
  w->show();
  prompts.dialogues = {choisit("Un")};
  declenche("ouvre_dossier_me");
  auto *bouton = w->findChild<QToolButton *>("statistiques_bt");
  bouton->click();
  auto *popup = w->findChild<QMenu *>("statistiquesMB");
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->pos(), bouton->mapToGlobal(QPoint(0, 78)));
  EXPECT_EQ(popup->actions().size(), 7);
  popup->hide();
}

}  // namespace
