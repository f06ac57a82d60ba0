#include "page_logic.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

using namespace browse;

namespace {

TEST(PageLogic, NumberFieldsReadTextAsTheirBoundsWouldShowIt) {
  EXPECT_EQ(valeur_saisie("120", kDureeS), 120);
  EXPECT_EQ(valeur_saisie("  42 ", kDureeS), 42);
  EXPECT_EQ(valeur_saisie("+7", kDureeS), 7);
  // Not a number: the lower bound.
  for (const char *t : {"", " ", "abc", "12abc", "1 2", "1.5", "-", "0x10", "\xe9"})
    EXPECT_EQ(valeur_saisie(t, kFinS), 1) << t;
  // Numbers outside the range: the nearest bound, however long.
  EXPECT_EQ(valeur_saisie("0", kDureeS), 1);
  EXPECT_EQ(valeur_saisie("-5", kAnneeE), 1);
  EXPECT_EQ(valeur_saisie("1001", kDureeS), 1000);
  EXPECT_EQ(valeur_saisie("10001", kFinE), 10000);
  EXPECT_EQ(valeur_saisie("99999999999999999999999", kAnneeE), 3000);
  EXPECT_EQ(valeur_saisie("-99999999999999999999999", kAnneeE), 1);

  // A new support's numbers are 0 in the buffer and show as 1.
  EXPECT_EQ(valeur_affichee(0, kRestantS), 1);
  EXPECT_EQ(valeur_affichee(2001, kAnneeE), 2001);
  EXPECT_EQ(valeur_affichee(-2147483648LL, kDebutE), 1);
  EXPECT_EQ(valeur_affichee(2147483647LL, kDebutE), 10000);
}

TEST(PageLogic, AwardLinesSkipNamelessSlotsAndJoinWhatIsThere) {
  store::TDataRecompense r;
  r.set_recompense(1, "Oscar");
  r.set_categorie(1, "Meilleur film");
  r.set_annee_recompense(1, "1955");
  r.set_categorie(2, "orphan category");  // no name: not shown
  r.set_recompense(3, "C\xe9sar");
  r.set_annee_recompense(3, "1990");
  r.set_recompense(10, "Lion d'or");
  r.set_categorie(10, "Film");
  EXPECT_EQ(prix_lignes(r), (std::vector<std::string>{"Oscar : Meilleur film - 1955", "C\xe9sar - 1990",
                                                      "Lion d'or : Film"}));
  EXPECT_TRUE(prix_lignes(store::TDataRecompense{}).empty());
}

TEST(PageLogic, ValidationChecksInTheirOrder) {
  EXPECT_EQ(verifie_support("", ""), Refus::type);
  EXPECT_EQ(verifie_support("", "K7"), Refus::type);
  EXPECT_EQ(verifie_support("VHS", ""), Refus::reference);
  EXPECT_EQ(verifie_support("VHS", "K7"), Refus::aucun);
  EXPECT_EQ(verifie_record("", ""), Refus::titre);
  EXPECT_EQ(verifie_record("Titre", ""), Refus::reference);
  EXPECT_EQ(verifie_record(" ", "x"), Refus::aucun);  // a blank is a text, as typed
}

TEST(PageLogic, SelectionListsSortAndSelectExactly) {
  std::vector<std::string> fichier{"western",
                                   "Com\xe9"
                                   "die",
                                   "action", "drame", "Action"};
  ContenuListe c = contenu_liste(fichier, true, "drame", false);
  // Letter case decides only between otherwise equal texts.
  EXPECT_EQ(c.entrees, (std::vector<std::string>{"", "Action", "action",
                                                 "Com\xe9"
                                                 "die",
                                                 "drame", "western"}));
  EXPECT_EQ(c.choisie, 4);
  // Exact comparison, case included.
  EXPECT_EQ(contenu_liste(fichier, true, "action", false).choisie, 2);
  EXPECT_EQ(contenu_liste(fichier, true, "DRAME", false).choisie, 0);
  // Without an empty entry (support types) nothing is selected.
  ContenuListe types = contenu_liste({"VHS", "Betamax"}, false, "Laser", false);
  EXPECT_EQ(types.entrees, (std::vector<std::string>{"Betamax", "VHS"}));
  EXPECT_EQ(types.choisie, -1);
  EXPECT_EQ(contenu_liste({"VHS"}, false, "", false).choisie, -1);
}

TEST(PageLogic, AValueMissingFromItsListIsKeptAsAnEntryOfItsOwn) {
  ContenuListe c = contenu_liste({"drame", "western"}, true, "policier", true);
  EXPECT_EQ(c.entrees, (std::vector<std::string>{"", "drame", "policier", "western"}));
  EXPECT_EQ(c.choisie, 2);
  // Only a non-empty missing value is added; a listed one is not added twice.
  EXPECT_EQ(contenu_liste({"drame"}, true, "", true).entrees.size(), 2u);
  EXPECT_EQ(contenu_liste({"drame"}, true, "drame", true).entrees.size(), 2u);
}

TEST(PageLogic, TreeLineTargets) {
  TreeLine heading{1, "", "", "VHS"};
  TreeLine k7{2, "k7imgouta", "000004", "K7-4"};
  TreeLine film{1, "filmimg", "000012", "Playtime"};
  EXPECT_EQ(cible_ligne(0, kGroupingSupport, nullptr), Cible{});
  EXPECT_EQ(cible_ligne(1, kGroupingSupport, &heading), Cible{});
  EXPECT_EQ(cible_ligne(2, kGroupingSupport, &k7), (Cible{Cible::support, 4}));
  // Line 1 is an item only in "Référence" and "Titre".
  EXPECT_EQ(cible_ligne(1, kGroupingTitle, &film), (Cible{Cible::record, 12}));
  EXPECT_EQ(cible_ligne(1, kGroupingReference, &k7), (Cible{Cible::support, 4}));
  EXPECT_EQ(cible_ligne(1, kGroupingTheme, &film), Cible{});
  EXPECT_EQ(cible_ligne(3, kGroupingTheme, &heading), Cible{});
}

TEST(PageLogic, ReselectionFindsTheRightKindOfLine) {
  std::vector<TreeLine> lines{{1, "", "", "A"},
                              {2, "filmimg", "000003", "x"},
                              {1, "", "", "B"},
                              {2, "k7img", "000005", "k"},
                              {2, "filmimg", "000005", "y"},
                              {2, "filmimg", "000005", "y again"}};
  EXPECT_EQ(ligne_de(lines, true, 5), 5);  // the recording, not the support with that number
  EXPECT_EQ(ligne_de(lines, false, 5), 4);
  EXPECT_EQ(ligne_de(lines, false, 3), 0);
  EXPECT_EQ(ligne_de(lines, true, -1), 0);
  EXPECT_EQ(premiere_ligne(lines), 2);
  EXPECT_EQ(premiere_ligne({{1, "", "", "A"}, {1, "", "", "B"}}), 0);
  EXPECT_EQ(premiere_ligne({}), 0);
}

TEST(PageLogic, SupportOfANumberIsTheFirstCarryingIt) {
  TempDir dir;
  Catalogue c(dir.path());
  store::Store &s = c.store;
  c.dossier("T");
  for (int numero : {7, 9, 9}) c.support("VHS", "K7", [numero](store::TDataSupport &sup) { sup.set_numero(numero); });
  EXPECT_EQ(support_de_numero(s, 9), 1);
  EXPECT_EQ(support_de_numero(s, 7), 0);
  EXPECT_EQ(support_de_numero(s, 8), -1);
}

}  // namespace
