#include "mainform_logic.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "store.h"
#include "temp_dir.h"

using namespace shell;
using namespace std::string_literals;

namespace {

// The window test checks the 640 x 480 floor and the 425-pixel panel.
TEST(PlaceControles, RightPanelGrowsByHalfTheWidthBeyond640) {
  EXPECT_EQ(place_controles(641, 700).panel3, 425);  // truncated
  EXPECT_EQ(place_controles(1040, 700).panel3, 625);
}

class DossierLogic : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
};

TEST_F(DossierLogic, TitleChecksAndChooser) {
  c.dossier("Films").dossier("").dossier(std::string(40, 'A'));
  s.ferme_dossier();
  EXPECT_EQ(titres_dossiers(s), (std::vector<std::string>{"Films", std::string(40, 'A')}));
  EXPECT_EQ(valide_dossier(s, ""), ValidationDossier::titre_vide);
  EXPECT_EQ(valide_dossier(s, "Films"), ValidationDossier::titre_existant);
  EXPECT_EQ(valide_dossier(s, "FILMS"), ValidationDossier::ok);  // exact comparison
  // A longer title would be stored cut to 40 and duplicate the third dossier.
  EXPECT_EQ(valide_dossier(s, std::string(45, 'A')), ValidationDossier::titre_existant);
  s.ouvre_dossier(0);  // modifying dossier 0: its own title is no duplicate
  EXPECT_EQ(valide_dossier(s, "Films"), ValidationDossier::ok);
}

// The window test covers a wrong and a right password and a dossier without one.
TEST_F(DossierLogic, OpeningTakesTheLastCaseBlindMatchAndAWrongPasswordKeepsTheOpenDossier) {
  c.dossier("Films")
      .dossier("films",
               [](store::TDataDossier &d) {
                 d.set_code("secret");
                 d.set_son("/ouvre.wav");
               })
      .dossier("Autre", [](store::TDataDossier &d) { d.set_code("x"); });
  s.ferme_dossier();
  ResultatOuverture r = ouvre_dossier(s, "FILMS", [] { return std::string("secret"); });
  EXPECT_EQ(std::tuple(r.etat, r.son, s.dossier_courant()), std::tuple(Ouverture::ouvert, "/ouvre.wav"s, 1));
  // The open dossier stays open, its buffer included.
  EXPECT_EQ(ouvre_dossier(s, "Autre", [] { return std::string("y"); }).etat, Ouverture::code_incorrect);
  EXPECT_EQ(std::pair(s.dossier_courant(), s.dossier().titre()), std::pair(1, "films"s));
  EXPECT_EQ(ouvre_dossier(s, "absent", [] { return std::string(); }).etat, Ouverture::introuvable);
}

}  // namespace
