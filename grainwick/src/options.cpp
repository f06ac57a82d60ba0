#include "options.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace grainwick {

namespace {

constexpr char kTag[8] = {'G', 'W', 'O', 'P', 'T', 'S', '0', '1'};
constexpr std::size_t kHead = 16;  // tag, capacity, used
constexpr std::size_t kInitialText = 256;
constexpr std::size_t kLineBuffer = 200;
constexpr std::size_t kGrowSlack = 55;

std::string upper(std::string s) {
  for (char &c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct Locked {
  HGLOBAL h;
  BYTE *p;
  explicit Locked(HGLOBAL handle) : h(handle), p(static_cast<BYTE *>(GlobalLock(handle))) {}
  ~Locked() {
    if (p) GlobalUnlock(h);
  }
};

std::uint32_t field(const BYTE *p, int i) {
  std::uint32_t v;
  std::memcpy(&v, p + 8 + 4 * i, 4);
  return v;
}
void set_field(BYTE *p, int i, std::uint32_t v) { std::memcpy(p + 8 + 4 * i, &v, 4); }

// The text of a valid list, or false.
bool text_of(HGLOBAL list, std::string &text) {
  Locked l(list);
  if (!l.p || GlobalSize(list) < kHead || std::memcmp(l.p, kTag, 8) != 0) return false;
  std::uint32_t capacity = field(l.p, 0), used = field(l.p, 1);
  if (kHead + std::size_t(capacity) > GlobalSize(list) || used > capacity) return false;
  text.assign(reinterpret_cast<const char *>(l.p + kHead), used);
  return true;
}

// Where the line of `key` starts, or npos.
std::size_t find_line(const std::string &text, const std::string &key) {
  return text.find("\r" + upper(key) + " =");
}

}  // namespace

HGLOBAL options_create() {
  HGLOBAL h = GlobalAlloc(GHND, kHead + kInitialText);
  if (!h) return nullptr;
  Locked l(h);
  std::memcpy(l.p, kTag, 8);
  set_field(l.p, 0, kInitialText);
  set_field(l.p, 1, 0);
  return h;
}

bool options_set(HGLOBAL list, const std::string &key, const std::string &value) {
  std::string text;
  if (key.empty() || !text_of(list, text)) return false;
  std::size_t at = find_line(text, key);
  if (at != std::string::npos) {
    std::size_t end = text.find('\r', at + 1);
    text.erase(at, end == std::string::npos ? std::string::npos : end - at);
  }
  // A carriage return inside a value would start a false line.
  std::string line = upper("\r" + key + " = " + value);
  std::replace(line.begin() + 1, line.end(), '\r', ' ');
  if (line.size() >= kLineBuffer) line.resize(kLineBuffer - 1);
  text += line;

  std::uint32_t capacity;
  {
    Locked l(list);
    capacity = field(l.p, 0);
  }
  if (text.size() > capacity) {
    std::size_t grown = std::size_t(capacity) + line.size() + kGrowSlack;
    grown = std::max(grown, text.size());
    if (!GlobalReAlloc(list, kHead + grown, GMEM_MOVEABLE | GMEM_ZEROINIT)) return false;
    capacity = std::uint32_t(grown);
  }
  Locked l(list);
  set_field(l.p, 0, capacity);
  set_field(l.p, 1, std::uint32_t(text.size()));
  std::memcpy(l.p + kHead, text.data(), text.size());
  return true;
}

std::optional<std::string> options_get(HGLOBAL list, const std::string &key) {
  std::string text;
  if (key.empty() || !text_of(list, text)) return std::nullopt;
  std::size_t at = find_line(text, key);
  if (at == std::string::npos) return std::nullopt;
  std::size_t end = text.find('\r', at + 1);
  std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
  std::size_t eq = line.find("= ");
  return eq == std::string::npos ? std::string() : line.substr(eq + 2);
}

std::optional<long> options_get_number(HGLOBAL list, const std::string &key) {
  auto value = options_get(list, key);
  if (!value) return std::nullopt;
  long n = 0;
  for (char c : *value) {
    if (c < '0' || c > '9') break;
    if (n < 100000000) n = n * 10 + (c - '0');
  }
  return n;
}

void options_free(HGLOBAL list) {
  std::string text;
  if (text_of(list, text)) GlobalFree(list);
}

}  // namespace grainwick
