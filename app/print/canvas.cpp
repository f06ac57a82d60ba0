#include "canvas.h"

#include <charconv>

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

void ajoute(std::string &s, int v) {
  char chiffres[12];
  s += '\t';
  s.append(chiffres, std::to_chars(chiffres, chiffres + sizeof chiffres, v).ptr);
}

}  // namespace

template <class... Ints>
void RecordingCanvas::ligne(std::string_view verbe, Ints... v) {
  ++appels_;
  dump_ += verbe;
  (ajoute(dump_, v), ...);
}

std::vector<std::string> RecordingCanvas::lignes() const {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < dump_.size();) {
    const std::size_t fin = dump_.find('\n', at);
    out.push_back(dump_.substr(at, fin - at));
    at = fin + 1;
  }
  return out;
}

void RecordingCanvas::debut_job() {
  ligne("job");
  dump_ += '\n';
}
void RecordingCanvas::fin_job() {
  ligne("endjob");
  dump_ += '\n';
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
  ligne("text", x, y);
  std::string &s = dump_;
  s += '\t';
  s += nom(align_);
  s += '\t';
  s += famille_;
  s += '\t';
  s += nom(style_);
  ajoute(s, points_);
  s += '\t';
  // Control characters as the CLI's other tab-separated outputs write them: one call, one line.
  static constexpr char kHex[] = "0123456789abcdef";
  std::size_t clair = 0;  // start of the run not yet copied
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto u = static_cast<unsigned char>(utf8[i]);
    if (u >= 0x20 && u != 0x7f) continue;
    s.append(utf8.substr(clair, i - clair));
    clair = i + 1;
    if (u == '\t')
      s += "\\t";
    else if (u == '\n')
      s += "\\n";
    else
      s += {'\\', 'x', kHex[u >> 4], kHex[u & 15]};
  }
  s.append(utf8.substr(clair));
  s += '\n';
}

void RecordingCanvas::trace_ligne(int x1, int y1, int x2, int y2) {
  ligne("line", x1, y1, x2, y2, crayon_);
  dump_ += '\n';
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
  ligne("rect", x1, y1, x2, y2, crayon_);
  dump_ += '\n';
}

void RecordingCanvas::rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) {
  ligne("roundrect", x1, y1, x2, y2, w, h, crayon_);
  dump_ += '\n';
}

void RecordingCanvas::image(int x1, int y1, int x2, int y2, const Image &img) {
  ligne("image", x1, y1, x2, y2);
  dump_ += '\t' + std::to_string(img.largeur) + 'x' + std::to_string(img.hauteur) + '\n';
}

}  // namespace print
