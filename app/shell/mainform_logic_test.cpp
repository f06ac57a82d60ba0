#include "mainform_logic.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"
#include "store.h"

using namespace shell;

namespace {

TEST(PlaceControles, NeverBelow640By480AndRightPanelGrowsByHalf) {
  Disposition d = place_controles(500, 300);
  EXPECT_EQ(d.largeur, 640);
  EXPECT_EQ(d.hauteur, 480);
  EXPECT_EQ(d.panel3, 425);
  EXPECT_EQ(place_controles(641, 700).panel3, 425);  // truncated
  EXPECT_EQ(place_controles(1040, 700).panel3, 625);
}

class DossierLogic : public ::testing::Test {
 protected:
  void ajoute(const std::string &titre, const std::string &code = "", const std::string &son = "") {
    c.dossier(titre, [&](store::TDataDossier &d) {
      d.set_code(code);
      d.set_son(son);
    });
    s.ferme_dossier();
  }
  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
};

TEST_F(DossierLogic, TitleChecksChooserAndHelpFile) {
  ajoute("Films");
  ajoute("");
  ajoute(std::string(40, 'A'));
  EXPECT_EQ(titres_dossiers(s), (std::vector<std::string>{"Films", std::string(40, 'A')}));
  EXPECT_EQ(valide_dossier(s, ""), ValidationDossier::titre_vide);
  EXPECT_EQ(valide_dossier(s, "Films"), ValidationDossier::titre_existant);
  EXPECT_EQ(valide_dossier(s, "FILMS"), ValidationDossier::ok);  // exact comparison
  // A longer title would be stored cut to 40 and duplicate the third dossier.
  EXPECT_EQ(valide_dossier(s, std::string(45, 'A')), ValidationDossier::titre_existant);
  s.ouvre_dossier(0);  // modifying dossier 0: its own title is no duplicate
  EXPECT_EQ(valide_dossier(s, "Films"), ValidationDossier::ok);
  // The window tests open only the English help file.
  EXPECT_EQ(fichier_aide(s, 0), dir.path() + "/DOCFR.HLP");
}

TEST_F(DossierLogic, OpeningTakesTheLastCaseBlindMatchAndChecksThePassword) {
  ajoute("Films");
  ajoute("films", "secret", "/snd/ouvre.wav");
  int demandes = 0;
  auto mauvais = [&] { ++demandes; return std::string("faux"); };
  ResultatOuverture r = ouvre_dossier(s, "FILMS", mauvais);
  EXPECT_EQ(r.etat, Ouverture::code_incorrect);
  EXPECT_EQ(demandes, 1);
  EXPECT_EQ(s.dossier_courant(), -1);

  r = ouvre_dossier(s, "Films", [] { return std::string("secret"); });
  EXPECT_EQ(r.etat, Ouverture::ouvert);
  EXPECT_EQ(r.son, "/snd/ouvre.wav");
  EXPECT_EQ(s.dossier_courant(), 1);
  EXPECT_EQ(s.dossier().titre(), "films");

  // A wrong password while a dossier is open leaves it open, buffer included.
  ajoute("Autre", "x");
  s.ouvre_dossier(1);
  r = ouvre_dossier(s, "Autre", [] { return std::string("y"); });
  EXPECT_EQ(r.etat, Ouverture::code_incorrect);
  EXPECT_EQ(s.dossier_courant(), 1);
  EXPECT_EQ(s.dossier().titre(), "films");
  EXPECT_EQ(ouvre_dossier(s, "absent", mauvais).etat, Ouverture::introuvable);
}

}  // namespace
