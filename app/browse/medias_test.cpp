// The poster chooser, viewer, player and bitmap chooser as the user drives them, on real files.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "catalogue.h"
#include "collection.h"
#include "open_bitmap.h"
#include "scripted_prompts_test.h"
#include "temp_dir.h"

namespace {

using namespace browse;

class Medias : public ::testing::Test {
 protected:
  void SetUp() override {
    image::initialise_lecteurs(nullptr);
    QImage(40, 30, QImage::Format_RGB32).save(QString::fromStdString(dir.file("petit.png")));
    QImage(800, 600, QImage::Format_RGB32).save(QString::fromStdString(dir.file("grand.png")));
    c.dossier("Un").support("VHS", "K7").record("Heat", [](store::Recording &r) {
      r.record.set_reference("R1");
    });
    w = std::make_unique<Tcollection>(c.store, prompts, 0);
    w->show();
    w->ouvre_collection();
    w->TabSet1->setCurrentIndex(1);
    clique("Emodifier");
  }
  void TearDown() override { prompts.attend_tout_consomme(); }
  void clique(const char *nom) { qobject_cast<QToolButton *>(w->registre().cherche(nom))->click(); }
  static void choisit(ListesFichiers &l, const QString &nom) {
    l.FileListBox1->setCurrentItem(l.FileListBox1->findItems(nom, Qt::MatchExactly).value(0));
  }
  std::string affiche() { return c.recordings()[0].record.affiche(); }

  TempDir dir;
  Catalogue c{dir.path()};
  ui::ScriptedPrompts prompts;
  std::unique_ptr<Tcollection> w;
};

TEST_F(Medias, ThePosterChosenWithPreviewIsSavedWithTheRecording) {
  prompts.dialogues = {[&](QDialog &d) {
    auto &o = dynamic_cast<Touvre_image &>(d);
    choisit(o.listes, "petit.png");
    EXPECT_EQ(o.MultiImage1->geometry(), QRect(15, 15, 138, 156));
    EXPECT_EQ(o.MultiImage1->zone_image().size(), QSize(40, 30));  // natural size, centred
    choisit(o.listes, "grand.png");
    EXPECT_TRUE(o.MultiImage1->StretchRatio());
    EXPECT_TRUE(o.zoom_bt->isEnabled());
    o.CheckBox1->setChecked(false);
    EXPECT_FALSE(o.MultiImage1->picture());
    EXPECT_FALSE(o.zoom_bt->isEnabled());
    o.OKBtn->click();
  }};
  clique("Eaffiche");
  clique("Eok");
  EXPECT_EQ(affiche(), dir.file("grand.png"));

  // Cancelled, or confirmed after browsing with no file selected: the name stays.
  for (bool ok : {false, true}) {
    clique("Emodifier");
    prompts.dialogues = {[&](QDialog &d) {
      auto &o = dynamic_cast<Touvre_image &>(d);
      EXPECT_EQ(o.listes.fichier(), QString::fromStdString(dir.file("grand.png")));
      o.listes.va(QString::fromStdString(dir.path()) + "/..");
      (ok ? o.OKBtn : o.CancelBtn)->click();
    }};
    clique("Eaffiche");
    clique("Eok");
    EXPECT_EQ(affiche(), dir.file("grand.png"));
  }
}

TEST_F(Medias, TheVideoNameComesBackEvenWhenTheChooserIsCancelled) {
  prompts.fichiers = {QString::fromStdString(dir.file("clip.avi")), QString()};
  clique("Evideo");
  clique("Evideo");
  clique("Eok");
  EXPECT_EQ(c.recordings()[0].record.video(), dir.file("clip.avi"));
}

TEST_F(Medias, AMissingFileShowsAndPlaysNothing) {
  w->normal().montre(QString::fromStdString(dir.file("absent.jpg")));
  EXPECT_FALSE(w->normal().image->picture());
  EXPECT_EQ(w->normal().image->ImageName(), image::kMessageAbsent);
  w->multimedia().joue(QString::fromStdString(dir.file("absent.avi")));
  EXPECT_TRUE(w->multimedia().mp1->source().isEmpty());
  EXPECT_EQ(w->multimedia().mp1->playbackState(), QMediaPlayer::StoppedState);
}

TEST_F(Medias, TheBitmapChooserTakesTheFirstFileAndForgetsAllOnCancel) {
  TOpenBitmap b(prompts);
  b.InitialDir = QString::fromStdString(dir.path());
  b.Title = "Texture";
  b.Language = TLanguage::laSpanish;
  prompts.dialogues = {[](QDialog &d) {
                         auto &o = dynamic_cast<TOpenBmpDlg &>(d);
                         EXPECT_EQ(o.CancelBtn->text(), "&Cancelar");
                         o.OKBtn->click();
                       },
                       [](QDialog &d) { dynamic_cast<TOpenBmpDlg &>(d).CancelBtn->click(); }};
  QImage(20, 20, QImage::Format_RGB32).save(QString::fromStdString(dir.file("a.bmp")));
  EXPECT_TRUE(b.Execute());
  EXPECT_EQ(std::tuple(b.FileName, b.Title),
            std::tuple(QString::fromStdString(dir.file("a.bmp")), "Texture"));
  EXPECT_FALSE(b.Execute());
  EXPECT_TRUE(b.FileName.isEmpty() && b.InitialDir.isEmpty() && b.Title.isEmpty());
}

}  // namespace
