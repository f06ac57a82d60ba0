#include "qt_text.h"

namespace ui {

QColor couleur_windows(std::uint32_t valeur, const QPalette &palette) {
  if ((valeur & 0xFF000000u) == 0)
    return QColor(int(valeur & 0xFF), int((valeur >> 8) & 0xFF), int((valeur >> 16) & 0xFF));
  if ((valeur & 0xFF000000u) != 0x80000000u) return palette.color(QPalette::Window);
  using R = QPalette::ColorRole;
  // Windows system colour indices 0..24, in order.
  static constexpr R kRoles[] = {
      R::Midlight,        R::Dark,        R::Highlight,  R::Mid,         R::Window,
      R::Base,            R::Shadow,      R::WindowText, R::Text,        R::HighlightedText,
      R::Window,          R::Window,      R::Mid,        R::Highlight,   R::HighlightedText,
      R::Button,          R::Dark,        R::PlaceholderText, R::ButtonText, R::WindowText,
      R::Light,           R::Shadow,      R::Midlight,   R::ToolTipText, R::ToolTipBase,
  };
  std::uint32_t index = valeur & 0xFFFFFFu;
  if (index >= std::size(kRoles)) return palette.color(QPalette::Window);
  return palette.color(QPalette::Active, kRoles[index]);
}

}  // namespace ui
