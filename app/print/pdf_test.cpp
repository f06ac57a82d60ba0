// Reports written as PDF files through the two Qt back ends, read back with poppler's tools.
#include <gtest/gtest.h>

#include <QPrinter>
#include <cstdio>
#include <regex>

#include "catalogue.h"
#include "printer_canvas.h"
#include "reports.h"
#include "temp_dir.h"

namespace {

// What a command prints, up to 1 MB.
std::string output_of(const std::string &command) {
  std::string out(1 << 20, '\0');
  FILE *p = ::popen(command.c_str(), "r");
  out.resize(p ? std::fread(out.data(), 1, out.size(), p) : 0);
  if (p) ::pclose(p);
  return out;
}

TEST(QtCanvas, ReportPagesReachTheFile) {
  const auto app = print::ouvre_application();
  TempDir dir;
  Catalogue c(dir.path());
  c.dossier("Films").support("VHS", "K7-001");
  for (int t = 0; t < 50; ++t) c.record("Titre " + std::to_string(t));
  const std::string pdf = dir.file("liste.pdf");
  {
    print::PdfCanvas canvas(pdf);  // every page in one document
    EXPECT_EQ(print::liste_enregistrements(c.store, canvas, 0).pages, 3);
    ASSERT_TRUE(canvas.termine());
  }
  EXPECT_TRUE(std::regex_search(output_of("pdfinfo '" + pdf + "'"), std::regex("\nPages: +3\n")));
  std::string text = output_of("pdftotext '" + pdf + "' -");
  for (const char *s : {"LISTE DES ENREGISTREMENTS", "Titre 49", "K7-001", "-3-"})
    EXPECT_NE(text.find(s), std::string::npos) << s;
  EXPECT_NE(output_of("pdffonts '" + pdf + "'").find("LiberationSerif-Bold"), std::string::npos);

  // A printer sends one document per page: the file keeps the last one.
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  print::PrinterCanvas canvas(printer);
  EXPECT_EQ(print::liste_supports(c.store, canvas, 1).pages, 2);
  EXPECT_TRUE(canvas.ok());
  text = output_of("pdftotext '" + pdf + "' -");
  EXPECT_EQ(text.find("Reference :"), std::string::npos);  // the support's labels are on page 1
  for (const char *s : {"Titre 49", "-2-"}) EXPECT_NE(text.find(s), std::string::npos) << s;
}

}  // namespace
