#include "hint_stream.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "record_file.h"

namespace shell {
namespace {

enum Tag : std::uint8_t {
  kInt8 = 2,
  kInt16 = 3,
  kInt32 = 4,
  kString = 6,
  kIdent = 7,
  kFalse = 8,
  kTrue = 9,
  kBinary = 10,
  kSet = 11,
};

constexpr std::array<std::pair<const char *, std::int32_t>, 16> kNamedColours{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// System colours by index, 0x80000000 + i.
constexpr const char *kSystemColours[] = {
    "clScrollBar",    "clBackground",     "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",       "clWindowFrame",    "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder", "clInactiveBorder", "clAppWorkSpace",  "clHighlight",       "clHighlightText",
    "clBtnFace",      "clBtnShadow",      "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",     "cl3DLight",       "clInfoText",        "clInfoBk"};

constexpr const char *kPositionNames[] = {"hiTopRight", "hiTopLeft", "hiBottomRight", "hiBottomLeft"};
constexpr const char *kQualityNames[] = {"quHi", "quLow"};
constexpr const char *kStyleNames[] = {"hiRectangle", "hiRoundrect", "hiBubble",
                                       "hiImage",     "hiTexture",   "hiText"};
constexpr const char *kLinkNames[] = {"liNone", "liArrow", "liBubble"};
constexpr const char *kFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

class Writer {
 public:
  std::string out;
  void byte(std::uint8_t b) { out += static_cast<char>(b); }
  void le(std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void short_string(std::string_view s) {
    std::size_t n = s.size() > 255 ? 255 : s.size();
    byte(static_cast<std::uint8_t>(n));
    out.append(s.data(), n);
  }
  void name(const char *n) { short_string(n); }
  void integer(std::int32_t v) {
    if (v >= -128 && v <= 127) {
      byte(kInt8);
      le(static_cast<std::uint32_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
      byte(kInt16);
      le(static_cast<std::uint32_t>(v), 2);
    } else {
      byte(kInt32);
      le(static_cast<std::uint32_t>(v), 4);
    }
  }
  void ident(std::string_view s) {
    byte(kIdent);
    short_string(s);
  }
  void boolean(bool b) { byte(b ? kTrue : kFalse); }
  void colour(std::int32_t c) {
    std::string n = colour_name(c);
    if (n.empty())
      integer(c);
    else
      ident(n);
  }
};

class Reader {
 public:
  explicit Reader(std::string_view b) : b_(b) {}
  bool ok = true;
  bool at_end() const { return pos_ >= b_.size(); }
  std::uint8_t byte() {
    if (pos_ >= b_.size()) {
      ok = false;
      return 0;
    }
    return static_cast<std::uint8_t>(b_[pos_++]);
  }
  std::uint32_t le(int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= std::uint32_t(byte()) << (8 * i);
    return v;
  }
  std::string bytes(std::size_t n) {
    if (n > b_.size() - pos_) {
      ok = false;
      pos_ = b_.size();
      return {};
    }
    std::string s(b_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  std::string short_string() { return bytes(byte()); }

 private:
  std::string_view b_;
  std::size_t pos_ = 0;
};

// One property value as read: what the tag said and its payload.
struct Value {
  std::uint8_t tag = 0;
  std::int32_t number = 0;
  std::string text;  // string, identifier or binary data
  unsigned set = 0;
};

bool read_value(Reader &r, Value &v) {
  v.tag = r.byte();
  switch (v.tag) {
    case kInt8:
      v.number = static_cast<std::int8_t>(r.byte());
      break;
    case kInt16:
      v.number = static_cast<std::int16_t>(r.le(2));
      break;
    case kInt32:
      v.number = static_cast<std::int32_t>(r.le(4));
      break;
    case kString:
    case kIdent:
      v.text = r.short_string();
      break;
    case kFalse:
    case kTrue:
      break;
    case kBinary:
      v.text = r.bytes(r.le(4));
      break;
    case kSet:
      for (int guard = 0; guard < 64; ++guard) {
        std::string n = r.short_string();
        if (n.empty() || !r.ok) break;
        for (unsigned i = 0; i < 4; ++i)
          if (n == kFontStyleNames[i]) v.set |= 1u << i;
      }
      break;
    default:
      return false;
  }
  return r.ok;
}

template <class Enum, std::size_t N>
bool enum_from(const Value &v, const char *const (&names)[N], Enum &out) {
  if (v.tag != kIdent) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (v.text == names[i]) {
      out = static_cast<Enum>(i);
      return true;
    }
  return false;
}

bool colour_from(const Value &v, std::int32_t &out) {
  if (v.tag == kInt8 || v.tag == kInt16 || v.tag == kInt32) {
    out = v.number;
    return true;
  }
  if (v.tag != kIdent) return false;
  auto c = colour_from_name(v.text);
  if (c) out = *c;
  return c.has_value();
}

void number_from(const Value &v, std::int32_t &out) {
  if (v.tag == kInt8 || v.tag == kInt16 || v.tag == kInt32) out = v.number;
}

}  // namespace

std::string colour_name(std::int32_t colour) {
  for (const auto &[n, c] : kNamedColours)
    if (c == colour) return n;
  auto u = static_cast<std::uint32_t>(colour);
  if ((u & 0xFF000000u) == 0x80000000u && (u & 0xFFFFFFu) < std::size(kSystemColours))
    return kSystemColours[u & 0xFFFFFFu];
  return {};
}

std::optional<std::int32_t> colour_from_name(std::string_view name) {
  for (const auto &[n, c] : kNamedColours)
    if (name == n) return c;
  for (std::size_t i = 0; i < std::size(kSystemColours); ++i)
    if (name == kSystemColours[i]) return static_cast<std::int32_t>(0x80000000u + i);
  return std::nullopt;
}

std::string grey_texture_bmp(int width, int height) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::size_t pixels = stride * static_cast<std::size_t>(height);
  Writer w;
  w.byte('B');
  w.byte('M');
  w.le(static_cast<std::uint32_t>(54 + pixels), 4);
  w.le(0, 4);
  w.le(54, 4);
  w.le(40, 4);
  w.le(static_cast<std::uint32_t>(width), 4);
  w.le(static_cast<std::uint32_t>(height), 4);
  w.le(1, 2);
  w.le(24, 2);
  w.le(0, 4);
  w.le(static_cast<std::uint32_t>(pixels), 4);
  w.le(2835, 4);
  w.le(2835, 4);
  w.le(0, 4);
  w.le(0, 4);
  // A soft, fine-grained grey: a fixed pseudo-random grain around a light grey.
  std::uint32_t seed = 0x2545F491u;
  for (int y = 0; y < height; ++y) {
    std::size_t row = 0;
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      int grain = static_cast<int>((seed >> 24) % 11) - 5;
      auto g = static_cast<std::uint8_t>(200 + grain + ((x + y) % 8 == 0 ? -3 : 0));
      w.byte(g);
      w.byte(g);
      w.byte(static_cast<std::uint8_t>(g + 1));
      row += 3;
    }
    for (; row < stride; ++row) w.byte(0);
  }
  return w.out;
}

HintSettings hint_defaut() {
  HintSettings h;
  h.picture_bmp = grey_texture_bmp(32, 32);
  return h;
}

std::string write_hint_stream(const HintSettings &h) {
  Writer w;
  w.out = "TPF0";
  w.short_string("THintDesign");
  w.short_string("HintDesign1");
  w.name("Picture.Data");
  {
    Writer data;
    data.short_string("TBitmap");
    data.le(static_cast<std::uint32_t>(h.picture_bmp.size()), 4);
    data.out += h.picture_bmp;
    w.byte(kBinary);
    w.le(static_cast<std::uint32_t>(data.out.size()), 4);
    w.out += data.out;
  }
  w.name("Font.Color");
  w.colour(h.font_color);
  w.name("Font.Height");
  w.integer(h.font_height);
  w.name("Font.Name");
  w.byte(kString);
  w.short_string(h.font_name);
  w.name("Font.Style");
  w.byte(kSet);
  for (unsigned i = 0; i < 4; ++i)
    if (h.font_style & (1u << i)) w.short_string(kFontStyleNames[i]);
  w.byte(0);
  w.name("Color");
  w.colour(h.color);
  w.name("Position");
  w.ident(kPositionNames[static_cast<int>(h.position)]);
  w.name("Shadow");
  w.boolean(h.shadow);
  w.name("ShadowQuality");
  w.ident(kQualityNames[static_cast<int>(h.shadow_quality)]);
  w.name("ShadowIntensity");
  w.integer(h.shadow_intensity);
  w.name("ShadowWidth");
  w.integer(h.shadow_width);
  w.name("Delay");
  w.integer(h.delay);
  w.name("HintStyle");
  w.ident(kStyleNames[static_cast<int>(h.hint_style)]);
  w.name("linkStyle");
  w.ident(kLinkNames[static_cast<int>(h.link_style)]);
  w.name("Border");
  w.boolean(h.border);
  w.name("BorderColor");
  w.colour(h.border_color);
  w.name("Left");
  w.integer(h.left);
  w.name("Top");
  w.integer(h.top);
  w.byte(0);
  w.byte(0);
  return w.out;
}

std::optional<HintSettings> read_hint_stream(std::string_view bytes) {
  Reader r(bytes);
  if (r.bytes(4) != "TPF0") return std::nullopt;
  if (r.short_string() != "THintDesign") return std::nullopt;
  r.short_string();  // the component's name may differ; the class decides
  if (!r.ok) return std::nullopt;
  HintSettings h = hint_defaut();
  for (;;) {
    std::string name = r.short_string();
    if (!r.ok) return std::nullopt;
    if (name.empty()) break;
    Value v;
    if (!read_value(r, v)) return std::nullopt;
    if (name == "Picture.Data") {
      if (v.tag != kBinary) continue;
      Reader d(v.text);
      if (d.short_string() != "TBitmap") continue;
      std::uint32_t size = d.le(4);
      std::string bmp = d.bytes(size);
      if (d.ok && bmp.size() >= 2 && bmp.compare(0, 2, "BM") == 0) h.picture_bmp = bmp;
    } else if (name == "Font.Color") {
      colour_from(v, h.font_color);
    } else if (name == "Font.Height") {
      number_from(v, h.font_height);
    } else if (name == "Font.Name") {
      if (v.tag == kString || v.tag == kIdent) h.font_name = v.text;
    } else if (name == "Font.Style") {
      if (v.tag == kSet) h.font_style = v.set;
    } else if (name == "Color") {
      colour_from(v, h.color);
    } else if (name == "Position") {
      enum_from(v, kPositionNames, h.position);
    } else if (name == "Shadow") {
      if (v.tag == kTrue || v.tag == kFalse) h.shadow = v.tag == kTrue;
    } else if (name == "ShadowQuality") {
      enum_from(v, kQualityNames, h.shadow_quality);
    } else if (name == "ShadowIntensity") {
      number_from(v, h.shadow_intensity);
    } else if (name == "ShadowWidth") {
      number_from(v, h.shadow_width);
    } else if (name == "Delay") {
      number_from(v, h.delay);
    } else if (name == "HintStyle") {
      enum_from(v, kStyleNames, h.hint_style);
    } else if (name == "linkStyle") {
      enum_from(v, kLinkNames, h.link_style);
    } else if (name == "Border") {
      if (v.tag == kTrue || v.tag == kFalse) h.border = v.tag == kTrue;
    } else if (name == "BorderColor") {
      colour_from(v, h.border_color);
    } else if (name == "Left") {
      number_from(v, h.left);
    } else if (name == "Top") {
      number_from(v, h.top);
    }
  }
  if (r.byte() != 0 || !r.ok) return std::nullopt;  // the empty list of children
  return h;
}

std::optional<HintSettings> lit_hint(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  return read_hint_stream(bytes);
}

void ecrit_hint(const std::string &path, const HintSettings &settings) {
  // The old file stays until the new one is all on the disk.
  store::ecrit_entier(path, write_hint_stream(settings));
}

}  // namespace shell
