#include "resultat.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "tarbre.h"
#include "textes.h"

namespace search {

namespace {

constexpr ui::Paire kCaption{"Résultat de la recherche", "Search result"};
constexpr ui::Paire kOk{"&Ok", "&Ok"};
constexpr ui::Paire kAnnuler{"&Annuler", "&Cancel"};

}  // namespace

Tresultat::Tresultat(EtatRecherche &etat, int langue, QWidget *parent)
    : QDialog(parent), etat_(etat), langue_(langue) {
  setObjectName("Tresultat");
  arbre = new browse::Tarbre(this);
  arbre->setObjectName("arbre");
  std::vector<browse::TreeLine> lignes;
  lignes.reserve(etat_.resultats.size());
  for (const Resultat &r : etat_.resultats) lignes.push_back({1, r.tag(), std::to_string(r.numero), r.texte});
  arbre->set_lines(std::move(lignes));
  ok = new QPushButton(this);
  ok->setObjectName("ok");
  ok->setToolTip(QString::fromUtf8("Sélection"));
  ok->setDefault(true);
  BitBtn1 = new QPushButton(this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setToolTip(QStringLiteral("Annuler la sélection"));
  auto *boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(ok);
  boutons->addWidget(BitBtn1);
  auto *tout = new QVBoxLayout(this);
  tout->addWidget(arbre);
  tout->addLayout(boutons);
  resize(380, 440);
  connect(ok, &QPushButton::clicked, this, &Tresultat::okClick);
  connect(BitBtn1, &QPushButton::clicked, this, &Tresultat::BitBtn1Click);
  connect(arbre, &browse::Tarbre::line_double_clicked, this, [this] {
    if (ok->isEnabled()) okClick();
  });
}

void Tresultat::FormShow() {
  setWindowTitle(ui::choisit(kCaption, langue_));
  ok->setText(ui::choisit(kOk, langue_));
  BitBtn1->setText(ui::choisit(kAnnuler, langue_));
  const bool vide = etat_.resultats.empty();
  ok->setEnabled(!vide);
  if (vide) {
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
  } else {
    arbre->select_line(1);
    arbre->setFocus();
  }
}

const Resultat *Tresultat::choisi() const {
  const int n = arbre->selected_line();
  if (n < 1 || n > static_cast<int>(etat_.resultats.size())) return nullptr;
  return &etat_.resultats[static_cast<std::size_t>(n - 1)];
}

void Tresultat::okClick() {
  etat_.resultats_voulus = true;
  accept();
}

void Tresultat::BitBtn1Click() {
  etat_.resultats_voulus = false;
  reject();
}

}  // namespace search
