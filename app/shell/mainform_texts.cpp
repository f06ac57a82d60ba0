#include "mainform_texts.h"

#include <QStringList>
#include <iterator>

namespace shell {

namespace {

using ui::choisit;
using ui::Paire;
using ui::TexteControle;

constexpr ui::TexteSur C = ui::TexteSur::caption;
constexpr ui::TexteSur H = ui::TexteSur::hint;

// Two-line hints are written with '\n'.
constexpr TexteControle kTextes[] = {
    // menu "Fichier"
    {"fichierM", C, "&Fichier", "&File"},
    {"ouvre_dossier_me", C, "&Ouvrir un dossier", "&Open file"},
    {"modifier_dossier_me", C, "&Modifier un dossier", "&File &informations"},
    {"fermer_dossier_me", C, "&Fermer le dossier", "&Close file"},
    {"creer_dossier_me", C, "&Créer un dossier", "&Add file"},
    {"supprimer_dossier_me", C, "&Supprimer le dossier", "&Delete file"},
    {"configuration_me", C, "&Configuration", "&Preferences"},
    {"imprimante_me", C, "Configuration de l'&imprimante", "Set&up printer"},
    {"quitter_me", C, "&Quitter", "&Exit"},
    // menu "Paramètres" and its pop-up
    {"parametresM", C, "&Paramètres", "&Parameters"},
    {"Paramtres1", C, "&Thème", "&Theme"},
    {"Genre1", C, "&Genre", "&Genre"},
    {"Nationalit1", C, "&Nationalité", "&Nationality"},
    {"Version1", C, "&Version", "&Version"},
    {"Couleurs1", C, "&Couleur", "&Color"},
    {"Apprciation1", C, "&Appréciation", "&Appreciation"},
    {"Rcompenses1", C, "&Récompense", "A&ward"},
    {"Catgories1", C, "&Catégorie", "&Category"},
    {"Supports1", C, "&Support", "&Support"},
    {"Qualitsupport1", C, "&Qualité (support)", "&Quality"},
    {"Gnrique1", C, "&Générique", "&Credits"},
    {"Formats1", C, "&Formats", "&Format"},
    {"Paramtres1_mb", C, "&Thème", "&Theme"},
    {"Genre1_mb", C, "&Genre", "&Genre"},
    {"Nationalit1_mb", C, "&Nationalité", "&Nationality"},
    {"Version1_mb", C, "&Version", "&Version"},
    {"Couleurs1_mb", C, "&Couleur", "&Color"},
    {"Apprciation1_mb", C, "&Appréciation", "&Appreciation"},
    {"Rcompenses1_mb", C, "&Récompense", "A&ward"},
    {"Catgories1_mb", C, "&Catégorie", "&Category"},
    {"Supports1_mb", C, "&Support", "&Support"},
    {"Qualitsupport1_mb", C, "&Qualité (supports)", "&Quality"},
    {"Gnrique1_mb", C, "&Générique", "&Credits"},
    {"Formats1_mb", C, "&Format", "&Format"},
    // menu "Support"
    {"supportsM", C, "S&upport", "S&upport"},
    {"Support2", C, "&Prété", "&Lent"},
    {"Liste2", C, "&Emprunté", "&Borrowed"},
    {"Editions2", C, "E&ditions", "&Print"},
    {"Prt1", C, "&Prété", "&Lent"},
    {"Prtnonrendu1", C, "P&rété, non rendu", "L&ent, not returned"},
    {"Emprunt1", C, "&Emprunté", "&Borrowed"},
    {"Empruntrendre1", C, "E&mprunté, à rendre", "B&orrowed, to return"},
    // menu "Recherche"
    {"RechercheM", C, "&Recherche", "S&earch"},
    {"Multicritres1", C, "&Multicritères", "&Search"},
    {"ResultatM", C, "&Résultat", "&Result"},
    // menu "Statistiques" and its pop-up
    {"statistiquesM", C, "&Statistiques", "&Statistics"},
    {"Thme1", C, "&Thème", "&Theme"},
    {"Genre2", C, "&Genre", "&Genre"},
    {"Nationalit2", C, "&Nationalité", "&Nationality"},
    {"Version2", C, "&Version", "&Version"},
    {"Couleur2", C, "&Couleur", "&Color"},
    {"Apprciation2", C, "&Appréciation", "&Appreciation"},
    {"Support1", C, "&Support", "&Support"},
    {"Thme1_mb", C, "&Thème", "&Theme"},
    {"Genre2_mb", C, "&Genre", "&Genre"},
    {"Nationalit2_mb", C, "&Nationalité", "&Nationality"},
    {"Version2_mb", C, "&Version", "&Version"},
    {"Couleur2_mb", C, "&Couleur", "&Color"},
    {"Apprciation2_mb", C, "&Appréciation", "&Appreciation"},
    {"Support1_mb", C, "&Support", "&Support"},
    // menu "Editions" and its pop-up
    {"editionsM", C, "&Editions", "&Print"},
    {"Liste1", C, "Liste des &supports", "&Supports"},
    {"Listedesenregistrements1", C, "Liste des &enregistrements", "&Recordings"},
    {"ficheM", C, "&Fiche technique", "&Recording informations"},
    {"generiqueM", C, "&Générique", "&Credits"},
    {"Planningdenregistrement1", C, "&Planning d'enregistrement", "&Planning of recordings"},
    {"supportsMB3", C, "Liste des &supports", "&Supports"},
    {"enregistrementMB3", C, "Liste des &enregistrements", "&Recordings"},
    {"ficheMB3", C, "&Fiche technique", "Recording &informations"},
    {"generiqueMB3", C, "&Générique", "&Credits"},
    {"planningMB3", C, "&Planning d'enregistrement", "&Planning of recordings"},
    {"PlanningM", C, "&Planning", "&Planning"},
    // menu "Aide"
    {"aideM", C, "&Aide", "&Help"},
    {"Documentation1", C, "&Documentation", "&Help index"},
    {"SiteWeb", C, "&Site web", "&Website"},
    {"apropos", C, "&A propos", "&About Tapemoor"},
    // tool bar
    {"dossier_bt", H, "Ouvrir\nun dossier", "Open\nfile"},
    {"photo_bt", H, "Affiche", "Image"},
    {"video_bt", H, "Vidéo", "Video"},
    {"generique_bt", H, "Générique", "Credits"},
    {"recherche_bt", H, "Recherche", "Search"},
    {"resultat_bt", H, "Résultat", "Result"},
    {"statistiques_bt", H, "Statistiques", "Statistics"},
    {"editions_bt", H, "Editions", "Print"},
    {"echeancier_bt", H, "Planning\nd'enregistrement", "Planning\nof recordings"},
    {"parametres_bt", H, "Paramètres", "Parameters"},
};

constexpr Paire kMessages[] = {
    {"Désirez-vous quitter ", "Are you sure you want to quit "},
    {"Code secret incorrect", "Wrong password"},
    {"Désirez-vous supprimer ce dossier ?", "Are you sure you want to delete this file ?"},
    {"Exécution du navigateur pour visiter notre site web.",
     "Preparing your internet browser to visit our web site.\nAre you ready to go on-line now ?"},
    {"Le dossier de données est introuvable ou illisible :\n%1",
     "The data directory cannot be found or read:\n%1"},
    {"Ce catalogue est en lecture seule : vous pouvez le consulter et l'exporter, pas le modifier.",
     "This catalogue is read-only: you can browse and export it, not change it."},
    {"Ce catalogue est en lecture seule et une modification y a été interrompue : ce qui s'affiche peut "
     "mêler l'avant et l'après. Ouvrez-le là où il peut être écrit pour l'annuler.",
     "This catalogue is read-only and a change in it was interrupted: what is shown may mix before and "
     "after. Open it where it can be written to undo the change."},
    {" (lecture seule)", " (read-only)"},
    {"Une modification avait été interrompue : elle a été annulée, le catalogue est tel qu'il était avant "
     "elle.",
     "A change had been interrupted: it was undone, and the catalogue is as it was before it."},
    {"Le dossier %1 est introuvable.", "File %1 cannot be found."},
    {"Aucune imprimante n'est choisie : choisissez-en une par « Configuration de l'imprimante ».",
     "No printer is chosen: choose one with \"Setup printer\"."},
};
static_assert(std::size(kMessages) == static_cast<std::size_t>(Msg::aucune_imprimante) + 1,
              "one text per Msg");

}  // namespace

std::span<const ui::TexteControle> textes_mainform() {
  return kTextes;
}

QString message(Msg m, int langue) {
  return choisit(kMessages[static_cast<int>(m)], langue);
}

}  // namespace shell
