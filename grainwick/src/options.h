// Option lists: how the export layer tells the writer what file to make.
//
// A list is a movable global memory block: an 8-byte tag, the capacity of its text in bytes
// (32-bit), the used length (32-bit), then the text itself, made of lines "\r" KEY " = " VALUE,
// all in upper case. Setting a key removes its old line and appends the new one; a line is at
// most 199 characters (longer ones are cut). Looking a key up finds the line that starts with
// KEY " =" and returns what follows "= " up to the next "\r".
#pragma once

#include <optional>
#include <string>

#include "platform/win32mem.h"

namespace grainwick {

// A new, empty list; null when memory runs out.
HGLOBAL options_create();
// False when the handle is not an option list or the block cannot grow. `list` may move.
bool options_set(HGLOBAL list, const std::string &key, const std::string &value);
// The value of `key`, or nothing when the key is missing or the handle is not an option list.
std::optional<std::string> options_get(HGLOBAL list, const std::string &key);
// The leading run of decimal digits of the value (no sign); nothing when the key is missing.
std::optional<long> options_get_number(HGLOBAL list, const std::string &key);
void options_free(HGLOBAL list);

}  // namespace grainwick
