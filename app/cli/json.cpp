#include "json.h"

#include <cstdio>

namespace cli {

std::string json_escape(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

void JsonWriter::indent() {
  for (std::size_t i = 0; i < first_.size(); ++i) out_ << "  ";
}

void JsonWriter::prefix(std::string_view key) {
  if (!first_.empty()) {
    if (!first_.back()) out_ << ',';
    first_.back() = false;
    out_ << '\n';
    indent();
    if (!key.empty()) out_ << json_escape(key) << ": ";
  }
}

void JsonWriter::begin_object(std::string_view key) {
  prefix(key);
  out_ << '{';
  first_.push_back(true);
}

void JsonWriter::end_object() {
  bool empty = first_.back();
  first_.pop_back();
  if (!empty) {
    out_ << '\n';
    indent();
  }
  out_ << '}';
  if (first_.empty()) out_ << '\n';
}

void JsonWriter::begin_array(std::string_view key) {
  prefix(key);
  out_ << '[';
  first_.push_back(true);
}

void JsonWriter::end_array() {
  bool empty = first_.back();
  first_.pop_back();
  if (!empty) {
    out_ << '\n';
    indent();
  }
  out_ << ']';
}

void JsonWriter::value(std::string_view key, std::string_view utf8) {
  prefix(key);
  out_ << json_escape(utf8);
}

void JsonWriter::value(std::string_view key, long long number) {
  prefix(key);
  out_ << number;
}

}  // namespace cli
