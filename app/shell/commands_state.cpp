#include "commands_state.h"

namespace shell {

EtatCommandes etat_commandes(const EtatFenetre &e) {
  EtatCommandes c{};
  const bool edition = e.edition_support || e.edition_record;
  const bool libre = e.dossier_ouvert && !edition;  // browsing a dossier

  c.aideM = true;
  c.fichierM = !e.dossier_ouvert || !edition;
  c.ouvre_dossier_me = true;
  c.creer_dossier_me = !e.dossier_ouvert;
  c.modifier_dossier_me = c.fermer_dossier_me = c.supprimer_dossier_me = e.dossier_ouvert;

  c.parametresM = c.supportsM = c.rechercheM = c.statistiquesM = c.editionsM = c.PlanningM = libre;
  c.rubrique = c.arbre = c.arbrek7 = libre;
  c.dossier_bt = !edition;
  c.recherche_bt = c.statistiques_bt = c.editions_bt = c.echeancier_bt = c.parametres_bt = libre;

  c.ficheM = c.generiqueM = c.generique_bt = libre && e.record_courant;
  c.photo_bt = libre && e.record_courant && e.record_affiche;
  c.video_bt = libre && e.record_courant && e.record_video;
  c.ResultatM = c.resultat_bt = libre && e.resultats > 0;

  if (e.dossier_ouvert) {
    const bool lignes = e.lignes_arbrek7 > 0;
    c.Sajouter = !e.edition_support && e.types_support > 0;
    c.Ssupprimer = c.Smodifier = !e.edition_support && e.support_courant && lignes;
    c.Sok = c.Sprete = c.Semprunte = e.edition_support;
    c.Eajouter = !e.edition_record && e.support_courant && lignes;
    c.Esupprimer = c.Emodifier = !e.edition_record && e.record_courant && lignes;
    c.Eok = c.Eaffiche = c.Evideo = c.Egenerique = c.Erecompenses = e.edition_record;
  }
  c.TabSet1 = !edition;
  if (e.lecture_seule)  // browsing and exporting only
    c.creer_dossier_me = c.modifier_dossier_me = c.supprimer_dossier_me = c.parametresM = c.parametres_bt =
        c.PlanningM = c.echeancier_bt = c.Sajouter = c.Ssupprimer = c.Smodifier = c.Eajouter = c.Esupprimer =
            c.Emodifier = false;
  return c;
}

namespace {
using C = EtatCommandes;
constexpr EtatCible kCibles[] = {
    {"fichierM", &C::fichierM},
    {"parametresM", &C::parametresM},
    {"supportsM", &C::supportsM},
    {"RechercheM", &C::rechercheM},
    {"statistiquesM", &C::statistiquesM},
    {"editionsM", &C::editionsM},
    {"PlanningM", &C::PlanningM},
    {"aideM", &C::aideM},
    {"ouvre_dossier_me", &C::ouvre_dossier_me},
    {"creer_dossier_me", &C::creer_dossier_me},
    {"modifier_dossier_me", &C::modifier_dossier_me},
    {"fermer_dossier_me", &C::fermer_dossier_me},
    {"supprimer_dossier_me", &C::supprimer_dossier_me},
    {"ResultatM", &C::ResultatM},
    {"ficheM", &C::ficheM},
    {"ficheMB3", &C::ficheM},
    {"generiqueM", &C::generiqueM},
    {"generiqueMB3", &C::generiqueM},
    {"dossier_bt", &C::dossier_bt},
    {"photo_bt", &C::photo_bt},
    {"video_bt", &C::video_bt},
    {"generique_bt", &C::generique_bt},
    {"recherche_bt", &C::recherche_bt},
    {"resultat_bt", &C::resultat_bt},
    {"statistiques_bt", &C::statistiques_bt},
    {"editions_bt", &C::editions_bt},
    {"echeancier_bt", &C::echeancier_bt},
    {"parametres_bt", &C::parametres_bt},
    {"rubrique", &C::rubrique},
    {"arbre", &C::arbre},
    {"arbrek7", &C::arbrek7},
    {"Sajouter", &C::Sajouter},
    {"Ssupprimer", &C::Ssupprimer},
    {"Smodifier", &C::Smodifier},
    {"Sok", &C::Sok},
    {"Sprete", &C::Sprete},
    {"Semprunte", &C::Semprunte},
    {"Eajouter", &C::Eajouter},
    {"Esupprimer", &C::Esupprimer},
    {"Emodifier", &C::Emodifier},
    {"Eok", &C::Eok},
    {"Eaffiche", &C::Eaffiche},
    {"Evideo", &C::Evideo},
    {"Egenerique", &C::Egenerique},
    {"Erecompenses", &C::Erecompenses},
    {"TabSet1", &C::TabSet1},
};
}  // namespace

std::span<const EtatCible> etat_cibles() {
  return kCibles;
}

}  // namespace shell
