#include "records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <typeinfo>

using namespace store;

namespace {

// Builders of hand-made bytes: offsets in these tests are written out by hand from the file
// layouts, not taken from the code's own tables.
void put_text(std::uint8_t *b, std::size_t off, const std::string &s) {
  b[off] = static_cast<std::uint8_t>(s.size());
  std::memcpy(&b[off + 1], s.data(), s.size());
}
void put_int(std::uint8_t *b, std::size_t off, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Each field gets its own offset as its value, all in one record, and is read back through its
// accessor (at `slot...` for arrays): a field at the wrong place reads another's value or nothing.
template <class R, class... Slot>
void texts_at(std::initializer_list<std::pair<std::size_t, std::string (R::*)(Slot...) const>> fields,
              Slot... slot) {
  R r;
  for (auto [off, get] : fields) put_text(r.bytes.data(), off, std::to_string(off));
  for (auto [off, get] : fields) EXPECT_EQ((r.*get)(slot...), std::to_string(off)) << typeid(R).name() << off;
}
// Integers with the sign bit and a distinct byte in each place, to pin the byte order too.
template <class R>
void ints_at(std::initializer_list<std::pair<std::size_t, std::int32_t (R::*)() const>> fields) {
  R r;
  for (auto [off, get] : fields) put_int(r.bytes.data(), off, 0xFE030200u + static_cast<std::uint32_t>(off));
  for (auto [off, get] : fields)
    EXPECT_EQ((r.*get)(), -0x01FCFE00 + static_cast<std::int32_t>(off)) << typeid(R).name() << off;
}

TEST(Records, FieldsLieAtTheirOffsets) {
  using D = TDataDossier;
  using S = TDataSupport;
  using R = TDataRecord;
  using G = TDataGenerique;
  using A = TDataRecompense;
  using P = TDataPlanning;
  texts_at<D>({{0, &D::titre}, {41, &D::code}, {308, &D::notes}, {577, &D::son}});
  ints_at<D>({{658, &D::dernier_support}, {662, &D::dernier_record}});
  texts_at<S>({{4, &S::support}, {25, &S::reference}, {87, &S::date}, {366, &S::pret_a}});
  texts_at<S>({{418, &S::pret_au}, {685, &S::emprunt_a}, {748, &S::emprunt_observations}});
  ints_at<S>({{0, &S::numero}, {98, &S::duree}, {106, &S::fin}});
  texts_at<R>({{8, &R::titre}, {293, &R::theme}, {547, &R::date}, {936, &R::video}});
  ints_at<R>({{4, &R::numero_support}, {285, &R::annee}});
  texts_at<TDataRecord1>({{0, &TDataRecord1::format}});
  texts_at<G>({{41 * 29, &G::denomination}, {2460 + 41 * 29, &G::role}}, 30);
  texts_at<G>({{1230 + 41, &G::nom}}, 2);
  texts_at<A>({{410 + 41 * 9, &A::categorie}, {820 + 5 * 9, &A::annee_recompense}}, 10);
  texts_at<P>({{21 * 9, &P::film}, {320 + 6 * 9, &P::heure}, {380 + 11 * 9, &P::showview}}, 10);
  texts_at<P>({{210 + 11, &P::date_prevue}}, 2);
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
  put_int(s.bytes.data(), 98, 0x41414141);
  EXPECT_EQ(s.date(), "0123456789");
  // Leftovers after a shortened text are ignored, and zeroed when a text is stored.
  TDataRecord r;
  put_text(r.bytes.data(), 8, "Long title");
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
