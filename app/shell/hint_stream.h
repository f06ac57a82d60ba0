// "HINT.CFG": the settings of the hint component, kept as a binary property stream.
//
// Stream: "TPF0", class name and component name as short strings (length byte + characters),
// then each property as its name (short string) + one tag byte + value, in a fixed order, then
// a zero byte ending the properties and a zero byte ending the (empty) list of children.
// Tags: 2/3/4 integer of 8/16/32 bits (the shortest that holds it), 6 short string, 7
// identifier, 8 false, 9 true, 10 binary (32-bit length + bytes), 11 set (names, then an empty
// name). Named colours are identifiers ("clBlack"); other colours are integers.
// Pure C++: no widget header here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

enum class HintPosition { hiTopRight, hiTopLeft, hiBottomRight, hiBottomLeft };
enum class ShadowQuality { quHi, quLow };
enum class HintStyle { hiRectangle, hiRoundrect, hiBubble, hiImage, hiTexture, hiText };
enum class LinkStyle { liNone, liArrow, liBubble };

// Font.Style bits.
inline constexpr unsigned kFsBold = 1, kFsItalic = 2, kFsUnderline = 4, kFsStrikeOut = 8;

// Colours as stored: 0x00BBGGRR, or 0x80000000 + a system colour index.
struct HintSettings {
  std::string picture_bmp;  // a complete bitmap file ("BM" ...); empty: no picture
  std::int32_t font_color = 0x000000;
  std::int32_t font_height = -13;
  std::string font_name = "Arial";
  unsigned font_style = 0;
  std::int32_t color = 0xFFFFFF;
  HintPosition position = HintPosition::hiBottomRight;
  bool shadow = true;
  ShadowQuality shadow_quality = ShadowQuality::quLow;
  std::int32_t shadow_intensity = 70;
  std::int32_t shadow_width = 6;
  std::int32_t delay = 500;
  HintStyle hint_style = HintStyle::hiBubble;
  LinkStyle link_style = LinkStyle::liArrow;
  bool border = true;
  std::int32_t border_color = 0x000000;
  std::int32_t left = 8;  // the component's design position
  std::int32_t top = 8;
  bool operator==(const HintSettings &) const = default;
};

// The designed values, with the built-in picture.
HintSettings hint_defaut();

std::string write_hint_stream(const HintSettings &settings);
// Nothing when the bytes are not a complete, well-formed stream of this component. Properties
// that are missing keep their designed values; unknown ones are skipped when their tag allows.
std::optional<HintSettings> read_hint_stream(std::string_view bytes);

// The file forms. Reading gives nothing for a missing or unreadable file; writing creates the
// file anew and throws store::StoreError on failure.
std::optional<HintSettings> lit_hint(const std::string &path);
void ecrit_hint(const std::string &path, const HintSettings &settings);

// Colour names used by the stream ("clBlack" ...), and back. Empty / nothing when unnamed.
std::string colour_name(std::int32_t colour);
std::optional<std::int32_t> colour_from_name(std::string_view name);

// A small grey bitmap file (24-bit BMP) for textures and the built-in picture.
std::string grey_texture_bmp(int width = 64, int height = 64);

}  // namespace shell
