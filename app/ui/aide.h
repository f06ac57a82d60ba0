// The help every window shares: the guide opened at the window's page by the desktop.
#pragma once

#include <string>
#include <string_view>

class QWidget;

namespace ui {

class Prompts;

// Opens the help of `page` in `langue` (see fichiers_aide; no `data_dir`: the guide alone); when
// none is found, says where it was looked for.
void ouvre_aide(Prompts &prompts, int langue, std::string_view page, const std::string &data_dir = {});

// F1 anywhere in `fenetre` opens its page of the guide.
void aide_f1(QWidget &fenetre, Prompts &prompts, int langue, const char *page);

}  // namespace ui
