// Every modal exchange with the user and every hand-off to the desktop goes through Prompts,
// so tests can answer them. QtPrompts is what the user sees: standard boxes whose frame texts
// stay French in both languages ("Avertissement", "OK", "Annuler", "&Oui", "&Non" ...).
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;
class QSoundEffect;

namespace ui {

enum class Boite { avertissement, erreur, information, confirmation };
enum class Boutons { ok, ok_annuler, oui_non };
enum class Reponse { ok, annuler, oui, non };

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual Reponse message(Boite boite, const QString &texte, Boutons boutons) = 0;
  // Runs a dialog modally; true when it was accepted.
  virtual bool execute(QDialog &dialogue) = 0;
  // A file to open; empty when the chooser was cancelled.
  virtual QString choix_fichier(const QString &titre, const QString &filtre, const QString &dossier) = 0;
  // A file to open or to create: the chooser's name box starts on `nom` and takes a name that
  // does not exist yet. Empty when cancelled.
  virtual QString choix_nom_fichier(const QString &titre, const QString &filtre, const QString &nom) = 0;
  // The colour and font choosers, opened on `depart`; nothing when cancelled.
  virtual std::optional<QColor> choix_couleur(const QColor &depart) = 0;
  virtual std::optional<QFont> choix_fonte(const QFont &depart) = 0;
  // The platform's printer set-up dialog.
  virtual bool configure_imprimante(QPrinter &imprimante) = 0;
  // Hands a file or web address to the desktop; false when nothing could open it.
  virtual bool ouvre_externe(const QUrl &adresse) = 0;
  // Starts a wave sound without waiting; a missing or unplayable file plays nothing.
  virtual void joue_son(const QString &chemin) = 0;
};

class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget *parent = nullptr);
  ~QtPrompts() override;
  void set_parent(QWidget *parent) { parent_ = parent; }
  Reponse message(Boite boite, const QString &texte, Boutons boutons) override;
  bool execute(QDialog &dialogue) override;
  QString choix_fichier(const QString &titre, const QString &filtre, const QString &dossier) override;
  QString choix_nom_fichier(const QString &titre, const QString &filtre, const QString &nom) override;
  std::optional<QColor> choix_couleur(const QColor &depart) override;
  std::optional<QFont> choix_fonte(const QFont &depart) override;
  bool configure_imprimante(QPrinter &imprimante) override;
  bool ouvre_externe(const QUrl &adresse) override;
  void joue_son(const QString &chemin) override;

 private:
  QWidget *parent_;
  std::unique_ptr<QSoundEffect> son_;
};

}  // namespace ui
