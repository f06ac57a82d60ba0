// Stored texts are Windows-1252 bytes; these convert them at the edges (terminal, JSON, Qt).
#pragma once

#include <string>
#include <string_view>

namespace store {

std::string cp1252_to_utf8(std::string_view bytes);
// Characters with no Windows-1252 byte become '?'; malformed UTF-8 bytes too.
std::string utf8_to_cp1252(std::string_view utf8);
// Upper case as the Windows ANSI upper-casing does it, accented letters included.
std::string cp1252_upper(std::string_view bytes);

// Decimal text of value, left-padded with '0' to width characters when shorter.
std::string nombre_zero(long long value, int width);

}  // namespace store
