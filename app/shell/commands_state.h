// Which commands of the main window are usable, computed from the window's state alone.
//
// Pure: the window copies the result onto its actions and buttons by name (etat_cibles), so
// the rules can be checked without a display.
#pragma once

#include <span>

namespace shell {

struct EtatFenetre {
  bool dossier_ouvert = false;
  bool edition_support = false;
  bool edition_record = false;
  bool support_courant = false;
  bool record_courant = false;
  bool record_affiche = false;  // the current recording has a poster path
  bool record_video = false;    // the current recording has a video path
  int lignes_arbrek7 = 0;       // lines of the "on this support" tree
  int types_support = 0;        // entries of the support-type list of the support page
  int resultats = 0;            // hits of the last search
  bool lecture_seule = false;   // the data directory cannot be written
};

struct EtatCommandes {
  // menus
  bool fichierM, parametresM, supportsM, rechercheM, statistiquesM, editionsM, PlanningM, aideM;
  // dossier commands
  bool ouvre_dossier_me, creer_dossier_me, modifier_dossier_me, fermer_dossier_me, supprimer_dossier_me;
  // items that need more than their menu
  bool ResultatM, ficheM, generiqueM;
  // tool bar
  bool dossier_bt, photo_bt, video_bt, generique_bt, recherche_bt, resultat_bt, statistiques_bt, editions_bt,
      echeancier_bt, parametres_bt;
  // browsing column
  bool rubrique, arbre, arbrek7;
  // command bars
  bool Sajouter, Ssupprimer, Smodifier, Sok, Sprete, Semprunte;
  bool Eajouter, Esupprimer, Emodifier, Eok, Eaffiche, Evideo, Egenerique, Erecompenses;
  bool TabSet1;
};

EtatCommandes etat_commandes(const EtatFenetre &etat);

// Object names of the window's controls and the flag each one takes. Several controls may
// share a flag (a menu item and its pop-up twin).
struct EtatCible {
  const char *nom;
  bool EtatCommandes::*actif;
};
std::span<const EtatCible> etat_cibles();

}  // namespace shell
