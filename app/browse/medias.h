// The poster and video windows: the image chooser Touvre_image with its live preview, the
// full-screen viewer Tnormal and the small player Tmultimedia. Their rules are in medias_logic.h.
#pragma once

#include <QDialog>
#include <functional>

#include "medias_logic.h"
#include "picturebox.h"

class QAudioOutput;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMediaPlayer;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;
class QVideoWidget;

namespace browse {

// The drive, directory, file and type lists of the choosers, named as the windows design them.
// `change` runs whenever the selected file, the directory, the drive or the type changes.
class ListesFichiers {
 public:
  ListesFichiers(QWidget *parent, std::vector<TypeFichier> types, std::function<void()> change);
  // Shows `dossier` (a folder that does not exist leaves the lists where they are).
  void va(const QString &dossier);
  // Goes to the file's folder and selects it; false when there is no such file.
  bool selectionne(const QString &fichier);
  // The selected file's full path; empty when none is selected.
  QString fichier() const;
  QString dossier() const { return dossier_; }

  QComboBox *Filter, *DriveComboBox1;
  QListWidget *FileListBox1, *DirectoryListBox1;

 private:
  void remplit();
  QString dossier_;
  std::vector<TypeFichier> types_;
  std::function<void()> change_;
  bool muet_ = false;
};

// The viewer: the picture at natural size from the top-left corner, in a maximised window.
class Tnormal : public QDialog {
  Q_OBJECT
 public:
  Tnormal(ui::Prompts &prompts, image::UndoHistory &historique, int langue, QWidget *parent = nullptr);
  // Loads the file (a missing one shows nothing) and shows the window, not modal.
  void montre(const QString &fichier);
  // The control sized to its picture, from the top-left corner.
  void ajuste();

  image::TPictureBox *image;

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  QScrollArea *defile_;
};

class Touvre_image : public QDialog {
  Q_OBJECT
 public:
  Touvre_image(ui::Prompts &prompts, image::UndoHistory &historique, Tnormal &viewer, int langue,
               QWidget *parent = nullptr);
  // The name the chooser starts from; it stays chosen until a file is selected.
  void set_nom(const QString &nom, const QString &depart);
  QString nom() const { return nom_; }

  ListesFichiers listes;
  QFrame *cadre_image;
  image::TPictureBox *MultiImage1;
  QCheckBox *CheckBox1;
  QLabel *Label3D1;
  QPushButton *OKBtn, *CancelBtn;
  QToolButton *zoom_bt;
  QProgressBar *Gauge1;

 private:
  void change();
  void apercu();
  void dispose();
  void zoom_btClick();

  ui::Prompts &prompts_;
  Tnormal &viewer_;
  QString nom_;
};

// The player: a bar of buttons; the video shows in a window of its own, as the device opens it.
class Tmultimedia : public QDialog {
  Q_OBJECT
 public:
  explicit Tmultimedia(QWidget *parent = nullptr);
  ~Tmultimedia() override;
  // Opens the device on the file, replacing the last one, shows the bar and plays. A missing
  // file opens nothing and plays nothing.
  void joue(const QString &fichier);

  // Made by the first file played.
  QMediaPlayer *mp1 = nullptr;
  QVideoWidget *ecran = nullptr;

 private:
  void ouvre_peripherique();
  QAudioOutput *son_ = nullptr;
  QSlider *position_;
};

}  // namespace browse
