#include "collection.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "aide.h"
#include "collection_texts.h"
#include "lists.h"
#include "prompts.h"
#include "qt_text.h"

namespace browse {

namespace {

constexpr int kCommande = 24;  // command-bar buttons: eight fit the narrowest column

// Hourglass while the files are read.
struct Sablier {
  Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Sablier() { QApplication::restoreOverrideCursor(); }
  Sablier(const Sablier &) = delete;
  Sablier &operator=(const Sablier &) = delete;
};

}  // namespace

Tcollection::Tcollection(store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent)
    : QWidget(parent), store_(store), prompts_(prompts), langue_(langue) {
  setObjectName("collection");
  auto *corps = new QHBoxLayout(this);
  corps->setContentsMargins(0, 0, 0, 0);
  corps->setSpacing(0);
  cree_colonne();
  cree_pages();
  corps->addWidget(tx2_, 1);
  corps->addWidget(Panel3_);
  rubrique->addItems(items_rubrique(langue_));
  rubrique->setCurrentIndex(kGroupingSupport);
  voir_generique_ = new Tvoir_generique(store_, langue_, this);
  ui::aide_f1(*voir_generique_, prompts_, langue_, "generique");
  normal_ = new Tnormal(prompts_, historique_, langue_, this);
  ui::aide_f1(*normal_, prompts_, langue_, "images");
  multimedia_ = new Tmultimedia(this);
  ui::aide_f1(*multimedia_, prompts_, langue_, "images");
  SetLingua();
  TabSet1Change(0);
  connect(rubrique, &QComboBox::currentIndexChanged, this, [this] { rubriqueChange(); });
  connect(arbre, &Tarbre::line_clicked, this, [this] { arbreClick(); });
  connect(arbrek7, &Tarbre::line_clicked, this, [this] { arbrek7Click(); });
  connect(TabSet1, &QTabBar::currentChanged, this, &Tcollection::TabSet1Change);
}

void Tcollection::cree_colonne() {
  tx2_ = new ui::Fond;
  tx2_->setObjectName("tx2");
  registre_.ajoute(tx2_);
  auto *colonne = new QVBoxLayout(tx2_);
  // 10 pixels each side: the selector and both trees are 20 pixels narrower than the column.
  colonne->setContentsMargins(10, 8, 10, 0);
  colonne->setSpacing(4);
  auto etiquette = [this](const char *nom, bool gras) {
    auto *l = new QLabel;
    l->setObjectName(nom);
    QFont f = l->font();
    f.setBold(gras);
    l->setFont(f);
    return registre_.ajoute(l);
  };
  colonne->addWidget(etiquette("a2_", true));
  auto *tri = new QHBoxLayout;
  tri->addWidget(etiquette("a1_", false));
  rubrique = new QComboBox;
  rubrique->setObjectName("rubrique");
  tri->addWidget(registre_.ajoute(rubrique), 1);
  colonne->addLayout(tri);
  arbre = new Tarbre;
  arbre->setObjectName("arbre");
  colonne->addWidget(registre_.ajoute(arbre), 3);
  colonne->addWidget(etiquette("a3_", true));
  arbrek7 = new Tarbre;
  arbrek7->setObjectName("arbrek7");
  colonne->addWidget(registre_.ajoute(arbrek7), 2);

  tx4_ = new ui::Fond;
  tx4_->setObjectName("tx4");
  registre_.ajoute(tx4_);
  auto *barres = new QVBoxLayout(tx4_);
  barres->setContentsMargins(0, 4, 0, 4);
  using Handler = void (Tcollection::*)();
  auto barre = [&](const char *nom, std::initializer_list<std::pair<const char *, Handler>> boutons) {
    auto *b = new QWidget;
    b->setObjectName(nom);
    auto *rang = new QHBoxLayout(b);
    rang->setContentsMargins(0, 0, 0, 0);
    rang->setSpacing(0);
    for (const auto &[nom_bouton, handler] : boutons) {
      QToolButton *bouton = registre_.ajoute(ui::bouton(nom_bouton, kCommande, b));
      rang->addWidget(bouton);
      // The buttons without a handler belong to later windows; the main window connects them.
      if (handler) connect(bouton, &QToolButton::clicked, this, [this, h = handler] { (this->*h)(); });
    }
    rang->addStretch(1);
    barres->addWidget(b);
    return b;
  };
  barre_support_ = barre("barre_support", {{"Sajouter", &Tcollection::SajouterClick},
                                           {"Ssupprimer", &Tcollection::SsupprimerClick},
                                           {"Smodifier", &Tcollection::SmodifierClick},
                                           {"Sok", &Tcollection::SokClick},
                                           {"Sprete", nullptr},
                                           {"Semprunte", nullptr}});
  barre_enregistrement_ = barre("barre_enregistrement", {{"Eajouter", &Tcollection::EajouterClick},
                                                         {"Esupprimer", &Tcollection::EsupprimerClick},
                                                         {"Emodifier", &Tcollection::EmodifierClick},
                                                         {"Eok", &Tcollection::EokClick},
                                                         {"Eaffiche", &Tcollection::EafficheClick},
                                                         {"Evideo", &Tcollection::EvideoClick},
                                                         {"Egenerique", &Tcollection::EgeneriqueClick},
                                                         {"Erecompenses", &Tcollection::ErecompensesClick}});
  colonne->addWidget(tx4_);
}

void Tcollection::cree_pages() {
  Panel3_ = new QWidget;
  Panel3_->setObjectName("Panel3");
  auto *droite = new QVBoxLayout(Panel3_);
  droite->setContentsMargins(0, 0, 0, 0);
  droite->setSpacing(0);
  NoteBook1_ = new QStackedWidget;
  NoteBook1_->setObjectName("NoteBook1");
  tx3_ = new PageSupport(registre_, fichiers_, prompts_);
  tx5_ = new PageRecord(registre_, fichiers_, prompts_);
  NoteBook1_->addWidget(tx3_);
  NoteBook1_->addWidget(tx5_);
  // Browsing locks the fields; their texts must stay as readable as while editing.
  QPalette lisible = NoteBook1_->palette();
  lisible.setColor(QPalette::Disabled, QPalette::Text, lisible.color(QPalette::Active, QPalette::Text));
  NoteBook1_->setPalette(lisible);
  droite->addWidget(NoteBook1_, 1);
  TabSet1 = new QTabBar;
  TabSet1->setObjectName("TabSet1");
  TabSet1->setShape(QTabBar::RoundedSouth);
  TabSet1->setDrawBase(false);
  TabSet1->addTab(QString());
  TabSet1->addTab(QString());
  droite->addWidget(registre_.ajoute(TabSet1));
}

void Tcollection::SetLingua() {
  registre_.applique(textes_collection(), langue_);
  QStringList tabs = onglets(langue_);
  for (int i = 0; i < tabs.size(); ++i) TabSet1->setTabText(i, tabs[i]);
}

TreeOptions Tcollection::options() const {
  TreeOptions o;
  o.grouping = rubrique->currentIndex();
  o.index_arbre = index_arbre_;
  o.unclassified = ui::ctext(message(Msg::non_classe, langue_));
  o.today = store_.date_du_jour();
  return o;
}

void Tcollection::TabSet1Change(int t) {
  NoteBook1_->hide();
  NoteBook1_->setCurrentIndex(t);
  barre_enregistrement_->setVisible(t == 1);
  barre_support_->setVisible(t == 0);
  NoteBook1_->show();
}

void Tcollection::commande(const std::function<void()> &corps) {
  try {
    corps();
  } catch (const std::exception &e) {
    ui::signale_echec(prompts_, e, langue_);
    emit echec();
  }
  emit etat_change();
}

void Tcollection::applique_arbre() {
  if (vue_.arbre_change) {
    Sablier sablier;
    arbre->set_lines(vue_.arbre);
    vue_.arbre_change = false;
  }
  arbre->select_line(vue_.ligne);
}

void Tcollection::applique() {
  applique_arbre();
  arbrek7->set_lines(vue_.arbrek7);
  arbrek7->select_line(vue_.ligne_k7);
  {
    QSignalBlocker bloque(TabSet1);
    TabSet1->setCurrentIndex(vue_.page);
  }
  TabSet1Change(vue_.page);
  montre_pages();
}

void Tcollection::montre_pages() {
  tx3_->ReadDataSupports(store_.support());
  tx5_->ReadDataRecords(store_.recording());
  mode_pages();
}

void Tcollection::mode_pages() {
  tx3_->mode(edition_support_);
  tx5_->mode(edition_record_);
}

void Tcollection::Affecte_liste() {
  for (int kind : {1, 2, 3, 4, 5, 6, 12, 9, 8})
    fichiers_[static_cast<std::size_t>(kind)] = store::lit_liste(store_, kind);
  montre_pages();
}

// ---- what the main window asks ----

void Tcollection::ouvre_collection() {
  edition_support_ = edition_record_ = false;
  Sablier sablier;
  browse::ouvre_collection(store_, vue_, options());
  applique();
}

void Tcollection::vide_collection() {
  edition_support_ = edition_record_ = false;
  browse::vide_collection(store_, vue_);
  applique();
}

void Tcollection::reconstruit() {
  ConstruireArbre(store_, vue_, options());
  applique_arbre();
}

void Tcollection::relit_collection() {
  browse::relit_collection(store_, vue_, options());
  Affecte_liste();
  applique();
}

void Tcollection::localise_element(bool recording) {
  commande([this, recording] {
    TreeOptions o = options();
    browse::localise_element(store_, vue_, o, recording);
    {
      QSignalBlocker bloque(rubrique);
      rubrique->setCurrentIndex(o.grouping);
    }
    applique();
  });
}

// ---- events ----

void Tcollection::rubriqueChange() {
  commande([this] {
    Sablier sablier;
    browse::ouvre_collection(store_, vue_, options());
    applique();
  });
}

void Tcollection::arbreClick() {
  commande([this] {
    if (arbre->line_count() == 0) return;
    Sablier sablier;
    vue_.ligne = arbre->selected_line();
    Arbrelocalisation(store_, vue_, options());
    applique();
  });
}

void Tcollection::arbrek7Click() {
  commande([this] {
    Sablier sablier;
    vue_.ligne_k7 = arbrek7->selected_line();
    Arbrek7localisation(store_, vue_, options());
    applique();
  });
}

// ---- support commands ----

void Tcollection::SajouterClick() {
  commande([this] {
    store::TDataSupport s = ajoute_support(store_);
    edition_support_ = true;
    mode_pages();
    tx3_->ReadDataSupports(s);
    tx3_->SupportsS.liste->setFocus();
  });
}

void Tcollection::SmodifierClick() {
  edition_support_ = true;
  tx3_->mode(true);
  tx3_->SupportsS.liste->setFocus();
  emit etat_change();
}

void Tcollection::SokClick() {
  commande([this] {
    store::TDataSupport saisi = store_.support();
    tx3_->WriteDataSupports(saisi);
    if (signale_refus(valide_support(store_, vue_, options(), saisi))) return;
    edition_support_ = false;
    applique();
  });
}

// A refused validation: the box names the missing field, which takes the focus; the edit goes on.
bool Tcollection::signale_refus(Refus refus) {
  const bool record = edition_record_;
  const struct {
    Refus refus;
    Msg msg;
    QWidget *champ;
  } kRefus[] = {
      {Refus::type, Msg::type_manquant, tx3_->SupportsS.liste},
      {Refus::titre, Msg::titre_manquant, tx5_->TitreE},
      {Refus::reference, record ? Msg::reference_record_manquante : Msg::reference_support_manquante,
       record ? static_cast<QWidget *>(tx5_->ReferenceE) : tx3_->ReferenceS}};
  for (const auto &r : kRefus) {
    if (r.refus != refus) continue;
    prompts_.message(ui::Boite::information, message(r.msg, langue_), ui::Boutons::ok);
    r.champ->setFocus();
    return true;
  }
  return false;
}

void Tcollection::SsupprimerClick() {
  commande([this] {
    if (prompts_.message(ui::Boite::avertissement, message(Msg::supprimer_support, langue_),
                         ui::Boutons::ok_annuler) != ui::Reponse::ok)
      return;
    supprime_support(store_, vue_, options());
    applique();
  });
}

// ---- recording commands ----

void Tcollection::EajouterClick() {
  commande([this] {
    saisi_ = ajoute_record(store_);
    edition_record_ = true;
    mode_pages();
    tx5_->ReadDataRecords(saisi_);
    tx5_->TitreE->setFocus();
  });
}

void Tcollection::EmodifierClick() {
  saisi_ = store_.recording();
  edition_record_ = true;
  tx5_->mode(true);
  tx5_->TitreE->setFocus();
  emit etat_change();
}

void Tcollection::EokClick() {
  commande([this] {
    tx5_->WriteDataRecords(saisi_);
    if (signale_refus(valide_record(store_, vue_, options(), saisi_))) return;
    edition_record_ = false;
    applique();
  });
}

void Tcollection::EgeneriqueClick() {
  commande([this] {
    Tsaisie_generique saisie(saisi_.generique, store::lit_liste(store_, 10), langue_, this);
    ui::aide_f1(saisie, prompts_, langue_, "generique");
    prompts_.execute(saisie);
  });
}

void Tcollection::ErecompensesClick() {
  commande([this] {
    Tsaisie_recompense saisie(saisi_.recompense, store::lit_liste(store_, 7), store::lit_liste(store_, 11),
                              langue_, this);
    ui::aide_f1(saisie, prompts_, langue_, "generique");
    prompts_.execute(saisie);
    tx5_->montre_prix(saisi_.recompense);
  });
}

// ---- poster and video ----

void Tcollection::EafficheClick() {
  commande([this] {
    Touvre_image choix(prompts_, historique_, *normal_, langue_, this);
    ui::aide_f1(choix, prompts_, langue_, "images");
    choix.set_nom(ui::qtext(saisi_.record.affiche()), QString::fromStdString(store_.data_dir));
    if (prompts_.execute(choix)) saisi_.record.set_affiche(ui::ctext(choix.nom()));
  });
}

void Tcollection::EvideoClick() {
  commande([this] {
    // A cancelled chooser gives back the name it started from.
    const QString depart = ui::qtext(saisi_.record.video());
    const QString choisi =
        prompts_.choix_fichier(QString(), QStringLiteral("Tout (*)"),
                               depart.isEmpty() ? QString::fromStdString(store_.data_dir) : depart);
    saisi_.record.set_video(ui::ctext(choisi.isEmpty() ? depart : choisi));
  });
}

void Tcollection::photo_bt_Click() {
  normal_->montre(ui::qtext(store_.record().affiche()));
}

void Tcollection::video_bt_Click() {
  multimedia_->joue(ui::qtext(store_.record().video()));
}

void Tcollection::generique_bt_Click() {
  commande([this] { voir_generique_->montre(store::lit_liste(store_, 10)); });
}

void Tcollection::EsupprimerClick() {
  commande([this] {
    if (prompts_.message(ui::Boite::avertissement, message(Msg::supprimer_record, langue_),
                         ui::Boutons::ok_annuler) != ui::Reponse::ok)
      return;
    supprime_record(store_, vue_, options());
    applique();
  });
}

}  // namespace browse
