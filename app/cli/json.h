// A small JSON writer for the exports: objects and arrays written in order, strings escaped.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::ostream &out) : out_(out) {}
  void begin_object(std::string_view key = {});
  void end_object();
  void begin_array(std::string_view key = {});
  void end_array();
  void value(std::string_view key, std::string_view utf8);
  void value(std::string_view key, long long number);

 private:
  void prefix(std::string_view key);
  void indent();
  std::ostream &out_;
  std::vector<bool> first_;  // per open level: no member written yet
};

std::string json_escape(std::string_view utf8);

}  // namespace cli
