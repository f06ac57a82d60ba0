#include "text.h"

#include <gtest/gtest.h>

using namespace store;

namespace {

TEST(Text, Windows1252RoundTripsThroughUtf8AndCharactersWithoutAByteBecomeQuestionMarks) {
  std::string stored = "\x80 \x9c\xe9t\xe9 \xc0 \xff";  // € œété À ÿ
  EXPECT_EQ(cp1252_to_utf8(stored), "€ œété À ÿ");
  EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(stored)), stored);
  EXPECT_EQ(utf8_to_cp1252("a\xe2\x86\x92z"), "a?z");    // →
  EXPECT_EQ(utf8_to_cp1252("\xf0\x9f\x8e\xac!"), "?!");  // a four-byte character
  EXPECT_EQ(utf8_to_cp1252("bad\xc3"), "bad?");          // cut sequence
  EXPECT_EQ(utf8_to_cp1252("\xc3("), "?(");              // broken continuation
}

TEST(Text, UpperCaseCoversAccentedLetters) {
  EXPECT_EQ(cp1252_upper("vid\xe9o \x9c\xff \xf7"), "VID\xc9O \x8c\x9f \xf7");
  EXPECT_EQ(cp1252_upper("abc-XYZ 12"), "ABC-XYZ 12");
}

TEST(Text, NombreZeroPadsOnlyShorterNumbers) {
  EXPECT_EQ(nombre_zero(7, 3), "007");
  EXPECT_EQ(nombre_zero(12, 3), "012");
  EXPECT_EQ(nombre_zero(1234, 3), "1234");
  EXPECT_EQ(nombre_zero(42, 6), "000042");
}

}  // namespace
