#include "commands_state.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace shell;

namespace {

using Noms = std::set<std::string>;

Noms operator+(Noms a, const Noms &b) {
  a.insert(b.begin(), b.end());
  return a;
}

// The names whose flag is on.
Noms actifs(const EtatFenetre &e) {
  EtatCommandes c = etat_commandes(e);
  Noms on;
  for (const EtatCible &cible : etat_cibles())
    if (c.*cible.actif) on.insert(cible.nom);
  return on;
}

const Noms kNavigation = {"fichierM",          "aideM",
                          "ouvre_dossier_me",  "modifier_dossier_me",
                          "fermer_dossier_me", "supprimer_dossier_me",
                          "parametresM",       "supportsM",
                          "RechercheM",        "statistiquesM",
                          "editionsM",         "PlanningM",
                          "dossier_bt",        "recherche_bt",
                          "statistiques_bt",   "editions_bt",
                          "echeancier_bt",     "parametres_bt",
                          "rubrique",          "arbre",
                          "arbrek7",           "TabSet1"};
const Noms kFiche = {"ficheM", "ficheMB3", "generiqueM", "generiqueMB3", "generique_bt"};
const Noms kBarres = {"Sajouter", "Ssupprimer", "Smodifier", "Eajouter", "Esupprimer", "Emodifier"};
// Editing keeps help and the dossier items, which stay on inside their disabled menu.
const Noms kEdition = {"aideM", "ouvre_dossier_me", "modifier_dossier_me", "fermer_dossier_me",
                       "supprimer_dossier_me"};

// A dossier open with a support and a recording current, and the rest of `e`.
EtatFenetre courant(EtatFenetre e) {
  e.dossier_ouvert = e.support_courant = e.record_courant = true;
  return e;
}

TEST(EtatCommandes, EachStateEnablesExactlyItsCommands) {
  struct {
    const char *cas;
    EtatFenetre e;
    Noms on;
  } cases[] = {
      // Lists and hits do not matter without a dossier.
      {"no dossier",
       {.types_support = 4, .resultats = 2},
       {"fichierM", "aideM", "ouvre_dossier_me", "creer_dossier_me", "dossier_bt", "TabSet1"}},
      {"nothing current, a stale poster and video",
       {.dossier_ouvert = true, .record_affiche = true, .record_video = true},
       kNavigation},
      {"poster, support lines, types and hits",
       courant({.record_affiche = true, .lignes_arbrek7 = 3, .types_support = 2, .resultats = 5}),
       kNavigation + kFiche + kBarres + Noms{"photo_bt", "ResultatM", "resultat_bt"}},
      {"video only", courant({.record_video = true, .lignes_arbrek7 = 1, .types_support = 1}),
       kNavigation + kFiche + kBarres + Noms{"video_bt"}},
      {"empty support tree and type list", courant({}), kNavigation + kFiche},
      {"empty support tree", courant({.types_support = 1}), kNavigation + kFiche + Noms{"Sajouter"}},
      // The recording bar follows its own rows: it is hidden while the support page shows.
      {"editing a support",
       courant({.edition_support = true, .lignes_arbrek7 = 3, .types_support = 2, .resultats = 1}),
       kEdition + Noms{"Sok", "Sprete", "Semprunte", "Eajouter", "Esupprimer", "Emodifier"}},
      {"editing a recording", courant({.edition_record = true, .lignes_arbrek7 = 1, .types_support = 1}),
       kEdition + Noms{"Sajouter", "Ssupprimer", "Smodifier", "Eok", "Eaffiche", "Evideo", "Egenerique",
                       "Erecompenses"}},
      {"read-only", courant({.lignes_arbrek7 = 3, .types_support = 2, .lecture_seule = true}),
       Noms{"fichierM", "aideM", "ouvre_dossier_me", "fermer_dossier_me", "supportsM", "RechercheM",
            "statistiquesM", "editionsM", "dossier_bt", "recherche_bt", "statistiques_bt", "editions_bt",
            "rubrique", "arbre", "arbrek7", "TabSet1"} +
           kFiche},
  };
  for (const auto &k : cases) EXPECT_EQ(actifs(k.e), k.on) << k.cas;
}

TEST(EtatCommandes, EveryTargetNameIsDistinct) {
  Noms noms;
  for (const EtatCible &c : etat_cibles()) EXPECT_TRUE(noms.insert(c.nom).second) << c.nom;
}

}  // namespace
