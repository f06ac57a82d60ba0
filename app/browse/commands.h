// The support and recording commands and the moves through the trees, as plain functions over
// the store. Each one changes the store's current support and recording and the Vue (what the
// trees hold and select, which page shows); the window asks the user first, then copies the Vue
// onto its controls and the current records onto the pages.
#pragma once

#include <memory>
#include <vector>

#include "page_logic.h"
#include "store.h"
#include "tree.h"

namespace browse {

struct Vue {
  // The whole dossier under the chosen grouping; shared with the outline that shows it.
  std::shared_ptr<const std::vector<TreeLine>> arbre = std::make_shared<const std::vector<TreeLine>>();
  int ligne = 0;                  // its selected line, 1-based; 0: none
  std::vector<TreeLine> arbrek7;  // the current support and its recordings
  int ligne_k7 = 0;
  int page = 0;  // 0 support page, 1 recording page
  // Set when `arbre` was rebuilt, so the window replaces its lines only then (a large dossier
  // has 100,000 of them); the window clears it.
  bool arbre_change = false;
  const std::vector<TreeLine> &lignes() const { return *arbre; }
};

// ConstruireArbre: the collection tree of the open dossier (empty when none), nothing selected.
void ConstruireArbre(store::Store &store, Vue &vue, const TreeOptions &options);
// Arbrelocalisation: what the selected line of `arbre` designates becomes current, with its
// support tree; a heading changes nothing but empties the support tree.
void Arbrelocalisation(store::Store &store, Vue &vue, const TreeOptions &options);
// Arbrek7localisation: the selected recording of `arbrek7` becomes current; its first line (the
// support) shows the support page.
void Arbrek7localisation(store::Store &store, Vue &vue, const TreeOptions &options);
// A dossier just opened or a grouping just chosen: the tree rebuilt, its first entry current.
void ouvre_collection(store::Store &store, Vue &vue, const TreeOptions &options);
// Nothing open: empty trees, nothing current.
void vide_collection(store::Store &store, Vue &vue);

// Sajouter / Eajouter: a new support (recording on the current support) is current at the end
// of its file, with its reference proposed from its number. Returned as the page starts it.
store::TDataSupport ajoute_support(store::Store &store);
store::Recording ajoute_record(store::Store &store);
// Sok / Eok: `saisi` is the page's edit over the current record. Refused (nothing written) when a
// field is missing; else written, the trees refreshed and the record kept in view.
Refus valide_support(store::Store &store, Vue &vue, const TreeOptions &options,
                     const store::TDataSupport &saisi);
Refus valide_record(store::Store &store, Vue &vue, const TreeOptions &options, const store::Recording &saisi);
// Ssupprimer / Esupprimer, once the user agreed.
void supprime_support(store::Store &store, Vue &vue, const TreeOptions &options);
void supprime_record(store::Store &store, Vue &vue, const TreeOptions &options);

// localise_element: shows the current support (and with `recording`, the current recording) in
// the "Référence" grouping, whatever grouping was chosen; `options.grouping` changes to it.
void localise_element(store::Store &store, Vue &vue, TreeOptions &options, bool recording);
// After the reference lists changed: the tree and the current records read again.
void relit_collection(store::Store &store, Vue &vue, const TreeOptions &options);

}  // namespace browse
