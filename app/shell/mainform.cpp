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
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "config.h"
#include "decor.h"
#include "lists.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "pages.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"
#include "tarbre.h"

namespace shell {

namespace {

constexpr int kOutil = 42;     // tool-bar buttons
constexpr int kCommande = 24;  // command-bar buttons: eight fit the narrowest column

QLabel *etiquette(const char *nom, QWidget *parent = nullptr) {
  auto *l = new QLabel(parent);
  l->setObjectName(nom);
  return l;
}

}  // namespace

Tmainform::Tmainform(store::Store &store, int langue, Prompts &prompts, QWidget *parent)
    : QMainWindow(parent), store_(store), langue_(langue), prompts_(prompts) {
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
  auto *corps = new QHBoxLayout;
  corps->setSpacing(0);
  vertical->addLayout(corps, 1);
  cree_colonne(corps);
  cree_pages(corps);
  cree_barre_etat();

  charge_hint();
  SetLingua();
  store_.dossier_courant = -1;
  rubrique_->setCurrentIndex(3);
  affiche_caption();
  Panel3_->setFixedWidth(width() * 2 / 3 + 1);
  // A data directory that cannot be written is reported, and the window still opens.
  commande([this] { Affecte_liste(); });
  edition_support = edition_record = false;
  store::TDataConfig config = store::config_defaut(store_);
  commande([&] { config = store::lit_config(store_); });
  applique_preferences(config);
  TabSet1Change(0);
  etat_commandes();
  connect(rubrique_, &QComboBox::currentIndexChanged, this, [this] { rubriqueChange(); });
}

Tmainform::~Tmainform() = default;

// ---- construction ----

QAction *Tmainform::action(QMenu *parent, const char *nom, Handler handler) {
  auto *a = new QAction(parent);
  a->setObjectName(nom);
  parent->addAction(a);
  if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return a;
}

QMenu *Tmainform::menu(QWidget *parent, const char *nom) {
  auto *m = new QMenu(parent);
  m->setObjectName(nom);
  if (auto *barre = qobject_cast<QMenuBar *>(parent)) barre->addMenu(m);
  return m;
}

void Tmainform::cree_menus() {
  QMenuBar *barre = menuBar();
  barre->setObjectName("MainMenu1");
  const Handler plus_tard = &Tmainform::pas_encore;

  QMenu *fichier = menu(barre, "fichierM");
  action(fichier, "ouvre_dossier_me", &Tmainform::ouvre_dossier_meClick);
  action(fichier, "modifier_dossier_me", &Tmainform::modifier_dossier_meClick);
  action(fichier, "fermer_dossier_me", &Tmainform::fermer_dossier_meClick);
  action(fichier, "creer_dossier_me", &Tmainform::creer_dossier_meClick);
  action(fichier, "supprimer_dossier_me", &Tmainform::supprimer_dossier_meClick);
  fichier->addSeparator();
  action(fichier, "configuration_me", plus_tard);
  action(fichier, "imprimante_me", &Tmainform::imprimante_meClick);
  fichier->addSeparator();
  action(fichier, "quitter_me", &Tmainform::quitter_meClick);

  static constexpr const char *kListes[] = {
      "Paramtres1", "Genre1",     "Nationalit1",    "Version1", "Couleurs1", "Apprciation1",
      "Rcompenses1", "Catgories1", "Supports1", "Qualitsupport1", "Gnrique1",  "Formats1"};
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
  action(supports, "Support2", plus_tard);
  action(supports, "Liste2", plus_tard);
  QMenu *editions2 = menu(supports, "Editions2");
  supports->addMenu(editions2);
  for (const char *nom : {"Prt1", "Prtnonrendu1", "Emprunt1", "Empruntrendre1"})
    action(editions2, nom, plus_tard);

  QMenu *recherche = menu(barre, "RechercheM");
  action(recherche, "Multicritres1", plus_tard);
  action(recherche, "ResultatM", plus_tard);

  static constexpr const char *kStats[] = {"Thme1",    "Genre2",       "Nationalit2", "Version2",
                                           "Couleur2", "Apprciation2", "Support1"};
  QMenu *statistiques = menu(barre, "statistiquesM");
  statistiquesMB_ = menu(this, "statistiquesMB");
  for (const char *nom : kStats) {
    action(statistiques, nom, plus_tard);
    action(statistiquesMB_, (std::string(nom) + "_mb").c_str(), plus_tard);
  }

  QMenu *editions = menu(barre, "editionsM");
  editionsMB_ = menu(this, "editionsMB");
  static constexpr const char *kEditions[][2] = {{"Liste1", "supportsMB3"},
                                                 {"Listedesenregistrements1", "enregistrementMB3"},
                                                 {"ficheM", "ficheMB3"},
                                                 {"generiqueM", "generiqueMB3"},
                                                 {"Planningdenregistrement1", "planningMB3"}};
  for (const auto &paire : kEditions) {
    action(editions, paire[0], plus_tard);
    action(editionsMB_, paire[1], plus_tard);
  }

  auto *planning = new QAction(barre);
  planning->setObjectName("PlanningM");
  barre->addAction(planning);
  connect(planning, &QAction::triggered, this, &Tmainform::pas_encore);

  QMenu *aide = menu(barre, "aideM");
  action(aide, "Documentation1", &Tmainform::Documentation1Click);
  action(aide, "SiteWeb", &Tmainform::SiteWebClick);
  aide->addSeparator();
  action(aide, "apropos", &Tmainform::Apropos1Click);
}

QToolButton *Tmainform::bouton(QWidget *parent, const char *nom, Handler handler, int taille) {
  auto *b = new QToolButton(parent);
  b->setObjectName(nom);
  b->setAutoRaise(true);
  b->setFixedSize(taille, taille);
  b->setIcon(icone(QString::fromLatin1(nom)));
  const int cote = std::min(32, taille - 6);
  b->setIconSize(QSize(cote, cote));
  if (handler) connect(b, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
  if (parent->layout()) parent->layout()->addWidget(b);
  return b;
}

void Tmainform::cree_barre_outils() {
  tx1_ = new Fond;
  tx1_->setObjectName("tx1");
  auto *rang = new QHBoxLayout(tx1_);
  rang->setContentsMargins(6, 3, 6, 3);
  rang->setSpacing(2);
  auto separe = [&] { rang->addSpacing(12); };
  bouton(tx1_, "dossier_bt", &Tmainform::ouvre_dossier_meClick, kOutil);
  separe();
  bouton(tx1_, "photo_bt", &Tmainform::pas_encore, kOutil);
  bouton(tx1_, "video_bt", &Tmainform::pas_encore, kOutil);
  bouton(tx1_, "generique_bt", &Tmainform::pas_encore, kOutil);
  separe();
  bouton(tx1_, "recherche_bt", &Tmainform::pas_encore, kOutil);
  bouton(tx1_, "resultat_bt", &Tmainform::pas_encore, kOutil);
  QToolButton *stats = bouton(tx1_, "statistiques_bt", nullptr, kOutil);
  QToolButton *editions = bouton(tx1_, "editions_bt", nullptr, kOutil);
  bouton(tx1_, "echeancier_bt", &Tmainform::pas_encore, kOutil);
  separe();
  QToolButton *parametres = bouton(tx1_, "parametres_bt", nullptr, kOutil);
  rang->addStretch(1);
  connect(stats, &QToolButton::clicked, this, [=, this] { ouvre_popup(stats, statistiquesMB_); });
  connect(editions, &QToolButton::clicked, this, [=, this] { ouvre_popup(editions, editionsMB_); });
  connect(parametres, &QToolButton::clicked, this,
          [=, this] { ouvre_popup(parametres, parametresMB_); });
}

void Tmainform::cree_colonne(QBoxLayout *corps) {
  tx2_ = new Fond;
  tx2_->setObjectName("tx2");
  auto *colonne = new QVBoxLayout(tx2_);
  // 10 pixels each side: the selector and both trees are 20 pixels narrower than the column.
  colonne->setContentsMargins(10, 8, 10, 0);
  colonne->setSpacing(4);
  QLabel *a2 = etiquette("a2_");
  QFont gras = a2->font();
  gras.setBold(true);
  a2->setFont(gras);
  colonne->addWidget(a2);
  auto *tri = new QHBoxLayout;
  tri->addWidget(etiquette("a1_"));
  rubrique_ = new QComboBox;
  rubrique_->setObjectName("rubrique");
  tri->addWidget(rubrique_, 1);
  colonne->addLayout(tri);
  arbre_ = new browse::Tarbre;
  arbre_->setObjectName("arbre");
  colonne->addWidget(arbre_, 3);
  QLabel *a3 = etiquette("a3_");
  a3->setFont(gras);
  colonne->addWidget(a3);
  arbrek7_ = new browse::Tarbre;
  arbrek7_->setObjectName("arbrek7");
  colonne->addWidget(arbrek7_, 2);
  connect(arbre_, &browse::Tarbre::line_clicked, this, [this] { arbreClick(); });
  connect(arbrek7_, &browse::Tarbre::line_clicked, this, [this] { arbrek7Click(); });

  tx4_ = new Fond;
  tx4_->setObjectName("tx4");
  auto *barres = new QVBoxLayout(tx4_);
  barres->setContentsMargins(0, 4, 0, 4);
  barre_support_ = new QWidget;
  barre_support_->setObjectName("barre_support");
  auto *rang_s = new QHBoxLayout(barre_support_);
  rang_s->setContentsMargins(0, 0, 0, 0);
  rang_s->setSpacing(0);
  const std::pair<const char *, Handler> support[] = {
      {"Sajouter", &Tmainform::SajouterClick}, {"Ssupprimer", &Tmainform::SsupprimerClick},
      {"Smodifier", &Tmainform::SmodifierClick}, {"Sok", &Tmainform::SokClick},
      {"Sprete", &Tmainform::pas_encore},        {"Semprunte", &Tmainform::pas_encore}};
  for (const auto &[nom, handler] : support) bouton(barre_support_, nom, handler, kCommande);
  rang_s->addStretch(1);
  barre_enregistrement_ = new QWidget;
  barre_enregistrement_->setObjectName("barre_enregistrement");
  auto *rang_e = new QHBoxLayout(barre_enregistrement_);
  rang_e->setContentsMargins(0, 0, 0, 0);
  rang_e->setSpacing(0);
  const std::pair<const char *, Handler> enregistrement[] = {
      {"Eajouter", &Tmainform::EajouterClick},  {"Esupprimer", &Tmainform::EsupprimerClick},
      {"Emodifier", &Tmainform::EmodifierClick}, {"Eok", &Tmainform::EokClick},
      {"Eaffiche", &Tmainform::pas_encore},      {"Evideo", &Tmainform::pas_encore},
      {"Egenerique", &Tmainform::pas_encore},    {"Erecompenses", &Tmainform::pas_encore}};
  for (const auto &[nom, handler] : enregistrement)
    bouton(barre_enregistrement_, nom, handler, kCommande);
  rang_e->addStretch(1);
  barres->addWidget(barre_support_);
  barres->addWidget(barre_enregistrement_);
  colonne->addWidget(tx4_);
  corps->addWidget(tx2_, 1);
}

void Tmainform::cree_barre_etat() {
  auto *barre = new QStatusBar;
  barre->setObjectName("Panel5");
  barre->setSizeGripEnabled(false);
  auto *logo = new LogoAnime(20, true);
  logo->setObjectName("logo");
  barre_info_ = new QLabel;
  barre_info_->setObjectName("barre_info");
  barre_info_->setText(QStringLiteral("  ") + QString::fromUtf8(kProgramTitle) +
                       QStringLiteral(" - ") + QString::fromUtf8(kMakerLine));
  auto *horloge = new Horloge;
  horloge->setObjectName("horloge");
  barre->addWidget(logo);
  barre->addWidget(barre_info_, 1);
  barre->addPermanentWidget(horloge);
  setStatusBar(barre);
}

// ---- language, lists, settings ----

void Tmainform::SetLingua() {
  for (const TexteControle &t : textes_mainform()) {
    QString texte = QString::fromUtf8(langue_ == 0 ? t.fr : t.en);
    QObject *o = findChild<QObject *>(QString::fromLatin1(t.nom));
    if (!o) continue;
    if (t.sur == TexteSur::hint) {
      if (auto *w = qobject_cast<QWidget *>(o)) w->setToolTip(texte);
    } else if (auto *m = qobject_cast<QMenu *>(o)) {
      m->setTitle(texte);
    } else if (auto *a = qobject_cast<QAction *>(o)) {
      a->setText(texte);
    } else if (auto *l = qobject_cast<QLabel *>(o)) {
      l->setText(texte);
    }
  }
  int garde = rubrique_->currentIndex();
  rubrique_->clear();
  rubrique_->addItems(items_rubrique(langue_));
  rubrique_->setCurrentIndex(garde);
  QStringList tabs = onglets(langue_);
  for (int i = 0; i < tabs.size(); ++i) TabSet1_->setTabText(i, tabs[i]);
}

void Tmainform::charge_hint() {
  std::optional<HintSettings> lu = lit_hint(store_.path(kHintFile));
  // A missing or unreadable file keeps the designed values; the next close writes it.
  hint_ = lu ? *lu : hint_defaut();
  applique_hint();
}

void Tmainform::applique_hint() {
  QFont f(QString::fromStdString(store::cp1252_to_utf8(hint_.font_name)));
  if (hint_.font_height < 0)
    f.setPixelSize(-hint_.font_height);
  else if (hint_.font_height > 0)
    f.setPixelSize(hint_.font_height);
  f.setBold(hint_.font_style & kFsBold);
  f.setItalic(hint_.font_style & kFsItalic);
  f.setUnderline(hint_.font_style & kFsUnderline);
  f.setStrikeOut(hint_.font_style & kFsStrikeOut);
  QToolTip::setFont(f);
  QPalette p = QToolTip::palette();
  p.setColor(QPalette::ToolTipBase, couleur_windows(std::uint32_t(hint_.color), palette()));
  p.setColor(QPalette::ToolTipText, couleur_windows(std::uint32_t(hint_.font_color), palette()));
  QToolTip::setPalette(p);
}

void Tmainform::applique_preferences(const store::TDataConfig &config) {
  index_arbre_ = config.index_arbre();
  QPixmap texture;
  QString fichier = qtext(config.fond_bitmap());
  if (config.fond_texture() && QFileInfo(fichier).isFile()) texture.load(fichier);
  QColor fond = couleur_windows(config.fond_couleur(), palette());
  for (Fond *f : {tx1_, tx2_, tx3_, tx4_, tx5_}) {
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
  if (store_.dossier_courant < 0) {
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    return;
  }
  store_.ouvre_mainfile();
  store_.lit_dossier(store_.dossier_courant);
  store_.ferme_mainfile();
  std::string titre = store_.dossier.titre();
  setWindowTitle(qtext(caption_pour(&titre)));
  ConstruireArbre();
}

EtatFenetre Tmainform::etat() const {
  EtatFenetre e;
  e.dossier_ouvert = store_.dossier_courant >= 0;
  e.edition_support = edition_support;
  e.edition_record = edition_record;
  e.support_courant = store_.support_courant >= 0;
  e.record_courant = store_.record_courant >= 0;
  e.record_affiche = !store_.record.affiche().empty();
  e.record_video = !store_.record.video().empty();
  e.lignes_arbrek7 = arbrek7_->line_count();
  e.types_support = pages_->SupportsS.liste->count();
  e.resultats = resultats;
  return e;
}

void Tmainform::etat_commandes() {
  const EtatCommandes c = shell::etat_commandes(etat());
  for (const EtatCible &cible : etat_cibles()) {
    QObject *o = findChild<QObject *>(QString::fromLatin1(cible.nom));
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
  mode_pages();
}

void Tmainform::place_controles() {
  Disposition d = shell::place_controles(width(), height());
  if (d.largeur != width() || d.hauteur != height()) resize(d.largeur, d.hauteur);
  Panel3_->setFixedWidth(d.panel3);
}

QPoint Tmainform::point_popup(const QToolButton *b) const {
  return tx1_->mapToGlobal(QPoint(b->x(), b->y() + 78));
}

void Tmainform::ouvre_popup(QToolButton *b, QMenu *popup) { popup->popup(point_popup(b)); }

void Tmainform::TabSet1Change(int t) {
  NoteBook1_->hide();
  NoteBook1_->setCurrentIndex(t);
  barre_enregistrement_->setVisible(t == 1);
  barre_support_->setVisible(t == 0);
  NoteBook1_->show();
}

// ---- the command boundary ----

void Tmainform::commande(const std::function<void()> &corps) {
  try {
    corps();
    return;
  } catch (const store::StoreError &e) {
    prompts_.message(Boite::erreur,
                     message(Msg::erreur_es, langue_)
                         .arg(QString::fromStdString(e.operation()),
                              QString::fromStdString(e.file()), QString::fromUtf8(e.what())),
                     Boutons::ok);
  } catch (const std::exception &e) {
    prompts_.message(Boite::erreur, QString::fromUtf8(e.what()), Boutons::ok);
  }
  // Leave the window consistent with what is still readable.
  try {
    affiche_caption();
  } catch (const std::exception &) {
    store_.ferme_dossier();
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    vide_arbres();
    vide_pages();
  }
  etat_commandes();
}

void Tmainform::rafraichit() {
  affiche_caption();
  etat_commandes();
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
  Reponse r = prompts_.message(Boite::confirmation,
                               message(Msg::quitter, langue_) + QString::fromUtf8(kProgramTitle),
                               Boutons::ok_annuler);
  // Written whatever the answer, as the settings may have changed since start-up.
  commande([this] { ecrit_hint(store_.path(kHintFile), hint_); });
  if (r == Reponse::ok)
    event->accept();
  else
    event->ignore();
}

// ---- frame commands ----

void Tmainform::quitter_meClick() { close(); }

void Tmainform::imprimante_meClick() {
  if (!imprimante_) imprimante_ = std::make_unique<QPrinter>();
  prompts_.configure_imprimante(*imprimante_);
}

void Tmainform::Documentation1Click() {
  QString aide = QString::fromStdString(store::cp1252_to_utf8(fichier_aide(store_, langue_)));
  if (QFileInfo(aide).isFile() && prompts_.ouvre_externe(QUrl::fromLocalFile(aide))) return;
  prompts_.message(Boite::information, message(Msg::aide_absente, langue_).arg(aide), Boutons::ok);
}

void Tmainform::SiteWebClick() {
  if (prompts_.message(Boite::confirmation, message(Msg::site_web, langue_), Boutons::ok_annuler) ==
      Reponse::ok)
    prompts_.ouvre_externe(QUrl(QString::fromLatin1(langue_ == 0 ? kWebFr : kWebEn)));
}

void Tmainform::Apropos1Click() {
  Apropos about(langue_, this);
  prompts_.execute(about);
}

void Tmainform::pas_encore() {
  prompts_.message(Boite::information, message(Msg::pas_disponible, langue_), Boutons::ok);
}

}  // namespace shell
