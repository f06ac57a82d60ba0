#include "pages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QToolButton>

#include "calendar.h"
#include "page_logic.h"
#include "qt_text.h"
#include "textes.h"

namespace browse {

namespace {

using ui::cmemo;
using ui::ctext;
using ui::qmemo;
using ui::qtext;

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
    return valeur_saisie(ctext(texte), {minimum(), maximum()});
  }
};

// Builds a page's controls, registering each under its name.
struct Fabrique {
  ui::Registre &registre;
  QGridLayout *grille;

  QLabel *etiquette(const char *nom) {
    auto *l = new QLabel;
    l->setObjectName(nom);
    return registre.ajoute(l);
  }
  template <class T>
  T *nomme(T *w, const char *nom) {
    w->setObjectName(nom);
    return registre.ajoute(w);
  }
  QLineEdit *champ(const char *nom, int longueur) {
    auto *e = nomme(new QLineEdit, nom);
    e->setMaxLength(longueur);
    e->setMinimumWidth(40);
    return e;
  }
  QSpinBox *nombre(const char *nom, Bornes b) { return registre.ajoute(new NombreEdit(nom, b)); }
  QPlainTextEdit *memo(const char *nom) { return nomme(new QPlainTextEdit, nom); }
  ListeChamp liste(const char *nom) {
    ListeChamp c;
    c.liste = nomme(new QComboBox, nom);
    c.liste->setMinimumWidth(40);
    c.liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c.zero = nomme(new QLineEdit, (std::string(nom) + '0').c_str());
    c.zero->setReadOnly(true);
    c.zero->setMinimumWidth(40);
    return c;
  }
  // The selection list and its "0" edit share one cell; only one of them is visible.
  void place(int rang, int col, const char *label, const ListeChamp &c, int span = 1) {
    grille->addWidget(etiquette(label), rang, col, Qt::AlignRight | Qt::AlignVCenter);
    grille->addWidget(c.liste, rang, col + 1, 1, span);
    grille->addWidget(c.zero, rang, col + 1, 1, span);
  }
  void place(int rang, int col, const char *label, QWidget *w, int span = 1) {
    grille->addWidget(etiquette(label), rang, col, Qt::AlignRight | Qt::AlignVCenter);
    grille->addWidget(w, rang, col + 1, 1, span);
  }
  void place_haut(int rang, const char *label, QWidget *w, int span) {
    grille->addWidget(etiquette(label), rang, 0, Qt::AlignRight | Qt::AlignTop);
    grille->addWidget(w, rang, 1, 1, span);
  }
};

QGridLayout *grille(QWidget *page) {
  auto *g = new QGridLayout(page);
  g->setContentsMargins(16, 16, 16, 16);
  g->setVerticalSpacing(8);
  return g;
}

Bornes bornes(const QSpinBox *s) {
  return {s->minimum(), s->maximum()};
}
int lit_nombre(const QSpinBox *s) {
  return valeur_saisie(ctext(s->text()), bornes(s));
}
void montre_nombre(QSpinBox *s, long long v) {
  s->setValue(valeur_affichee(v, bornes(s)));
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

// The picker opens with its left edge 190 pixels left of the button, level with its top;
// returns where it was placed.
QPoint choisit_date(QWidget *parent, ui::Prompts &prompts, QLineEdit *champ_date, QToolButton *bouton_date) {
  ui::TPerpetualCalendar calendrier(parent, &prompts);
  QPoint coin = bouton_date->mapToGlobal(QPoint(0, 0));
  calendrier.setPosition(ui::poDesigned);
  calendrier.setLeftPos(coin.x() - 190);
  calendrier.setTopPos(coin.y());
  calendrier.setDate(QString::fromStdString(
      ui::to_picker_date(ctext(champ_date->text()), calendrier.day_first(), calendrier.separator())));
  if (calendrier.Execute())
    champ_date->setText(qtext(ui::from_picker_date(ctext(calendrier.Date()), calendrier.day_first())));
  return {calendrier.LeftPos(), calendrier.TopPos()};
}

}  // namespace

// A long value shows its beginning, not its end where the cursor of setText would leave it.
static void montre_texte(QLineEdit *champ, const std::string &valeur) {
  champ->setText(qtext(valeur));
  champ->setCursorPosition(0);
}

// A value missing from the list is offered as an entry of its own (except the support type,
// which must be chosen again), so an edit validated without touching it keeps the stored text.
void montre_liste(const ListeChamp &c, const Fichiers &fichiers, int kind, const std::string &valeur,
                  bool vide) {
  ContenuListe l = contenu_liste(fichiers[static_cast<std::size_t>(kind)], vide, valeur, kind != 8);
  montre_texte(c.zero, valeur);
  bool pareil = c.liste->count() == static_cast<int>(l.entrees.size());
  for (int i = 0; pareil && i < c.liste->count(); ++i)
    pareil = c.liste->itemText(i) == qtext(l.entrees[static_cast<std::size_t>(i)]);
  if (!pareil) {
    c.liste->clear();
    for (const std::string &e : l.entrees) c.liste->addItem(qtext(e));
  }
  c.liste->setCurrentIndex(l.choisie);
}

// ---- support page ----

PageSupport::PageSupport(ui::Registre &registre, const Fichiers &fichiers, ui::Prompts &prompts)
    : fichiers_(fichiers), prompts_(prompts) {
  setObjectName("tx3");
  Fabrique f{registre, grille(this)};
  SupportsS = f.liste("SupportsS");
  QualiteS = f.liste("QualiteS");
  f.place(0, 0, "s1_", SupportsS, 2);
  f.place(1, 0, "s2_", ReferenceS = f.champ("ReferenceS", 20), 2);
  f.place(2, 0, "s3_", QualiteS, 2);
  f.place(3, 0, "s4_", dateS = f.champ("dateS", 10));
  dateSbtn = registre.ajoute(ui::bouton("dateSbtn", 26));
  f.grille->addWidget(dateSbtn, 3, 2, Qt::AlignLeft);
  f.place(4, 0, "s5_", DureeS = f.nombre("DureeS", kDureeS));
  f.place(5, 0, "s7_", restantS = f.nombre("restantS", kRestantS));
  f.place(6, 0, "s9_", finS = f.nombre("finS", kFinS));
  f.place_haut(7, "s10_", ObservationS = f.memo("ObservationS"), 3);
  f.grille->setColumnStretch(1, 1);
  f.grille->setColumnStretch(3, 2);
  f.grille->setRowStretch(7, 1);
  connect(dateSbtn, &QToolButton::clicked, this, [this] { dateSbtnClick(); });
}

void PageSupport::ReadDataSupports(const store::TDataSupport &s) {
  montre_liste(SupportsS, fichiers_, 8, s.support(), false);
  montre_texte(ReferenceS, s.reference());
  montre_liste(QualiteS, fichiers_, 9, s.qualite(), true);
  montre_texte(dateS, s.date());
  montre_nombre(DureeS, s.duree());
  montre_nombre(restantS, s.restant());
  montre_nombre(finS, s.fin());
  ObservationS->setPlainText(qmemo(s.observation()));
}

void PageSupport::WriteDataSupports(store::TDataSupport &s) const {
  s.set_support(choix(SupportsS));
  s.set_reference(ctext(ReferenceS->text()));
  s.set_qualite(choix(QualiteS));
  s.set_date(ctext(dateS->text()));
  s.set_duree(lit_nombre(DureeS));
  s.set_restant(lit_nombre(restantS));
  s.set_fin(lit_nombre(finS));
  s.set_observation(cmemo(ObservationS->toPlainText()));
}

void PageSupport::mode(bool edition) {
  for (QWidget *w : std::initializer_list<QWidget *>{ReferenceS, dateS, DureeS, restantS, finS, ObservationS})
    saisie(w, edition);
  for (const ListeChamp *c : {&SupportsS, &QualiteS}) bascule(*c, edition);
  dateSbtn->setEnabled(edition);
}

void PageSupport::dateSbtnClick() {
  dernier_calendrier_ = choisit_date(this, prompts_, dateS, dateSbtn);
}

// ---- recording page ----

PageRecord::PageRecord(ui::Registre &registre, const Fichiers &fichiers, ui::Prompts &prompts)
    : fichiers_(fichiers), prompts_(prompts) {
  setObjectName("tx5");
  Fabrique f{registre, grille(this)};
  f.place(0, 0, "e1_", TitreE = f.champ("TitreE", 255), 4);
  f.place(1, 0, "e3_", ReferenceE = f.champ("ReferenceE", 20));
  f.place(1, 2, "e2_", AnneeE = f.nombre("AnneeE", kAnneeE), 2);
  f.place(2, 0, "e4_", DebutE = f.nombre("DebutE", kDebutE));
  f.place(2, 2, "e5_", FinE = f.nombre("FinE", kFinE), 2);
  f.place(3, 0, "e6_", dureeE = f.nombre("dureeE", kDureeE));
  f.place(3, 2, "e8_", DateE = f.champ("DateE", 10));
  dateEbtn = registre.ajoute(ui::bouton("dateEbtn", 26));
  f.grille->addWidget(dateEbtn, 3, 4, Qt::AlignLeft);
  ThemeE = f.liste("ThemeE");
  GenreE = f.liste("GenreE");
  NationaliteE = f.liste("NationaliteE");
  VersionE = f.liste("VersionE");
  CouleurE = f.liste("CouleurE");
  QualiteE = f.liste("QualiteE");
  AppreciationE = f.liste("AppreciationE");
  FormatE = f.liste("FormatE");
  f.place(4, 0, "e9_", ThemeE);
  f.place(4, 2, "e10_", GenreE, 2);
  f.place(5, 0, "e11_", NationaliteE);
  f.place(5, 2, "e12_", VersionE, 2);
  f.place(6, 0, "e13_", CouleurE);
  f.place(6, 2, "e14_", QualiteE, 2);
  f.place(7, 0, "e15_", AppreciationE);
  f.place(7, 2, "e18_", FormatE, 2);
  f.place_haut(8, "e17_", ResumerE = f.memo("ResumerE"), 4);
  prixE = f.nomme(new QListWidget, "prixE");
  prixE->setMaximumHeight(80);
  f.place_haut(9, "e16_", prixE, 4);
  f.grille->setColumnStretch(1, 1);
  f.grille->setColumnStretch(3, 1);
  f.grille->setRowStretch(8, 1);
  connect(dateEbtn, &QToolButton::clicked, this, [this] { dateEbtnClick(); });
}

void PageRecord::ReadDataRecords(const store::Recording &rec) {
  const store::TDataRecord &r = rec.record;
  montre_texte(TitreE, r.titre());
  montre_nombre(AnneeE, r.annee());
  montre_texte(ReferenceE, r.reference());
  montre_liste(ThemeE, fichiers_, 1, r.theme(), true);
  montre_liste(GenreE, fichiers_, 2, r.genre(), true);
  montre_liste(NationaliteE, fichiers_, 3, r.nationalite(), true);
  montre_liste(VersionE, fichiers_, 4, r.version(), true);
  montre_liste(CouleurE, fichiers_, 5, r.couleur(), true);
  montre_liste(AppreciationE, fichiers_, 6, r.appreciation(), true);
  montre_liste(QualiteE, fichiers_, 9, r.qualite(), true);
  montre_liste(FormatE, fichiers_, 12, rec.record1.format(), true);
  montre_nombre(DebutE, r.debut());
  montre_nombre(FinE, r.fin());
  montre_nombre(dureeE, r.duree());
  montre_texte(DateE, r.date());
  ResumerE->setPlainText(qmemo(r.resumer()));
  montre_prix(rec.recompense);
}

void PageRecord::montre_prix(const store::TDataRecompense &recompense) {
  prixE->clear();
  for (const std::string &l : prix_lignes(recompense)) prixE->addItem(qtext(l));
}

void PageRecord::WriteDataRecords(store::Recording &rec) const {
  store::TDataRecord &r = rec.record;
  r.set_titre(ctext(TitreE->text()));
  r.set_annee(lit_nombre(AnneeE));
  r.set_reference(ctext(ReferenceE->text()));
  r.set_theme(choix(ThemeE));
  r.set_genre(choix(GenreE));
  r.set_nationalite(choix(NationaliteE));
  r.set_version(choix(VersionE));
  r.set_couleur(choix(CouleurE));
  r.set_appreciation(choix(AppreciationE));
  r.set_qualite(choix(QualiteE));
  rec.record1.set_format(choix(FormatE));
  r.set_debut(lit_nombre(DebutE));
  r.set_fin(lit_nombre(FinE));
  r.set_duree(lit_nombre(dureeE));
  r.set_date(ctext(DateE->text()));
  r.set_resumer(cmemo(ResumerE->toPlainText()));
}

void PageRecord::mode(bool edition) {
  for (QWidget *w :
       std::initializer_list<QWidget *>{TitreE, ReferenceE, AnneeE, DebutE, FinE, dureeE, DateE, ResumerE})
    saisie(w, edition);
  for (const ListeChamp *c :
       {&ThemeE, &GenreE, &NationaliteE, &VersionE, &CouleurE, &AppreciationE, &QualiteE, &FormatE})
    bascule(*c, edition);
  dateEbtn->setEnabled(edition);
  // The awards list stays readable in both modes; it is filled by the awards dialog.
  prixE->setEnabled(true);
}

void PageRecord::dateEbtnClick() {
  dernier_calendrier_ = choisit_date(this, prompts_, DateE, dateEbtn);
}

}  // namespace browse
