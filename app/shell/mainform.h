// Tmainform: the main window. Its handlers live in one file per subsystem: this folder holds
// the frame, the language step, the enabling rules, quit/help/web/About (mainform.cpp) and the
// five dossier commands (mainform_dossier.cpp).
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

#include "commands_state.h"
#include "hint_stream.h"

class QComboBox;
class QLabel;
class QMenu;
class QPrinter;
class QStackedWidget;
class QStandardItemModel;
class QTabBar;
class QToolButton;
class QTreeView;
class QBoxLayout;

namespace store {
class Store;
struct TDataConfig;
}  // namespace store

namespace shell {

class Fond;
class Prompts;

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

  bool edition_support = false;
  bool edition_record = false;
  QStringList lignes_arbre;
  QStringList lignes_arbrek7;
  int resultats = 0;  // hits of the last search

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
  void Affecte_liste();
  void charge_hint();
  void applique_hint();

  // the command boundary: store failures end the command with an error box
  void commande(const std::function<void()> &corps);
  void rafraichit();
  void vide_arbres();
  void vide_pages();
  void selectionne_premier();

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
  QTreeView *arbre_ = nullptr, *arbrek7_ = nullptr;
  QStandardItemModel *modele_arbre_ = nullptr, *modele_arbrek7_ = nullptr;
  QStackedWidget *NoteBook1_ = nullptr;
  QTabBar *TabSet1_ = nullptr;
  QWidget *barre_support_ = nullptr, *barre_enregistrement_ = nullptr;
  QLabel *barre_info_ = nullptr;
  QMenu *parametresMB_ = nullptr, *statistiquesMB_ = nullptr, *editionsMB_ = nullptr;
};

}  // namespace shell
