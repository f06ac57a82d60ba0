// The canvas the reports draw on: 0.1 mm units, x to the right, y upward from the top-left corner
// of the printable area, so every y of a report is negative. Texts are UTF-8 and hang below
// their anchor. A print job holds one page; a report that runs over several pages opens one job
// per page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace print {

enum class Style { normal, bold, bolditalic };
enum class Align { left, center, right };
enum class Trait { plein };
enum class Remplissage { plein, aucun };

inline constexpr std::uint32_t kNoir = 0x000000;
inline constexpr std::uint32_t kBlanc = 0xffffff;
inline constexpr const char *kTimes = "Times New Roman";
inline constexpr const char *kArial = "Arial";

// A picture for the canvas: `largeur` × `hauteur` pixels, 0xAARRGGBB, rows from the top.
struct Image {
  int largeur = 0;
  int hauteur = 0;
  std::vector<std::uint32_t> pixels;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The printer's begin-document and end-document steps.
  virtual void debut_job() = 0;
  virtual void fin_job() = 0;

  virtual void fixe_police(std::string_view famille, Style style, std::uint32_t couleur, int points) = 0;
  virtual void fixe_crayon(Trait trait, std::uint32_t couleur, int largeur) = 0;
  virtual void fixe_brosse(Remplissage remplissage, std::uint32_t couleur) = 0;
  virtual void fixe_alignement(Align align) = 0;

  virtual void texte(int x, int y, std::string_view utf8) = 0;
  virtual void trace_ligne(int x1, int y1, int x2, int y2) = 0;
  virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) = 0;
  // The picture stretched over the rectangle.
  virtual void image(int x1, int y1, int x2, int y2, const Image &img) = 0;

  // Shorthands the reports use everywhere: the font in black, then one text.
  void police(std::string_view famille, Style style, int points) {
    fixe_police(famille, style, kNoir, points);
  }
  void crayon(int largeur) { fixe_crayon(Trait::plein, kNoir, largeur); }
  void ecrit(int x, int y, std::string_view utf8, Align align = Align::left) {
    fixe_alignement(align);
    texte(x, y, utf8);
  }
};

// Keeps every draw call, for tests and `tapemoor-cli print --dump`: one line per call,
// tab-separated, coordinates as given.
class RecordingCanvas : public Canvas {
 public:
  void debut_job() override;
  void fin_job() override;
  void fixe_police(std::string_view famille, Style style, std::uint32_t couleur, int points) override;
  void fixe_crayon(Trait trait, std::uint32_t couleur, int largeur) override;
  void fixe_brosse(Remplissage remplissage, std::uint32_t couleur) override;
  void fixe_alignement(Align align) override { align_ = align; }
  void texte(int x, int y, std::string_view utf8) override;
  void trace_ligne(int x1, int y1, int x2, int y2) override;
  void rectangle(int x1, int y1, int x2, int y2) override;
  void rectangle_arrondi(int x1, int y1, int x2, int y2, int w, int h) override;
  void image(int x1, int y1, int x2, int y2, const Image &img) override;

  // The calls so far, one a line; a report draws hundreds of thousands of them, so they are kept
  // as one text rather than a string each.
  std::vector<std::string> lignes() const;
  std::size_t appels() const { return appels_; }
  const std::string &dump() const { return dump_; }

 private:
  // Starts the next line with `verbe` and the tab-separated integers.
  template <class... Ints>
  void ligne(std::string_view verbe, Ints... v);

  std::string dump_;
  std::size_t appels_ = 0;
  std::string famille_ = kTimes;
  Style style_ = Style::normal;
  int points_ = 10;
  int crayon_ = 1;
  Align align_ = Align::left;
};

}  // namespace print
