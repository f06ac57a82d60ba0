#include "aide.h"

#include <QCoreApplication>
#include <QShortcut>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "aide_logic.h"
#include "prompts.h"
#include "textes.h"

namespace ui {

void ouvre_aide(Prompts &prompts, int langue, std::string_view page, const std::string &data_dir) {
  const std::string bin_dir = QCoreApplication::applicationDirPath().toStdString();
  const std::string fichier = fichier_aide(data_dir, bin_dir, langue, page);
  if (!fichier.empty() && prompts.ouvre_externe(QUrl::fromLocalFile(QString::fromStdString(fichier)))) return;
  QStringList cherches;
  for (const std::string &f : fichiers_aide(data_dir, bin_dir, langue, page))
    cherches << QString::fromStdString(f);
  prompts.message(
      Boite::information,
      choisit({"Le fichier d'aide est introuvable :\n%1", "The help file cannot be found:\n%1"}, langue)
          .arg(cherches.join('\n')),
      Boutons::ok);
}

void aide_f1(QWidget &fenetre, Prompts &prompts, int langue, const char *page) {
  auto *f1 = new QShortcut(QKeySequence::HelpContents, &fenetre);
  QObject::connect(f1, &QShortcut::activated, &fenetre,
                   [&prompts, langue, page] { ouvre_aide(prompts, langue, page); });
}

}  // namespace ui
