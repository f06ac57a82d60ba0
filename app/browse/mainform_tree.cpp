// The collection tree of the main window: `arbre` (the whole dossier under the grouping of
// `rubrique`) and `arbrek7` (the current support and its recordings), and how a chosen line
// becomes the current support or recording.
#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>
#include <QTabBar>

#include "mainform.h"
#include "mainform_texts.h"
#include "page_logic.h"
#include "qt_text.h"
#include "store.h"
#include "tarbre.h"
#include "tree.h"

namespace shell {

namespace {

// Hourglass while the files are read.
struct Sablier {
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

int numero_de(const std::string &entry) {
  return entry.empty() ? -1 : std::stoi(entry);
}

}  // namespace

browse::TreeOptions Tmainform::options_arbre() const {
  browse::TreeOptions o;
  o.grouping = rubrique_->currentIndex();
  o.index_arbre = index_arbre_;
  o.unclassified = ctext(message(Msg::non_classe, langue_));
  o.today = store_.date_du_jour();
  return o;
}

void Tmainform::charge_support(int n) {
  store_.ouvre_supports();
  store_.lit_support(n);
  store_.ferme_supports();
}

void Tmainform::charge_record(int n) {
  store_.ouvre_records();
  store_.lit_record(n);
  store_.ferme_records();
}

void Tmainform::montre_page(int t) {
  TabSet1_->setCurrentIndex(t);
  TabSet1Change(t);
}

void Tmainform::ConstruireArbre() {
  if (store_.dossier_courant < 0) {
    arbre_->clear();
    return;
  }
  Sablier sablier;
  arbre_->clear();
  arbre_->set_lines(browse::build_tree(store_, options_arbre()));
}

void Tmainform::vide_arbres() {
  arbre_->clear();
  arbrek7_->clear();
}

// arbrek7 for the current support buffer; the current recording becomes its first one.
int Tmainform::remplit_arbrek7(const store::TDataSupport &support) {
  int premier = -1;
  arbrek7_->set_lines(browse::build_support_tree(store_, support, options_arbre(), &premier));
  return premier;
}

void Tmainform::Arbrelocalisation() {
  arbrek7_->clear();
  const int ligne = arbre_->selected_line();
  const std::vector<browse::TreeLine> &lignes = arbre_->lines();
  browse::Cible c = browse::cible_ligne(ligne, rubrique_->currentIndex(),
                                        ligne > 0 ? &lignes[static_cast<std::size_t>(ligne - 1)] : nullptr);
  if (c.quoi == browse::Cible::support) {
    store_.support_courant = c.numero;
    charge_support(c.numero);
    ReadDataSupports();
    store_.record_courant = remplit_arbrek7(store_.support);
    if (store_.record_courant >= 0) charge_record(store_.record_courant);
    ReadDataRecords();
    montre_page(0);
  } else if (c.quoi == browse::Cible::record) {
    store_.record_courant = c.numero;
    charge_record(c.numero);
    ReadDataRecords();
    store_.support_courant = browse::support_de_numero(store_, store_.record.numero_support());
    if (store_.support_courant >= 0) {
      charge_support(store_.support_courant);
      remplit_arbrek7(store_.support);
    } else {
      // A recording whose support is gone: its recordings gather under an unnamed support line,
      // so they can still be chosen, changed or deleted.
      store::TDataSupport orphelin;
      orphelin.set_numero(store_.record.numero_support());
      orphelin.set_reference(ctext(message(Msg::non_classe, langue_)));
      remplit_arbrek7(orphelin);
    }
    ReadDataSupports();
    int k7 = browse::ligne_de(arbrek7_->lines(), true, store_.record_courant);
    arbrek7_->select_line(k7 > 0 ? k7 : 1);
    montre_page(1);
  }
}

void Tmainform::Arbrek7localisation() {
  const int ligne = arbrek7_->selected_line();
  if (ligne <= 1) {
    montre_page(0);
    return;
  }
  store_.record_courant = numero_de(arbrek7_->entry(ligne));
  charge_record(store_.record_courant);
  ReadDataRecords();
  montre_page(1);
  if (!browse::is_support_grouping(rubrique_->currentIndex())) reselection_arbre(true);
}

// An empty tree leaves nothing current either, so the pages of a dossier opened before go blank.
void Tmainform::premier_element() {
  const int ligne = browse::premiere_ligne(arbre_->lines());
  const int numero = ligne > 0 ? numero_de(arbre_->entry(ligne)) : -1;
  if (browse::is_support_grouping(rubrique_->currentIndex()))
    store_.support_courant = numero;
  else
    store_.record_courant = numero;
  arbre_->select_line(ligne);
  if (ligne == 0) vide_pages_courantes();
  Arbrelocalisation();
}

// Nothing left to show: no current support or recording, blank pages.
void Tmainform::vide_pages_courantes() {
  store_.support_courant = store_.record_courant = -1;
  ReadDataSupports();
  ReadDataRecords();
}

void Tmainform::reselection_arbre(bool recordings) {
  int ligne = browse::ligne_de(arbre_->lines(), recordings,
                               recordings ? store_.record_courant : store_.support_courant);
  if (ligne > 0) arbre_->select_line(ligne);
}

void Tmainform::reselection_arbrek7(bool recordings) {
  if (!recordings) {
    arbrek7_->select_line(1);
    return;
  }
  int ligne = browse::ligne_de(arbrek7_->lines(), true, store_.record_courant);
  if (ligne > 0) arbrek7_->select_line(ligne);
}

void Tmainform::localise_element(bool recording) {
  commande([this, recording] {
    const int choisi = store_.record_courant;
    {
      QSignalBlocker bloque(rubrique_);
      rubrique_->setCurrentIndex(browse::kGroupingReference);
    }
    ConstruireArbre();
    arbre_->select_line(browse::ligne_de(arbre_->lines(), false, store_.support_courant));
    Arbrelocalisation();
    if (recording) {
      store_.record_courant = choisi;
      charge_record(choisi);
      arbrek7_->select_line(browse::ligne_de(arbrek7_->lines(), true, choisi));
      ReadDataRecords();
      montre_page(1);
    } else {
      ReadDataSupports();
      montre_page(0);
    }
    etat_commandes();
  });
}

// ---- events ----

void Tmainform::rubriqueChange() {
  commande([this] {
    ConstruireArbre();
    arbrek7_->clear();
    premier_element();
    etat_commandes();
  });
}

void Tmainform::arbreClick() {
  commande([this] {
    Sablier sablier;
    if (arbre_->line_count() > 0) Arbrelocalisation();
    etat_commandes();
  });
}

void Tmainform::arbrek7Click() {
  commande([this] {
    Sablier sablier;
    Arbrek7localisation();
    etat_commandes();
  });
}

}  // namespace shell
