#include "hint_stream.h"

#include <gtest/gtest.h>

#include "record_file.h"
#include "temp_dir.h"

using namespace shell;
using namespace std::string_literals;

namespace {

using Property = std::pair<std::string, std::string>;  // name, then tag byte and bytes

// Each property, its length-prefixed name followed by its value, comes after the one before.
void expect_in_order(const std::string &stream, const std::vector<Property> &properties) {
  std::size_t at = 0;
  for (const auto &[name, value] : properties) {
    at = stream.find(static_cast<char>(name.size()) + name + value, at);
    ASSERT_NE(at, std::string::npos) << name;
  }
}

TEST(HintStream, DesignedValuesWriteTheExpectedBytesAndDamagedCopiesAreRefused) {
  std::string s = write_hint_stream(hint_defaut());
  EXPECT_EQ(s.substr(0, 42), "TPF0\x0bTHintDesign\x0bHintDesign1\x0cPicture.Data\x0a"s);  // binary tag
  EXPECT_EQ(s.substr(46, 8), "\x07TBitmap");
  EXPECT_EQ(s.substr(58, 2), "BM");
  // Octal escapes where a letter follows: a hex escape would take it in.
  expect_in_order(s, {{"Font.Color", "\7\7clBlack"},
                      {"Font.Height", "\x02\xf3"},  // -13 in one byte
                      {"Font.Name", "\6\5Arial"},
                      {"Font.Style", "\x0b\x00"s},  // empty set
                      {"Color", "\7\7clWhite"},
                      {"Position", "\x07\x0dhiBottomRight"},
                      {"Shadow", "\x09"},
                      {"ShadowQuality", "\x07\x05quLow"},
                      {"ShadowIntensity", "\x02\x46"},
                      {"ShadowWidth", "\x02\x06"},
                      {"Delay", "\x03\xf4\x01"},  // 500 in two bytes
                      {"HintStyle", "\x07\x08hiBubble"},
                      {"linkStyle", "\x07\x07liArrow"},
                      {"Border", "\x09"},
                      {"BorderColor", "\7\7clBlack"},
                      {"Left", "\x02\x08"},
                      {"Top", "\x02\x08\0\0"s}});  // end of properties, no children
  EXPECT_EQ(s.size(), s.find("\x03Top") + 8);

  EXPECT_FALSE(read_hint_stream("TPF1" + s.substr(4)));
  for (std::size_t cut : {std::size_t(0), std::size_t(5), std::size_t(40), s.size() / 2, s.size() - 1})
    EXPECT_FALSE(read_hint_stream(s.substr(0, cut))) << cut;
  auto changed = [&](std::size_t at) { return s.substr(0, at) + '\xff' + s.substr(at + 1); };
  EXPECT_FALSE(read_hint_stream(changed(s.find("\x06Shadow") + 7)));  // an unknown value tag
  EXPECT_FALSE(read_hint_stream(changed(43)));                        // a picture length beyond the data
}

TEST(HintStream, EveryPropertyRoundTrips) {
  // font_color is unnamed (a 32-bit integer), color a system colour (clInfoBk).
  const HintSettings h{.picture_bmp = grey_texture_bmp(3, 2),
                       .font_color = 0x123456,
                       .font_height = -300,
                       .font_name = "Liberation Sans",
                       .font_style = kFsBold | kFsStrikeOut,
                       .color = static_cast<std::int32_t>(0x80000018),
                       .position = HintPosition::hiTopLeft,
                       .shadow = false,
                       .shadow_quality = ShadowQuality::quHi,
                       .shadow_intensity = 200,
                       .shadow_width = 1,
                       .delay = 70000,
                       .hint_style = HintStyle::hiTexture,
                       .link_style = LinkStyle::liNone,
                       .border = false,
                       .border_color = 0x0000FF,
                       .left = -5,
                       .top = 1000};
  std::string s = write_hint_stream(h);
  expect_in_order(s, {{"Font.Color", "\x04\x56\x34\x12\x00"s},
                      {"Color", "\7\10clInfoBk"},
                      {"Delay", "\x04\x70\x11\x01\x00"s}});
  EXPECT_EQ(read_hint_stream(s), h);
}

// The window test writes the file with ecrit_hint and loads the same settings back.
TEST(HintStream, FileIsReplacedWhole) {
  TempDir dir;
  EXPECT_FALSE(lit_hint(dir.file("HINT.CFG")));
  ecrit_hint(dir.file("HINT.CFG"), hint_defaut());
  EXPECT_FALSE(dir.exists("HINT.CFG.tmp"));
  EXPECT_THROW(ecrit_hint(dir.file("no/such/HINT.CFG"), hint_defaut()), store::StoreError);
}

}  // namespace
