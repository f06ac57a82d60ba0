// TPictureBox: the picture control. Setting ImageName loads the file through the readers (see
// loader.h) and shows it at natural size, centred, stretched or scaled to fit.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "loader.h"

namespace ui {
class Prompts;
}

namespace image {

enum class TFXMethod { FXNone, FXHorizontal, FXVertical, FXDiagonal, FXDiagonalSquares, FXRectangles };

// The part of the control a transition shows of the new picture after `step` of `steps`.
QRegion zone_revelee(TFXMethod method, QSize size, int step, int steps, int thick);

class TPictureBox : public QWidget {
 public:
  using ImageErrorEvent =
      std::function<void(TPictureBox *sender, std::int16_t code, const QString &texte, const char *texte_c)>;
  using PaintAreaEvent = std::function<void(TPictureBox *sender, int x, int y, int xx, int yy)>;
  using PaintEvent = std::function<void(TPictureBox *sender)>;

  // `historique` is the undo history every control of the program shares.
  TPictureBox(ui::Prompts &prompts, UndoHistory &historique, QWidget *parent = nullptr);

  // Loads the file; ImageName() gives the message of the last load.
  void setImageName(const QString &nom);
  QString ImageName() const { return message_; }

  TLoadResolution ImageReadRes() const { return reglages_.ImageReadRes; }
  void setImageReadRes(TLoadResolution r) { reglages_.ImageReadRes = r; }
  bool ImageDither() const { return reglages_.ImageDither; }
  void setImageDither(bool on) { reglages_.ImageDither = on; }
  std::int16_t TiffPage() const { return reglages_.TiffPage; }
  void setTiffPage(std::int16_t page) { reglages_.TiffPage = page; }
  TPCDMode PCDMode() const { return reglages_.PCDMode; }
  void setPCDMode(TPCDMode mode) { reglages_.PCDMode = mode; }

  bool Center() const { return center_; }
  void setCenter(bool on);
  bool Stretch() const { return stretch_; }
  void setStretch(bool on);
  bool StretchRatio() const { return stretch_ratio_; }
  void setStretchRatio(bool on);
  bool AutoSize() const { return auto_size_; }
  void setAutoSize(bool on);
  bool KeepUndo() const { return keep_undo_; }
  void setKeepUndo(bool on) { keep_undo_ = on; }

  TFXMethod FXMethod() const { return fx_method_; }
  void setFXMethod(TFXMethod m) { fx_method_ = m; }
  int FXDelay() const { return fx_delay_; }
  void setFXDelay(int ms) { fx_delay_ = ms; }
  int FXColRowThick() const { return fx_thick_; }
  void setFXColRowThick(int px) { fx_thick_ = px; }

  // The loaded picture; null before any load and after a missing file.
  const Picture &picture() const { return picture_; }
  // Replaces the picture as a load would (undo history included).
  void setPicture(Picture p);

  // Facts of the last load.
  const Faits &faits() const { return faits_; }
  const std::optional<Erreur> &derniere_erreur() const { return erreur_; }

  ImageErrorEvent OnImageError;
  PaintAreaEvent OnPaintArea;
  PaintEvent OnPaint;

  // The rectangle the picture is drawn in.
  QRect zone_image() const;
  bool transition_en_cours() const { return fx_timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent *) override;

 private:
  void remplace(Picture p, bool avec_effet);
  void etape_effet();

  ui::Prompts &prompts_;
  UndoHistory &historique_;
  Reglages reglages_;
  QString message_;
  Faits faits_;
  std::optional<Erreur> erreur_;
  Picture picture_;
  QImage affiche_;
  bool center_ = false, stretch_ = false, stretch_ratio_ = false, auto_size_ = false, keep_undo_ = true;
  TFXMethod fx_method_ = TFXMethod::FXNone;
  int fx_delay_ = 25;
  int fx_thick_ = 4;
  QImage ancien_;
  Picture ancien_picture_;
  QTimer fx_timer_;
  int fx_step_ = 0, fx_steps_ = 0;
};

}  // namespace image
