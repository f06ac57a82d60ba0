#include "recherche.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "aide.h"
#include "decor.h"
#include "lists.h"
#include "prompts.h"
#include "qt_text.h"

namespace search {

using ui::Boite;
using ui::Boutons;
using ui::ctext;
using ui::qtext;

namespace {

constexpr ui::TexteSur C = ui::TexteSur::caption;
constexpr ui::TexteSur H = ui::TexteSur::hint;

constexpr ui::TexteControle kTextes[] = {
    {"Label1", C, "Type", "Data"},
    {"Label2", C, "Opérateur", "Operator"},
    {"Label3", C, "Données", "Value"},
    {"Label4", C, "Lien", "Link"},
    {"image_fichier", H, "Ouvrir un fichier\nde requêtes", "Open a requests file"},
    {"dossier_ok", H, "Enregistrer un fichier\nde requêtes", "Save requests"},
    {"BitBtn3", H, "Effacer les requêtes", "Clear requests"},
};
constexpr ui::Paire kCaption{"Recherche multi-critères", "Search engine"};
constexpr ui::Paire kBoutons[] = {{"Ajouter à la liste", "Add to the list"},
                                  {"Supprimer de la liste", "Delete of the list"},
                                  {"Tout supprimer", "Delete all"},
                                  {"&Chercher", "&Search"}};
constexpr int kLargeurTexte = 40;  // field and value
constexpr const char *kPageAide = "recherche";

QString texte_message(Msg m, int langue) {
  return QString::fromStdString(message(m, langue));
}

}  // namespace

Trecherche::Trecherche(store::Store &store, EtatRecherche &etat, ui::Prompts &prompts, int langue,
                       QWidget *parent)
    : QDialog(parent), store_(store), etat_(etat), prompts_(prompts), langue_(langue) {
  setObjectName("Trecherche");

  auto combo = [this](const char *nom, bool editable) {
    auto *c = new QComboBox(this);
    c->setObjectName(nom);
    c->setEditable(editable);
    if (editable) c->lineEdit()->setMaxLength(kLargeurTexte);
    return c;
  };
  champs = combo("champs", true);
  champs->setInsertPolicy(QComboBox::NoInsert);
  champs->setMinimumWidth(champs->fontMetrics().horizontalAdvance(QString(34, QChar(u'n'))));
  donnee_liste = combo("donnee_liste", true);
  donnee_liste->setInsertPolicy(QComboBox::NoInsert);
  operateurs = combo("operateurs", false);
  liens = combo("liens", false);
  for (QComboBox *c : {operateurs, liens}) c->setMinimumContentsLength(4);
  donnee_texte = new QLineEdit(this);
  donnee_texte->setObjectName("donnee_texte");
  donnee_texte->setMaxLength(kLargeurTexte);
  // The two value controls take the same place; one shows at a time.
  valeur_ = new QStackedWidget(this);
  valeur_->addWidget(donnee_texte);
  valeur_->addWidget(donnee_liste);
  valeur_->setMinimumWidth(donnee_texte->fontMetrics().horizontalAdvance(QString(26, QChar(u'n'))));
  valeur_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  selec = new QListWidget(this);
  selec->setObjectName("selec");
  selec->setMinimumHeight(220);

  auto bouton = [this](const char *nom) {
    auto *b = new QPushButton(this);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    return b;
  };
  BitBtn4 = bouton("BitBtn4");
  BitBtn5 = bouton("BitBtn5");
  BitBtn6 = bouton("BitBtn6");
  BitBtn2 = bouton("BitBtn2");
  BitBtn1 = bouton("BitBtn1");
  BitBtn1->setText(QStringLiteral("OK"));
  BitBtn9 = bouton("BitBtn9");
  BitBtn9->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  // The query-file buttons: open, save, clear.
  auto outil = [this](const char *nom, const char *dessin) {
    QToolButton *b = registre_.ajoute(ui::bouton(nom, 34, this));
    b->setIcon(ui::icone(QString::fromLatin1(dessin)));
    return b;
  };
  image_fichier = outil("image_fichier", "dossier_bt");
  dossier_ok = outil("dossier_ok", "Sok");
  BitBtn3 = outil("BitBtn3", "Ssupprimer");

  auto *grille = new QGridLayout;
  grille->setHorizontalSpacing(14);
  QWidget *saisies[] = {champs, operateurs, valeur_, liens};
  for (int i = 0; i < 4; ++i) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    registre_.ajoute(label);
    grille->addWidget(label, 0, i);
    grille->addWidget(saisies[i], 1, i);
  }
  grille->setColumnStretch(0, 3);
  grille->setColumnStretch(2, 2);

  auto *liste = new QVBoxLayout;
  for (QPushButton *b : {BitBtn4, BitBtn5, BitBtn6}) liste->addWidget(b);
  liste->addStretch(1);
  auto *milieu = new QHBoxLayout;
  milieu->addWidget(selec, 1);
  milieu->addLayout(liste);

  auto *bas = new QHBoxLayout;
  for (QToolButton *b : {image_fichier, dossier_ok, BitBtn3}) bas->addWidget(b);
  bas->addStretch(1);
  for (QPushButton *b : {BitBtn2, BitBtn1, BitBtn9}) bas->addWidget(b);

  auto *tout = new QVBoxLayout(this);
  tout->addLayout(grille);
  tout->addLayout(milieu, 1);
  tout->addLayout(bas);
  resize(720, 440);

  connect(champs, &QComboBox::currentTextChanged, this, &Trecherche::champsChange);
  connect(donnee_liste, &QComboBox::currentTextChanged, this, &Trecherche::donneeChange);
  connect(donnee_texte, &QLineEdit::textChanged, this, &Trecherche::donneeChange);
  const std::pair<QAbstractButton *, void (Trecherche::*)()> clics[] = {
      {BitBtn4, &Trecherche::BitBtn4Click},       {BitBtn5, &Trecherche::BitBtn5Click},
      {BitBtn6, &Trecherche::BitBtn6Click},       {BitBtn2, &Trecherche::BitBtn2Click},
      {BitBtn1, &Trecherche::BitBtn1Click},       {image_fichier, &Trecherche::image_fichierClick},
      {dossier_ok, &Trecherche::dossier_okClick}, {BitBtn3, &Trecherche::BitBtn3Click}};
  for (const auto &[b, h] : clics) connect(b, &QAbstractButton::clicked, this, h);
  connect(BitBtn9, &QPushButton::clicked, this, [this] { ui::ouvre_aide(prompts_, langue_, kPageAide); });
  ui::aide_f1(*this, prompts_, langue_, kPageAide);

  // FormCreate: the first link word and nothing in the field or the values.
  liens->addItems({qtext(mot_et(langue_)), qtext(mot_ou(langue_))});
  liens->setCurrentIndex(0);
  champs->setCurrentIndex(-1);
}

void Trecherche::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void Trecherche::FormShow() {
  setWindowTitle(ui::choisit(kCaption, langue_));
  registre_.applique(kTextes, langue_);
  QPushButton *boutons[] = {BitBtn4, BitBtn5, BitBtn6, BitBtn2};
  for (std::size_t i = 0; i < std::size(boutons); ++i) {
    boutons[i]->setText(ui::choisit(kBoutons[i], langue_));
    boutons[i]->setMinimumWidth(boutons[i]->fontMetrics().horizontalAdvance(boutons[i]->text()) + 24);
  }
  liens->clear();
  liens->addItems({qtext(mot_et(langue_)), qtext(mot_ou(langue_))});
  {
    QSignalBlocker bloque(champs);
    champs->clear();
    for (const std::string &l : libelles_champs(langue_)) champs->addItem(qtext(l));
  }
  numerique_ = false;
  affecte_operateur();
  icone_selection();
  charge_requetes();
}

// ---- what the controls show ----

void Trecherche::champsChange(const QString &texte) {
  donnee_texte->setEnabled(true);
  operateurs->setEnabled(true);
  const SaisieValeur saisie = saisie_du_champ(ctext(texte), langue_);
  // The hidden control is emptied, so that a value the user cannot see is never added.
  if (saisie.sorte == SaisieValeur::texte) {
    donnee_liste->clear();
    donnee_liste->clearEditText();
    valeur_->setCurrentWidget(donnee_texte);
  } else {
    std::vector<std::string> valeurs;
    try {
      valeurs = saisie.sorte == SaisieValeur::liste ? store::lit_liste(store_, saisie.liste_kind)
                                                    : mots_oui_non(langue_);
    } catch (const std::exception &e) {
      ui::signale_echec(prompts_, e, langue_);
    }
    QStringList items;
    for (const std::string &v : valeurs) items << qtext(v);
    items.sort(Qt::CaseInsensitive);
    donnee_texte->clear();
    donnee_liste->clear();
    donnee_liste->addItems(items);
    donnee_liste->setCurrentIndex(-1);
    donnee_liste->clearEditText();
    valeur_->setCurrentWidget(donnee_liste);
  }
  icone_selection();
}

void Trecherche::donneeChange(const QString &texte) {
  if (!texte.isEmpty()) {
    numerique_ = est_nombre(ctext(texte));
    affecte_operateur();
  }
  icone_selection();
}

void Trecherche::affecte_operateur() {
  operateurs->clear();
  for (const std::string &o : search::operateurs(numerique_)) operateurs->addItem(qtext(o));
  operateurs->setCurrentIndex(0);
}

void Trecherche::icone_selection() {
  BitBtn4->setEnabled(!donnee_liste->currentText().isEmpty() || !donnee_texte->text().isEmpty());
  const bool lignes = selec->count() > 0;
  BitBtn5->setEnabled(lignes);
  BitBtn6->setEnabled(lignes);
  liens->setEnabled(lignes);
}

void Trecherche::remplit_selec(int choisie) {
  selec->clear();
  for (const std::string &l : lignes_criteres(travail_)) selec->addItem(qtext(l));
  selec->setCurrentRow(choisie);
  icone_selection();
}

void Trecherche::charge_requetes() {
  donnee_liste->clearEditText();
  donnee_texte->clear();
  operateurs->setCurrentIndex(0);
  liens->setCurrentIndex(0);
  travail_ = etat_.requete;
  remplit_selec(-1);
  champs->setCurrentIndex(1);
}

void Trecherche::efface_saisie() {
  champs->setCurrentIndex(-1);
  donnee_texte->clear();
  donnee_liste->setCurrentIndex(-1);
  donnee_liste->clearEditText();
  icone_selection();
}

void Trecherche::commande(const std::function<void()> &corps) {
  try {
    corps();
  } catch (const std::exception &e) {
    ui::signale_echec(prompts_, e, langue_);
  }
}

// ---- the criteria ----

void Trecherche::BitBtn4Click() {
  const Ajout a = ajoute_critere(travail_, ctext(champs->currentText()), ctext(donnee_liste->currentText()),
                                 ctext(donnee_texte->text()), ctext(operateurs->currentText()),
                                 ctext(liens->currentText()));
  if (a.refus) {
    prompts_.message(Boite::information, texte_message(*a.refus, langue_), Boutons::ok);
    return;
  }
  remplit_selec(a.slot);
}

void Trecherche::BitBtn5Click() {
  const int choisie = selec->currentRow();
  if (!suppression_possible(travail_, choisie)) return;
  if (prompts_.message(Boite::confirmation, texte_message(Msg::supprimer_selection, langue_),
                       Boutons::ok_annuler) == ui::Reponse::ok) {
    supprime_critere(travail_, choisie);
    remplit_selec(0);
  }
  efface_saisie();
}

void Trecherche::BitBtn6Click() {
  if (prompts_.message(Boite::confirmation, texte_message(Msg::supprimer_tout, langue_),
                       Boutons::ok_annuler) == ui::Reponse::ok) {
    vide(travail_);
    remplit_selec(-1);
  }
  efface_saisie();
}

// ---- leaving ----

void Trecherche::BitBtn2Click() {
  bool trouve = false;
  try {
    trouve = !etat_.lance(store_, travail_, langue_).empty();
  } catch (const std::exception &e) {
    ui::signale_echec(prompts_, e, langue_);
    return;
  }
  if (trouve)
    accept();
  else
    prompts_.message(Boite::information, texte_message(Msg::aucun_resultat, langue_), Boutons::ok);
}

void Trecherche::BitBtn1Click() {
  etat_.valide(travail_);
  accept();
}

// ---- query files ----

void Trecherche::image_fichierClick() {
  const QString nom = prompts_.choix_nom_fichier(texte_message(Msg::titre_ouvrir, langue_),
                                                 QString::fromUtf8(kFiltreFichiers), QStringLiteral("*.req"));
  const std::string chemin = nom.toStdString();
  if (nom.isEmpty() || !fichier_existe(chemin)) return;
  commande([&] {
    etat_.ouvre(chemin);
    charge_requetes();
  });
}

void Trecherche::dossier_okClick() {
  const QString nom = prompts_.choix_nom_fichier(texte_message(Msg::titre_enregistrer, langue_),
                                                 QString::fromUtf8(kFiltreFichiers), QStringLiteral("*.req"));
  if (nom.isEmpty()) return;
  commande([&] { etat_.enregistre(nom.toStdString(), travail_); });
}

void Trecherche::BitBtn3Click() {
  selec->clear();
  etat_.efface();
  charge_requetes();
}

}  // namespace search
