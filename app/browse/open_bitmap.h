// TOpenBitmap: the bitmap chooser the preference dialogs use (BMP, ICO, WMF), in five languages,
// with its dialog TOpenBmpDlg and the real-size window TRealSize.
#pragma once

#include <QDialog>
#include <QImage>

#include "medias.h"

class QGroupBox;

namespace browse {

// Shows a picture at its own size, scrolled in a maximised window.
class TRealSize : public QWidget {
 public:
  explicit TRealSize(QWidget *parent = nullptr);
  void montre(const QImage &image, const QString &fichier);
  QLabel *Image;

 private:
  QScrollArea *defile_;
};

class TOpenBmpDlg : public QDialog {
  Q_OBJECT
 public:
  TOpenBmpDlg(TLanguage langue, const QString &titre, const QString &InitialDir, QWidget *parent = nullptr);
  ~TOpenBmpDlg() override;
  QString FileName;

  ListesFichiers listes;
  QGroupBox *ImageRect;
  QLabel *Image;
  QCheckBox *CheckBox1;
  QPushButton *OKBtn, *CancelBtn;
  QToolButton *ZoomBtn;
  TRealSize *RealSize;

 private:
  void change();
  QImage image_;
};

// A picture file read for a plain image (no undo, no error box); null when it cannot be read.
QImage lit_image(const QString &fichier);

class TOpenBitmap {
 public:
  explicit TOpenBitmap(ui::Prompts &prompts) : prompts_(prompts) {}
  QString FileName, InitialDir, Title;
  TLanguage Language = TLanguage::laDefault;
  // True on OK, with the three texts taken from the dialog; on Cancel they are emptied.
  bool Execute(QWidget *parent = nullptr);

 private:
  ui::Prompts &prompts_;
};

}  // namespace browse
