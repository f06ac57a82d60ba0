#include "prompts.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSoundEffect>

namespace ui {

QtPrompts::QtPrompts(QWidget *parent) : parent_(parent) {}
QtPrompts::~QtPrompts() = default;

Reponse QtPrompts::message(Boite boite, const QString &texte, Boutons boutons) {
  static const char *const kTitres[] = {"Avertissement", "Erreur", "Information", "Confirmation"};
  static const QMessageBox::Icon kIcones[] = {QMessageBox::Warning, QMessageBox::Critical,
                                              QMessageBox::Information, QMessageBox::Question};
  auto k = static_cast<int>(boite);
  QMessageBox box(kIcones[k], QString::fromUtf8(kTitres[k]), texte, QMessageBox::NoButton, parent_);
  QPushButton *premier = nullptr;
  QPushButton *second = nullptr;
  switch (boutons) {
    case Boutons::ok:
      premier = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      break;
    case Boutons::ok_annuler:
      premier = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      second = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
      break;
    case Boutons::oui_non:
      premier = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
      second = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
      break;
  }
  // Wide enough for the frame to show its title whole, with the frame's own buttons beside it.
  const int largeur = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) * 3 / 2 + 160;
  if (auto *grille = qobject_cast<QGridLayout *>(box.layout()))
    grille->addItem(new QSpacerItem(largeur, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                    grille->rowCount(), 0, 1, grille->columnCount());
  box.setDefaultButton(premier);
  box.setEscapeButton(second ? second : premier);
  box.exec();
  bool premier_choisi = box.clickedButton() == premier;
  if (boutons == Boutons::oui_non) return premier_choisi ? Reponse::oui : Reponse::non;
  if (boutons == Boutons::ok) return Reponse::ok;
  return premier_choisi ? Reponse::ok : Reponse::annuler;
}

bool QtPrompts::execute(QDialog &dialogue) {
  return dialogue.exec() == QDialog::Accepted;
}

QString QtPrompts::choix_fichier(const QString &titre, const QString &filtre, const QString &dossier) {
  return QFileDialog::getOpenFileName(parent_, titre, dossier, filtre);
}

QString QtPrompts::choix_nom_fichier(const QString &titre, const QString &filtre, const QString &nom) {
  QFileDialog dialogue(parent_, titre, QString(), filtre);
  dialogue.setFileMode(QFileDialog::AnyFile);
  dialogue.setAcceptMode(QFileDialog::AcceptOpen);
  dialogue.selectFile(nom);
  return dialogue.exec() == QDialog::Accepted ? dialogue.selectedFiles().value(0) : QString();
}

std::optional<QColor> QtPrompts::choix_couleur(const QColor &depart) {
  QColor c = QColorDialog::getColor(depart, parent_, QStringLiteral("Couleurs"));
  if (!c.isValid()) return std::nullopt;
  return c;
}

std::optional<QFont> QtPrompts::choix_fonte(const QFont &depart) {
  bool ok = false;
  QFont f = QFontDialog::getFont(&ok, depart, parent_, QStringLiteral("Police"));
  if (!ok) return std::nullopt;
  return f;
}

bool QtPrompts::configure_imprimante(QPrinter &imprimante) {
  // The print dialog, not the page set-up: it chooses the printer too, or a PDF file on a desktop
  // without one.
  QPrintDialog dialogue(&imprimante, parent_);
  return dialogue.exec() == QDialog::Accepted;
}

bool QtPrompts::ouvre_externe(const QUrl &adresse) {
  return QDesktopServices::openUrl(adresse);
}

void QtPrompts::joue_son(const QString &chemin) {
  if (!QFileInfo(chemin).isFile()) return;
  // One effect at a time: a new dossier's sound replaces the previous one.
  son_ = std::make_unique<QSoundEffect>();
  son_->setSource(QUrl::fromLocalFile(chemin));
  son_->play();
}

}  // namespace ui
