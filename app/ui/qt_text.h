// The one crossing between stored bytes (Windows-1252) and Qt strings, and stored colours.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "text.h"

namespace ui {

inline QString qtext(std::string_view cp1252) {
  return QString::fromStdString(store::cp1252_to_utf8(cp1252));
}
// Characters with no Windows-1252 byte become '?'.
inline std::string ctext(const QString &text) {
  return store::utf8_to_cp1252(text.toStdString());
}

// Memo texts are stored with Windows line ends.
inline QString qmemo(std::string_view cp1252) {
  return qtext(cp1252).replace("\r\n", "\n");
}
inline std::string cmemo(QString text) {
  return ctext(text.replace("\n", "\r\n"));
}

// A stored colour: 0x00BBGGRR, or 0x80000000 + a Windows system colour index taken from the
// palette's nearest role.
QColor couleur_windows(std::uint32_t valeur, const QPalette &palette);
// A chosen colour as it is stored: 0x00BBGGRR.
inline std::uint32_t valeur_windows(const QColor &c) {
  return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

}  // namespace ui
