#include <filesystem>
#include <fstream>

#include "cli.h"
#include "hint_stream.h"
#include "lists.h"
#include "store.h"

namespace cli {
namespace {

using store::utf8_to_cp1252;

const std::vector<std::vector<const char *>> kLists = {
    {"Aventure", "Comédie", "Documentaire", "Drame", "Fantastique", "Policier", "Science-fiction", "Western"},
    {"Court métrage", "Dessin animé", "Long métrage", "Série", "Téléfilm"},
    {"Allemagne", "États-Unis", "France", "Italie", "Japon", "Royaume-Uni", "Suède"},
    {"Originale sous-titrée", "Version française", "Version originale"},
    {"Couleur", "Colorisé", "Noir et blanc"},
    {"Bon", "Chef-d'œuvre", "Excellent", "Moyen", "Sans intérêt"},
    {"César", "Lion d'or", "Ours d'or", "Palme d'or", "Prix Louis-Delluc"},
    {"Betamax", "Hi 8", "S-VHS", "VHS", "VHS-C", "Vidéo 8"},
    {"Bonne", "Excellente", "Moyenne", "Passable"},
    {"Acteur", "Actrice", "Compositeur", "Directeur photo", "Monteur", "Producteur", "Réalisateur",
     "Scénariste"},
    {"Meilleur acteur", "Meilleur film", "Meilleur réalisateur", "Meilleur scénario", "Meilleure actrice"},
    {"16/9", "4/3", "Cinémascope", "Letterbox"},
};

struct DemoFilm {
  const char *titre;
  int annee;
  int duree;
};

const DemoFilm kFilms[40] = {
    {"La Grande Illusion", 1937, 114},
    {"Les Enfants du paradis", 1945, 190},
    {"Jour de fête", 1949, 87},
    {"Les Quatre Cents Coups", 1959, 99},
    {"À bout de souffle", 1960, 90},
    {"Le Mépris", 1963, 103},
    {"Jules et Jim", 1962, 105},
    {"Les Parapluies de Cherbourg", 1964, 91},
    {"La Règle du jeu", 1939, 110},
    {"Casque d'or", 1952, 96},
    {"Le Salaire de la peur", 1953, 131},
    {"Mon oncle", 1958, 116},
    {"Playtime", 1967, 124},
    {"Le Samouraï", 1967, 105},
    {"L'Armée des ombres", 1969, 145},
    {"La Nuit américaine", 1973, 115},
    {"Le Dernier Métro", 1980, 131},
    {"Jean de Florette", 1986, 120},
    {"Manon des sources", 1986, 113},
    {"Cyrano de Bergerac", 1990, 137},
    {"Le Grand Bleu", 1988, 168},
    {"Subway", 1985, 104},
    {"Les Vacances de M. Hulot", 1953, 114},
    {"Metropolis", 1927, 153},
    {"M le maudit", 1931, 117},
    {"Le Voleur de bicyclette", 1948, 89},
    {"La Strada", 1954, 108},
    {"Rome, ville ouverte", 1945, 103},
    {"Casablanca", 1942, 102},
    {"Citizen Kane", 1941, 119},
    {"Sueurs froides", 1958, 128},
    {"Psychose", 1960, 109},
    {"Les Temps modernes", 1936, 87},
    {"Le Kid", 1921, 68},
    {"Rashômon", 1950, 88},
    {"Les Sept Samouraïs", 1954, 207},
    {"Fanny et Alexandre", 1982, 188},
    {"Le Septième Sceau", 1957, 96},
    {"La Chevauchée fantastique", 1939, 96},
    {"2001, l'odyssée de l'espace", 1968, 149},
};

const char *kPeople[] = {"Jeanne Morvan", "Paul Kerbrat", "Louis Castagne", "Hélène Vidal", "Marc Ollivier",
                         "Simone Aubrac", "Yves Le Goff", "Anna Lindqvist", "Kenji Mori",   "Carla Bellini"};

std::string entry(int list, int i) {
  const auto &l = kLists[static_cast<std::size_t>(list - 1)];
  return utf8_to_cp1252(l[static_cast<std::size_t>(i) % l.size()]);
}

}  // namespace

void make_demo(const std::string &dir) {
  std::filesystem::create_directories(dir);
  store::Store s(dir);
  if (std::filesystem::exists(s.path(store::kMainFile)))
    throw store::StoreError("create", s.path(store::kMainFile), "a catalogue is already there");

  // The texture the preferences name by default.
  std::string texture = shell::grey_texture_bmp();
  std::ofstream(s.path("grey.bmp"), std::ios::binary)
      .write(texture.data(), static_cast<std::streamsize>(texture.size()));

  for (int k = 1; k <= 12; ++k) {
    std::vector<std::string> entries;
    for (const char *e : kLists[static_cast<std::size_t>(k - 1)]) entries.push_back(utf8_to_cp1252(e));
    store::ecrit_liste(s, k, entries);
  }

  store::TDataDossier dossier;
  dossier.set_titre(utf8_to_cp1252("Ma vidéothèque"));
  dossier.set_notes(utf8_to_cp1252("Cassettes du salon et du grenier."));
  s.cree_dossier(dossier);

  std::string today = s.date_du_jour();
  store::DateParts t = store::split_date(today);
  std::string next_year = store::format_date(std::min(t.first, 28), t.second, t.year + 1);
  std::string last_year = store::format_date(std::min(t.first, 28), t.second, t.year - 1);

  // Fourteen tapes of several types: two lent on time, one lent overdue, one borrowed.
  const int kSupports = 14;
  for (int i = 0; i < kSupports; ++i) {
    s.nouveau_support();
    store::TDataSupport sup = s.support();
    // Mostly VHS, as a real shelf would be, with a few of every other kind.
    static constexpr int kTypes[kSupports] = {3, 3, 2, 3, 5, 3, 4, 3, 1, 3, 2, 3, 0, 3};
    sup.set_support(entry(8, kTypes[i]));
    sup.set_reference("K7-" + store::nombre_zero(i + 1, 3));
    sup.set_qualite(entry(9, i));
    sup.set_duree(i % 2 ? 240 : 180);
    sup.set_restant(i * 7 % 60);
    sup.set_fin(4000 + i * 37);
    sup.set_observation(utf8_to_cp1252(i % 5 == 0 ? "Étiquette à refaire" : ""));
    if (i == 2 || i == 6) {
      sup.set_pret_a(utf8_to_cp1252(i == 2 ? "Hélène Vidal" : "Paul Kerbrat"));
      sup.set_pret_au(next_year);
    }
    if (i == 9) {
      sup.set_pret_a(utf8_to_cp1252("Yves Le Goff"));
      sup.set_pret_du(last_year);
      sup.set_pret_au(last_year);
      sup.set_pret_observations(utf8_to_cp1252("Toujours pas rendue."));
    }
    if (i == 12) {
      sup.set_emprunt_a(utf8_to_cp1252("Médiathèque municipale"));
      sup.set_emprunt_au(next_year);
    }
    s.valide_support(sup);
  }

  for (int i = 0; i < 40; ++i) {
    s.choisit_support(i % kSupports);
    s.nouveau_record();
    store::Recording r = s.recording();
    const DemoFilm &f = kFilms[i];
    r.record.set_titre(utf8_to_cp1252(f.titre));
    r.record.set_reference(store::nombre_zero(r.record.numero(), 6));
    r.record.set_annee(f.annee);
    r.record.set_duree(f.duree);
    r.record.set_theme(entry(1, i));
    r.record.set_genre(entry(2, i % 7 == 0 ? 4 : 2));
    r.record.set_nationalite(entry(3, i * 3));
    r.record.set_version(entry(4, i));
    r.record.set_couleur(entry(5, f.annee < 1960 ? 2 : 0));
    r.record.set_appreciation(entry(6, i * 5));
    r.record.set_debut(i / kSupports * 120);
    r.record.set_fin(i / kSupports * 120 + f.duree);
    r.record.set_qualite(entry(9, i));
    r.record.set_resumer(utf8_to_cp1252("Enregistré lors d'un cycle de la cinémathèque."));
    r.record1.set_format(entry(12, i));
    r.generique.set_denomination(1, entry(10, 6));
    r.generique.set_nom(1, utf8_to_cp1252(kPeople[i % 10]));
    r.generique.set_denomination(2, entry(10, 0));
    r.generique.set_nom(2, utf8_to_cp1252(kPeople[(i + 3) % 10]));
    r.generique.set_role(2, utf8_to_cp1252("le héros"));
    r.generique.set_denomination(3, entry(10, 1));
    r.generique.set_nom(3, utf8_to_cp1252(kPeople[(i + 5) % 10]));
    if (i % 4 == 0) {
      r.recompense.set_recompense(1, entry(7, i / 4));
      r.recompense.set_categorie(1, entry(11, i / 4));
      r.recompense.set_annee_recompense(1, std::to_string(f.annee));
    }
    s.valide_record(r);
  }

  store::TDataPlanning planning = s.lit_planning();
  const char *planned[] = {"Le Jour se lève", "Quai des brumes", "Les Diaboliques"};
  for (int i = 0; i < 3; ++i) {
    planning.set_film(i + 1, utf8_to_cp1252(planned[i]));
    planning.set_date_prevue(i + 1, store::format_date(10 + i, t.second, t.year + 1));
    planning.set_heure(i + 1, i == 1 ? "22:45" : "20:50");
    planning.set_showview(i + 1, std::to_string(412753 + i * 1111));
  }
  s.ecrit_planning(planning);
  s.ferme_dossier();
}

}  // namespace cli
