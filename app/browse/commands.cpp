#include "commands.h"

namespace browse {

namespace {

int numero_de(const std::string &entry) {
  return entry.empty() ? -1 : std::stoi(entry);
}

// reselection_arbre: the line of the current recording (or support), when the tree shows it.
void reselection_arbre(const store::Store &store, Vue &vue, bool recordings) {
  int ligne =
      ligne_de(vue.lignes(), recordings, recordings ? store.record_courant() : store.support_courant());
  if (ligne > 0) vue.ligne = ligne;
}

// Support n current, with its recordings in the support tree and the first of them current, on
// the support page.
void montre_support(store::Store &store, Vue &vue, const TreeOptions &options, int n) {
  store.choisit_support(n);
  int premier = -1;
  vue.arbrek7 = build_support_tree(store, store.support(), options, &premier);
  vue.ligne_k7 = 0;
  store.choisit_record(premier);
  vue.page = 0;
}

// Recording n current with its support, the support tree filled and the recording page shown.
void montre_record(store::Store &store, Vue &vue, const TreeOptions &options, int n) {
  store.choisit_record(n);
  const std::int32_t numero_support = store.record().numero_support();
  store.choisit_support(support_de_numero(store, numero_support));
  if (store.support_courant() >= 0) {
    vue.arbrek7 = build_support_tree(store, store.support(), options);
  } else {
    // A recording whose support is gone: its recordings gather under an unnamed support line,
    // so they can still be chosen, changed or deleted.
    store::TDataSupport orphelin;
    orphelin.set_numero(numero_support);
    orphelin.set_reference(options.unclassified);
    vue.arbrek7 = build_support_tree(store, orphelin, options);
  }
  int k7 = ligne_de(vue.arbrek7, true, store.record_courant());
  vue.ligne_k7 = k7 > 0 ? k7 : 1;
  vue.page = 1;
}

}  // namespace

void ConstruireArbre(store::Store &store, Vue &vue, const TreeOptions &options) {
  vue.arbre = std::make_shared<const std::vector<TreeLine>>(
      store.dossier_courant() < 0 ? std::vector<TreeLine>{} : build_tree(store, options));
  vue.ligne = 0;
  vue.arbre_change = true;
}

void Arbrelocalisation(store::Store &store, Vue &vue, const TreeOptions &options) {
  vue.arbrek7.clear();
  vue.ligne_k7 = 0;
  const int ligne = vue.ligne;
  const std::vector<TreeLine> &lignes = vue.lignes();
  const bool dedans = ligne > 0 && ligne <= static_cast<int>(lignes.size());
  Cible c =
      cible_ligne(ligne, options.grouping, dedans ? &lignes[static_cast<std::size_t>(ligne - 1)] : nullptr);
  if (c.quoi == Cible::support) {
    montre_support(store, vue, options, c.numero);
  } else if (c.quoi == Cible::record) {
    montre_record(store, vue, options, c.numero);
  }
}

void Arbrek7localisation(store::Store &store, Vue &vue, const TreeOptions &options) {
  const int ligne = vue.ligne_k7;
  if (ligne <= 1 || ligne > static_cast<int>(vue.arbrek7.size())) {
    vue.page = 0;
    return;
  }
  store.choisit_record(numero_de(vue.arbrek7[static_cast<std::size_t>(ligne - 1)].entry));
  vue.page = 1;
  if (!is_support_grouping(options.grouping)) reselection_arbre(store, vue, true);
}

void ouvre_collection(store::Store &store, Vue &vue, const TreeOptions &options) {
  ConstruireArbre(store, vue, options);
  // premier_element: an empty tree leaves nothing current, so the pages go blank.
  vue.ligne = premiere_ligne(vue.lignes());
  if (vue.ligne == 0) {
    // A new dossier starts on the supports page, where its first support is added.
    store.choisit_support(-1);
    store.choisit_record(-1);
    vue.page = 0;
  }
  Arbrelocalisation(store, vue, options);
}

void vide_collection(store::Store &store, Vue &vue) {
  store.ferme_dossier();
  vue = Vue{};
  vue.arbre_change = true;
}

store::TDataSupport ajoute_support(store::Store &store) {
  store.nouveau_support();
  store::TDataSupport s = store.support();
  s.set_reference(store::nombre_zero(s.numero(), 6));
  return s;
}

store::Recording ajoute_record(store::Store &store) {
  store.nouveau_record();
  store::Recording r = store.recording();
  r.record.set_reference(store::nombre_zero(r.record.numero(), 6));
  return r;
}

Refus valide_support(store::Store &store, Vue &vue, const TreeOptions &options,
                     const store::TDataSupport &saisi) {
  if (Refus r = verifie_support(saisi.support(), saisi.reference()); r != Refus::aucun) return r;
  store.valide_support(saisi);
  // The support just validated stays current, whatever the grouping and wherever its line went:
  // its page shows what was stored and its recordings can be added at once.
  const int edite = store.support_courant();
  if (is_support_grouping(options.grouping)) {
    ConstruireArbre(store, vue, options);
    reselection_arbre(store, vue, false);
  }
  montre_support(store, vue, options, edite);
  return Refus::aucun;
}

Refus valide_record(store::Store &store, Vue &vue, const TreeOptions &options,
                    const store::Recording &saisi) {
  if (Refus r = verifie_record(saisi.record.titre(), saisi.record.reference()); r != Refus::aucun) return r;
  store.valide_record(saisi);
  const int edite = store.record_courant();
  if (!is_support_grouping(options.grouping)) {
    ConstruireArbre(store, vue, options);
    reselection_arbre(store, vue, true);
  }
  Arbrelocalisation(store, vue, options);
  // The edited recording stays current, on its page.
  store.choisit_record(edite);
  if (int k7 = ligne_de(vue.arbrek7, true, edite); k7 > 0) vue.ligne_k7 = k7;
  vue.page = 1;
  return Refus::aucun;
}

void supprime_support(store::Store &store, Vue &vue, const TreeOptions &options) {
  store.supprime_support();
  ConstruireArbre(store, vue, options);
  Arbrelocalisation(store, vue, options);
}

void supprime_record(store::Store &store, Vue &vue, const TreeOptions &options) {
  store.supprime_record();
  ConstruireArbre(store, vue, options);
  // The support keeps its line, so what is left on it shows again.
  if (is_support_grouping(options.grouping)) reselection_arbre(store, vue, false);
  Arbrelocalisation(store, vue, options);
}

void localise_element(store::Store &store, Vue &vue, TreeOptions &options, bool recording) {
  const int choisi = store.record_courant();
  options.grouping = kGroupingReference;
  ConstruireArbre(store, vue, options);
  vue.ligne = ligne_de(vue.lignes(), false, store.support_courant());
  if (recording && vue.ligne == 0) {
    // Its support is gone, so no line of this grouping holds it: shown as its tree line would.
    montre_record(store, vue, options, choisi);
    return;
  }
  Arbrelocalisation(store, vue, options);
  if (recording) {
    store.choisit_record(choisi);
    vue.ligne_k7 = ligne_de(vue.arbrek7, true, choisi);
    vue.page = 1;
  } else {
    vue.page = 0;
  }
}

void relit_collection(store::Store &store, Vue &vue, const TreeOptions &options) {
  ConstruireArbre(store, vue, options);
  reselection_arbre(store, vue, !is_support_grouping(options.grouping));
  if (store.support_courant() >= 0) store.choisit_support(store.support_courant());
  if (store.record_courant() >= 0) store.choisit_record(store.record_courant());
}

}  // namespace browse
