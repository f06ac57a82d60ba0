// The collection tree and the two pages of the real main window, driven through its buttons and
// trees with scripted answers; what reaches the disk is checked in the files themselves.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <cstring>
#include <memory>

#include "../store/temp_dir_test.h"
#include "calendar.h"
#include "config.h"
#include "lists.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "pages.h"
#include "parametres.h"
#include "scripted_prompts_test.h"
#include "store.h"
#include "tarbre.h"
#include "tree.h"

using namespace shell;
using browse::Tarbre;
using Script = ScriptedPrompts::Script;

namespace {

constexpr const char *kToday = "15/06/2001";

Script choisit_dossier(const QString &titre) {
  return [=](QDialog &d) {
    auto *arbre = d.findChild<QTreeWidget *>("arbre");
    QList<QTreeWidgetItem *> lignes = arbre->findItems(titre, Qt::MatchExactly);
    ASSERT_EQ(lignes.size(), 1);
    arbre->setCurrentItem(lignes[0]);
    d.findChild<QPushButton *>("ok")->click();
  };
}

std::int32_t entier(const std::string &bytes, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}
std::string texte(const std::string &bytes, std::size_t at) {
  return bytes.substr(at + 1, static_cast<unsigned char>(bytes[at]));
}

QStringList lignes(const Tarbre *t) {
  QStringList l;
  for (const browse::TreeLine &line : t->lines())
    l << QString::fromStdString(store::cp1252_to_utf8(line.text));
  return l;
}

class Browse : public ::testing::Test {
 protected:
  void SetUp() override {
    s.today = [] { return std::string(kToday); };
    store::ecrit_liste(s, 8,
                       {"VHS", "S-VHS",
                        "Cassette VHS longue dur\xe9"
                        "e"});
    store::ecrit_liste(s, 9, {"Bonne", "Moyenne"});
    store::ecrit_liste(s, 1, {"drame", "western"});
  }
  void TearDown() override { prompts.attend_tout_consomme(); }

  // A dossier written straight through the store, closed again.
  void dossier(const std::function<void()> &contenu = {}) {
    s.vide_dossier();
    s.dossier.set_titre("Un");
    s.cree_dossier();
    if (contenu) contenu();
    s.ferme_dossier();
  }
  int support(const std::string &type, const std::string &ref) {
    s.nouveau_support();
    s.support.set_support(type);
    s.support.set_reference(ref);
    s.ouvre_supports();
    int n = s.nombre_supports();
    s.ecrit_support(n);
    s.ferme_supports();
    return n;
  }
  int recording(int sur, const std::string &titre, const std::string &theme = "") {
    s.support_courant = sur;
    s.nouveau_record();
    s.record.set_titre(titre);
    s.record.set_reference("R");
    s.record.set_theme(theme);
    s.ouvre_records();
    int n = s.nombre_records();
    s.ecrit_record(n);
    s.ferme_records();
    return n;
  }

  void demarre(int langue = 0) {
    w = std::make_unique<Tmainform>(s, langue, prompts, nullptr);
    w->show();
    prompts.dialogues = {choisit_dossier("Un")};
    declenche("ouvre_dossier_me");
  }
  void declenche(const char *nom) {
    auto *a = w->findChild<QAction *>(nom);
    ASSERT_NE(a, nullptr) << nom;
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  }
  void clique(const char *nom) {
    auto *b = w->findChild<QToolButton *>(nom);
    ASSERT_NE(b, nullptr) << nom;
    ASSERT_TRUE(b->isEnabled()) << nom;
    b->click();
  }
  bool actif(const char *nom) { return w->findChild<QWidget *>(nom)->isEnabled(); }
  // A click on line n of a tree, as the user makes it.
  void choisit(Tarbre *t, int n) {
    t->select_line(n);
    emit t->line_clicked(n);
  }
  int ligne(Tarbre *t, const QString &texte_ligne) { return int(lignes(t).indexOf(texte_ligne)) + 1; }
  void groupe(int g) { w->findChild<QComboBox *>("rubrique")->setCurrentIndex(g); }
  void onglet(int t) { w->findChild<QTabBar *>("TabSet1")->setCurrentIndex(t); }
  int page() { return w->findChild<QStackedWidget *>("NoteBook1")->currentIndex(); }
  const Pages &p() { return w->pages(); }
  void tape(QSpinBox *spin, const QString &t) { spin->findChild<QLineEdit *>()->setText(t); }
  void choix(QComboBox *c, const QString &t) {
    int i = c->findText(t, Qt::MatchExactly);
    ASSERT_GE(i, 0) << t.toStdString();
    c->setCurrentIndex(i);
  }
  QString derniere_boite() const { return prompts.boites.empty() ? QString() : prompts.boites.back().texte; }

  TempDir dir;
  store::Store s{dir.path()};
  ScriptedPrompts prompts;
  std::unique_ptr<Tmainform> w;
};

// ---- supports ----

TEST_F(Browse, AddAFirstSupportWithItsChecksThenSeeItInTheTree) {
  dossier();
  demarre();
  EXPECT_EQ(s.support_courant, -1);
  EXPECT_FALSE(p().SupportsS.liste->isVisible());
  EXPECT_TRUE(p().SupportsS.zero->isVisible());
  EXPECT_FALSE(p().ReferenceS->isEnabled());

  clique("Sajouter");
  EXPECT_TRUE(w->edition_support);
  EXPECT_EQ(s.support_courant, 0);
  EXPECT_TRUE(p().SupportsS.liste->isVisible());
  EXPECT_FALSE(p().SupportsS.zero->isVisible());
  EXPECT_TRUE(p().dateSbtn->isEnabled());
  EXPECT_EQ(p().ReferenceS->text(), "000001");
  EXPECT_EQ(p().dateS->text(), kToday);
  EXPECT_EQ(p().DureeS->value(), 1);  // 0 in the buffer
  EXPECT_FALSE(actif("arbre"));
  EXPECT_FALSE(actif("TabSet1"));
  EXPECT_EQ(p().SupportsS.liste->currentIndex(), -1);

  // No type chosen: the edit goes on and nothing is written.
  prompts.reponses = {Reponse::ok};
  clique("Sok");
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Vous devez sélectionner un \"Type\" de support"));
  EXPECT_EQ(prompts.boites.back().boite, Boite::information);
  EXPECT_TRUE(w->edition_support);
  EXPECT_EQ(dir.size("SUPPORTS.000"), 0u);

  choix(p().SupportsS.liste, "VHS");
  p().ReferenceS->clear();
  prompts.reponses = {Reponse::ok};
  clique("Sok");
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Vous devez renseigner le champ \"Référence\""));
  EXPECT_TRUE(w->edition_support);

  p().ReferenceS->setText(QString::fromUtf8("K7-é"));
  choix(p().QualiteS.liste, "Moyenne");
  tape(p().DureeS, "abc");  // not a number: the lower bound
  tape(p().finS, "20000");  // beyond the range: the upper bound
  p().ObservationS->setPlainText("deux\nlignes");
  clique("Sok");
  EXPECT_FALSE(w->edition_support);
  ASSERT_EQ(dir.size("SUPPORTS.000"), 1004u);
  std::string b = dir.read("SUPPORTS.000");
  EXPECT_EQ(entier(b, 0), 1);
  EXPECT_EQ(texte(b, 4), "VHS");
  EXPECT_EQ(texte(b, 25), "K7-\xe9");
  EXPECT_EQ(texte(b, 46), "Moyenne");
  EXPECT_EQ(texte(b, 87), kToday);
  EXPECT_EQ(entier(b, 98), 1);
  EXPECT_EQ(entier(b, 102), 1);
  EXPECT_EQ(entier(b, 106), 10000);
  EXPECT_EQ(texte(b, 110), "deux\r\nlignes");

  // The first support is selected in the rebuilt tree, so recordings can be added at once.
  Tarbre *arbre = w->arbre();
  EXPECT_EQ(lignes(arbre), (QStringList{"VHS", QString::fromUtf8("K7-é"), "S-VHS",
                                        QString::fromUtf8("Cassette VHS longue durée")}));
  EXPECT_EQ(arbre->selected_line(), 2);
  EXPECT_EQ(w->arbrek7()->line_count(), 1);
  EXPECT_EQ(p().SupportsS.zero->text(), "VHS");
  EXPECT_EQ(p().QualiteS.zero->text(), "Moyenne");
  EXPECT_EQ(p().DureeS->value(), 1);
  EXPECT_EQ(p().finS->value(), 10000);
  EXPECT_TRUE(actif("Eajouter"));
  EXPECT_TRUE(actif("Smodifier"));
  EXPECT_TRUE(actif("arbre"));
}

TEST_F(Browse, AddingInTheSupportGroupingReselectsTheSameLinePosition) {
  dossier([&] {
    support("VHS", "B");
    support("VHS", "D");
  });
  demarre();
  choisit(w->arbre(), 3);  // "D"
  EXPECT_EQ(s.support_courant, 1);
  clique("Sajouter");
  choix(p().SupportsS.liste, "VHS");
  p().ReferenceS->setText("A");
  clique("Sok");
  // "A" sorts first: line 3 now holds "B", which is loaded.
  EXPECT_EQ(lignes(w->arbre()).mid(0, 4), (QStringList{"VHS", "A", "B", "D"}));
  EXPECT_EQ(w->arbre()->selected_line(), 3);
  EXPECT_EQ(s.support_courant, 0);
  EXPECT_EQ(p().ReferenceS->text(), "B");
}

TEST_F(Browse, ALongSupportTypeIsCutAndThenBelongsToNoHeading) {
  dossier([&] { support("VHS", "K7"); });
  demarre();
  clique("Sajouter");
  choix(p().SupportsS.liste, QString::fromUtf8("Cassette VHS longue durée"));
  p().ReferenceS->setText("Long");
  clique("Sok");
  std::string b = dir.read("SUPPORTS.000");
  ASSERT_EQ(b.size(), 2008u);
  EXPECT_EQ(texte(b, 1004 + 4), "Cassette VHS longue ");  // 20 characters
  EXPECT_EQ(ligne(w->arbre(), "Long"), 0);
  groupe(browse::kGroupingReference);
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"K7", "Long"}));

  // Its type is in no list: shown as stored, and a modification must choose a type again.
  choisit(w->arbre(), 2);
  EXPECT_EQ(p().SupportsS.zero->text(), "Cassette VHS longue ");
  clique("Smodifier");
  EXPECT_EQ(p().SupportsS.liste->currentIndex(), -1);
  prompts.reponses = {Reponse::ok};
  clique("Sok");
  EXPECT_EQ(derniere_boite(), message(Msg::type_manquant, 0));
  EXPECT_TRUE(w->edition_support);
}

TEST_F(Browse, ModifyASupportKeepsItsNumberAndCutsLongTexts) {
  dossier([&] {
    support("VHS", "K7");
    support("S-VHS", "Autre");
  });
  demarre();
  EXPECT_EQ(p().SupportsS.zero->text(), "VHS");
  std::string avant = dir.read("SUPPORTS.000").substr(1004);
  clique("Smodifier");
  EXPECT_EQ(p().SupportsS.liste->currentText(), "VHS");  // the stored type is chosen
  choix(p().SupportsS.liste, "S-VHS");
  p().ObservationS->setPlainText(QString(300, QChar(0xE9)));  // 300 times "é"
  tape(p().restantS, " 45 ");
  clique("Sok");
  std::string b = dir.read("SUPPORTS.000");
  ASSERT_EQ(b.size(), 2008u);
  EXPECT_EQ(entier(b, 0), 1);
  EXPECT_EQ(texte(b, 4), "S-VHS");
  EXPECT_EQ(texte(b, 25), "K7");
  EXPECT_EQ(texte(b, 110), std::string(255, '\xe9'));
  EXPECT_EQ(entier(b, 102), 45);
  EXPECT_EQ(b.substr(1004), avant);  // the other support is untouched
  // Grouping "Support": the rebuilt tree is reselected at the same line position, which now
  // holds a heading, so nothing is loaded there.
  EXPECT_EQ(lignes(w->arbre()).mid(0, 5),
            (QStringList{"VHS", "S-VHS", "Autre", "K7", QString::fromUtf8("Cassette VHS longue durée")}));
  EXPECT_EQ(w->arbre()->selected_line(), 2);
  EXPECT_EQ(w->arbrek7()->line_count(), 0);
}

TEST_F(Browse, DeleteASupportWithItsRecordingsAcrossTheFourFiles) {
  dossier([&] {
    int a = support("VHS", "A");
    int b = support("VHS", "B");
    recording(a, "a1");
    recording(b, "b1");
    recording(a, "a2");
    recording(a, "a3");
  });
  demarre();
  choisit(w->arbre(), ligne(w->arbre(), "A"));
  EXPECT_EQ(w->arbrek7()->line_count(), 4);

  prompts.reponses = {Reponse::annuler};
  clique("Ssupprimer");
  EXPECT_EQ(prompts.boites.back().boite, Boite::avertissement);
  EXPECT_EQ(prompts.boites.back().boutons, Boutons::ok_annuler);
  EXPECT_EQ(derniere_boite(), message(Msg::supprimer_support, 0));
  EXPECT_EQ(dir.size("RECORDS.000"), 4 * 1017u);

  prompts.reponses = {Reponse::ok};
  clique("Ssupprimer");
  EXPECT_EQ(dir.size("SUPPORTS.000"), 1004u);
  EXPECT_EQ(texte(dir.read("SUPPORTS.000"), 25), "B");
  EXPECT_EQ(dir.size("RECORDS.000"), 1017u);
  EXPECT_EQ(dir.size("RECORDS1.000"), 246u);
  EXPECT_EQ(dir.size("CT.000"), 3690u);
  EXPECT_EQ(dir.size("AWARD.000"), 870u);
  EXPECT_EQ(texte(dir.read("RECORDS.000"), 8), "b1");
  EXPECT_EQ(lignes(w->arbre()),
            (QStringList{"VHS", "B", "S-VHS", QString::fromUtf8("Cassette VHS longue durée")}));
  // Nothing stale stays current.
  EXPECT_EQ(s.support_courant, -1);
  EXPECT_EQ(s.record_courant, -1);
  EXPECT_TRUE(p().ReferenceS->text().isEmpty());
  EXPECT_EQ(w->arbrek7()->line_count(), 0);
  EXPECT_FALSE(actif("Ssupprimer"));

  // The last support, holding every recording left: both files end empty.
  choisit(w->arbre(), 2);
  prompts.reponses = {Reponse::ok};
  clique("Ssupprimer");
  EXPECT_EQ(dir.size("SUPPORTS.000"), 0u);
  EXPECT_EQ(dir.size("RECORDS.000"), 0u);
  EXPECT_EQ(dir.size("CT.000"), 0u);
  EXPECT_EQ(ligne(w->arbre(), "B"), 0);
}

// ---- recordings ----

TEST_F(Browse, AddTwoRecordingsThroughTheWindowWithTheirChecks) {
  dossier([&] { support("VHS", "K7"); });
  demarre();
  EXPECT_EQ(w->arbre()->selected_line(), 2);  // premier_element
  EXPECT_EQ(s.record_courant, -1);
  onglet(1);
  EXPECT_TRUE(p().TitreE->text().isEmpty());

  for (const char *titre : {"Playtime", "La Strada"}) {
    clique("Eajouter");
    EXPECT_TRUE(w->edition_record);
    EXPECT_EQ(p().AnneeE->value(), 2001);
    EXPECT_EQ(p().DateE->text(), kToday);
    EXPECT_EQ(p().ThemeE.liste->currentIndex(), 0);  // the empty entry
    EXPECT_TRUE(p().ThemeE.liste->isVisible());

    prompts.reponses = {Reponse::ok};
    clique("Eok");
    EXPECT_EQ(derniere_boite(), QString::fromUtf8("Vous devez renseigner le champ \"Titre\""));
    EXPECT_TRUE(w->edition_record);

    p().TitreE->setText(titre);
    QString reference = p().ReferenceE->text();
    p().ReferenceE->clear();
    prompts.reponses = {Reponse::ok};
    clique("Eok");
    EXPECT_EQ(derniere_boite(), message(Msg::reference_record_manquante, 0));
    p().ReferenceE->setText(reference);
    choix(p().ThemeE.liste, "western");
    tape(p().dureeE, "95");
    tape(p().DebutE, "douze");
    clique("Eok");
    EXPECT_FALSE(w->edition_record);
    EXPECT_EQ(page(), 1);
  }

  std::string r = dir.read("RECORDS.000");
  ASSERT_EQ(r.size(), 2 * 1017u);
  EXPECT_EQ(entier(r, 0), 1);
  EXPECT_EQ(entier(r, 4), 1);  // numero of the support
  EXPECT_EQ(texte(r, 8), "Playtime");
  EXPECT_EQ(texte(r, 264), "000001");
  EXPECT_EQ(entier(r, 285), 2001);
  EXPECT_EQ(entier(r, 289), 95);
  EXPECT_EQ(texte(r, 293), "western");
  EXPECT_EQ(entier(r, 539), 1);
  EXPECT_EQ(texte(r, 547), kToday);
  EXPECT_EQ(entier(r, 1017), 2);
  EXPECT_EQ(texte(r, 1017 + 8), "La Strada");
  EXPECT_EQ(texte(r, 1017 + 264), "000002");
  EXPECT_EQ(dir.size("RECORDS1.000"), 2 * 246u);
  EXPECT_EQ(dir.size("CT.000"), 2 * 3690u);
  EXPECT_EQ(dir.size("AWARD.000"), 2 * 870u);

  // The last one stays current and selected "on this support", sorted by title.
  EXPECT_EQ(s.record_courant, 1);
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{"K7", "La Strada", "Playtime"}));
  EXPECT_EQ(w->arbrek7()->selected_line(), 2);
  EXPECT_EQ(p().ThemeE.zero->text(), "western");

  // In the grouping "Thème" the tree is rebuilt after a modification and follows the recording.
  groupe(browse::kGroupingTheme);
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"drame", "western", "La Strada", "Playtime", "non Classé"}));
  choisit(w->arbre(), 4);  // Playtime
  EXPECT_EQ(s.record_courant, 0);
  EXPECT_EQ(page(), 1);
  clique("Emodifier");
  choix(p().ThemeE.liste, "drame");
  clique("Eok");
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"drame", "Playtime", "western", "La Strada", "non Classé"}));
  EXPECT_EQ(w->arbre()->selected_line(), 2);
  EXPECT_EQ(texte(dir.read("RECORDS.000"), 293), "drame");
}

TEST_F(Browse, DeleteARecording) {
  dossier([&] {
    int k = support("VHS", "K7");
    recording(k, "un");
    recording(k, "deux");
  });
  demarre();
  choisit(w->arbrek7(), 2);  // "deux", record 1
  EXPECT_EQ(s.record_courant, 1);
  EXPECT_EQ(page(), 1);
  EXPECT_EQ(p().TitreE->text(), "deux");
  prompts.reponses = {Reponse::ok};
  clique("Esupprimer");
  EXPECT_EQ(derniere_boite(), QString::fromUtf8("Désirez-vous supprimer cet enregistrement ?"));
  EXPECT_EQ(dir.size("RECORDS.000"), 1017u);
  EXPECT_EQ(dir.size("AWARD.000"), 870u);
  EXPECT_EQ(texte(dir.read("RECORDS.000"), 8), "un");
  // The support is shown again with what is left on it.
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{"K7", "un"}));
  EXPECT_EQ(s.record_courant, 0);
  EXPECT_EQ(page(), 0);

  // In a recording grouping nothing is left current: the page goes blank.
  groupe(browse::kGroupingTitle);
  choisit(w->arbre(), 1);
  prompts.reponses = {Reponse::ok};
  clique("Esupprimer");
  EXPECT_EQ(dir.size("RECORDS.000"), 0u);
  EXPECT_EQ(s.record_courant, -1);
  EXPECT_TRUE(p().TitreE->text().isEmpty());
  EXPECT_EQ(w->arbre()->line_count(), 0);
  EXPECT_FALSE(actif("Esupprimer"));
}

TEST_F(Browse, AListValueMissingFromItsListSurvivesAModification) {
  dossier([&] {
    int k = support("VHS", "K7");
    recording(k, "Heat", "policier");
  });
  demarre();
  choisit(w->arbrek7(), 2);
  EXPECT_EQ(p().ThemeE.zero->text(), "policier");
  clique("Emodifier");
  EXPECT_EQ(p().ThemeE.liste->currentText(), "policier");
  p().TitreE->setText("Heat (1995)");
  clique("Eok");
  std::string r = dir.read("RECORDS.000");
  EXPECT_EQ(texte(r, 8), "Heat (1995)");
  EXPECT_EQ(texte(r, 293), "policier");
  // It was only offered for this recording.
  EXPECT_EQ(p().ThemeE.liste->findText("policier"), 2);
  s.record_courant = -1;
  w->ReadDataRecords();
  EXPECT_EQ(p().ThemeE.liste->findText("policier"), -1);
}

TEST_F(Browse, ARecordingWhoseSupportIsGoneCanStillBeShownAndDeleted) {
  dossier([&] {
    int k = support("VHS", "K7");
    recording(k, "normal");
    int o = recording(k, "orphelin");
    s.ouvre_records();
    s.lit_record(o);
    s.record.set_numero_support(99);
    s.ecrit_record(o);
    s.ferme_records();
  });
  demarre();
  groupe(browse::kGroupingTitle);
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"normal", "orphelin"}));
  choisit(w->arbre(), 2);
  EXPECT_EQ(s.record_courant, 1);
  EXPECT_EQ(s.support_courant, -1);
  EXPECT_EQ(page(), 1);
  EXPECT_EQ(p().TitreE->text(), "orphelin");
  EXPECT_TRUE(p().ReferenceS->text().isEmpty());
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{QString::fromUtf8("non Classé"), "orphelin"}));
  EXPECT_EQ(w->arbrek7()->selected_line(), 2);
  EXPECT_FALSE(actif("Eajouter"));  // no support to add to
  prompts.reponses = {Reponse::ok};
  clique("Esupprimer");
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"normal"}));
}

// ---- trees ----

TEST_F(Browse, GroupingsHeadingsAndTheSupportTree) {
  dossier([&] {
    int a = support("S-VHS", "A");
    int b = support("VHS", "B");
    recording(b, "Zorro", "western");
    recording(a, "avant", "");
    recording(b,
              "z\xe8"
              "bre",
              "inconnu");
  });
  demarre();
  // Grouping "Support", first support line loaded.
  EXPECT_EQ(lignes(w->arbre()),
            (QStringList{"VHS", "B", "S-VHS", "A", QString::fromUtf8("Cassette VHS longue durée")}));
  EXPECT_EQ(w->arbre()->selected_line(), 2);
  EXPECT_EQ(s.support_courant, 1);
  EXPECT_EQ(s.record_courant, 0);  // first of the support in file order
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{"B", QString::fromUtf8("zèbre"), "Zorro"}));
  EXPECT_EQ(page(), 0);

  // A heading empties "on this support" and changes nothing else.
  choisit(w->arbre(), 3);
  EXPECT_EQ(w->arbrek7()->line_count(), 0);
  EXPECT_EQ(s.support_courant, 1);

  groupe(browse::kGroupingTheme);
  EXPECT_EQ(lignes(w->arbre()),
            (QStringList{"drame", "western", "Zorro", QString::fromUtf8("non Classé"), "avant"}));
  EXPECT_EQ(w->arbre()->selected_line(), 3);  // premier_element
  EXPECT_EQ(s.record_courant, 0);
  EXPECT_EQ(s.support_courant, 1);
  EXPECT_EQ(page(), 1);

  // Choosing the support line of "on this support" shows the support page; a recording line
  // shows it and follows it in the recording grouping.
  choisit(w->arbrek7(), 1);
  EXPECT_EQ(page(), 0);
  choisit(w->arbrek7(), 2);  // zèbre: not under any theme heading
  EXPECT_EQ(s.record_courant, 2);
  EXPECT_EQ(page(), 1);
  EXPECT_EQ(w->arbre()->selected_line(), 3);  // unchanged: no line for it
  choisit(w->arbrek7(), 3);
  EXPECT_EQ(s.record_courant, 0);

  groupe(browse::kGroupingReference);
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"A", "B"}));
  EXPECT_EQ(w->arbre()->selected_line(), 1);  // line 1 is an item here
  EXPECT_EQ(s.support_courant, 0);
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{"A", "avant"}));
}

TEST_F(Browse, EnglishUnclassifiedHeadingAndTheTreeIndexPreference) {
  store::TDataConfig c = store::config_defaut(s);
  c.set_index_arbre(3);
  store::ecrit_config(s, c);
  dossier([&] {
    int k = support("VHS", "K7");
    recording(k, "Titre");
  });
  demarre(1);
  EXPECT_EQ(lignes(w->arbrek7()), (QStringList{"K7", "R - Titre"}));
  groupe(browse::kGroupingGenre);
  EXPECT_EQ(lignes(w->arbre()), (QStringList{"not classified", "R - Titre"}));
}

TEST_F(Browse, LocaliseElementShowsTheChosenRecordingInBothTrees) {
  dossier([&] {
    int a = support("VHS", "A");
    int b = support("VHS", "B");
    recording(a, "a1");
    recording(b, "b1");
    recording(b, "b2");
  });
  demarre();
  groupe(browse::kGroupingTitle);
  s.support_courant = 1;
  s.record_courant = 2;
  w->localise_element(true);
  EXPECT_EQ(w->findChild<QComboBox *>("rubrique")->currentIndex(), browse::kGroupingReference);
  EXPECT_EQ(w->arbre()->selected_line(), 2);
  EXPECT_EQ(w->arbrek7()->selected_line(), 3);
  EXPECT_EQ(s.record_courant, 2);
  EXPECT_EQ(p().TitreE->text(), "b2");
  EXPECT_EQ(p().ReferenceS->text(), "B");
  EXPECT_EQ(page(), 1);

  s.support_courant = 0;
  w->localise_element(false);
  EXPECT_EQ(w->arbre()->selected_line(), 1);
  EXPECT_EQ(page(), 0);
  EXPECT_EQ(p().ReferenceS->text(), "A");
}

// ---- reference lists and dates ----

TEST_F(Browse, ListEditorRenameReachesDataPagesListsAndTree) {
  dossier([&] {
    int k = support("VHS", "K7");
    recording(k, "Heat", "drame");
  });
  demarre();
  groupe(browse::kGroupingTheme);
  choisit(w->arbre(), 2);
  ASSERT_EQ(p().ThemeE.zero->text(), "drame");
  prompts.dialogues = {[](QDialog &d) {
    auto &editeur = dynamic_cast<TParametres &>(d);
    EXPECT_EQ(editeur.list_kind(), 1);
    editeur.List()->setCurrentRow(0);
    editeur.Edit1Enter();
    editeur.Edit1()->setText(QString::fromUtf8("Drame psychologique"));
    editeur.Edit1Exit();
    editeur.addClick();
    editeur.Edit1Enter();
    editeur.Edit1()->setText("policier");
    editeur.Edit1Exit();
    editeur.ok()->click();
  }};
  declenche("Paramtres1_mb");
  EXPECT_EQ(texte(dir.read("RECORDS.000"), 293), "Drame psychologique");
  EXPECT_EQ(p().ThemeE.zero->text(), "Drame psychologique");
  EXPECT_EQ(p().ThemeE.liste->findText("drame"), -1);
  EXPECT_EQ(p().ThemeE.liste->findText("policier"), 2);
  // Headings in the order the editor saved: the added entry first.
  EXPECT_EQ(lignes(w->arbre()).mid(0, 3), (QStringList{"policier", "Drame psychologique", "Heat"}));
  EXPECT_EQ(w->arbre()->selected_line(), 3);  // reselected
  EXPECT_EQ(s.record_courant, 0);

  // The support type list from the menu: kind 8, and the support page follows a rename.
  prompts.dialogues = {[](QDialog &d) {
    auto &editeur = dynamic_cast<TParametres &>(d);
    EXPECT_EQ(editeur.list_kind(), 8);
    editeur.ok()->click();
  }};
  declenche("Supports1");
}

TEST_F(Browse, DateButtonPlacesThePickerAndFillsTheField) {
  qputenv("TAPEMOOR_SLANGUAGE", "FRA");
  dossier([&] { support("VHS", "K7"); });
  demarre();
  clique("Smodifier");
  p().dateS->setText("31/01/2000");
  QPoint attendu = w->findChild<QWidget *>("Panel3")->mapToGlobal(
                       p().dateSbtn->mapTo(w->findChild<QWidget *>("Panel3"), QPoint(0, 0))) -
                   QPoint(190, 0);
  prompts.dialogues = {[&](QDialog &d) {
    auto &cal = dynamic_cast<TPerpetualCalendarDlg &>(d);
    EXPECT_EQ(cal.value(), (CalendarDate{31, 1, 2000}));
    EXPECT_EQ(d.pos(), attendu);
    cal.month_box()->setCurrentIndex(1);  // February: the day comes down to 29
    cal.ok_button()->click();
  }};
  clique("dateSbtn");
  EXPECT_EQ(w->dernier_calendrier(), attendu);
  EXPECT_EQ(p().dateS->text(), "29/02/2000");

  // Cancel leaves the field; an unreadable date starts the picker elsewhere but stays as typed.
  p().dateS->setText("99/99/9999");
  prompts.dialogues = {[](QDialog &d) { dynamic_cast<TPerpetualCalendarDlg &>(d).cancel_button()->click(); }};
  clique("dateSbtn");
  EXPECT_EQ(p().dateS->text(), "99/99/9999");
  clique("Sok");
  EXPECT_EQ(texte(dir.read("SUPPORTS.000"), 87), "99/99/9999");

  // Month-first regions show the picker month first; the field stays day first.
  qputenv("TAPEMOOR_SLANGUAGE", "ENU");
  onglet(1);
  clique("Eajouter");
  p().DateE->setText("05/03/1999");
  prompts.dialogues = {[](QDialog &d) {
    auto &cal = dynamic_cast<TPerpetualCalendarDlg &>(d);
    EXPECT_EQ(cal.value(), (CalendarDate{5, 3, 1999}));
    cal.year_box()->setValue(2004);
    cal.ok_button()->click();
  }};
  clique("dateEbtn");
  EXPECT_EQ(p().DateE->text(), "05/03/2004");
  qunsetenv("TAPEMOOR_SLANGUAGE");
}

}  // namespace
