#include "commands.h"

#include <gtest/gtest.h>

#include "catalogue.h"
#include "temp_dir.h"

namespace {

using namespace browse;
using Lignes = std::vector<std::string>;
using namespace std::string_literals;

Lignes textes(const std::vector<TreeLine> &lines) {
  Lignes t;
  for (const TreeLine &l : lines) t.push_back(l.text);
  return t;
}

// Two supports of type VHS ("A", "B") and one of a type in no list ("Long"); recordings a1 and
// a2 on A, b1 on B, with their themes.
class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    c.liste(8, {"VHS", "S-VHS"}).liste(1, {"drame", "western"}).dossier("Un");
    c.support("VHS", "A").support("VHS", "B").support("Cassette longue", "Long");
    c.sur(0).record("a1", theme("western")).record("a2", theme("drame"));
    c.sur(1).record("b1", theme("western"));
    s.choisit_support(-1);
  }
  static std::function<void(store::Recording &)> theme(const char *t) {
    return [t](store::Recording &r) {
      r.record.set_reference("R");
      r.record.set_theme(t);
    };
  }
  void groupe(int g) {
    o.grouping = g;
    ouvre_collection(s, v, o);
  }
  // A click on line n of `arbre`, as the window passes it on.
  void choisit(int n) {
    v.ligne = n;
    Arbrelocalisation(s, v, o);
  }
  void choisit_k7(int n) {
    v.ligne_k7 = n;
    Arbrek7localisation(s, v, o);
  }
  // The selected line of the collection tree, the current support and recording, the page, the
  // selected line of "on this support".
  struct Courant {
    int ligne, support, record, page, ligne_k7;
    bool operator==(const Courant &) const = default;
  };
  Courant courant() const { return {v.ligne, s.support_courant(), s.record_courant(), v.page, v.ligne_k7}; }

  TempDir dir;
  Catalogue c{dir.path()};
  store::Store &s = c.store;
  TreeOptions o{kGroupingSupport, 1, "non Class\xe9", kToday};
  Vue v;
};

TEST_F(Commands, OpeningMakesTheFirstEntryOfEachGroupingCurrent) {
  // Each first entry is A or one of its recordings.
  struct Cas {
    int grouping;
    Lignes arbre;
    Courant courant;
  } cas[] = {
      {kGroupingSupport, {"VHS", "A", "B", "S-VHS", "non Class\xe9", "Long"}, {2, 0, 0, 0, 0}},
      {kGroupingReference, {"A", "B", "Long"}, {1, 0, 0, 0, 0}},
      {kGroupingTheme, {"drame", "a2", "western", "a1", "b1", "non Class\xe9"}, {2, 0, 1, 1, 3}},
      {kGroupingTitle, {"a1", "a2", "b1"}, {1, 0, 0, 1, 2}},
  };
  for (const Cas &k : cas) {
    SCOPED_TRACE(k.grouping);
    groupe(k.grouping);
    EXPECT_TRUE(v.arbre_change);
    EXPECT_EQ(textes(v.lignes()), k.arbre);
    EXPECT_EQ(courant(), k.courant);
    EXPECT_EQ(textes(v.arbrek7), (Lignes{"A", "a1", "a2"}));
  }
  // An empty dossier leaves nothing current, on the supports page where its first one is added.
  c.dossier("Vide");
  groupe(kGroupingTitle);
  EXPECT_EQ(courant(), (Courant{0, -1, -1, 0, 0}));
}

TEST_F(Commands, ChoosingLinesOfBothTrees) {
  groupe(kGroupingTheme);
  choisit(1);  // a heading: nothing changes but "on this support" empties
  EXPECT_EQ(courant(), (Courant{1, 0, 1, 1, 0}));
  EXPECT_TRUE(v.arbrek7.empty());
  choisit(5);  // b1
  EXPECT_EQ(courant(), (Courant{5, 1, 2, 1, 2}));
  EXPECT_EQ(textes(v.arbrek7), (Lignes{"B", "b1"}));
  choisit_k7(1);  // the support line shows the support page
  EXPECT_EQ(courant(), (Courant{5, 1, 2, 0, 1}));

  // A recording of "on this support" becomes current; the recording grouping follows it.
  choisit(2);
  choisit_k7(2);  // a1
  EXPECT_EQ(courant(), (Courant{4, 0, 0, 1, 2}));

  // localise_element: the current recording (or support) shown in the "Référence" grouping.
  choisit(5);  // b1
  localise_element(s, v, o, true);
  EXPECT_EQ(o.grouping, kGroupingReference);
  EXPECT_EQ(courant(), (Courant{2, 1, 2, 1, 2}));
  s.choisit_support(0);
  localise_element(s, v, o, false);
  EXPECT_EQ(courant(), (Courant{1, 0, 0, 0, 0}));
}

TEST_F(Commands, ValidationsAreRefusedBeforeAnythingIsWritten) {
  groupe(kGroupingSupport);
  const auto avant = dir.snapshot();
  // The reference comes from the number; the other defaults are the store's.
  store::TDataSupport sup = ajoute_support(s);
  EXPECT_EQ(sup.reference(), "000004");
  struct Cas {
    const char *type, *reference;
    Refus refus;
  } supports[] = {{"", "K7", Refus::type}, {"VHS", "", Refus::reference}, {"", "", Refus::type}};
  for (const Cas &k : supports) {
    sup.set_support(k.type);
    sup.set_reference(k.reference);
    EXPECT_EQ(valide_support(s, v, o, sup), k.refus);
  }
  s.choisit_support(0);
  store::Recording rec = ajoute_record(s);
  EXPECT_EQ(rec.record.reference(), "000004");
  Cas records[] = {{"", "R", Refus::titre}, {"T", "", Refus::reference}};
  for (const Cas &k : records) {
    rec.record.set_titre(k.type);
    rec.record.set_reference(k.reference);
    EXPECT_EQ(valide_record(s, v, o, rec), k.refus);
  }
  // Only the dossier's counters may move: store_test shows the numbers taken are not given again.
  auto apres = dir.snapshot();
  apres["MAINFILE"] = avant.at("MAINFILE");
  EXPECT_EQ(apres, avant);
}

TEST_F(Commands, AValidatedSupportStaysCurrentOnItsOwnLineWhateverTheGrouping) {
  groupe(kGroupingSupport);
  choisit(3);  // B
  store::TDataSupport sup = ajoute_support(s);
  sup.set_support("VHS");
  sup.set_reference("0");  // sorts first: B's old line position now holds A
  EXPECT_EQ(valide_support(s, v, o, sup), Refus::aucun);
  EXPECT_EQ(textes(v.lignes()), (Lignes{"VHS", "0", "A", "B", "S-VHS", "non Class\xe9", "Long"}));
  EXPECT_EQ(courant(), (Courant{2, 3, -1, 0, 0}));
  EXPECT_EQ(textes(v.arbrek7), Lignes{"0"});

  // In a recording grouping the tree stays as it was; the new support is current all the same,
  // with its own support tree, so its recordings can be added.
  groupe(kGroupingTitle);
  v.arbre_change = false;
  sup = ajoute_support(s);
  sup.set_support("S-VHS");
  sup.set_reference("Z");
  valide_support(s, v, o, sup);
  EXPECT_FALSE(v.arbre_change);
  EXPECT_EQ(courant(), (Courant{1, 4, -1, 0, 0}));
  EXPECT_EQ(textes(v.arbrek7), Lignes{"Z"});
  sup.set_observation("vue");
  valide_support(s, v, o, sup);
  EXPECT_EQ(std::pair(c.supports()[4].observation(), s.support().observation()), std::pair("vue"s, "vue"s));
}

TEST_F(Commands, AValidatedRecordingStaysCurrentAndTheTreeFollowsIt) {
  groupe(kGroupingTheme);
  choisit(4);  // a1, on A
  store::Recording rec = ajoute_record(s);
  rec.record.set_titre("a0");
  rec.record.set_theme("drame");
  EXPECT_EQ(valide_record(s, v, o, rec), Refus::aucun);
  EXPECT_EQ(textes(v.lignes()), (Lignes{"drame", "a0", "a2", "western", "a1", "b1", "non Class\xe9"}));
  EXPECT_EQ(courant(), (Courant{2, 0, 3, 1, 2}));
  EXPECT_EQ(textes(v.arbrek7), (Lignes{"A", "a0", "a1", "a2"}));

  // In the support grouping the tree is not rebuilt; "on this support" is.
  groupe(kGroupingSupport);
  choisit(3);  // B
  choisit_k7(2);
  rec = s.recording();
  rec.record.set_titre("b0");
  valide_record(s, v, o, rec);
  EXPECT_EQ(textes(v.arbrek7), (Lignes{"B", "b0"}));
  EXPECT_EQ(courant(), (Courant{3, 1, 2, 1, 2}));
}

TEST_F(Commands, DeletionsLeaveNothingStaleCurrent) {
  groupe(kGroupingSupport);
  supprime_support(s, v, o);  // A with a1 and a2
  EXPECT_EQ(textes(v.lignes()), (Lignes{"VHS", "B", "S-VHS", "non Class\xe9", "Long"}));
  EXPECT_EQ(courant(), (Courant{0, -1, -1, 0, 0}));
  EXPECT_TRUE(v.arbrek7.empty());

  // A recording deleted in the support grouping: its support shows again with what is left.
  c.sur(0).record("b2");
  groupe(kGroupingSupport);
  choisit_k7(3);  // b2
  supprime_record(s, v, o);
  EXPECT_EQ(textes(v.arbrek7), (Lignes{"B", "b1"}));
  EXPECT_EQ(courant(), (Courant{2, 0, 0, 0, 0}));

  // A recording whose support is gone gathers under an unnamed support, and can still go.
  store::Recording r = s.recording();
  r.record.set_numero_support(99);
  s.valide_record(r);
  groupe(kGroupingTitle);
  EXPECT_EQ(courant(), (Courant{1, -1, 0, 1, 2}));
  // a1 and a2 went with A: b1 is alone under its missing support.
  EXPECT_EQ(textes(v.arbrek7), (Lignes{"non Class\xe9", "b1"}));
  supprime_record(s, v, o);
  EXPECT_TRUE(v.lignes().empty());
}

}  // namespace
