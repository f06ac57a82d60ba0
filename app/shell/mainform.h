// Tmainform: the main window's frame: menus, tool bar, status bar, the enabling of every
// command, the dossier commands and the reference-list commands. The browsing column and the
// two pages are one Tcollection (app/browse), placed under the tool bar.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "commands_state.h"
#include "hint_stream.h"
#include "requetes.h"
#include "textes.h"

class QMenu;
class QPrinter;
class QToolButton;

namespace store {
class Store;
struct TDataConfig;
}  // namespace store

namespace ui {
class Fond;
class Prompts;
}  // namespace ui

namespace browse {
class Tcollection;
}

namespace print {
class Canvas;
struct Bilan;
}  // namespace print

namespace shell {

class THintDesign;

class Tmainform : public QMainWindow {
  Q_OBJECT
 public:
  // FormCreate: `store` is the program-wide state; nothing is read from files but the hint
  // settings and the preferences (and the reference lists for the selection boxes).
  Tmainform(store::Store &store, int langue, ui::Prompts &prompts, QWidget *parent = nullptr);
  ~Tmainform() override;

  void affiche_caption();
  void etat_commandes();
  void place_controles();
  void applique_preferences(const store::TDataConfig &config);

  browse::Tcollection &collection() const { return *collection_; }
  int langue() const { return langue_; }
  const HintSettings &hint() const;
  THintDesign &HintDesign1() const { return *HintDesign1_; }
  EtatFenetre etat() const;
  // The search kept for the whole run: the query, the hits of the last search.
  search::EtatRecherche &recherche() { return recherche_; }
  // Where the pop-up of a tool button opens: the button's left, 78 pixels below its top.
  QPoint point_popup(const QToolButton *bouton) const;
  // --dossier N: opens dossier N as the chooser does, its password asked; any other text is
  // reported as no dossier and leaves nothing open.
  void ouvre_dossier_option(const QString &numero);

 protected:
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  using Handler = void (Tmainform::*)();
  void cree_menus();
  void cree_barre_outils();
  void cree_barre_etat();
  QAction *action(QMenu *menu, const char *nom, Handler handler);
  QMenu *menu(QWidget *parent, const char *nom);
  void charge_hint();
  // The command boundary: a failure is reported once, then the window shows what is readable.
  void commande(const std::function<void()> &corps);
  void apres_echec();

  // dossier commands (mainform_dossier.cpp)
  void creer_dossier_meClick();
  void ouvre_dossier_meClick();
  void modifier_dossier_meClick();
  void fermer_dossier_meClick();
  void supprimer_dossier_meClick();
  void ouvre_parametres(int list_kind);
  // The chooser's open of dossier k (`nom` names it in the box when there is none).
  void ouvre_dossier_numero(int k, const QString &nom);
  void echeancier_bt_Click();

  // loans and borrowings (mainform_prets.cpp)
  void SpreteClick();
  void SemprunteClick();
  void Support2Click();
  void Liste2Click();
  // Shows the list of lent (borrowed) supports; the support chosen becomes current.
  void montre_liste_prets(bool emprunts);

  // search and results (mainform_recherche.cpp)
  void recherche_bt_Click();
  void resultat_bt_Click();
  // The results window; OK goes to the chosen hit.
  void montre_resultats();

  void configuration_meClick();
  void quitter_meClick();
  void imprimante_meClick();
  void imprime(const std::function<print::Bilan(print::Canvas &)> &rapport);
  void Documentation1Click();
  void SiteWebClick();
  void Apropos1Click();
  void generique_bt_Click();
  // Thme1Click .. Support1Click: the statistics window on chart n.
  void statistiques(int n);
  void photo_bt_Click();
  void video_bt_Click();

  store::Store &store_;
  const int langue_;
  ui::Prompts &prompts_;
  bool lecture_seule_ = false;
  search::EtatRecherche recherche_;
  THintDesign *HintDesign1_;
  std::unique_ptr<QPrinter> imprimante_;
  ui::Registre registre_;
  ui::Fond *tx1_ = nullptr;
  browse::Tcollection *collection_ = nullptr;
  QMenu *parametresMB_ = nullptr, *statistiquesMB_ = nullptr, *editionsMB_ = nullptr;
};

}  // namespace shell
