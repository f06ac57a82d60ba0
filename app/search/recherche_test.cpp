// The search window through its controls: criteria built and deleted, no hit, query files.
#include "recherche.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "catalogue.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

using namespace search;
using ui::Reponse;

namespace {

class FenetreRecherche : public ::testing::Test {
 protected:
  void SetUp() override {
    c.liste(1, {"Polar", "Drame"}).dossier("Un").support("VHS", "K7-1").record("Heat");
    w.show();
  }
  void TearDown() override { prompts.attend_tout_consomme(); }

  // Field, value, operator and link chosen as a user does, then the add button.
  void ajoute(const char *champ, const char *valeur, const char *op = "=", const char *lien = "et") {
    w.champs->setCurrentText(QString::fromUtf8(champ));
    w.donnee_liste->isVisible() ? w.donnee_liste->setCurrentText(valeur) : w.donnee_texte->setText(valeur);
    w.operateurs->setCurrentText(op), w.liens->setCurrentText(lien);
    w.BitBtn4->click();
  }
  // The rows of a list or combo box, '|' between them.
  static std::string textes(const QAbstractItemModel *m) {
    QStringList t;
    for (int i = 0; i < m->rowCount(); ++i) t << m->index(i, 0).data().toString();
    return t.join('|').toStdString();
  }
  std::string lignes() const { return textes(w.selec->model()); }

  TempDir dir;
  Catalogue c{dir.path()};
  EtatRecherche etat;
  ui::ScriptedPrompts prompts;
  Trecherche w{c.store, etat, prompts, 0};
};

TEST_F(FenetreRecherche, EachFieldShowsOneValueControlAndTheOperatorsOfItsValue) {
  // (field, value, shown in the list, the list's items, operators offered)
  const std::tuple<const char *, const char *, bool, std::string, std::string> kCas[] = {
      {"Thème de l'enregistrement", "Polar", true, "Drame|Polar", "="},
      {"Emprunté", "Oui", true, "Non|Oui", "="},
      {"Année de l'enregistrement", " 1.5e3", false, "", "=|>|<|>=|<="},
      {"Année de l'enregistrement", "1990 ", false, "", "="}};
  for (const auto &[champ, valeur, liste, items, ops] : kCas) {
    w.champs->setCurrentText(QString::fromUtf8(champ));
    const std::string vus = textes(w.donnee_liste->model());
    liste ? w.donnee_liste->setCurrentText(valeur) : w.donnee_texte->setText(valeur);
    EXPECT_EQ(std::tuple(w.donnee_liste->isVisible(), w.donnee_texte->isVisible(), vus,
                         textes(w.operateurs->model())),
              std::tuple(liste, !liste, items, ops))
        << champ;
  }
}

TEST_F(FenetreRecherche, AddAndDeleteAskFirstAndKeepTheLinesInStep) {
  EXPECT_FALSE(w.BitBtn4->isEnabled());
  ajoute("Titre de l'enregistrement", "Heat");
  ajoute("Thème de l'enregistrement", "Polar", "=", "ou");
  ajoute("Année de l'enregistrement", "1990", ">=");
  EXPECT_EQ(lignes(),
            "    Titre de l'enregistrement = Heat|ou Thème de l'enregistrement = Polar|"
            "et Année de l'enregistrement >= 1990");
  // (line selected, answer: -1 none asked, lines left)
  const std::tuple<int, int, int> kPas[] = {
      {-1, -1, 3}, {0, int(Reponse::annuler), 3}, {0, int(Reponse::ok), 2}};
  for (const auto &[ligne, reponse, reste] : kPas) {
    w.selec->setCurrentRow(ligne);
    if (reponse >= 0) prompts.reponses = {Reponse(reponse)};
    w.BitBtn5->click();
    EXPECT_EQ(w.selec->count(), reste) << ligne;
  }
  EXPECT_EQ(lignes(), "    Thème de l'enregistrement = Polar|et Année de l'enregistrement >= 1990");
  prompts.reponses = {Reponse::ok};
  w.BitBtn6->click();
  EXPECT_EQ(std::tuple(w.selec->count(), w.BitBtn5->isEnabled(), nombre_criteres(w.travail())),
            std::tuple(0, false, 0));
}

TEST_F(FenetreRecherche, ASearchWithoutHitsSaysSoAndStaysOpen) {
  ajoute("Titre de l'enregistrement", "heat");  // exact case only
  prompts.reponses = {Reponse::ok};
  w.BitBtn2->click();
  EXPECT_EQ(std::tuple(prompts.boites.size(), w.isVisible(), etat.resultats_voulus),
            std::tuple(1u, true, false));
}

TEST_F(FenetreRecherche, AQuerySavedClearedAndOpenedComesBackWhole) {
  ajoute("Titre de l'enregistrement", "Heat");
  ajoute("Année de l'enregistrement", "1990", ">", "ou");
  const auto avant = std::tuple(lignes(), w.travail().bytes);
  const QString fichier = QString::fromStdString(dir.file("mes films.req"));
  prompts.fichiers = {fichier, QString::fromStdString(dir.file("absent.req")), fichier};
  w.dossier_ok->click();
  w.BitBtn3->click();
  w.image_fichier->click();  // a missing file: nothing
  EXPECT_EQ(lignes(), "");
  w.image_fichier->click();
  EXPECT_EQ(std::tuple(lignes(), w.travail().bytes), avant);
}

}  // namespace
