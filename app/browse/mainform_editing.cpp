// The support and recording pages of the main window: their controls, showing and copying the
// current records, the four support and four recording commands, the date buttons, and the
// twelve reference-list commands with the refresh that follows them.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "calendar.h"
#include "decor.h"
#include "lists.h"
#include "mainform.h"
#include "mainform_texts.h"
#include "page_logic.h"
#include "pages.h"
#include "parametres.h"
#include "prompts.h"
#include "qt_text.h"
#include "store.h"
#include "tarbre.h"
#include "tree.h"

namespace shell {

namespace {

using browse::Bornes;

QLabel *etiquette(const char *nom) {
  auto *l = new QLabel;
  l->setObjectName(nom);
  return l;
}

QLineEdit *champ(const char *nom, int longueur) {
  auto *e = new QLineEdit;
  e->setObjectName(nom);
  e->setMaxLength(longueur);
  e->setMinimumWidth(40);
  return e;
}

QPlainTextEdit *memo(const char *nom) {
  auto *m = new QPlainTextEdit;
  m->setObjectName(nom);
  return m;
}

// A spin edit that takes any text: what is not a number reads as the lower bound and a number
// outside the range as the nearest bound, shown as such when the field is left.
class NombreEdit : public QSpinBox {
 public:
  NombreEdit(const char *nom, Bornes b) {
    setObjectName(nom);
    setRange(b.min, b.max);
    setMinimumWidth(60);
  }

 protected:
  QValidator::State validate(QString &, int &) const override { return QValidator::Acceptable; }
  int valueFromText(const QString &texte) const override {
    return browse::valeur_saisie(ctext(texte), {minimum(), maximum()});
  }
};

QSpinBox *nombre(const char *nom, Bornes b) {
  return new NombreEdit(nom, b);
}

Bornes bornes(const QSpinBox *s) {
  return {s->minimum(), s->maximum()};
}
int lit_nombre(const QSpinBox *s) {
  return browse::valeur_saisie(ctext(s->text()), bornes(s));
}
void montre_nombre(QSpinBox *s, long long v) {
  s->setValue(browse::valeur_affichee(v, bornes(s)));
}

ListeChamp liste(const char *nom) {
  ListeChamp c;
  c.liste = new QComboBox;
  c.liste->setObjectName(nom);
  c.liste->setMinimumWidth(40);
  c.liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c.zero = new QLineEdit;
  c.zero->setObjectName(QString::fromLatin1(nom) + '0');
  c.zero->setReadOnly(true);
  c.zero->setMinimumWidth(40);
  return c;
}

// The selection list and its "0" edit share one cell; only one of them is visible.
void place(QGridLayout *g, int rang, int col, const char *label, const ListeChamp &c, int span = 1) {
  g->addWidget(etiquette(label), rang, col, Qt::AlignRight | Qt::AlignVCenter);
  g->addWidget(c.liste, rang, col + 1, 1, span);
  g->addWidget(c.zero, rang, col + 1, 1, span);
}

void place(QGridLayout *g, int rang, int col, const char *label, QWidget *w, int span = 1) {
  g->addWidget(etiquette(label), rang, col, Qt::AlignRight | Qt::AlignVCenter);
  g->addWidget(w, rang, col + 1, 1, span);
}

// The text of a selection list: its selected entry, or nothing.
std::string choix(const ListeChamp &c) {
  return c.liste->currentIndex() < 0 ? std::string() : ctext(c.liste->currentText());
}

void saisie(QWidget *w, bool edition) {
  if (auto *e = qobject_cast<QLineEdit *>(w)) e->setReadOnly(!edition);
  if (auto *m = qobject_cast<QPlainTextEdit *>(w)) m->setReadOnly(!edition);
  if (auto *s = qobject_cast<QAbstractSpinBox *>(w)) s->setReadOnly(!edition);
  w->setEnabled(edition);
}

void bascule(const ListeChamp &c, bool edition) {
  c.liste->setVisible(edition);
  c.liste->setEnabled(edition);
  c.zero->setVisible(!edition);
  c.zero->setEnabled(false);
}

}  // namespace

// ---- the pages ----

void Tmainform::cree_pages(QBoxLayout *corps) {
  pages_ = std::make_unique<Pages>();
  Pages &p = *pages_;
  Panel3_ = new QWidget;
  Panel3_->setObjectName("Panel3");
  auto *droite = new QVBoxLayout(Panel3_);
  droite->setContentsMargins(0, 0, 0, 0);
  droite->setSpacing(0);
  NoteBook1_ = new QStackedWidget;
  NoteBook1_->setObjectName("NoteBook1");

  tx3_ = new Fond;
  tx3_->setObjectName("tx3");
  auto *gs = new QGridLayout(tx3_);
  gs->setContentsMargins(16, 16, 16, 16);
  gs->setVerticalSpacing(8);
  p.SupportsS = liste("SupportsS");
  p.QualiteS = liste("QualiteS");
  place(gs, 0, 0, "s1_", p.SupportsS, 2);
  place(gs, 1, 0, "s2_", p.ReferenceS = champ("ReferenceS", 20), 2);
  place(gs, 2, 0, "s3_", p.QualiteS, 2);
  place(gs, 3, 0, "s4_", p.dateS = champ("dateS", 10));
  p.dateSbtn = bouton(tx3_, "dateSbtn", &Tmainform::dateSbtnClick, 26);
  gs->addWidget(p.dateSbtn, 3, 2, Qt::AlignLeft);
  place(gs, 4, 0, "s5_", p.DureeS = nombre("DureeS", browse::kDureeS));
  place(gs, 5, 0, "s7_", p.restantS = nombre("restantS", browse::kRestantS));
  place(gs, 6, 0, "s9_", p.finS = nombre("finS", browse::kFinS));
  p.ObservationS = memo("ObservationS");
  gs->addWidget(etiquette("s10_"), 7, 0, Qt::AlignRight | Qt::AlignTop);
  gs->addWidget(p.ObservationS, 7, 1, 1, 3);
  gs->setColumnStretch(1, 1);
  gs->setColumnStretch(3, 2);
  gs->setRowStretch(7, 1);
  NoteBook1_->addWidget(tx3_);

  tx5_ = new Fond;
  tx5_->setObjectName("tx5");
  auto *ge = new QGridLayout(tx5_);
  ge->setContentsMargins(16, 16, 16, 16);
  ge->setVerticalSpacing(8);
  place(ge, 0, 0, "e1_", p.TitreE = champ("TitreE", 255), 4);
  place(ge, 1, 0, "e3_", p.ReferenceE = champ("ReferenceE", 20));
  place(ge, 1, 2, "e2_", p.AnneeE = nombre("AnneeE", browse::kAnneeE), 2);
  place(ge, 2, 0, "e4_", p.DebutE = nombre("DebutE", browse::kDebutE));
  place(ge, 2, 2, "e5_", p.FinE = nombre("FinE", browse::kFinE), 2);
  place(ge, 3, 0, "e6_", p.dureeE = nombre("dureeE", browse::kDureeE));
  place(ge, 3, 2, "e8_", p.DateE = champ("DateE", 10));
  p.dateEbtn = bouton(tx5_, "dateEbtn", &Tmainform::dateEbtnClick, 26);
  ge->addWidget(p.dateEbtn, 3, 4, Qt::AlignLeft);
  p.ThemeE = liste("ThemeE");
  p.GenreE = liste("GenreE");
  p.NationaliteE = liste("NationaliteE");
  p.VersionE = liste("VersionE");
  p.CouleurE = liste("CouleurE");
  p.QualiteE = liste("QualiteE");
  p.AppreciationE = liste("AppreciationE");
  p.FormatE = liste("FormatE");
  place(ge, 4, 0, "e9_", p.ThemeE);
  place(ge, 4, 2, "e10_", p.GenreE, 2);
  place(ge, 5, 0, "e11_", p.NationaliteE);
  place(ge, 5, 2, "e12_", p.VersionE, 2);
  place(ge, 6, 0, "e13_", p.CouleurE);
  place(ge, 6, 2, "e14_", p.QualiteE, 2);
  place(ge, 7, 0, "e15_", p.AppreciationE);
  place(ge, 7, 2, "e18_", p.FormatE, 2);
  p.ResumerE = memo("ResumerE");
  ge->addWidget(etiquette("e17_"), 8, 0, Qt::AlignRight | Qt::AlignTop);
  ge->addWidget(p.ResumerE, 8, 1, 1, 4);
  p.prixE = new QListWidget;
  p.prixE->setObjectName("prixE");
  p.prixE->setMaximumHeight(80);
  ge->addWidget(etiquette("e16_"), 9, 0, Qt::AlignRight | Qt::AlignTop);
  ge->addWidget(p.prixE, 9, 1, 1, 4);
  ge->setColumnStretch(1, 1);
  ge->setColumnStretch(3, 1);
  ge->setRowStretch(8, 1);
  NoteBook1_->addWidget(tx5_);

  // Browsing locks the fields; their texts must stay as readable as while editing.
  QPalette lisible = NoteBook1_->palette();
  lisible.setColor(QPalette::Disabled, QPalette::Text, lisible.color(QPalette::Active, QPalette::Text));
  NoteBook1_->setPalette(lisible);
  droite->addWidget(NoteBook1_, 1);
  TabSet1_ = new QTabBar;
  TabSet1_->setObjectName("TabSet1");
  TabSet1_->setShape(QTabBar::RoundedSouth);
  TabSet1_->setDrawBase(false);
  TabSet1_->addTab(QString());
  TabSet1_->addTab(QString());
  droite->addWidget(TabSet1_);
  connect(TabSet1_, &QTabBar::currentChanged, this, &Tmainform::TabSet1Change);
  corps->addWidget(Panel3_);
}

// Browsing shows the "0" edits and locks every field; editing shows the selection lists.
void Tmainform::mode_pages() {
  Pages &p = *pages_;
  const bool s = edition_support, e = edition_record;
  for (QWidget *w :
       std::initializer_list<QWidget *>{p.ReferenceS, p.dateS, p.DureeS, p.restantS, p.finS, p.ObservationS})
    saisie(w, s);
  for (const ListeChamp *c : {&p.SupportsS, &p.QualiteS}) bascule(*c, s);
  p.dateSbtn->setEnabled(s);
  for (QWidget *w : std::initializer_list<QWidget *>{p.TitreE, p.ReferenceE, p.AnneeE, p.DebutE, p.FinE,
                                                     p.dureeE, p.DateE, p.ResumerE})
    saisie(w, e);
  for (const ListeChamp *c : {&p.ThemeE, &p.GenreE, &p.NationaliteE, &p.VersionE, &p.CouleurE,
                              &p.AppreciationE, &p.QualiteE, &p.FormatE})
    bascule(*c, e);
  p.dateEbtn->setEnabled(e);
  // The awards list stays readable in both modes; it is filled by the awards dialog.
  p.prixE->setEnabled(true);
}

void Tmainform::Affecte_liste() {
  Pages &p = *pages_;
  for (int kind : {1, 2, 3, 4, 5, 6, 12, 9, 8}) p.fichiers[kind] = store::lit_liste(store_, kind);
  montre_liste(p.ThemeE, 1, {}, true);
  montre_liste(p.GenreE, 2, {}, true);
  montre_liste(p.NationaliteE, 3, {}, true);
  montre_liste(p.VersionE, 4, {}, true);
  montre_liste(p.CouleurE, 5, {}, true);
  montre_liste(p.AppreciationE, 6, {}, true);
  montre_liste(p.FormatE, 12, {}, true);
  montre_liste(p.QualiteE, 9, {}, true);
  montre_liste(p.SupportsS, 8, {}, false);
  montre_liste(p.QualiteS, 9, {}, true);
}

// A field tied to a list: the text in its "0" edit, the equal entry selected in the list. A
// value missing from the list is offered as an entry of its own (except the support type,
// which must be chosen again), so an edit validated without touching it keeps the stored text.
void Tmainform::montre_liste(const ListeChamp &c, int kind, const std::string &valeur, bool vide) {
  browse::ContenuListe l =
      browse::contenu_liste(pages_->fichiers[static_cast<std::size_t>(kind)], vide, valeur, kind != 8);
  c.zero->setText(qtext(valeur));
  bool pareil = c.liste->count() == static_cast<int>(l.entrees.size());
  for (int i = 0; pareil && i < c.liste->count(); ++i)
    pareil = c.liste->itemText(i) == qtext(l.entrees[static_cast<std::size_t>(i)]);
  if (!pareil) {
    c.liste->clear();
    for (const std::string &e : l.entrees) c.liste->addItem(qtext(e));
  }
  c.liste->setCurrentIndex(l.choisie);
}

void Tmainform::ReadDataSupports() {
  Pages &p = *pages_;
  store::TDataSupport vide;
  const store::TDataSupport &s = store_.support_courant >= 0 ? store_.support : vide;
  montre_liste(p.SupportsS, 8, s.support(), false);
  p.ReferenceS->setText(qtext(s.reference()));
  montre_liste(p.QualiteS, 9, s.qualite(), true);
  p.dateS->setText(qtext(s.date()));
  montre_nombre(p.DureeS, s.duree());
  montre_nombre(p.restantS, s.restant());
  montre_nombre(p.finS, s.fin());
  p.ObservationS->setPlainText(qmemo(s.observation()));
}

void Tmainform::WriteDataSupports() {
  Pages &p = *pages_;
  store::TDataSupport &s = store_.support;
  s.set_support(choix(p.SupportsS));
  s.set_reference(ctext(p.ReferenceS->text()));
  s.set_qualite(choix(p.QualiteS));
  s.set_date(ctext(p.dateS->text()));
  s.set_duree(lit_nombre(p.DureeS));
  s.set_restant(lit_nombre(p.restantS));
  s.set_fin(lit_nombre(p.finS));
  s.set_observation(cmemo(p.ObservationS->toPlainText()));
}

void Tmainform::ReadDataRecords() {
  Pages &p = *pages_;
  store::TDataRecord vide;
  store::TDataRecord1 vide1;
  store::TDataRecompense sans_prix;
  const bool courant = store_.record_courant >= 0;
  const store::TDataRecord &r = courant ? store_.record : vide;
  const store::TDataRecord1 &r1 = courant ? store_.record1 : vide1;
  p.TitreE->setText(qtext(r.titre()));
  montre_nombre(p.AnneeE, r.annee());
  p.ReferenceE->setText(qtext(r.reference()));
  montre_liste(p.ThemeE, 1, r.theme(), true);
  montre_liste(p.GenreE, 2, r.genre(), true);
  montre_liste(p.NationaliteE, 3, r.nationalite(), true);
  montre_liste(p.VersionE, 4, r.version(), true);
  montre_liste(p.CouleurE, 5, r.couleur(), true);
  montre_liste(p.AppreciationE, 6, r.appreciation(), true);
  montre_liste(p.QualiteE, 9, r.qualite(), true);
  montre_liste(p.FormatE, 12, r1.format(), true);
  montre_nombre(p.DebutE, r.debut());
  montre_nombre(p.FinE, r.fin());
  montre_nombre(p.dureeE, r.duree());
  p.DateE->setText(qtext(r.date()));
  p.ResumerE->setPlainText(qmemo(r.resumer()));
  p.prixE->clear();
  for (const std::string &l : browse::prix_lignes(courant ? store_.recompense : sans_prix))
    p.prixE->addItem(qtext(l));
}

void Tmainform::WriteDataRecords() {
  Pages &p = *pages_;
  store::TDataRecord &r = store_.record;
  r.set_titre(ctext(p.TitreE->text()));
  r.set_annee(lit_nombre(p.AnneeE));
  r.set_reference(ctext(p.ReferenceE->text()));
  r.set_theme(choix(p.ThemeE));
  r.set_genre(choix(p.GenreE));
  r.set_nationalite(choix(p.NationaliteE));
  r.set_version(choix(p.VersionE));
  r.set_couleur(choix(p.CouleurE));
  r.set_appreciation(choix(p.AppreciationE));
  r.set_qualite(choix(p.QualiteE));
  store_.record1.set_format(choix(p.FormatE));
  r.set_debut(lit_nombre(p.DebutE));
  r.set_fin(lit_nombre(p.FinE));
  r.set_duree(lit_nombre(p.dureeE));
  r.set_date(ctext(p.DateE->text()));
  r.set_resumer(cmemo(p.ResumerE->toPlainText()));
}

void Tmainform::vide_pages() {
  int s = store_.support_courant, r = store_.record_courant;
  store_.support_courant = store_.record_courant = -1;
  ReadDataSupports();
  ReadDataRecords();
  store_.support_courant = s;
  store_.record_courant = r;
}

// ---- support commands ----

void Tmainform::SajouterClick() {
  commande([this] {
    store_.ouvre_supports();
    store_.nouveau_support();
    store_.support_courant = store_.nombre_supports();
    ReadDataSupports();
    edition_support = true;
    etat_commandes();
    pages_->ReferenceS->setText(qtext(store::nombre_zero(store_.support.numero(), 6)));
    pages_->SupportsS.liste->setFocus();
  });
}

void Tmainform::SmodifierClick() {
  commande([this] {
    store_.ouvre_supports();
    edition_support = true;
    etat_commandes();
    pages_->SupportsS.liste->setFocus();
  });
}

void Tmainform::SokClick() {
  commande([this] {
    Pages &p = *pages_;
    browse::Refus refus = browse::verifie_support(choix(p.SupportsS), ctext(p.ReferenceS->text()));
    if (refus == browse::Refus::type) {
      prompts_.message(Boite::information, message(Msg::type_manquant, langue_), Boutons::ok);
      p.SupportsS.liste->setFocus();
      return;
    }
    if (refus == browse::Refus::reference) {
      prompts_.message(Boite::information, message(Msg::reference_support_manquante, langue_), Boutons::ok);
      p.ReferenceS->setFocus();
      return;
    }
    WriteDataSupports();
    store_.ecrit_support(store_.support_courant);
    store_.ferme_supports();
    edition_support = false;
    if (browse::is_support_grouping(rubrique_->currentIndex())) {
      int ligne = arbre_->selected_line();
      ConstruireArbre();
      // With nothing selected before (the first support of a dossier), the new support's line.
      if (ligne > 0)
        arbre_->select_line(ligne);
      else
        reselection_arbre(false);
    }
    Arbrelocalisation();
    etat_commandes();
  });
}

void Tmainform::SsupprimerClick() {
  commande([this] {
    if (prompts_.message(Boite::avertissement, message(Msg::supprimer_support, langue_),
                         Boutons::ok_annuler) != Reponse::ok)
      return;
    store_.ouvre_records();
    store_.supprime_records_du_support(store_.support.numero());
    store_.ferme_records();
    store_.ouvre_supports();
    store_.supprime_support(store_.support_courant);
    store_.ferme_supports();
    // Neither number designates a record any more.
    store_.support_courant = store_.record_courant = -1;
    ReadDataSupports();
    ReadDataRecords();
    ConstruireArbre();
    Arbrelocalisation();
    etat_commandes();
  });
}

// ---- recording commands ----

void Tmainform::EajouterClick() {
  commande([this] {
    store_.ouvre_records();
    store_.nouveau_record();
    store_.record_courant = store_.nombre_records();
    ReadDataRecords();
    edition_record = true;
    etat_commandes();
    pages_->ReferenceE->setText(qtext(store::nombre_zero(store_.record.numero(), 6)));
    pages_->TitreE->setFocus();
  });
}

void Tmainform::EmodifierClick() {
  commande([this] {
    store_.ouvre_records();
    edition_record = true;
    etat_commandes();
    pages_->TitreE->setFocus();
  });
}

void Tmainform::EokClick() {
  commande([this] {
    Pages &p = *pages_;
    browse::Refus refus = browse::verifie_record(ctext(p.TitreE->text()), ctext(p.ReferenceE->text()));
    if (refus == browse::Refus::titre) {
      prompts_.message(Boite::information, message(Msg::titre_manquant, langue_), Boutons::ok);
      p.TitreE->setFocus();
      return;
    }
    if (refus == browse::Refus::reference) {
      prompts_.message(Boite::information, message(Msg::reference_record_manquante, langue_), Boutons::ok);
      p.ReferenceE->setFocus();
      return;
    }
    WriteDataRecords();
    store_.ecrit_record(store_.record_courant);
    store_.ferme_records();
    edition_record = false;
    const int edite = store_.record_courant;
    if (!browse::is_support_grouping(rubrique_->currentIndex())) {
      ConstruireArbre();
      reselection_arbre(true);
    }
    Arbrelocalisation();
    // The edited recording stays current, on its page.
    store_.record_courant = edite;
    charge_record(edite);
    ReadDataRecords();
    reselection_arbrek7(true);
    montre_page(1);
    etat_commandes();
  });
}

void Tmainform::EsupprimerClick() {
  commande([this] {
    if (prompts_.message(Boite::avertissement, message(Msg::supprimer_record, langue_),
                         Boutons::ok_annuler) != Reponse::ok)
      return;
    store_.ouvre_records();
    store_.supprime_record(store_.record_courant);
    store_.ferme_records();
    store_.record_courant = -1;
    ReadDataRecords();
    ConstruireArbre();
    // The support keeps its line, so what is left on it shows again.
    if (browse::is_support_grouping(rubrique_->currentIndex())) reselection_arbre(false);
    Arbrelocalisation();
    etat_commandes();
  });
}

// ---- date buttons ----

void Tmainform::dateSbtnClick() {
  choisit_date(pages_->dateS, pages_->dateSbtn);
}
void Tmainform::dateEbtnClick() {
  choisit_date(pages_->DateE, pages_->dateEbtn);
}

// The picker opens with its left edge 190 pixels left of the button, level with its top.
void Tmainform::choisit_date(QLineEdit *champ_date, QToolButton *bouton_date) {
  TPerpetualCalendar calendrier(this, &prompts_);
  QPoint coin = Panel3_->mapToGlobal(bouton_date->mapTo(Panel3_, QPoint(0, 0)));
  calendrier.setPosition(poDesigned);
  calendrier.setLeftPos(coin.x() - 190);
  calendrier.setTopPos(coin.y());
  calendrier.setDate(QString::fromStdString(
      to_picker_date(ctext(champ_date->text()), calendrier.day_first(), calendrier.separator())));
  dernier_calendrier_ = QPoint(calendrier.LeftPos(), calendrier.TopPos());
  if (calendrier.Execute())
    champ_date->setText(qtext(from_picker_date(ctext(calendrier.Date()), calendrier.day_first())));
}

// ---- reference lists ----

void Tmainform::ouvre_parametres(int list_kind) {
  commande([this, list_kind] {
    {
      TParametres editeur(store_, prompts_, langue_, list_kind, this);
      prompts_.execute(editeur);
    }
    // Renames reach the files at once: show them in the tree, the pages and the lists.
    ConstruireArbre();
    reselection_arbre(!browse::is_support_grouping(rubrique_->currentIndex()));
    if (store_.support_courant >= 0) charge_support(store_.support_courant);
    if (store_.record_courant >= 0) charge_record(store_.record_courant);
    Affecte_liste();
    ReadDataRecords();
    ReadDataSupports();
    etat_commandes();
  });
}

}  // namespace shell
