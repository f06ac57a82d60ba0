// Tmainform: the main window. Its handlers live in one file per subsystem: this folder holds
// the frame, the language step, the enabling rules, quit/help/web/About (mainform.cpp) and the
// five dossier commands (mainform_dossier.cpp); app/browse holds the collection tree
// (mainform_tree.cpp) and the two pages with their commands (mainform_editing.cpp).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "commands_state.h"
#include "hint_stream.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QBoxLayout;

namespace store {
class Store;
struct TDataConfig;
struct TDataSupport;
}  // namespace store

namespace browse {
class Tarbre;
struct TreeOptions;
}  // namespace browse

namespace shell {

class Fond;
class Prompts;
struct ListeChamp;
struct Pages;

class Tmainform : public QMainWindow {
  Q_OBJECT
 public:
  // FormCreate: `store` is the program-wide state; nothing is read from files but the hint
  // settings and the preferences (and the reference lists for the selection boxes).
  Tmainform(store::Store &store, int langue, Prompts &prompts, QWidget *parent = nullptr);
  ~Tmainform() override;

  // Routines offered to the other parts of the window.
  void affiche_caption();
  void etat_commandes();
  void place_controles();
  void applique_preferences(const store::TDataConfig &config);

  // Collection tree. The entries of lignes_arbre and lignes_arbrek7 are the trees' own
  // (browse::Tarbre::entry).
  void ConstruireArbre();
  void Arbrelocalisation();
  void Arbrek7localisation();
  void premier_element();
  void reselection_arbre(bool recordings);
  void reselection_arbrek7(bool recordings);
  // The caller has set and read support_courant (and record_courant for a recording).
  void localise_element(bool recording);

  // Pages.
  void Affecte_liste();
  void ReadDataSupports();
  void WriteDataSupports();
  void ReadDataRecords();
  void WriteDataRecords();

  bool edition_support = false;
  bool edition_record = false;
  int resultats = 0;  // hits of the last search

  browse::Tarbre *arbre() const { return arbre_; }
  browse::Tarbre *arbrek7() const { return arbrek7_; }
  const Pages &pages() const { return *pages_; }
  // Where the last date picker was placed (LeftPos, TopPos).
  QPoint dernier_calendrier() const { return dernier_calendrier_; }

  int langue() const { return langue_; }
  const HintSettings &hint() const { return hint_; }
  EtatFenetre etat() const;
  // Where the pop-up of a tool button opens: the button's left, 78 pixels below its top.
  QPoint point_popup(const QToolButton *bouton) const;

 protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  using Handler = void (Tmainform::*)();

  // construction
  void cree_menus();
  void cree_barre_outils();
  void cree_colonne(QBoxLayout *corps);
  void cree_pages(QBoxLayout *corps);
  void cree_barre_etat();
  QAction *action(QMenu *menu, const char *nom, Handler handler);
  QMenu *menu(QWidget *parent, const char *nom);
  QToolButton *bouton(QWidget *parent, const char *nom, Handler handler, int taille);
  void SetLingua();
  void charge_hint();
  void applique_hint();

  // the command boundary: store failures end the command with an error box
  void commande(const std::function<void()> &corps);
  void rafraichit();
  void vide_arbres();
  void vide_pages();
  void vide_pages_courantes();

  // collection tree (app/browse/mainform_tree.cpp)
  browse::TreeOptions options_arbre() const;
  int remplit_arbrek7(const store::TDataSupport &support);
  void charge_support(int n);
  void charge_record(int n);
  void montre_page(int t);
  void rubriqueChange();
  void arbreClick();
  void arbrek7Click();

  // pages (app/browse/mainform_editing.cpp)
  void mode_pages();
  void montre_liste(const ListeChamp &c, int kind, const std::string &valeur, bool vide);
  void SajouterClick();
  void SsupprimerClick();
  void SmodifierClick();
  void SokClick();
  void EajouterClick();
  void EsupprimerClick();
  void EmodifierClick();
  void EokClick();
  void dateSbtnClick();
  void dateEbtnClick();
  void choisit_date(QLineEdit *champ, QToolButton *bouton);
  // Paramtres1Click ... Formats1Click: the reference-list editor on list `list_kind`.
  void ouvre_parametres(int list_kind);

  // dossier commands (mainform_dossier.cpp)
  void creer_dossier_meClick();
  void ouvre_dossier_meClick();
  void modifier_dossier_meClick();
  void fermer_dossier_meClick();
  void supprimer_dossier_meClick();

  // frame commands
  void quitter_meClick();
  void imprimante_meClick();
  void Documentation1Click();
  void SiteWebClick();
  void Apropos1Click();
  void TabSet1Change(int t);
  void pas_encore();
  void ouvre_popup(QToolButton *bouton, QMenu *popup);

  store::Store &store_;
  const int langue_;
  Prompts &prompts_;
  HintSettings hint_;
  std::unique_ptr<QPrinter> imprimante_;

  Fond *tx1_ = nullptr, *tx2_ = nullptr, *tx3_ = nullptr, *tx4_ = nullptr, *tx5_ = nullptr;
  QWidget *Panel3_ = nullptr;
  QComboBox *rubrique_ = nullptr;
  browse::Tarbre *arbre_ = nullptr, *arbrek7_ = nullptr;
  int index_arbre_ = 1;  // tree-index preference
  std::unique_ptr<Pages> pages_;
  QPoint dernier_calendrier_;
  QStackedWidget *NoteBook1_ = nullptr;
  QTabBar *TabSet1_ = nullptr;
  QWidget *barre_support_ = nullptr, *barre_enregistrement_ = nullptr;
  QLabel *barre_info_ = nullptr;
  QMenu *parametresMB_ = nullptr, *statistiquesMB_ = nullptr, *editionsMB_ = nullptr;
};

}  // namespace shell
