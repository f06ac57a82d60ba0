// A two-page report written as a PDF file, read back with poppler's tools.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "catalogue.h"
#include "pdf_canvas.h"
#include "reports.h"
#include "temp_dir.h"

namespace {

std::string output_of(const std::string &command) {
  std::string out;
  if (FILE *p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

TEST(PdfCanvas, TwoPageReportIsOneDocument) {
  print::ouvre_application();
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K7-001");
  for (int t = 0; t < 30; ++t) c.record("Titre " + std::to_string(t));
  const std::string pdf = dir.file("liste.pdf");
  print::PdfCanvas canvas(pdf);
  EXPECT_EQ(print::liste_enregistrements(c.store, canvas, 0).pages, 2);
  ASSERT_TRUE(canvas.termine());
  EXPECT_TRUE(std::regex_search(output_of("pdfinfo '" + pdf + "'"), std::regex("\nPages: +2\n")));
  const std::string text = output_of("pdftotext -layout '" + pdf + "' -");
  EXPECT_NE(text.find("LISTE DES ENREGISTREMENTS"), std::string::npos);
  EXPECT_NE(text.find("Titre 29"), std::string::npos);
  EXPECT_NE(text.find("K7-001"), std::string::npos);
  const std::string fonts = output_of("pdffonts '" + pdf + "'");
  EXPECT_NE(fonts.find("LiberationSerif-Bold"), std::string::npos) << fonts;
}

}  // namespace
