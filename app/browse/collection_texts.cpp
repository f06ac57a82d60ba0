#include "collection_texts.h"

namespace browse {

namespace {

using ui::Paire;
constexpr ui::TexteSur C = ui::TexteSur::caption;
constexpr ui::TexteSur H = ui::TexteSur::hint;

// Two-line hints are written with '\n'.
constexpr ui::TexteControle kTextes[] = {
    // command bars
    {"Sajouter", H, "Ajouter\nun support", "Add support"},
    {"Ssupprimer", H, "Supprimer\nce support", "Delete support"},
    {"Smodifier", H, "Modifier\nce support", "Edit support"},
    {"Sok", H, "Enregistrer\nles données", "Save"},
    {"Sprete", H, "Prêté", "Lent"},
    {"Semprunte", H, "Emprunté", "Borrowed"},
    {"Eajouter", H, "Ajouter un\nenregistrement", "Add recording"},
    {"Esupprimer", H, "Supprimer cet\nenregistrement", "Delete recording"},
    {"Emodifier", H, "Modifier cet\nenregistrement", "Edit recording"},
    {"Eok", H, "Enregistrer\nles données", "Save"},
    {"Eaffiche", H, "Image", "Image"},
    {"Evideo", H, "Vidéo", "Video"},
    {"Egenerique", H, "Générique", "Credits"},
    {"Erecompenses", H, "Récompenses", "Awards"},
    {"dateSbtn", H, "Calendrier", "Calendar"},
    {"dateEbtn", H, "Calendrier", "Calendar"},
    // tree captions
    {"a1_", C, "Tri", "Sorting"},
    {"a2_", C, "Vidéothèque", "Tapemoor"},
    {"a3_", C, "Sur ce support", "On this support"},
    // support page
    {"s1_", C, "Type", "Type"},
    {"s2_", C, "Référence", "Reference"},
    {"s3_", C, "Qualité", "Quality"},
    {"s4_", C, "Date", "Date"},
    {"s5_", C, "Durée", "Duration"},
    {"s7_", C, "Temps restant", "Remaining time"},
    {"s9_", C, "Compteur fin", "End counter"},
    {"s10_", C, "Observations", "Memo"},
    // recording page
    {"e1_", C, "Titre", "Title"},
    {"e2_", C, "Année", "Year"},
    {"e3_", C, "Référence", "Reference"},
    {"e4_", C, "Début comp.", "Counter(begin)"},
    {"e5_", C, "Fin comp.", "Counter(end)"},
    {"e6_", C, "Durée", "Duration"},
    {"e8_", C, "Date", "Date"},
    {"e9_", C, "Thème", "Theme"},
    {"e10_", C, "Genre", "Genre"},
    {"e11_", C, "Nationalité", "Nationality"},
    {"e12_", C, "Version", "Version"},
    {"e13_", C, "Couleur", "Color"},
    {"e14_", C, "Qualité", "Quality"},
    {"e15_", C, "Appréciation", "Appreciation"},
    {"e18_", C, "Format", "Format"},
    {"e17_", C, "Résumé", "Summary"},
    {"e16_", C, "Récompenses", "Awards"},
};

constexpr Paire kMessages[] = {
    {"Désirez-vous supprimer cet enregistrement ?", "Are you sure you want to delete this recordings ?"},
    {"Vous devez renseigner le champ \"Titre\"", "You must enter a title"},
    {"Vous devez renseigner le champ \"Référence\"", "You must enter a reference"},
    {"Désirez-vous supprimer ce support et tous ses enregistrements ?",
     "Are you sure you want to delete this support and all these recordings ?"},
    {"Vous devez sélectionner un \"Type\" de support", "You must select a type"},
    {"Vous devez renseigner le champ \"Référence\"", "You must enter a reference"},
    {"non Classé", "not classified"},
};

}  // namespace

std::span<const ui::TexteControle> textes_collection() {
  return kTextes;
}

QStringList items_rubrique(int langue) {
  static constexpr Paire kItems[] = {{"Genre", "Genre"},         {"Nationalité", "Nationality"},
                                     {"Référence", "Reference"}, {"Support", "Support"},
                                     {"Thème", "Theme"},         {"Titre", "Title"}};
  QStringList l;
  for (const Paire &p : kItems) l << ui::choisit(p, langue);
  return l;
}

QStringList onglets(int langue) {
  return {QStringLiteral("Support"), ui::choisit({"Enregistrement", "Recording"}, langue)};
}

QString message(Msg m, int langue) {
  return ui::choisit(kMessages[static_cast<int>(m)], langue);
}

}  // namespace browse
