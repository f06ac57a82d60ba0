#include "records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <typeinfo>

using namespace store;

namespace {

// Builders of hand-made bytes: offsets in these tests are written out by hand from the file
// layouts, not taken from the code's own tables.
template <class Bytes>
void put_text(Bytes &bytes, std::size_t off, const std::string &s) {
  std::uint8_t *b = bytes.data();
  b[off] = static_cast<std::uint8_t>(s.size());
  std::memcpy(&b[off + 1], s.data(), s.size());
}
template <class Bytes>
void put_int(Bytes &bytes, std::size_t off, std::uint32_t v) {
  std::uint8_t *b = bytes.data();
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Each field gets its own offset as its value, all in one record, and is read back through its
// accessor: a field at the wrong place reads another's value or nothing.
template <class R>
void texts_at(std::initializer_list<std::pair<std::size_t, std::string (R::*)() const>> fields) {
  R r;
  for (auto [off, get] : fields) put_text(r.bytes, off, std::to_string(off));
  for (auto [off, get] : fields) EXPECT_EQ((r.*get)(), std::to_string(off)) << typeid(R).name() << off;
}
template <class R>
void slots_at(int slot, std::initializer_list<std::pair<std::size_t, std::string (R::*)(int) const>> fields) {
  R r;
  for (auto [off, get] : fields) put_text(r.bytes, off, std::to_string(off));
  for (auto [off, get] : fields) EXPECT_EQ((r.*get)(slot), std::to_string(off)) << typeid(R).name() << off;
}
// Integers with the sign bit and a distinct byte in each place, to pin the byte order too.
template <class R>
void ints_at(std::initializer_list<std::pair<std::size_t, std::int32_t (R::*)() const>> fields) {
  R r;
  for (auto [off, get] : fields) put_int(r.bytes, off, 0xFE030200u + static_cast<std::uint32_t>(off));
  for (auto [off, get] : fields)
    EXPECT_EQ((r.*get)(), -0x01FCFE00 + static_cast<std::int32_t>(off)) << typeid(R).name() << off;
}

TEST(Records, FieldsLieAtTheirOffsets) {
  texts_at<TDataDossier>({{0, &TDataDossier::titre},
                          {41, &TDataDossier::code},
                          {308, &TDataDossier::notes},
                          {577, &TDataDossier::son}});
  ints_at<TDataDossier>({{658, &TDataDossier::dernier_support}, {662, &TDataDossier::dernier_record}});
  texts_at<TDataSupport>({{4, &TDataSupport::support},
                          {25, &TDataSupport::reference},
                          {87, &TDataSupport::date},
                          {366, &TDataSupport::pret_a},
                          {418, &TDataSupport::pret_au},
                          {685, &TDataSupport::emprunt_a},
                          {748, &TDataSupport::emprunt_observations}});
  ints_at<TDataSupport>({{0, &TDataSupport::numero}, {98, &TDataSupport::duree}, {106, &TDataSupport::fin}});
  texts_at<TDataRecord>({{8, &TDataRecord::titre},
                         {293, &TDataRecord::theme},
                         {547, &TDataRecord::date},
                         {936, &TDataRecord::video}});
  ints_at<TDataRecord>({{4, &TDataRecord::numero_support}, {285, &TDataRecord::annee}});
  texts_at<TDataRecord1>({{0, &TDataRecord1::format}});
  slots_at<TDataGenerique>(
      30, {{41 * 29, &TDataGenerique::denomination}, {2460 + 41 * 29, &TDataGenerique::role}});
  slots_at<TDataGenerique>(2, {{1230 + 41, &TDataGenerique::nom}});
  slots_at<TDataRecompense>(
      10, {{410 + 41 * 9, &TDataRecompense::categorie}, {820 + 5 * 9, &TDataRecompense::annee_recompense}});
  slots_at<TDataPlanning>(10, {{21 * 9, &TDataPlanning::film},
                               {320 + 6 * 9, &TDataPlanning::heure},
                               {380 + 11 * 9, &TDataPlanning::showview}});
  slots_at<TDataPlanning>(2, {{210 + 11, &TDataPlanning::date_prevue}});
}

TEST(Records, TextsAreCutWhenStoredAndReadWithinTheirWidth) {
  TDataSupport s;
  s.set_support("ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // 26 characters into a text 20
  EXPECT_EQ(s.support(), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(s.bytes[4], 20);
  EXPECT_EQ(s.bytes[25], 0);  // the next field's length byte is untouched
  // A length byte of 255 in a text 10 field reads as 10 characters, never into the next field.
  s.bytes[87] = 255;
  std::memcpy(&s.bytes[88], "0123456789", 10);
  put_int(s.bytes, 98, 0x41414141);
  EXPECT_EQ(s.date(), "0123456789");
  // Leftovers after a shortened text are ignored, and zeroed when a text is stored.
  TDataRecord r;
  put_text(r.bytes, 8, "Long title");
  r.bytes[8] = 4;
  EXPECT_EQ(r.titre(), "Long");
  r.set_titre("Ab");
  EXPECT_EQ(r.bytes[8], 2);
  EXPECT_EQ(r.bytes[11], 0);
  // A slot outside its array is clamped to it: slot 11 is slot 10, never categorie[1].
  TDataRecompense a;
  a.set_recompense(11, "x");
  EXPECT_EQ(a.recompense(10), "x");
  EXPECT_EQ(a.categorie(1), "");
}

}  // namespace
