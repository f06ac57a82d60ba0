#include "requetes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalogue.h"
#include "faulty_io.h"
#include "temp_dir.h"

using search::TDataRequetes;

namespace {

TEST(Requetes, NumberReading) {
  const std::pair<const char *, std::optional<long double>> kCases[] = {
      {"12", 12},      {" 12", 12},        {"-1.5", -1.5L},
      {".5", 0.5L},    {"2e3", 2000},      {"+7", 7},
      {"1.e2", 100},   {"2E-1", 0.2L},     {"1e99999", HUGE_VALL},
      {"", {}},        {"12 ", {}},        {"1,5", {}},
      {"12.", {}},     {"12/05/1998", {}}, {"+", {}},
      {" ", {}},       {"1e", {}},         {"1e+", {}},
      {"--1", {}},     {"\t1", {}},        {"0x10", {}},
      {"1e-99999", 0}, {".e5", 0},         {"-", {}},
  };
  for (const auto &[text, value] : kCases) {
    std::optional<long double> got = search::lit_nombre(text);
    EXPECT_EQ(got.has_value(), value.has_value()) << '"' << text << '"';
    if (got && value) {
      EXPECT_EQ(*got, *value) << text;
    }
  }
}

// One small dossier: two supports, four recordings, with awards and credits in odd slots.
class Recherche : public ::testing::Test {
 protected:
  TempDir dir;
  Catalogue c{dir.path()};
  void SetUp() override {
    c.dossier("Films");
    c.support("VHS", "K7-001", [](store::TDataSupport &s) {
      s.set_date("01/01/1997");
      s.set_duree(240);
      s.set_restant(30);
    });
    c.record("Alien", [](store::Recording &r) {
      r.record.set_annee(1979);
      r.record.set_reference("REF-A");
      r.record1.set_format("16/9");
      r.recompense.set_recompense(3, "Oscar");
      r.recompense.set_annee_recompense(3, "1980");
      r.generique.set_nom(2, "Ridley Scott");
    });
    c.record("1998", [](store::Recording &r) { r.record.set_annee(1998); });
    c.support("DVD", "D-002");
    c.record("alien", [](store::Recording &r) {
      r.record.set_annee(1990);
      r.generique.set_nom(30, "Ridley Scott");
      r.recompense.set_recompense(1, "Oscar");
    });
    c.record("Aliens", [](store::Recording &r) { r.record.set_annee(1986); });
  }
  // Hits written "s0" for support record 0, "r1" for recording record 1.
  std::string hits(const TDataRequetes &q, int langue) {
    std::string out;
    for (const search::Resultat &h : search::cherche(c.store, q, langue))
      out += (out.empty() ? "" : " ") + std::string(h.sorte == search::Resultat::support ? "s" : "r") +
             std::to_string(h.numero);
    return out;
  }
};

struct Crit {
  int champ;  // 1..20 in the selector, 0: the typed text below
  const char *op, *valeur, *lien = "et";
  const char *texte = "";
};

TDataRequetes requete(std::initializer_list<Crit> crits, int langue) {
  TDataRequetes q;
  for (const Crit &k : crits) {
    std::string champ = k.champ ? search::libelles_champs(langue)[k.champ - 1] : k.texte;
    EXPECT_FALSE(search::ajoute_critere(q, champ, "", k.valeur, k.op, k.lien).refus);
  }
  return q;
}

TEST_F(Recherche, CriteriaFindTheirHitsSupportsFirstInFileOrder) {
  const struct {
    int langue;
    std::initializer_list<Crit> crits;
    const char *hits;
  } kCases[] = {
      {0, {{1, ">=", "1990"}}, "r1 r2"},
      {0, {{13, "=", "1998"}}, "r1"},  // numeric: no other title reads as a number
      {0, {{13, ">", "1000"}}, "r1"},
      {0, {{20, "=", "VHS"}, {13, "=", "Alien"}}, ""},
      {0, {{20, "=", "VHS"}, {13, "=", "Alien", "ou"}}, "s0 r0"},
      {0, {{13, "=", "alien"}}, "r2"},
      {0, {{13, "=", "Alie"}}, ""},
      {0, {{11, "=", "Oscar"}}, "r0 r2"},
      {0, {{9, "=", "Ridley Scott"}}, "r0 r2"},
      {0, {{11, "=", "Oscar"}, {9, "=", "Ridley Scott"}}, "r0 r2"},
      {0, {{2, ">=", "1980"}}, "r0"},
      {0, {{2, ">=", "1980"}, {13, "=", "alien", "ou"}}, "r0 r2"},
      {0, {{15, "=", "16/9"}}, "r0"},
      {0, {{16, "=", "01/01/1997"}, {17, "<", "31"}}, "s0"},
      {0, {{18, ">=", "240"}, {19, "=", "D-002", "ou"}}, "s0 s1"},
      {0,
       {{0, "=", "REF-A", "et",
         "R\xe9"
         "f\xe9rence de l'enregistrement"}},
       "r0"},
      {0, {{0, "=", "Oui", "et", "Emprunt\xe9"}}, ""},
      {0, {{1, "<>", "1979"}}, ""},
      {0, {{13, "=", "Alien"}, {13, "=", "1998", "ou"}, {1, "=", "1979"}}, "r0 r1"},  // (A and C) or B
      {0, {{13, "=", "Alien"}, {1, "=", "1980"}, {13, "=", "1998", "ou"}}, "r1"},     // (A and B) or C
      {0, {{13, "=", "Alien"}, {13, "=", "1998", "or"}}, "r0"},  // a link of the other language
      {0, {{13, "=", "Alien", "ou"}, {1, "=", "1800"}}, ""},     // the first link is never used
      {1, {{13, "=", "Alien"}, {13, "=", "1998", "ou"}}, "r0"},
      {1, {{13, "=", "Alien"}, {13, "=", "1998", "or"}}, "r0 r1"},
      {1, {{1, "=", "1979"}}, "r0"},
      {0, {}, ""},
  };
  for (const auto &k : kCases) {
    const TDataRequetes q = requete(k.crits, k.langue);
    EXPECT_EQ(hits(q, k.langue), k.hits) << search::lignes_criteres(q)[0];
    // "Format" and the typed texts are the same in both languages; the other labels name no field
    // of the other language.
    if (k.crits.size() && k.crits.begin()->champ % 15 != 0) {
      EXPECT_EQ(hits(q, 1 - k.langue), "");
    }
  }
}

TEST_F(Recherche, EntriesOfAPassAreTestedUpToTheFirstTrueTest) {
  const store::Recording r = c.recordings()[0];
  const store::RecordingView v{r.record, r.record1, r.generique, r.recompense};
  const search::Evaluateur ev(requete({{11, "=", "Oscar"}, {9, "=", "Ridley Scott"}}, 0), 0);
  EXPECT_TRUE(ev.test_records(v, 3, 2));
  EXPECT_FALSE(ev.test_records(v, 3, 0));
  EXPECT_FALSE(ev.test_records(v, 10, 2));
  EXPECT_TRUE(ev.retenu(v));
}

TEST(Requetes, TheListHoldsAHundredCriteriaAndDeletesWhatIsSelected) {
  TDataRequetes q;
  EXPECT_EQ(search::ajoute_critere(q, "Titre", "", "", "=", "et").refus, search::Msg::donnee_manquante);
  for (int i = 0; i < search::kMaxCriteres; ++i)
    ASSERT_EQ(search::ajoute_critere(q, "Titre", i % 2 ? "L" : "", std::to_string(i), "=", "ou").slot, i);
  const TDataRequetes full = q;
  EXPECT_EQ(search::ajoute_critere(q, "Titre", "", "x", "=", "et").refus, search::Msg::liste_pleine);
  EXPECT_EQ(q, full);
  EXPECT_EQ(search::lignes_criteres(q)[0], "    Titre = 0");
  EXPECT_EQ(search::lignes_criteres(q)[1], "ou Titre = L");
  EXPECT_TRUE(q.numerique(0));
  EXPECT_FALSE(search::suppression_possible(q, -1));
  EXPECT_FALSE(search::suppression_possible(q, 100));
  search::supprime_critere(q, 0);
  EXPECT_EQ(search::nombre_criteres(q), 99);
  EXPECT_EQ(search::lignes_criteres(q)[0], "    Titre = L");
  EXPECT_EQ(q.lien(0), "ou");  // kept, never shown nor used
  EXPECT_EQ(search::libelles_champs(0)[17],
            "Dur\xe9"
            "e total d'enregistrement sur le supp");
  EXPECT_EQ(search::libelles_champs(1)[17], "Total duration of recording on the suppo");
}

TEST_F(Recherche, AQuerySavedClearedAndLoadedBackIsTheSame) {
  search::EtatRecherche etat;
  const TDataRequetes q = requete({{13, "=", "Alien"}, {1, ">=", "1990", "ou"}}, 0);
  const std::string path = dir.file("films.req");
  etat.enregistre(path, q);
  EXPECT_EQ(dir.size("films.req"), 9595u);
  etat.efface();
  EXPECT_EQ(search::nombre_criteres(etat.requete), 0);
  etat.ouvre(path);
  EXPECT_EQ(etat.requete, q);
  EXPECT_EQ(etat.lance(c.store, etat.requete, 0).size(), 3u);
  EXPECT_TRUE(etat.resultats_voulus);
  EXPECT_TRUE(etat.lance(c.store, TDataRequetes{}, 0).empty());
  EXPECT_FALSE(etat.resultats_voulus);
  EXPECT_EQ(search::support_du_resultat(c.store, {search::Resultat::record, 2, ""}), 1);

  // A file that exists but cannot be opened for writing keeps its query; a short one is no query.
  const TDataRequetes avant = etat.requete;
  FaultyIo io;
  io.arm(FaultyIo::Open, 1);
  EXPECT_THROW(search::ecrit_fichier(path, TDataRequetes{}, io), store::StoreError);
  EXPECT_EQ(search::lit_fichier(path), q);
  dir.write("short.req", "abc");
  EXPECT_THROW(etat.ouvre(dir.file("short.req")), store::StoreError);
  EXPECT_THROW(etat.ouvre(dir.file("none.req")), store::StoreError);
  EXPECT_FALSE(dir.exists("none.req"));
  EXPECT_EQ(etat.requete, avant);
}

}  // namespace
