#include "records.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace store;

namespace {

// Builders of hand-made bytes: offsets in these tests are written out by hand from the file
// layouts, not taken from the code's own tables.
template <class Bytes>
void put_text(Bytes &bytes, std::size_t off, const char *s) {
  std::uint8_t *b = bytes.data();
  b[off] = static_cast<std::uint8_t>(std::strlen(s));
  std::memcpy(&b[off + 1], s, std::strlen(s));
}
template <class Bytes>
void put_int(Bytes &bytes, std::size_t off, std::uint32_t v) {
  std::uint8_t *b = bytes.data();
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(Records, SizesMatchTheFiles) {
  EXPECT_EQ(sizeof(TDataDossier), 666u);
  EXPECT_EQ(sizeof(TDataSupport), 1004u);
  EXPECT_EQ(sizeof(TDataRecord), 1017u);
  EXPECT_EQ(sizeof(TDataRecord1), 246u);
  EXPECT_EQ(sizeof(TDataGenerique), 3690u);
  EXPECT_EQ(sizeof(TDataRecompense), 870u);
  EXPECT_EQ(sizeof(TDataPlanning), 490u);
  EXPECT_EQ(sizeof(TListEntry), 41u);
}

TEST(Records, DossierFieldsAtTheirOffsets) {
  TDataDossier d;
  put_text(d.bytes, 0, "Films");
  put_text(d.bytes, 41, "secret");
  put_text(d.bytes, 308, "notes here");
  put_text(d.bytes, 577, "C:\\SONS\\GONG.WAV");
  put_int(d.bytes, 658, 17);
  put_int(d.bytes, 662, 0xFFFFFFFE);
  EXPECT_EQ(d.titre(), "Films");
  EXPECT_EQ(d.code(), "secret");
  EXPECT_EQ(d.reserve1(), "");
  EXPECT_EQ(d.notes(), "notes here");
  EXPECT_EQ(d.son(), "C:\\SONS\\GONG.WAV");
  EXPECT_EQ(d.dernier_support(), 17);
  EXPECT_EQ(d.dernier_record(), -2);
}

TEST(Records, SupportFieldsAtTheirOffsets) {
  TDataSupport s;
  put_int(s.bytes, 0, 0x01020304);
  put_text(s.bytes, 4, "VHS");
  put_text(s.bytes, 25, "K7-12");
  put_text(s.bytes, 87, "01/01/1997");
  put_int(s.bytes, 98, 240);
  put_int(s.bytes, 106, 5123);
  put_text(s.bytes, 366, "Paul");
  put_text(s.bytes, 418, "31/12/1998");
  put_text(s.bytes, 685, "Anne");
  put_text(s.bytes, 748, "last field");
  EXPECT_EQ(s.numero(), 0x01020304);
  EXPECT_EQ(s.support(), "VHS");
  EXPECT_EQ(s.reference(), "K7-12");
  EXPECT_EQ(s.date(), "01/01/1997");
  EXPECT_EQ(s.duree(), 240);
  EXPECT_EQ(s.fin(), 5123);
  EXPECT_EQ(s.pret_a(), "Paul");
  EXPECT_EQ(s.pret_au(), "31/12/1998");
  EXPECT_EQ(s.emprunt_a(), "Anne");
  EXPECT_EQ(s.emprunt_observations(), "last field");
}

TEST(Records, RecordingCreditsAwardsPlanningAtTheirOffsets) {
  TDataRecord r;
  put_int(r.bytes, 4, 9);
  put_text(r.bytes, 8, "Titre");
  put_int(r.bytes, 285, 1959);
  put_text(r.bytes, 293, "Drame");
  put_text(r.bytes, 547, "02/03/1999");
  put_text(r.bytes, 936, "film.avi");
  EXPECT_EQ(r.numero_support(), 9);
  EXPECT_EQ(r.titre(), "Titre");
  EXPECT_EQ(r.annee(), 1959);
  EXPECT_EQ(r.theme(), "Drame");
  EXPECT_EQ(r.date(), "02/03/1999");
  EXPECT_EQ(r.video(), "film.avi");

  TDataRecord1 r1;
  put_text(r1.bytes, 0, "16/9");
  EXPECT_EQ(r1.format(), "16/9");

  TDataGenerique g;
  put_text(g.bytes, 41 * 29, "Monteur");          // denomination[30]
  put_text(g.bytes, 1230 + 41, "Anna");          // nom[2]
  put_text(g.bytes, 2460 + 41 * 29, "le roi");   // role[30]
  EXPECT_EQ(g.denomination(30), "Monteur");
  EXPECT_EQ(g.nom(2), "Anna");
  EXPECT_EQ(g.role(30), "le roi");

  TDataRecompense a;
  put_text(a.bytes, 410 + 41 * 9, "Film");  // categorie[10]
  put_text(a.bytes, 820 + 5 * 9, "1998");   // annee_recompense[10]
  EXPECT_EQ(a.categorie(10), "Film");
  EXPECT_EQ(a.annee_recompense(10), "1998");

  TDataPlanning p;
  put_text(p.bytes, 21 * 9, "Dernier");    // film[10]
  put_text(p.bytes, 210 + 11, "05/05/1998");  // date_prevue[2]
  put_text(p.bytes, 320 + 6 * 9, "23:59");     // heure[10]
  put_text(p.bytes, 380 + 11 * 9, "123456");   // showview[10]
  EXPECT_EQ(p.film(10), "Dernier");
  EXPECT_EQ(p.date_prevue(2), "05/05/1998");
  EXPECT_EQ(p.heure(10), "23:59");
  EXPECT_EQ(p.showview(10), "123456");
}

TEST(Records, TextsAreCutAndOversizedLengthBytesAreBounded) {
  TDataSupport s;
  s.set_support("ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // 26 characters into a text 20
  EXPECT_EQ(s.support(), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(s.bytes[4], 20);
  EXPECT_EQ(s.bytes[25], 0);  // the next field's length byte is untouched

  TListEntry e;
  e.set_texte(std::string(45, 'x'));
  EXPECT_EQ(e.texte(), std::string(40, 'x'));

  // A length byte of 255 in a text 10 field reads as 10 characters, never into the next field.
  TDataSupport bad;
  bad.bytes[87] = 255;
  std::memcpy(&bad.bytes[88], "0123456789", 10);
  put_int(bad.bytes, 98, 0x41414141);
  EXPECT_EQ(bad.date(), "0123456789");
}

TEST(Records, UntouchedRecordsKeepTheirLeftoverBytes) {
  TDataRecord r;
  put_text(r.bytes, 8, "Long title");
  r.bytes[8] = 4;  // shortened later: "Long" counts, " title" is leftover
  auto before = r.bytes;
  EXPECT_EQ(r.titre(), "Long");
  TDataRecord copy = r;
  EXPECT_EQ(copy.bytes, before);
  copy.set_titre("Ab");
  EXPECT_EQ(copy.bytes[8], 2);
  EXPECT_EQ(copy.bytes[11], 0);  // a stored text zeroes what follows it
}

TEST(Records, SlotIndexesOutsideTheArrayStayInsideIt) {
  TDataRecompense a;
  a.set_recompense(11, "x");  // clamped to slot 10, not into categorie[1]
  EXPECT_EQ(a.recompense(10), "x");
  EXPECT_EQ(a.categorie(1), "");
}

}  // namespace
