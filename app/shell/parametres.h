// TParametres: the editor of one reference list. Opened modally by the twelve list commands of
// the main window; the only way out is Ok, which writes the list back. Renames reach the data of
// every dossier as soon as the edit box is left.
#pragma once

#include <QDialog>
#include <functional>

#include "parametres_logic.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace store {
class Store;
class StoreError;
}  // namespace store

namespace ui {
class Prompts;
}

namespace shell {

class TParametres : public QDialog {
  Q_OBJECT
 public:
  TParametres(store::Store &store, ui::Prompts &prompts, int langue, int list_kind,
              QWidget *parent = nullptr);

  // Where a failed read or write of a list or data file is reported; by default a box with the
  // error's text. The editor closes without saving when the list cannot be read or written.
  std::function<void(const store::StoreError &)> rapport_erreur;

  int list_kind() const { return list_kind_; }
  const ParametresState &state() const { return state_; }
  QLineEdit *Edit1() const { return Edit1_; }
  QListWidget *List() const { return List_; }
  QPushButton *add() const { return add_; }
  QPushButton *delete_() const { return delete__; }
  QPushButton *ok() const { return ok_; }
  QPushButton *annuler() const { return annuler_; }

  // The handlers, run by the controls' events.
  void FormShow();
  void ListClick();
  void Edit1Enter();
  void Edit1Exit();
  void addClick();
  void deleteClick();
  void okClick();

 protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  // Escape does not close the editor: without a cancel button, Ok is the way out.
  void reject() override {}

 private:
  void commit_edit();
  void refresh();
  void report(const store::StoreError &e);
  void finish(int result);

  store::Store &store_;
  ui::Prompts &prompts_;
  int langue_;
  int list_kind_;
  ParametresState state_;
  bool closing_ = false;

  QLineEdit *Edit1_;
  QListWidget *List_;
  QPushButton *add_;
  QPushButton *delete__;
  QPushButton *ok_;
  QPushButton *annuler_;
};

}  // namespace shell
