// The results window after a search, and OK on a hit showing it in the trees, orphans included.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>

#include "catalogue.h"
#include "collection.h"
#include "mainform.h"
#include "recherche.h"
#include "resultat.h"
#include "scripted_prompts_test.h"
#include "tarbre.h"
#include "temp_dir.h"

using namespace ui;

namespace {

TEST(MainformRecherche, EveryHitLeadsToItsSupportOrRecording) {
  TempDir dir;
  Catalogue c(dir.path());
  store::Store &s = c.store;
  c.liste(8, {"VHS"}).dossier("Un").support("VHS", "K7-1").record("Heat").record("Ran");
  c.support("VHS", "K7-2").record("Perdu", [](store::Recording &r) { r.record.set_numero_support(99); });
  ScriptedPrompts prompts;
  shell::Tmainform w(s, 0, prompts);
  w.collection().ouvre_collection();
  // Title Ran, or support reference K7-2, or title Perdu.
  const std::tuple<int, const char *, const char *> kCriteres[] = {
      {12, "Ran", "et"}, {18, "K7-2", "ou"}, {12, "Perdu", "ou"}};
  for (const auto &[champ, valeur, lien] : kCriteres)
    search::ajoute_critere(w.recherche().requete, search::libelles_champs(0)[champ], "", valeur, "=", lien);
  auto *resultats = w.findChild<QAction *>("ResultatM");

  // (line chosen, support, recording, page, first line of "on this support")
  const std::tuple<int, int, int, int, std::string> kSauts[] = {
      {1, 1, -1, 0, "K7-2"}, {2, 0, 1, 1, "K7-1"}, {3, -1, 2, 1, "non Class\xe9"}};
  auto choisit = [](int ligne) {
    return [ligne](QDialog &d) {
      dynamic_cast<search::Tresultat &>(d).arbre->select_line(ligne);
      dynamic_cast<search::Tresultat &>(d).ok->click();
    };
  };
  for (const auto &[ligne, support, record, page, k7] : kSauts) {
    prompts.dialogues.push_back(choisit(ligne));
    if (ligne == 1)  // the search opens the results at once
      prompts.dialogues.push_front(
          [](QDialog &d) { dynamic_cast<search::Trecherche &>(d).BitBtn2->click(); });
    w.findChild<QAction *>(ligne == 1 ? "Multicritres1" : "ResultatM")->trigger();
    EXPECT_TRUE(resultats->isEnabled());
    EXPECT_EQ(std::tuple(s.support_courant(), s.record_courant(), w.collection().vue().page,
                         w.collection().arbrek7->text(1)),
              std::tuple(support, record, page, k7))
        << ligne;
  }
  EXPECT_EQ(w.collection().arbrek7->text(w.collection().arbrek7->selected_line()), "Perdu");
  s.choisit_record(0), s.supprime_record();  // Heat goes: Ran is record 0 now, not the hit's 1
  prompts.dialogues = {choisit(2)}, prompts.reponses = {Reponse::ok};
  resultats->trigger();
  EXPECT_EQ(std::tuple(prompts.boites.size(), s.record_courant()), std::tuple(1u, -1));
  prompts.attend_tout_consomme();

  search::EtatRecherche vide;
  search::Tresultat r(vide, 1, &w);
  r.FormShow();
  EXPECT_EQ(std::tuple(r.ok->isEnabled(), r.windowTitle()), std::tuple(false, QString("Search result")));
}

}  // namespace
