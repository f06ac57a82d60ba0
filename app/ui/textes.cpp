#include "textes.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include "prompts.h"
#include "record_file.h"

namespace ui {

QObject *Registre::cherche(std::string_view nom) const {
  auto it = controles_.find(nom);
  return it == controles_.end() ? nullptr : it->second;
}

void Registre::applique(std::span<const TexteControle> textes, int langue) const {
  for (const TexteControle &t : textes) {
    QString texte = choisit({t.fr, t.en}, langue);
    QObject *o = cherche(t.nom);
    if (!o) continue;
    if (t.sur == TexteSur::hint) {
      if (auto *w = qobject_cast<QWidget *>(o)) w->setToolTip(texte);
    } else if (auto *m = qobject_cast<QMenu *>(o)) {
      m->setTitle(texte);
    } else if (auto *a = qobject_cast<QAction *>(o)) {
      a->setText(texte);
    } else if (auto *l = qobject_cast<QLabel *>(o)) {
      l->setText(texte);
    } else if (auto *b = qobject_cast<QAbstractButton *>(o)) {
      b->setText(texte);
    } else if (auto *g = qobject_cast<QGroupBox *>(o)) {
      g->setTitle(texte);
    }
  }
}

void signale_echec(Prompts &prompts, const std::exception &e, int langue) {
  if (const auto *es = dynamic_cast<const store::StoreError *>(&e)) {
    static constexpr Paire kErreurEs = {"Erreur d'entrée/sortie (%1) sur le fichier :\n%2\n\n%3",
                                        "Input/output error (%1) on the file:\n%2\n\n%3"};
    prompts.message(Boite::erreur,
                    choisit(kErreurEs, langue)
                        .arg(QString::fromStdString(es->operation()), QString::fromStdString(es->file()),
                             QString::fromUtf8(es->what())),
                    Boutons::ok);
  } else {
    prompts.message(Boite::erreur, QString::fromUtf8(e.what()), Boutons::ok);
  }
}

}  // namespace ui
