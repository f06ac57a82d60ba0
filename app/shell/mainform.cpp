#include "mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "aide.h"
#include "apropos.h"
#include "collection.h"
#include "config.h"
#include "configuration.h"
#include "decor.h"
#include "hint_design.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "pdf_canvas.h"
#include "planning.h"
#include "printer_canvas.h"
#include "prompts.h"
#include "qt_text.h"
#include "reports.h"
#include "statistique.h"
#include "store.h"

namespace shell {

using namespace ui;

namespace {

constexpr int kOutil = 42;  // tool-bar buttons

}  // namespace

Tmainform::Tmainform(store::Store &store, int langue, ui::Prompts &prompts, QWidget *parent)
    : QMainWindow(parent),
      store_(store),
      langue_(langue),
      prompts_(prompts),
      HintDesign1_(new THintDesign(this)) {
  setObjectName("mainform");
  setWindowTitle(QString::fromUtf8(kProgramTitle));
  setMinimumSize(640, 480);

  auto *central = new QWidget;
  auto *vertical = new QVBoxLayout(central);
  vertical->setContentsMargins(0, 0, 0, 0);
  vertical->setSpacing(0);
  setCentralWidget(central);
  cree_menus();
  cree_barre_outils();
  vertical->addWidget(tx1_);
  collection_ = new browse::Tcollection(store_, prompts_, langue_);
  vertical->addWidget(collection_, 1);
  cree_barre_etat();

  charge_hint();
  registre_.applique(textes_mainform(), langue_);
  ui::aide_f1(*this, prompts_, langue_, "fenetre");
  // Before anything is read: a change another run left half done is undone, or, where nothing
  // can be written, the window only browses.
  lecture_seule_ = store_.lecture_seule();
  if (lecture_seule_)
    prompts_.message(
        Boite::information,
        message(store::journal_en_attente(store_.data_dir, store_.io()) ? Msg::lecture_seule_interrompue
                                                                        : Msg::lecture_seule,
                langue_),
        Boutons::ok);
  else
    commande([this] {
      if (store_.recupere())
        prompts_.message(Boite::information, message(Msg::change_annulee, langue_), Boutons::ok);
    });
  affiche_caption();
  collection_->Panel3()->setFixedWidth(width() * 2 / 3 + 1);
  // A data directory that cannot be written is reported, and the window still opens.
  commande([this] { collection_->Affecte_liste(); });
  store::TDataConfig config = store::config_defaut(store_);
  commande([&] { config = store::lit_config(store_); });
  applique_preferences(config);
  connect(collection_, &browse::Tcollection::etat_change, this, &Tmainform::etat_commandes);
  connect(collection_, &browse::Tcollection::echec, this, &Tmainform::apres_echec);
  for (const auto &[nom, handler] :
       {std::pair{"Sprete", &Tmainform::SpreteClick}, std::pair{"Semprunte", &Tmainform::SemprunteClick}})
    connect(qobject_cast<QToolButton *>(collection_->registre().cherche(nom)), &QToolButton::clicked, this,
            handler);
  etat_commandes();
}

Tmainform::~Tmainform() = default;

// ---- construction ----

QAction *Tmainform::action(QMenu *parent, const char *nom, Handler handler) {
  auto *a = new QAction(parent);
  a->setObjectName(nom);
  registre_.ajoute(a);
  parent->addAction(a);
  if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return a;
}

QMenu *Tmainform::menu(QWidget *parent, const char *nom) {
  auto *m = new QMenu(parent);
  m->setObjectName(nom);
  registre_.ajoute(m);
  if (auto *barre = qobject_cast<QMenuBar *>(parent)) barre->addMenu(m);
  return m;
}

void Tmainform::cree_menus() {
  QMenuBar *barre = menuBar();
  barre->setObjectName("MainMenu1");

  QMenu *fichier = menu(barre, "fichierM");
  action(fichier, "ouvre_dossier_me", &Tmainform::ouvre_dossier_meClick);
  action(fichier, "modifier_dossier_me", &Tmainform::modifier_dossier_meClick);
  action(fichier, "fermer_dossier_me", &Tmainform::fermer_dossier_meClick);
  action(fichier, "creer_dossier_me", &Tmainform::creer_dossier_meClick);
  action(fichier, "supprimer_dossier_me", &Tmainform::supprimer_dossier_meClick);
  fichier->addSeparator();
  action(fichier, "configuration_me", &Tmainform::configuration_meClick);
  action(fichier, "imprimante_me", &Tmainform::imprimante_meClick);
  fichier->addSeparator();
  action(fichier, "quitter_me", &Tmainform::quitter_meClick);

  static constexpr const char *kListes[] = {"Paramtres1", "Genre1",         "Nationalit1", "Version1",
                                            "Couleurs1",  "Apprciation1",   "Rcompenses1", "Catgories1",
                                            "Supports1",  "Qualitsupport1", "Gnrique1",    "Formats1"};
  QMenu *parametres = menu(barre, "parametresM");
  parametresMB_ = menu(this, "parametresMB");
  // Menu order; the list kind is the editor's (Catégories is 11, Supports 8).
  static constexpr int kKinds[] = {1, 2, 3, 4, 5, 6, 7, 11, 8, 9, 10, 12};
  for (int i = 0; i < 12; ++i) {
    for (QAction *a : {action(parametres, kListes[i], nullptr),
                       action(parametresMB_, (std::string(kListes[i]) + "_mb").c_str(), nullptr)})
      connect(a, &QAction::triggered, this, [this, kind = kKinds[i]] { ouvre_parametres(kind); });
  }

  QMenu *supports = menu(barre, "supportsM");
  action(supports, "Support2", &Tmainform::Support2Click);
  action(supports, "Liste2", &Tmainform::Liste2Click);
  QMenu *editions2 = menu(supports, "Editions2");
  supports->addMenu(editions2);
  // The loan reports: lent or borrowed, all or only those due.
  static constexpr std::pair<const char *, std::pair<bool, bool>> kPrets[] = {
      {"Prt1", {false, false}},
      {"Prtnonrendu1", {false, true}},
      {"Emprunt1", {true, false}},
      {"Empruntrendre1", {true, true}}};
  for (const auto &[nom, sorte] : kPrets)
    connect(action(editions2, nom, nullptr), &QAction::triggered, this, [this, sorte] {
      imprime([&, sorte](print::Canvas &c) {
        return print::liste_prets(store_, c, langue_, sorte.first, sorte.second);
      });
    });

  QMenu *recherche = menu(barre, "RechercheM");
  action(recherche, "Multicritres1", &Tmainform::recherche_bt_Click);
  action(recherche, "ResultatM", &Tmainform::resultat_bt_Click);

  static constexpr const char *kStats[] = {"Thme1",    "Genre2",       "Nationalit2", "Version2",
                                           "Couleur2", "Apprciation2", "Support1"};
  QMenu *statistiques = menu(barre, "statistiquesM");
  statistiquesMB_ = menu(this, "statistiquesMB");
  for (int n = 1; n <= 7; ++n)
    for (QAction *a : {action(statistiques, kStats[n - 1], nullptr),
                       action(statistiquesMB_, (std::string(kStats[n - 1]) + "_mb").c_str(), nullptr)})
      connect(a, &QAction::triggered, this, [this, n] { this->statistiques(n); });

  QMenu *editions = menu(barre, "editionsM");
  editionsMB_ = menu(this, "editionsMB");
  static constexpr const char *kEditions[][2] = {{"Liste1", "supportsMB3"},
                                                 {"Listedesenregistrements1", "enregistrementMB3"},
                                                 {"ficheM", "ficheMB3"},
                                                 {"generiqueM", "generiqueMB3"},
                                                 {"Planningdenregistrement1", "planningMB3"}};
  // The two lists print what the in-memory query finds; an empty query prints everything.
  using Rapport = std::function<print::Bilan(print::Canvas &)>;
  const Rapport rapports[] = {
      [this](print::Canvas &c) {
        return print::liste_supports(store_, c, langue_, search::filtres(recherche_.requete, langue_));
      },
      [this](print::Canvas &c) {
        return print::liste_enregistrements(store_, c, langue_, search::filtres(recherche_.requete, langue_));
      },
      [this](print::Canvas &c) {
        return print::fiche_technique(store_, c, langue_, store_.record_courant());
      },
      [this](print::Canvas &c) { return print::generique(store_, c, langue_, store_.record_courant()); },
      [this](print::Canvas &c) { return print::planning(store_, c, langue_); }};
  for (std::size_t i = 0; i < std::size(kEditions); ++i)
    for (const char *nom : kEditions[i])
      connect(action(nom == kEditions[i][0] ? editions : editionsMB_, nom, nullptr), &QAction::triggered,
              this, [this, rapport = rapports[i]] { imprime(rapport); });

  auto *planning = new QAction(barre);
  planning->setObjectName("PlanningM");
  registre_.ajoute(planning);
  barre->addAction(planning);
  connect(planning, &QAction::triggered, this, &Tmainform::echeancier_bt_Click);

  QMenu *aide = menu(barre, "aideM");
  action(aide, "Documentation1", &Tmainform::Documentation1Click);
  action(aide, "SiteWeb", &Tmainform::SiteWebClick);
  aide->addSeparator();
  action(aide, "apropos", &Tmainform::Apropos1Click);
}

void Tmainform::cree_barre_outils() {
  tx1_ = new ui::Fond;
  tx1_->setObjectName("tx1");
  auto *rang = new QHBoxLayout(tx1_);
  rang->setContentsMargins(6, 3, 6, 3);
  rang->setSpacing(2);
  // nullptr: a pop-up menu.
  const std::pair<const char *, Handler> boutons[] = {{"dossier_bt", &Tmainform::ouvre_dossier_meClick},
                                                      {nullptr, nullptr},
                                                      {"photo_bt", &Tmainform::photo_bt_Click},
                                                      {"video_bt", &Tmainform::video_bt_Click},
                                                      {"generique_bt", &Tmainform::generique_bt_Click},
                                                      {nullptr, nullptr},
                                                      {"recherche_bt", &Tmainform::recherche_bt_Click},
                                                      {"resultat_bt", &Tmainform::resultat_bt_Click},
                                                      {"statistiques_bt", nullptr},
                                                      {"editions_bt", nullptr},
                                                      {"echeancier_bt", &Tmainform::echeancier_bt_Click},
                                                      {nullptr, nullptr},
                                                      {"parametres_bt", nullptr}};
  const std::pair<const char *, QMenu *> popups[] = {
      {"statistiques_bt", statistiquesMB_}, {"editions_bt", editionsMB_}, {"parametres_bt", parametresMB_}};
  for (const auto &[nom, handler] : boutons) {
    if (!nom) {
      rang->addSpacing(12);
      continue;
    }
    QToolButton *b = registre_.ajoute(ui::bouton(nom, kOutil, tx1_));
    rang->addWidget(b);
    if (handler) connect(b, &QToolButton::clicked, this, [this, h = handler] { (this->*h)(); });
    for (const auto &[nom_popup, popup] : popups)
      if (std::string_view(nom) == nom_popup)
        connect(b, &QToolButton::clicked, this, [this, b, p = popup] { p->popup(point_popup(b)); });
  }
  rang->addStretch(1);
}

void Tmainform::cree_barre_etat() {
  auto *barre = new QStatusBar;
  barre->setObjectName("Panel5");
  barre->setSizeGripEnabled(false);
  auto *logo = new LogoAnime(20, true);
  logo->setObjectName("logo");
  auto *barre_info = new QLabel;
  barre_info->setObjectName("barre_info");
  barre_info->setText(QStringLiteral("  ") + QString::fromUtf8(kProgramTitle) + QStringLiteral(" - ") +
                      QString::fromUtf8(ligne_editeur(langue_)));
  auto *horloge = new Horloge;
  horloge->setObjectName("horloge");
  barre->addWidget(logo);
  barre->addWidget(barre_info, 1);
  barre->addPermanentWidget(horloge);
  setStatusBar(barre);
}

// ---- settings ----

void Tmainform::charge_hint() {
  std::optional<HintSettings> lu = lit_hint(store_.path(kHintFile));
  // A missing or unreadable file keeps the designed values; the next close writes it.
  HintDesign1_->set_settings(lu ? *lu : hint_defaut());
}

const HintSettings &Tmainform::hint() const {
  return HintDesign1_->settings();
}

void Tmainform::applique_preferences(const store::TDataConfig &config) {
  collection_->set_index_arbre(config.index_arbre());
  QPixmap texture;
  QString fichier = qtext(config.fond_bitmap());
  if (config.fond_texture() && QFileInfo(fichier).isFile()) texture.load(fichier);
  QColor fond = couleur_windows(config.fond_couleur(), palette());
  std::array<ui::Fond *, 5> fonds{tx1_};
  std::ranges::copy(collection_->fonds(), fonds.begin() + 1);
  for (ui::Fond *f : fonds) {
    if (!texture.isNull())
      f->set_texture(texture);
    else
      f->set_couleur(fond);
  }
  auto colore = [this](const QString &prefixe, std::uint32_t valeur) {
    QColor c = couleur_windows(valeur, palette());
    for (QLabel *l : findChildren<QLabel *>()) {
      const QString nom = l->objectName();
      if (nom.size() > prefixe.size() && nom.startsWith(prefixe) && nom.endsWith('_') &&
          nom[prefixe.size()].isDigit()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, c);
        l->setPalette(p);
      }
    }
  };
  colore(QStringLiteral("a"), config.couleur_arbre());
  colore(QStringLiteral("s"), config.couleur_support());
  colore(QStringLiteral("e"), config.couleur_enregistrement());
}

// ---- routines ----

void Tmainform::affiche_caption() {
  const QString seule = lecture_seule_ ? message(Msg::titre_lecture_seule, langue_) : QString();
  if (store_.dossier_courant() < 0) {
    setWindowTitle(QString::fromUtf8(kProgramTitle) + seule);
    return;
  }
  store_.relit_dossier();
  std::string titre = store_.dossier().titre();
  setWindowTitle(ui::qtext(caption_pour(&titre)) + seule);
}

EtatFenetre Tmainform::etat() const {
  const browse::Tcollection &c = *collection_;
  EtatFenetre e;
  e.dossier_ouvert = store_.dossier_courant() >= 0;
  e.edition_support = c.edition_support();
  e.edition_record = c.edition_record();
  e.support_courant = store_.support_courant() >= 0;
  e.record_courant = store_.record_courant() >= 0;
  e.record_affiche = !store_.record().affiche().empty();
  e.record_video = !store_.record().video().empty();
  e.lignes_arbrek7 = c.arbrek7->line_count();
  e.types_support = c.tx3_->SupportsS.liste->count();
  e.resultats = static_cast<int>(recherche_.resultats.size());
  e.lecture_seule = lecture_seule_;
  return e;
}

void Tmainform::etat_commandes() {
  const EtatCommandes c = shell::etat_commandes(etat());
  for (const EtatCible &cible : etat_cibles()) {
    QObject *o = registre_.cherche(cible.nom);
    if (!o) o = collection_->registre().cherche(cible.nom);
    if (auto *m = qobject_cast<QMenu *>(o))
      m->menuAction()->setEnabled(c.*cible.actif);
    else if (auto *a = qobject_cast<QAction *>(o))
      a->setEnabled(c.*cible.actif);
    else if (auto *w = qobject_cast<QWidget *>(o))
      w->setEnabled(c.*cible.actif);
  }
  // The pop-ups of the tool bar follow their menus.
  const std::pair<QMenu *, bool> popups[] = {
      {parametresMB_, c.parametresM}, {statistiquesMB_, c.statistiquesM}, {editionsMB_, c.editionsM}};
  for (const auto &[popup, actif] : popups)
    for (QAction *a : popup->actions())
      if (a->objectName() != "ficheMB3" && a->objectName() != "generiqueMB3") a->setEnabled(actif);
  collection_->mode_pages();
}

void Tmainform::place_controles() {
  Disposition d = shell::place_controles(width(), height());
  if (d.largeur != width() || d.hauteur != height()) resize(d.largeur, d.hauteur);
  collection_->Panel3()->setFixedWidth(d.panel3);
}

QPoint Tmainform::point_popup(const QToolButton *b) const {
  return tx1_->mapToGlobal(QPoint(b->x(), b->y() + 78));
}

// ---- the command boundary ----

void Tmainform::commande(const std::function<void()> &corps) {
  try {
    corps();
  } catch (const std::exception &e) {
    ui::signale_echec(prompts_, e, langue_);
    apres_echec();
  }
  etat_commandes();
}

// Leave the window consistent with what is still readable.
void Tmainform::apres_echec() {
  try {
    affiche_caption();
    collection_->reconstruit();
  } catch (const std::exception &) {
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    collection_->vide_collection();
  }
}

// ---- events ----

void Tmainform::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  place_controles();
  etat_commandes();
}

void Tmainform::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  place_controles();
}

void Tmainform::closeEvent(QCloseEvent *event) {
  Reponse r =
      prompts_.message(Boite::confirmation, message(Msg::quitter, langue_) + QString::fromUtf8(kProgramTitle),
                       Boutons::ok_annuler);
  // Written whatever the answer, as the settings may have changed since start-up.
  if (!lecture_seule_) commande([this] { ecrit_hint(store_.path(kHintFile), HintDesign1_->settings()); });
  if (r == Reponse::ok)
    event->accept();
  else
    event->ignore();
}

// ---- frame commands ----

// The preferences dialog, then the window dressed with what it wrote and the tree again, its
// labels following the tree mode.
void Tmainform::configuration_meClick() {
  commande([this] {
    Tconfiguration dialogue(store_, *HintDesign1_, prompts_, langue_, this);
    prompts_.execute(dialogue);
    applique_preferences(store::lit_config(store_));
    if (store_.dossier_courant() >= 0) collection_->reconstruit();
  });
}

void Tmainform::quitter_meClick() {
  close();
}

// A report on the printer chosen in the set-up; the window waits meanwhile. A failed job is an
// error; a report with nothing to print says so.
void Tmainform::imprime(const std::function<print::Bilan(print::Canvas &)> &rapport) {
  commande([&] {
    if (!imprimante_) imprimante_ = std::make_unique<QPrinter>();
    // A desktop without a printer: say how to choose one rather than fail on a nameless printer.
    if (imprimante_->printerName().isEmpty() && imprimante_->outputFileName().isEmpty()) {
      prompts_.message(Boite::avertissement, message(Msg::aucune_imprimante, langue_), Boutons::ok);
      return;
    }
    setEnabled(false);
    const std::unique_ptr<QWidget, void (*)(QWidget *)> reactive(this,
                                                                 [](QWidget *w) { w->setEnabled(true); });
    const std::string fichier = imprimante_->outputFileName().toStdString();
    print::Bilan b;
    if (fichier.empty()) {
      print::PrinterCanvas canvas(*imprimante_);
      b = rapport(canvas);
      if (!canvas.ok()) throw store::StoreError("print", imprimante_->printerName().toStdString());
    } else {
      // Printed to a file, every page goes into one document: a job a page would keep the last.
      print::PdfCanvas canvas(fichier);
      b = rapport(canvas);
      if (b.pages > 0 && !canvas.termine()) throw store::StoreError("write", fichier);
    }
    if (!b.message.empty())
      prompts_.message(Boite::information, QString::fromStdString(b.message), Boutons::ok);
  });
}

void Tmainform::imprimante_meClick() {
  if (!imprimante_) imprimante_ = std::make_unique<QPrinter>();
  prompts_.configure_imprimante(*imprimante_);
}

void Tmainform::Documentation1Click() {
  ui::ouvre_aide(prompts_, langue_, "index", store_.data_dir);
}

void Tmainform::SiteWebClick() {
  if (prompts_.message(Boite::confirmation, message(Msg::site_web, langue_), Boutons::ok_annuler) ==
      Reponse::ok)
    prompts_.ouvre_externe(QUrl(QString::fromLatin1(langue_ == 0 ? kWebFr : kWebEn)));
}

void Tmainform::Apropos1Click() {
  Apropos about(langue_, this);
  ui::aide_f1(about, prompts_, langue_, "apropos");
  prompts_.execute(about);
}

void Tmainform::echeancier_bt_Click() {
  commande([this] { loans::edite_planning(store_, prompts_, langue_, this); });
}

void Tmainform::photo_bt_Click() {
  collection_->photo_bt_Click();
}

void Tmainform::video_bt_Click() {
  collection_->video_bt_Click();
}

void Tmainform::generique_bt_Click() {
  collection_->generique_bt_Click();
}

void Tmainform::statistiques(int n) {
  commande([&] {
    search::Tstatistique fenetre(
        store_, prompts_, langue_, [this](const auto &page) { imprime(page); }, this);
    fenetre.affiche(n);
  });
}

}  // namespace shell
