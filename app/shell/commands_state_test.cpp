#include "commands_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace shell;

namespace {

// The names whose flag is on.
std::set<std::string> actifs(const EtatFenetre &e) {
  EtatCommandes c = etat_commandes(e);
  std::set<std::string> on;
  for (const EtatCible &cible : etat_cibles())
    if (c.*cible.actif) on.insert(cible.nom);
  return on;
}

const std::set<std::string> kNavigation = {
    "fichierM",      "aideM",         "ouvre_dossier_me", "modifier_dossier_me",
    "fermer_dossier_me", "supprimer_dossier_me", "parametresM", "supportsM",
    "RechercheM",    "statistiquesM", "editionsM",        "PlanningM",
    "dossier_bt",    "recherche_bt",  "statistiques_bt",  "editions_bt",
    "echeancier_bt", "parametres_bt", "rubrique",         "arbre",
    "arbrek7",       "TabSet1"};

std::set<std::string> plus(std::set<std::string> a, const std::set<std::string> &b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(EtatCommandes, NoDossierLeavesOnlyFileHelpAndTheOpenButton) {
  EtatFenetre e;
  e.types_support = 4;  // lists do not matter without a dossier
  e.resultats = 2;
  EXPECT_EQ(actifs(e), (std::set<std::string>{"fichierM", "aideM", "ouvre_dossier_me",
                                              "creer_dossier_me", "dossier_bt", "TabSet1"}));
}

TEST(EtatCommandes, BrowsingWithNothingCurrent) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  EXPECT_EQ(actifs(e), kNavigation);  // "Créer" off: a dossier must be closed first
}

TEST(EtatCommandes, BrowsingWithSupportRecordAndHits) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  e.support_courant = e.record_courant = true;
  e.record_affiche = true;
  e.lignes_arbrek7 = 3;
  e.types_support = 2;
  e.resultats = 5;
  EXPECT_EQ(actifs(e),
            plus(kNavigation, {"Sajouter", "Ssupprimer", "Smodifier", "Eajouter", "Esupprimer",
                               "Emodifier", "ficheM", "ficheMB3", "generiqueM", "generiqueMB3",
                               "generique_bt", "photo_bt", "ResultatM", "resultat_bt"}));
  e.record_affiche = false;
  e.record_video = true;
  std::set<std::string> on = actifs(e);
  EXPECT_TRUE(on.count("video_bt"));
  EXPECT_FALSE(on.count("photo_bt"));
}

TEST(EtatCommandes, PosterAndVideoNeedACurrentRecording) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  e.record_affiche = e.record_video = true;  // stale buffer of no current recording
  std::set<std::string> on = actifs(e);
  for (const char *n : {"photo_bt", "video_bt", "generique_bt", "ficheM", "generiqueM"})
    EXPECT_FALSE(on.count(n)) << n;
}

TEST(EtatCommandes, EditingASupportLocksEverythingButHelpAndItsOwnButtons) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  e.edition_support = true;
  e.support_courant = e.record_courant = true;
  e.lignes_arbrek7 = 3;
  e.types_support = 2;
  e.resultats = 1;
  // The dossier items stay on inside their disabled menu; the recording bar follows its own
  // rows (it is hidden while the support page shows).
  EXPECT_EQ(actifs(e), (std::set<std::string>{"aideM", "ouvre_dossier_me", "modifier_dossier_me",
                                              "fermer_dossier_me", "supprimer_dossier_me", "Sok",
                                              "Sprete", "Semprunte", "Eajouter", "Esupprimer",
                                              "Emodifier"}));
}

TEST(EtatCommandes, EditingARecording) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  e.edition_record = true;
  e.support_courant = e.record_courant = true;
  e.lignes_arbrek7 = 1;
  e.types_support = 1;
  EXPECT_EQ(actifs(e), (std::set<std::string>{"aideM", "ouvre_dossier_me", "modifier_dossier_me",
                                              "fermer_dossier_me", "supprimer_dossier_me",
                                              "Sajouter", "Ssupprimer", "Smodifier", "Eok",
                                              "Eaffiche", "Evideo", "Egenerique",
                                              "Erecompenses"}));
}

TEST(EtatCommandes, EmptySupportTreeOrTypeListDisablesTheBarButtons) {
  EtatFenetre e;
  e.dossier_ouvert = true;
  e.support_courant = e.record_courant = true;
  e.lignes_arbrek7 = 0;
  e.types_support = 0;
  std::set<std::string> on = actifs(e);
  for (const char *n : {"Sajouter", "Ssupprimer", "Smodifier", "Eajouter", "Esupprimer", "Emodifier"})
    EXPECT_FALSE(on.count(n)) << n;
  e.types_support = 1;
  EXPECT_TRUE(actifs(e).count("Sajouter"));
}

TEST(EtatCommandes, EveryTargetNameIsDistinct) {
  std::set<std::string> noms;
  for (const EtatCible &c : etat_cibles()) EXPECT_TRUE(noms.insert(c.nom).second) << c.nom;
}

}  // namespace
