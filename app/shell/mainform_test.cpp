// The real main window driven through its actions, with scripted answers: what needs a window
// (dialogs run, boxes shown, controls enabled and named, settings applied). The rules behind
// them are tested without one.
#include "mainform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <memory>

#include "calendar.h"
#include "catalogue.h"
#include "collection.h"
#include "config.h"
#include "decor.h"
#include "faulty_io.h"
#include "hint_stream.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "parametres.h"
#include "planning.h"
#include "planning_logic.h"
#include "scripted_prompts_test.h"
#include "statistique.h"
#include "tarbre.h"
#include "temp_dir.h"

using namespace shell;
using namespace ui;
using Script = ScriptedPrompts::Script;
using namespace std::string_literals;

namespace {

// Fills the named fields of a dialog (line or text edits), then presses OK.
Script remplit(std::vector<std::pair<const char *, QString>> champs) {
  return [=](QDialog &d) {
    for (const auto &[nom, texte] : champs) {
      if (auto *e = d.findChild<QLineEdit *>(nom)) e->setText(texte);
      if (auto *m = d.findChild<QPlainTextEdit *>(nom)) m->setPlainText(texte);
    }
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

class Mainform : public ::testing::Test {
 protected:
  void demarre(int langue = 0) { w = std::make_unique<Tmainform>(s, langue, prompts, nullptr); }
  void TearDown() override { prompts.attend_tout_consomme(); }

  QObject *controle(const char *nom) const {
    QObject *o = w->findChild<QObject *>(nom);
    EXPECT_NE(o, nullptr) << nom;
    return o;
  }
  void declenche(const char *nom) {
    auto *a = qobject_cast<QAction *>(controle(nom));
    ASSERT_NE(a, nullptr) << nom;
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  }
  // Triggers `nom`, answering its boxes with `reponses`.
  void declenche(const char *nom, std::deque<Reponse> reponses) {
    prompts.reponses = std::move(reponses);
    declenche(nom);
  }
  bool actif(const char *nom) const {
    QObject *o = controle(nom);
    if (auto *m = qobject_cast<QMenu *>(o)) return m->menuAction()->isEnabled();
    if (auto *a = qobject_cast<QAction *>(o)) return a->isEnabled();
    return qobject_cast<QWidget *>(o)->isEnabled();
  }
  void ouvre(const QString &titre) {
    prompts.dialogues = {choisit(titre)};
    declenche("ouvre_dossier_me");
  }
  QString derniere_boite() const { return prompts.boites.empty() ? QString() : prompts.boites.back().texte; }
  Fond *fond(const char *nom) const { return w->findChild<Fond *>(nom); }
  QColor couleur(const char *label) const {
    return w->findChild<QLabel *>(label)->palette().color(QPalette::WindowText);
  }

  TempDir dir;
  FaultyIo io;
  Catalogue c{dir.path(), io};
  store::Store &s = c.store;
  ScriptedPrompts prompts;
  std::unique_ptr<Tmainform> w;
};

// ---- start-up, preferences and hint settings ----

TEST_F(Mainform, PreferencesAreWrittenOnFirstStartAndDressTheWindow) {
  demarre();
  // "grey.bmp" is missing: every background takes the button-face colour; titles are black.
  for (const char *tx : {"tx1", "tx2", "tx3", "tx4", "tx5"}) {
    EXPECT_FALSE(fond(tx)->a_texture()) << tx;
    EXPECT_EQ(fond(tx)->couleur(), w->palette().color(QPalette::Button)) << tx;
  }
  EXPECT_EQ(couleur("s1_"), QColor(Qt::black));

  dir.write("grey.bmp", grey_texture_bmp());
  store::TDataConfig cfg = store::config_defaut(s);
  cfg.set_couleur_support(0x000000FF);         // red, as 0x00BBGGRR
  cfg.set_couleur_enregistrement(0x00FF0000);  // blue
  cfg.set_couleur_arbre(0x8000000D);           // system highlight
  store::ecrit_config(s, cfg);
  demarre();
  EXPECT_TRUE(fond("tx3")->a_texture());
  EXPECT_EQ(couleur("s9_"), QColor(255, 0, 0));
  EXPECT_EQ(couleur("e17_"), QColor(0, 0, 255));
  EXPECT_EQ(couleur("a3_"), w->palette().color(QPalette::Highlight));

  // Preferences that cannot be written are reported, and the window still opens.
  dir.write("Moorkeep.CFG", "");
  io.arm(FaultyIo::Write, 1, true);
  prompts.reponses = {Reponse::ok};
  demarre();
  EXPECT_EQ(prompts.boites.back().boite, Boite::erreur);
  EXPECT_TRUE(derniere_boite().contains("Moorkeep.CFG"));
  EXPECT_TRUE(actif("creer_dossier_me"));
}

TEST_F(Mainform, HintSettingsAreLoadedUsedAndWrittenOnEveryClose) {
  // Two values the window shows; hint_stream_test carries every property through the file.
  HintSettings h = hint_defaut();
  h.color = 0x00CCEEFF;  // pale yellow
  h.font_height = -17;
  ecrit_hint(dir.file("HINT.CFG"), h);
  demarre();
  w->show();
  EXPECT_EQ(w->hint(), h);
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0xFF, 0xEE, 0xCC));
  EXPECT_EQ(QToolTip::font().pixelSize(), 17);
  dir.write("HINT.CFG", "");
  prompts.reponses = {Reponse::annuler};
  EXPECT_FALSE(w->close());  // answered No: still open, the file still written
  EXPECT_EQ(prompts.boites.back().boite, Boite::confirmation);
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Désirez-vous quitter Tapemoor 98"));
  EXPECT_EQ(dir.read("HINT.CFG"), write_hint_stream(h));

  prompts.reponses = {Reponse::ok};
  EXPECT_TRUE(w->close());
  dir.write("HINT.CFG", "TPF0\x0bTHintDe");  // damaged: the designed values
  demarre();
  EXPECT_EQ(w->hint(), hint_defaut());
}

// ---- dossier commands ----

TEST_F(Mainform, CreateRefusesEmptyAndTakenTitlesThenCutsTitleAndPassword) {
  c.dossier("Films");
  s.ferme_dossier();
  demarre();
  prompts.dialogues = {[this](QDialog &d) {
    d.findChild<QPushButton *>("ok")->click();  // empty: OK keeps the dialog open
    EXPECT_EQ(derniere_boite(), "Titre obligatoire");
    EXPECT_TRUE(d.isVisible());
    d.findChild<QLineEdit *>("titre")->setText("Films");
    d.findChild<QPushButton *>("ok")->click();  // taken: Cancel closes it
  }};
  declenche("creer_dossier_me", {Reponse::ok, Reponse::annuler});
  EXPECT_EQ(derniere_boite(), "Titre existant");
  EXPECT_EQ(s.lit_dossiers().size(), 1u);

  QString titre = QString::fromUtf8("Éléphants à l'écran : été, hiver, forêt — déjà");  // 46 characters
  prompts.dialogues = {remplit({{"titre", titre}, {"code", "douze_lettre"}, {"notes", "ligne 1\nligne 2"}})};
  declenche("creer_dossier_me");
  store::TDataDossier d = s.lit_dossiers().at(1);
  EXPECT_EQ(
      std::tuple(d.titre(), d.code(), d.notes()),
      std::tuple(store::utf8_to_cp1252(titre.left(40).toStdString()), "douze_lett"s, "ligne 1\r\nligne 2"s));
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - " + titre.left(40));  // the caption of the open dossier
}

TEST_F(Mainform, OpeningAndModifyingAskForThePassword) {
  demarre();
  declenche("ouvre_dossier_me", {Reponse::ok});
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Il faut créer un dossier"));

  c.dossier("Libre").dossier("Secret", [](store::TDataDossier &d) {
    d.set_code("abc");
    d.set_son("/data/sons/ouvre.wav");
    d.set_dernier_support(4);
  });
  s.ferme_dossier();
  // The logic test shows that a wrong code opens nothing; the sound plays once, for the right one.
  prompts.dialogues = {choisit("Secret"), remplit({{"code", "abd"}})};
  declenche("ouvre_dossier_me", {Reponse::ok});
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Code secret\nincorrect"));
  prompts.dialogues = {choisit("Secret"), remplit({{"code", "abc"}})};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Secret");
  EXPECT_EQ(prompts.sons, std::vector<QString>{"/data/sons/ouvre.wav"});

  // Modifying asks again: a wrong code changes nothing; the counters are not the dialog's.
  const std::string avant = dir.read("MAINFILE");
  prompts.dialogues = {remplit({{"code", "ABC"}})};
  declenche("modifier_dossier_me", {Reponse::ok});
  EXPECT_EQ(derniere_boite(), "Code secret incorrect");
  EXPECT_EQ(dir.read("MAINFILE"), avant);
  prompts.dialogues = {remplit({{"code", "abc"}}), remplit({{"titre", "Premier"}, {"notes", "revu"}})};
  declenche("modifier_dossier_me");
  EXPECT_EQ(std::pair(s.lit_dossiers().at(1).notes(), s.lit_dossiers().at(1).dernier_support()),
            std::pair("revu"s, 4));
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 - Premier");

  // The chooser shows the open dossier selected; a double click on a line opens it.
  prompts.dialogues = {[](QDialog &d) {
    auto *arbre = d.findChild<QTreeWidget *>("arbre");
    EXPECT_EQ(arbre->currentItem()->text(0), "Premier");
    emit arbre->itemDoubleClicked(arbre->topLevelItem(0), 0);
  }};
  declenche("ouvre_dossier_me");
  EXPECT_EQ(s.dossier_courant(), 0);
}

TEST_F(Mainform, AFailedReadClosingAndDeletingLeaveBlankPagesAndOnlyCreateAndOpen) {
  c.liste(8, {"VHS"}).dossier("Un").support("VHS", "K7").dossier("Deux");
  s.ferme_dossier();
  demarre();
  ouvre("Un");
  // A failed read is shown once; what cannot be read any more is closed.
  io.arm(FaultyIo::Read, 1, true);
  declenche("modifier_dossier_me", {Reponse::ok});
  ASSERT_EQ(prompts.boites.size(), 1u);
  EXPECT_EQ(prompts.boites[0].boite, Boite::erreur);
  EXPECT_TRUE(derniere_boite().contains(QString::fromStdString(dir.file("MAINFILE"))));
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
  EXPECT_FALSE(actif("modifier_dossier_me"));
  io.arm(FaultyIo::Read, 0);

  ouvre("Un");
  EXPECT_EQ(w->collection().tx3_->ReferenceS->text(), "K7");
  const std::string avant = dir.read("MAINFILE");
  declenche("fermer_dossier_me");
  EXPECT_EQ(dir.read("MAINFILE"), avant);
  EXPECT_TRUE(w->collection().tx3_->ReferenceS->text().isEmpty());
  EXPECT_EQ(w->collection().arbre->line_count(), 0);

  ouvre("Un");
  declenche("supprimer_dossier_me", {Reponse::annuler});  // declined: still open, so it can go next
  declenche("supprimer_dossier_me", {Reponse::ok});
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Désirez-vous supprimer ce dossier ?"));
  EXPECT_EQ(titres_dossiers(s), std::vector<std::string>{"Deux"});
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98");
}

TEST_F(Mainform, ACatalogueThatCannotBeWrittenIsBrowsedAndAnInterruptedChangeUndoneAtStart) {
  c.liste(8, {"VHS"}).dossier("Un").support("VHS", "K7");
  s.ferme_dossier();
  interrompt(s, io, "SUPPORTS.000");
  io.read_only = true;
  prompts.reponses = {Reponse::ok};
  demarre();
  EXPECT_EQ(derniere_boite(), message(Msg::lecture_seule_interrompue, 0));
  EXPECT_EQ(w->windowTitle(), "Tapemoor 98 (lecture seule)");
  EXPECT_FALSE(actif("creer_dossier_me"));

  io.read_only = false;
  prompts.reponses = {Reponse::ok};
  demarre();
  EXPECT_EQ(derniere_boite(), message(Msg::change_annulee, 0));
  // The playback itself is checked byte for byte by the CLI's repair; here the emptied file is
  // back when its support can be changed.
  ouvre("Un");
  EXPECT_TRUE(actif("Smodifier"));
}

// ---- enabling, texts, layout ----

TEST_F(Mainform, EveryControlFollowsTheEnablingRules) {
  c.liste(1, {"drame"})
      .liste(8, {"VHS", "S-VHS"})
      .dossier("Un")
      .support("VHS", "K7")
      .record("Heat", [](store::Recording &r) { r.record.set_theme("drame"); });
  s.ferme_dossier();
  demarre();
  auto verifie = [&](const char *etat) {
    const EtatCommandes attendu = etat_commandes(w->etat());
    for (const EtatCible &cible : etat_cibles())
      EXPECT_EQ(actif(cible.nom), attendu.*cible.actif) << etat << ": " << cible.nom;
  };
  verifie("no dossier");
  EXPECT_FALSE(w->findChild<QAction *>("Paramtres1_mb")->isEnabled());
  ouvre("Un");
  verifie("browsing");  // declenche() below finds the list's pop-up item enabled

  // A list edited from the menu: its rename shows on the pages (parametres_test checks the data).
  prompts.dialogues = {[](QDialog &d) {
    auto &editeur = dynamic_cast<TParametres &>(d);
    EXPECT_EQ(editeur.list_kind(), 1);
    editeur.List()->setCurrentRow(0);
    editeur.Edit1Enter();
    editeur.Edit1()->setText("Drame psychologique");
    editeur.Edit1Exit();
    editeur.ok()->click();
  }};
  declenche("Paramtres1_mb");
  EXPECT_EQ(w->collection().tx5_->ThemeE.zero->text(), "Drame psychologique");

  // The pop-up of a tool button opens 78 pixels below its top; the window keeps 640 x 480.
  w->show();
  auto *stats = qobject_cast<QToolButton *>(controle("statistiques_bt"));
  stats->click();
  auto *popup = w->findChild<QMenu *>("statistiquesMB");
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->pos(), stats->mapToGlobal(QPoint(0, 78)));
  popup->hide();
  w->resize(500, 300);
  QCoreApplication::processEvents();
  EXPECT_EQ(w->size(), QSize(640, 480));
  EXPECT_EQ(w->collection().Panel3()->width(), 425);
  verifie("Smodifier");
}

// Reports go to the printer chosen in the set-up (here its PDF output); nothing to print says so.
TEST_F(Mainform, ReportsReachThePrinterOrSayThereIsNothing) {
  c.dossier("Films").support("VHS", "K7-001");
  s.ferme_dossier();
  demarre();
  ouvre("Films");
  if (QPrinter().printerName().isEmpty()) {  // a machine without printers: said so, nothing sent
    declenche("Liste1", {Reponse::ok});
    EXPECT_EQ(derniere_boite(), message(Msg::aucune_imprimante, 0));
  }
  prompts.sortie_pdf = QString::fromStdString(dir.file("out.pdf"));
  declenche("imprimante_me");
  declenche("Liste1");
  EXPECT_TRUE(dir.read("out.pdf").starts_with("%PDF"));
  EXPECT_TRUE(w->isEnabled());
  declenche("Listedesenregistrements1", {Reponse::ok});
  EXPECT_EQ(derniere_boite(),
            "Aucun enregistrement de r\xc3\xa9pond aux crit\xc3\xa8res de s\xc3\xa9lection");
}

// The statistics window from the menu: a tab shows its chart, the pie turns, the chart prints.
TEST_F(Mainform, StatisticsShowTurnAndPrint) {
  c.liste(1, {"Drame"}).liste(2, {"Polar", "Western"}).dossier("Films").support("VHS", "K7");
  c.record("a", [](store::Recording &r) { r.record.set_genre("Western"); });
  s.ferme_dossier();
  demarre();
  ouvre("Films");
  prompts.sortie_pdf = QString::fromStdString(dir.file("stat.pdf"));
  declenche("imprimante_me");
  prompts.dialogues = {[](QDialog &d) {
    auto &f = dynamic_cast<search::Tstatistique &>(d);
    EXPECT_EQ(f.Pie->count(), 2);
    f.TabSet1->setCurrentIndex(1);
    ASSERT_EQ(f.Pie->count(), 3);
    EXPECT_EQ(f.Pie->slices()[0]->value(), 0);
    EXPECT_EQ(f.Pie->slices()[1]->label(), "Western  100,0 %");
    EXPECT_EQ(f.Rotationbtn->toolTip(), "Rotation on");
    f.Rotationbtn->click();
    EXPECT_EQ(f.Rotationbtn->toolTip(), "Rotation off");
    for (int i = 0; i < 181; ++i) f.Timer1Timer();
    EXPECT_EQ(f.Pie->pieStartAngle(), 2);
    f.Win97Btn8->click();
    f.Win97Btn10->click();
  }};
  declenche("Thme1");
  FILE *p = ::popen(("pdftotext '" + dir.file("stat.pdf") + "' -").c_str(), "r");
  std::string text(4096, '\0');
  text.resize(p ? std::fread(text.data(), 1, text.size(), p) : 0);
  if (p) ::pclose(p);
  EXPECT_NE(text.find("R\xc3\xa9partition des enregistrements par \"genre\""), std::string::npos) << text;
  // The page: the title centred at the top, the chart below over the printable width.
  print::RecordingCanvas page;
  search::imprime_statistique(page, "T", {3, 2, std::vector<std::uint32_t>(6)});
  EXPECT_EQ(page.dump(),
            "job\ntext\t1000\t-250\tcenter\tArial\tbold\t20\tT\nimage\t0\t-900\t2000\t-2385\t3x2\nendjob\n");
}

TEST_F(Mainform, TextsHelpWebAndAbout) {
  for (int langue : {0, 1}) {
    demarre(langue);
    for (const TexteControle &t : textes_mainform()) controle(t.nom);
    EXPECT_EQ(qobject_cast<QMenu *>(controle("fichierM"))->title(), langue == 0 ? "&Fichier" : "&File");
    EXPECT_EQ(qobject_cast<QLabel *>(controle("e4_"))->text(),
              QString::fromUtf8(langue == 0 ? "Début comp." : "Counter(begin)"));
    EXPECT_EQ(w->collection().TabSet1->tabText(1), langue == 0 ? "Enregistrement" : "Recording");
    EXPECT_TRUE(qobject_cast<QLabel *>(controle("barre_info"))->text().endsWith(ligne_editeur(langue)));
  }
  declenche("Documentation1");  // no help file in the data directory: the guide built beside the tests
  dir.write("DOCEN.HLP", "help");
  declenche("Documentation1");
  declenche("SiteWeb", {Reponse::annuler});  // the first time, the question is declined
  declenche("SiteWeb", {Reponse::ok});
  EXPECT_EQ(
      prompts.adresses,
      (std::vector<QUrl>{QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/doc/en/index.html"),
                         QUrl::fromLocalFile(QString::fromStdString(dir.file("DOCEN.HLP"))), QUrl(kWebEn)}));
}

}  // namespace

TEST_F(Mainform, DossierOptionOpensAsTheChooserDoes) {
  c.dossier("Libre").dossier("Secret", [](store::TDataDossier &d) { d.set_code("abc"); });
  demarre();
  const std::tuple<const char *, const char *, int, QString> cas[] = {
      {"2", nullptr, -1, "Le dossier 2 est introuvable."},
      {"x", nullptr, -1, "Le dossier x est introuvable."},
      {"1", "abd", -1, "Code secret\nincorrect"},
      {"1", "abc", 1, ""}};
  for (const auto &[numero, code, ouvert, boite] : cas) {
    s.ferme_dossier();
    prompts.boites.clear();
    if (code) prompts.dialogues = {remplit({{"code", code}})};
    if (!boite.isEmpty()) prompts.reponses = {Reponse::ok};
    w->ouvre_dossier_option(numero);
    EXPECT_EQ(std::pair(s.dossier_courant(), derniere_boite()), std::pair(ouvert, boite)) << numero;
  }
}

TEST_F(Mainform, PlanningTypedInItsDialogIsWrittenWholeWhenItCloses) {
  c.dossier("Un");
  demarre();
  w->ouvre_dossier_option("0");
  auto appuie = [](loans::Tplanning &p, int ligne) {
    const QModelIndex i = static_cast<browse::TreeLinesModel *>(p.arbre->model())->index_of_line(ligne - 1);
    p.arbre->scrollTo(i);
    QTest::mouseClick(p.arbre->viewport(), Qt::LeftButton, {}, p.arbre->visualRect(i).center());
  };
  prompts.dialogues = {[&](QDialog &d) {
                         auto &p = dynamic_cast<loans::Tplanning &>(d);
                         p.activateWindow();
                         ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
                         appuie(p, 5);
                         p.film_->setFocus();
                         p.film_->insert(QString::fromUtf8("Ménilmontant"));
                         appuie(p, 10);  // leaving the edit for entry 3 stores it in entry 2
                         QCoreApplication::processEvents();
                         EXPECT_EQ(std::pair(p.arbre->text(5), p.arbre->selected_line()),
                                   std::pair("M\xe9nilmontant"s, 9));
                         p.BitBtn5->click();
                         p.film_->setFocus();
                         QTest::keyClicks(p.film_, "Heat");
                         p.showview_->setText("123456789012345");
                         QTest::keyClick(p.film_, Qt::Key_Return);  // Ok, the focus still in the edit
                       },
                       [](QDialog &d) {
                         auto &picker = dynamic_cast<ui::TPerpetualCalendarDlg &>(d);
                         picker.month_box()->setCurrentIndex(2);
                         picker.ok_button()->click();
                       }};
  qputenv("TAPEMOOR_TODAY", kToday);  // where the picker starts
  declenche("PlanningM");
  qunsetenv("TAPEMOOR_TODAY");
  store::TDataPlanning attendu = store::Store::planning_defaut();
  loans::stocke_entree(attendu, 2, "M\xe9nilmontant", "00/00/0000", "00:00", "");
  loans::stocke_entree(attendu, 3, "Heat", "15/03/2000", "00:00", "1234567890");
  EXPECT_EQ(dir.read("PLANNING.000"), std::string(attendu.bytes.begin(), attendu.bytes.end()));
}
