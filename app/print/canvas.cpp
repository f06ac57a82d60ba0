#include "canvas.h"

namespace print {
namespace {

const char *nom(Style s) {
  switch (s) {
    case Style::bold:
      return "bold";
    case Style::bolditalic:
      return "bolditalic";
    case Style::normal:
      break;
  }
  return "normal";
}

const char *nom(Align a) {
  switch (a) {
    case Align::center:
      return "center";
    case Align::right:
      return "right";
    case Align::left:
      break;
  }
  return "left";
}

template <class... Ints>
std::string champs(const char *verbe, Ints... v) {
  std::string s = verbe;
  ((s += '\t', s += std::to_string(v)), ...);
  return s;
}

}  // namespace

void RecordingCanvas::debut_job() {
  lignes_.emplace_back("job");
}
void RecordingCanvas::fin_job() {
  lignes_.emplace_back("endjob");
}

void RecordingCanvas::fixe_police(std::string_view famille, Style style, std::uint32_t, int points) {
  famille_ = famille;
  style_ = style;
  points_ = points;
}

void RecordingCanvas::fixe_crayon(Trait, std::uint32_t, int largeur) {
  crayon_ = largeur;
}
void RecordingCanvas::fixe_brosse(Remplissage, std::uint32_t) {}

void RecordingCanvas::texte(int x, int y, std::string_view utf8) {
  std::string s = champs("text", x, y);
  s += '\t';
  s += nom(align_);
  s += '\t' + famille_ + '\t' + nom(style_) + '\t' + std::to_string(points_) + '\t';
  // Control characters as the CLI's other tab-separated outputs write them: one call, one line.
  static constexpr char kHex[] = "0123456789abcdef";
  for (char ch : utf8) {
    auto u = static_cast<unsigned char>(ch);
    if (ch == '\t')
      s += "\\t";
    else if (ch == '\n')
      s += "\\n";
    else if (u < 0x20 || u == 0x7f)
      s += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    else
      s += ch;
  }
  lignes_.push_back(std::move(s));
}

void RecordingCanvas::trace_ligne(int x1, int y1, int x2, int y2) {
  lignes_.push_back(champs("line", x1, y1, x2, y2, crayon_));
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
  lignes_.push_back(champs("rect", x1, y1, x2, y2, crayon_));
}

void RecordingCanvas::rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) {
  lignes_.push_back(champs("roundrect", x1, y1, x2, y2, w, h, crayon_));
}

void RecordingCanvas::image(int x1, int y1, int x2, int y2, const Image &img) {
  lignes_.push_back(champs("image", x1, y1, x2, y2) + '\t' + std::to_string(img.largeur) + 'x' +
                    std::to_string(img.hauteur));
}

std::string RecordingCanvas::dump() const {
  std::string out;
  for (const std::string &l : lignes_) out += l + '\n';
  return out;
}

}  // namespace print
