// A window's texts in both languages, set on its controls by their designed names, and the
// input/output error report every window shows the same way.
#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace ui {

class Prompts;

enum class TexteSur { caption, hint };

struct TexteControle {
  const char *nom;  // object name of the action, menu, label or button
  TexteSur sur;
  const char *fr;
  const char *en;
};

struct Paire {
  const char *fr;
  const char *en;
};
inline QString choisit(const Paire &p, int langue) {
  return QString::fromUtf8(langue == 0 ? p.fr : p.en);
}

// The controls of a window by their designed names, registered as the window builds them.
class Registre {
 public:
  template <class T>
  T *ajoute(T *controle) {
    controles_[controle->objectName().toStdString()] = controle;
    return controle;
  }
  QObject *cherche(std::string_view nom) const;
  // Sets each text of the table, in `langue`, on the registered control of its name: a caption
  // on a menu, action, label, button or group, a hint as the tooltip.
  void applique(std::span<const TexteControle> textes, int langue) const;

 private:
  std::map<std::string, QObject *, std::less<>> controles_;
};

// A failed command: the input/output error box naming the operation and the file, or the
// failure's own text.
void signale_echec(Prompts &prompts, const std::exception &e, int langue);

}  // namespace ui
