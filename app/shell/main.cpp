// tapemoor: the program. Start-up: language, title, splash with its gauge over the long-lived
// windows, then the message loop with the main window shown maximised. --data DIR names the data
// directory, --dossier N a dossier to open at once.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstring>
#include <exception>

#include "apropos.h"
#include "loader.h"
#include "mainform.h"
#include "mainform_logic.h"
#include "mainform_texts.h"
#include "platform/regional.h"
#include "prompts.h"
#include "store.h"

int main(int argc, char **argv) {
  const int langue = platform::langue_from(platform::regional_language());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(shell::kProgramTitle));

  // The data directory is the current directory; --data DIR names another one.
  QString dossier = QDir::currentPath();
  QStringList args = QApplication::arguments();
  int at = static_cast<int>(args.indexOf(QStringLiteral("--data")));
  if (at >= 0 && at + 1 < args.size()) dossier = QFileInfo(args[at + 1]).absoluteFilePath();
  QFileInfo info(dossier);
  ui::QtPrompts prompts;
  if (!info.isDir() || !info.isReadable()) {
    prompts.message(ui::Boite::erreur, shell::message(shell::Msg::dossier_absent, langue).arg(dossier),
                    ui::Boutons::ok);
    return 1;
  }

  // The windows created at start-up; later windows join this count.
  constexpr int kFenetres = 1;
  shell::Splash splash(kFenetres, langue);
  splash.show();
  app.processEvents();

  store::Store store(QDir(dossier).absolutePath().toStdString());
  image::initialise_lecteurs(nullptr);
  try {
    shell::Tmainform mainform(store, langue, prompts);
    prompts.set_parent(&mainform);
    splash.avance();
    splash.hide();
    mainform.showMaximized();
    // --dossier N opens that dossier once the window is up, so its password box has a parent.
    int choisi = static_cast<int>(args.indexOf(QStringLiteral("--dossier")));
    if (choisi >= 0)
      QTimer::singleShot(0, &mainform, [&mainform, numero = args.value(choisi + 1)] {
        mainform.ouvre_dossier_option(numero);
      });
    return app.exec();
  } catch (const std::exception &e) {
    splash.hide();
    prompts.set_parent(nullptr);
    prompts.message(ui::Boite::erreur, QString::fromUtf8(e.what()), ui::Boutons::ok);
    return 1;
  }
}
