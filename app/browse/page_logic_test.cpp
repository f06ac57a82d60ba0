#include "page_logic.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

using namespace browse;

namespace {

TEST(PageLogic, NumberFieldsReadTextAsTheirBoundsWouldShowIt) {
  constexpr Bornes b{5, 1000};  // a lower bound other than 1 shows which bound junk reads as
  EXPECT_EQ(valeur_saisie("120", b), 120);
  EXPECT_EQ(valeur_saisie("  42 ", b), 42);
  EXPECT_EQ(valeur_saisie("+7", b), 7);
  // Not a number, or below the range however long: the lower bound.
  for (const char *t :
       {"", " ", "abc", "12abc", "1 2", "1.5", "-", "0x10", "\xe9", "0", "-50", "-99999999999999999999"})
    EXPECT_EQ(valeur_saisie(t, b), 5) << t;
  for (const char *t : {"1001", "99999999999999999999999"}) EXPECT_EQ(valeur_saisie(t, b), 1000) << t;
  // A new support's numbers are 0 in the buffer and show as the lower bound.
  EXPECT_EQ(valeur_affichee(0, kRestantS), 1);
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
}

// The refusals themselves go through the commands; here the checks' order and what counts as given.
TEST(PageLogic, ValidationTakesABlankAsGivenAndTheTitleFirst) {
  EXPECT_EQ(verifie_support(" ", " "), Refus::aucun);
  EXPECT_EQ(verifie_record(" ", "x"), Refus::aucun);
  EXPECT_EQ(verifie_record("", ""), Refus::titre);
}

TEST(PageLogic, SelectionListsSortAndSelectExactly) {
  const std::vector<std::string> themes{"western", "Com\351die", "action", "drame", "Action"};
  // Letter case decides only between otherwise equal texts; the selection compares exactly.
  const std::vector<std::string> tries{"", "Action", "action", "Com\351die", "drame", "western"};
  EXPECT_EQ(contenu_liste(themes, true, "drame", false), (ContenuListe{tries, 4}));
  EXPECT_EQ(contenu_liste(themes, true, "action", false), (ContenuListe{tries, 2}));
  EXPECT_EQ(contenu_liste(themes, true, "DRAME", false), (ContenuListe{tries, 0}));
  // Without an empty entry (support types) nothing is selected.
  EXPECT_EQ(contenu_liste({"VHS", "Betamax"}, false, "Laser", false), (ContenuListe{{"Betamax", "VHS"}, -1}));
  EXPECT_EQ(contenu_liste({"VHS"}, false, "", false), (ContenuListe{{"VHS"}, -1}));
  // A value missing from its list is kept as an entry of its own, only when not empty, and not twice.
  EXPECT_EQ(contenu_liste({"drame", "western"}, true, "policier", true),
            (ContenuListe{{"", "drame", "policier", "western"}, 2}));
  EXPECT_EQ(contenu_liste({"drame"}, true, "", true), (ContenuListe{{"", "drame"}, 0}));
  EXPECT_EQ(contenu_liste({"drame"}, true, "drame", true), (ContenuListe{{"", "drame"}, 1}));
}

// The commands test the lines a user chooses; here the lines they never reach that way.
TEST(PageLogic, TreeLineEdgeCases) {
  TreeLine heading{1, "", "", "VHS"};
  TreeLine film{1, "filmimg", "000005", "Playtime"};
  EXPECT_EQ(cible_ligne(2, kGroupingSupport, nullptr), Cible{});
  EXPECT_EQ(cible_ligne(1, kGroupingTheme, &film), Cible{});  // line 1 counts as a heading there
  EXPECT_EQ(cible_ligne(3, kGroupingTheme, &heading), Cible{});

  std::vector<TreeLine> lines{heading, {2, "k7img", "000005", "k"}, film, film};
  // The recording, not the support with that number, and the first of two; none for others.
  EXPECT_EQ((std::vector{ligne_de(lines, true, 5), ligne_de(lines, false, 5), ligne_de(lines, false, 3),
                         ligne_de(lines, true, -1)}),
            (std::vector{3, 2, 0, 0}));
  EXPECT_EQ(premiere_ligne({heading, heading}), 0);
}

TEST(PageLogic, SupportOfANumberIsTheFirstCarryingIt) {
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("T");
  for (int numero : {7, 9, 9})
    c.support("VHS", "K7", [numero](store::TDataSupport &sup) { sup.set_numero(numero); });
  EXPECT_EQ(support_de_numero(c.store, 9), 1);
}

}  // namespace
