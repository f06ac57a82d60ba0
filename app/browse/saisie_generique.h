// The credits and awards dialogs of a recording being edited, and the credits viewer.
//
// The dialogs change only the buffer they are given (the edit of the recording); the recording's
// validation writes it. Their only way out is Ok, which always stores. The reference lists they
// offer are read by the caller, so a failed read is reported before any dialog shows.
#pragma once

#include <QDialog>
#include <QScrollArea>
#include <string>
#include <vector>

#include "generique.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ui {
class Prompts;
}

namespace browse {

// What both dialogs share: three inputs, the sorted list of lines and Ok.
class SaisieLignes : public QDialog {
  Q_OBJECT
 public:
  // Captions in French and English: the window, then the three labels.
  struct Textes {
    const char *caption[2];
    const char *labels[3][2];
  };
  QListWidget *list;
  QPushButton *ok;

  void FormShow();
  void listClick();
  void nom_Exit();
  void okClick();
  const std::vector<LigneSaisie> &lignes() const { return lignes_; }

 protected:
  SaisieLignes(const char *nom, const Textes &textes, int langue, QWidget *parent);
  // A combo box that takes typed texts, the reference list first with an empty entry.
  QComboBox *choix(const char *nom, const std::vector<std::string> &liste);
  QLineEdit *champ(const char *nom, int longueur);
  // Lays the labels and inputs out; the inputs are then watched for being left.
  void place(std::array<QWidget *, 3> champs);
  virtual std::vector<LigneSaisie> lignes_du_buffer() const = 0;
  virtual void range(std::vector<LigneSaisie> lignes) = 0;

  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  // Escape does not close: Ok is the way out.
  void reject() override {}

  const int langue_;

 private:
  const Textes &textes_;
  std::array<QWidget *, 3> champs_{};
  std::array<QLabel *, 3> labels_{};
  std::vector<LigneSaisie> lignes_;
  bool fin_ = false;
};

class Tsaisie_generique : public SaisieLignes {
  Q_OBJECT
 public:
  // `distri`: list DISTRI in file order. Ok stores the lines into `generique`.
  Tsaisie_generique(store::TDataGenerique &generique, const std::vector<std::string> &distri, int langue,
                    QWidget *parent = nullptr);
  QComboBox *denomination_;
  QLineEdit *nom_, *role_;

 private:
  std::vector<LigneSaisie> lignes_du_buffer() const override;
  void range(std::vector<LigneSaisie> lignes) override;
  store::TDataGenerique &generique_;
};

class Tsaisie_recompense : public SaisieLignes {
  Q_OBJECT
 public:
  Tsaisie_recompense(store::TDataRecompense &recompense, const std::vector<std::string> &awards,
                     const std::vector<std::string> &categories, int langue, QWidget *parent = nullptr);
  QComboBox *recompenses_, *categories_;
  QLineEdit *annee_;

 private:
  std::vector<LigneSaisie> lignes_du_buffer() const override;
  void range(std::vector<LigneSaisie> lignes) override;
  store::TDataRecompense &recompense_;
};

// The credits viewer: lives as long as the program, stays on top, scrolls when its picture is
// taller than the window. Shown or resized, it draws the credits of the current recording.
class Tvoir_generique : public QScrollArea {
  Q_OBJECT
 public:
  Tvoir_generique(const store::Store &store, int langue, QWidget *parent = nullptr);
  // `distri`: list DISTRI in file order, as just read. Brings the window up, drawn again.
  void montre(std::vector<std::string> distri);
  QLabel *paintbox;

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  void dessine();
  const store::Store &store_;
  const int langue_;
  std::vector<std::string> distri_;
  bool place_ = false;
};

}  // namespace browse
