#include "hint_stream.h"

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "record_file.h"

using namespace shell;

namespace {

// Finds a property's name in the stream and returns the bytes that follow it.
std::string after(const std::string &stream, const std::string &name, std::size_t n) {
  std::string key = std::string(1, static_cast<char>(name.size())) + name;
  std::size_t at = stream.find(key);
  if (at == std::string::npos) return "<missing>";
  return stream.substr(at + key.size(), n);
}

TEST(HintStream, DesignedValuesWriteTheExpectedBytes) {
  std::string s = write_hint_stream(hint_defaut());
  EXPECT_EQ(s.substr(0, 4 + 12 + 12), std::string("TPF0\x0bTHintDesign\x0bHintDesign1", 28));
  EXPECT_EQ(s.substr(28, 13), std::string("\x0cPicture.Data", 13));
  EXPECT_EQ(s[41], 10);  // binary
  EXPECT_EQ(s.substr(46, 8), std::string("\x07TBitmap", 8));
  EXPECT_EQ(s.substr(58, 2), "BM");
  EXPECT_EQ(after(s, "Font.Color", 9), std::string("\x07\x07" "clBlack", 9));
  EXPECT_EQ(after(s, "Font.Height", 2), std::string("\x02\xf3", 2));  // -13 in one byte
  EXPECT_EQ(after(s, "Font.Name", 7), std::string("\x06\x05" "Arial", 7));
  EXPECT_EQ(after(s, "Font.Style", 2), std::string("\x0b\x00", 2));  // empty set
  EXPECT_EQ(after(s, "Color", 9), std::string("\x07\x07" "clWhite", 9));
  EXPECT_EQ(after(s, "Position", 15), std::string("\x07\x0dhiBottomRight", 15));
  EXPECT_EQ(after(s, "Shadow", 1), "\x09");
  EXPECT_EQ(after(s, "ShadowIntensity", 2), std::string("\x02\x46", 2));
  EXPECT_EQ(after(s, "Delay", 3), std::string("\x03\xf4\x01", 3));  // 500 in two bytes
  EXPECT_EQ(after(s, "linkStyle", 9), std::string("\x07\x07liArrow", 9));
  EXPECT_EQ(s.substr(s.size() - 2), std::string("\0\0", 2));
  // Properties come in their fixed order.
  std::size_t last = 0;
  for (const char *p : {"Picture.Data", "Font.Color", "Font.Height", "Font.Name", "Font.Style", "\x05" "Color",
                        "Position", "\x06Shadow\x09", "ShadowQuality", "ShadowIntensity", "ShadowWidth", "Delay",
                        "HintStyle", "linkStyle", "\x06" "Border", "BorderColor", "Left", "Top"}) {
    std::size_t at = s.find(p);
    ASSERT_NE(at, std::string::npos) << p;
    EXPECT_GT(at, last) << p;
    last = at;
  }
}

TEST(HintStream, EveryPropertyRoundTrips) {
  HintSettings h = hint_defaut();
  h.picture_bmp = grey_texture_bmp(3, 2);
  h.font_color = 0x123456;  // unnamed: written as a 32-bit integer
  h.font_height = -300;
  h.font_name = "Liberation Sans";
  h.font_style = kFsBold | kFsStrikeOut;
  h.color = static_cast<std::int32_t>(0x80000018);  // clInfoBk
  h.position = HintPosition::hiTopLeft;
  h.shadow = false;
  h.shadow_quality = ShadowQuality::quHi;
  h.shadow_intensity = 200;
  h.shadow_width = 1;
  h.delay = 70000;
  h.hint_style = HintStyle::hiTexture;
  h.link_style = LinkStyle::liNone;
  h.border = false;
  h.border_color = 0x0000FF;
  h.left = -5;
  h.top = 1000;
  std::string s = write_hint_stream(h);
  EXPECT_EQ(after(s, "Font.Color", 5), std::string("\x04\x56\x34\x12\x00", 5));
  EXPECT_EQ(after(s, "Color", 10), std::string("\x07\x08" "clInfoBk", 10));
  EXPECT_EQ(after(s, "Delay", 5), std::string("\x04\x70\x11\x01\x00", 5));
  auto back = read_hint_stream(s);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, h);
  EXPECT_EQ(write_hint_stream(*back), s);
}

TEST(HintStream, DamagedStreamsAreRefused) {
  std::string good = write_hint_stream(hint_defaut());
  EXPECT_FALSE(read_hint_stream(""));
  EXPECT_FALSE(read_hint_stream("TPF1" + good.substr(4)));
  for (std::size_t cut : {std::size_t(5), std::size_t(40), good.size() / 2, good.size() - 1})
    EXPECT_FALSE(read_hint_stream(good.substr(0, cut))) << cut;
  std::string bad_tag = good;
  bad_tag[good.find("\x06Shadow") + 7] = 99;  // an unknown value tag
  EXPECT_FALSE(read_hint_stream(bad_tag));
  // A picture length beyond the data leaves the designed picture.
  std::string huge = good;
  huge[42] = '\xff';
  huge[43] = '\xff';
  EXPECT_FALSE(read_hint_stream(huge));
}

TEST(HintStream, FileIsReplacedWhole) {
  TempDir dir;
  std::string path = dir.file("HINT.CFG");
  EXPECT_FALSE(lit_hint(path));
  HintSettings h = hint_defaut();
  h.delay = 42;
  ecrit_hint(path, h);
  ASSERT_TRUE(lit_hint(path));
  EXPECT_EQ(lit_hint(path)->delay, 42);
  EXPECT_FALSE(dir.exists("HINT.CFG.tmp"));
  EXPECT_THROW(ecrit_hint(dir.file("no/such/HINT.CFG"), h), store::StoreError);
}

}  // namespace
