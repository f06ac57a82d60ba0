#include "liste_pret.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "aide.h"
#include "liste_icons.h"
#include "prompts.h"
#include "textes.h"

namespace loans {

namespace {

constexpr ui::Paire kCaption[] = {{"Liste des supports prêtés", "Lent supports"},
                                  {"Liste des supports empruntés", "Borrowed supports"}};
constexpr ui::Paire kOk{"&Ok", "&Ok"};
constexpr ui::Paire kAnnuler{"&Annuler", "&Cancel"};

}  // namespace

Tliste::Tliste(Sorte sorte, store::Store &store, int langue, QWidget *parent)
    : QDialog(parent), sorte_(sorte), store_(store), langue_(langue) {
  setObjectName(sorte == Sorte::pret ? "liste_pret" : "liste_emprunt");
  setWindowTitle(ui::choisit(kCaption[sorte == Sorte::pret ? 0 : 1], langue));
  arbre = new browse::Tarbre;
  arbre->setObjectName("arbre");
  arbre->set_icons(liste_icon);
  ok = new QPushButton(ui::choisit(kOk, langue));
  ok->setObjectName("ok");
  ok->setDefault(true);
  BitBtn1 = new QPushButton(ui::choisit(kAnnuler, langue));
  BitBtn1->setObjectName("BitBtn1");
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(ok);
  boutons->addWidget(BitBtn1);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(arbre);
  tout->addLayout(boutons);
  resize(420, 480);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
  connect(arbre, &browse::Tarbre::line_double_clicked, this, &QDialog::accept);
}

void Tliste::FormShow() {
  arbre->set_lines(lignes_liste(store_, sorte_, store_.date_du_jour(), mot_enregistrement(langue_)));
  arbre->select_line(1);
}

int Tliste::support_choisi() const {
  return support_de_ligne(arbre->lines(), arbre->selected_line());
}

int choisit_support(Sorte sorte, store::Store &store, ui::Prompts &prompts, int langue, QWidget *parent) {
  Tliste liste(sorte, store, langue, parent);
  ui::aide_f1(liste, prompts, langue, "prets");
  liste.FormShow();
  return prompts.execute(liste) ? liste.support_choisi() : -1;
}

}  // namespace loans
