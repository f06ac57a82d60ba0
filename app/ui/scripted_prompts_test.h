// Test double of Prompts: answers come from queues filled by the test, every box is logged.
// A call with no scripted answer is a test failure.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <deque>
#include <functional>
#include <vector>

#include "prompts.h"

namespace ui {

class ScriptedPrompts : public Prompts {
 public:
  struct Vue {
    Boite boite;
    QString texte;
    Boutons boutons;
  };
  using Script = std::function<void(QDialog &)>;

  std::deque<Reponse> reponses;
  std::deque<Script> dialogues;
  std::deque<QString> fichiers;
  std::deque<std::optional<QColor>> couleurs;  // nothing: cancelled
  std::deque<std::optional<QFont>> fontes;

  std::vector<Vue> boites;
  std::vector<QString> dialogues_vus;   // object names
  std::vector<QColor> couleurs_depart;  // where each colour chooser opened
  std::vector<QUrl> adresses;
  std::vector<QString> sons;

  Reponse message(Boite boite, const QString &texte, Boutons boutons) override {
    boites.push_back({boite, texte, boutons});
    return prend(reponses, "box " + texte, boutons == Boutons::oui_non ? Reponse::non : Reponse::annuler);
  }

  bool execute(QDialog &dialogue) override {
    dialogues_vus.push_back(dialogue.objectName());
    Script script = prend(dialogues, "dialog " + dialogue.objectName(), Script());
    if (!script) return false;
    QSignalSpy fini(&dialogue, &QDialog::finished);
    dialogue.show();
    script(dialogue);
    dialogue.hide();
    return !fini.isEmpty() && dialogue.result() == QDialog::Accepted;
  }

  QString choix_fichier(const QString &, const QString &, const QString &) override {
    return prend(fichiers, "file chooser", QString());
  }
  QString choix_nom_fichier(const QString &titre, const QString &, const QString &) override {
    return prend(fichiers, "file chooser " + titre, QString());
  }

  std::optional<QColor> choix_couleur(const QColor &depart) override {
    couleurs_depart.push_back(depart);
    return prend(couleurs, "colour chooser", std::optional<QColor>());
  }
  std::optional<QFont> choix_fonte(const QFont &) override {
    return prend(fontes, "font chooser", std::optional<QFont>());
  }

  // When set, the printer set-up sends the printer's output to this PDF file.
  QString sortie_pdf;
  bool configure_imprimante(QPrinter &imprimante) override {
    return !sortie_pdf.isEmpty() && (imprimante.setOutputFileName(sortie_pdf), true);  // ".pdf": PDF output
  }
  bool ouvre_externe(const QUrl &adresse) override {
    adresses.push_back(adresse);
    return true;
  }
  void joue_son(const QString &chemin) override { sons.push_back(chemin); }

  void attend_tout_consomme() const {
    EXPECT_TRUE(reponses.empty()) << reponses.size() << " box answers left";
    EXPECT_TRUE(dialogues.empty()) << dialogues.size() << " dialog scripts left";
    EXPECT_TRUE(fichiers.empty()) << fichiers.size() << " file answers left";
    EXPECT_TRUE(couleurs.empty() && fontes.empty()) << "colour or font answers left";
  }

 private:
  // The next scripted answer; `sinon` and a failure when none is left.
  template <class T>
  static T prend(std::deque<T> &file, const QString &quoi, T sinon) {
    if (file.empty()) {
      ADD_FAILURE() << "unexpected " << quoi.toStdString();
      return sinon;
    }
    T r = std::move(file.front());
    file.pop_front();
    return r;
  }
};

}  // namespace ui
