// "Moorkeep.CFG": the preferences, record 0 of a file of 331-byte records.
//
// Layout (little-endian, packed): 0 reserved zero-terminated text of 32 bytes ("Tapemoor" on
// every save); 32 eleven reserved bytes; 43 fond_bitmap, text 255; 299 fond_couleur; 303
// fond_texture, one byte; 304 index_arbre; 308 couleur_enregistrement; 312 couleur_support;
// 316 couleur_arbre; 320 eleven reserved bytes. Colours are 0x00BBGGRR, or 0x80000000 plus a
// system colour index.
#pragma once

#include <cstdint>
#include <string>

#include "records.h"

namespace store {

class Store;

struct TDataConfig : RecordBytes<331> {
  std::string fond_bitmap() const { return get_text(43, 255); }
  void set_fond_bitmap(std::string_view v) { put_text(43, 255, v); }
  std::uint32_t fond_couleur() const { return static_cast<std::uint32_t>(get_int(299)); }
  void set_fond_couleur(std::uint32_t v) { put_int(299, static_cast<std::int32_t>(v)); }
  bool fond_texture() const { return bytes[303] == 1; }
  void set_fond_texture(bool v) { bytes[303] = v ? 1 : 0; }
  std::int32_t index_arbre() const { return get_int(304); }
  void set_index_arbre(std::int32_t v) { put_int(304, v); }
  std::uint32_t couleur_enregistrement() const { return static_cast<std::uint32_t>(get_int(308)); }
  void set_couleur_enregistrement(std::uint32_t v) { put_int(308, static_cast<std::int32_t>(v)); }
  std::uint32_t couleur_support() const { return static_cast<std::uint32_t>(get_int(312)); }
  void set_couleur_support(std::uint32_t v) { put_int(312, static_cast<std::int32_t>(v)); }
  std::uint32_t couleur_arbre() const { return static_cast<std::uint32_t>(get_int(316)); }
  void set_couleur_arbre(std::uint32_t v) { put_int(316, static_cast<std::int32_t>(v)); }
  // Sets the first reserved field to "Tapemoor" and zeroes the other reserved bytes, as every
  // save does.
  void mark_saved();
};
static_assert(sizeof(TDataConfig) == 331);

inline constexpr const char *kConfigFile = "Moorkeep.CFG";
// The tooltip settings, written by the window; named here with the other files of the folder.
inline constexpr const char *kHintFile = "HINT.CFG";
inline constexpr std::uint32_t kButtonFace = 0x8000000F;

// The defaults: texture "grey.bmp" of the data directory, button-face background, tree label
// mode 1, black titles.
TDataConfig config_defaut(const Store &store);

// Record 0 of "Moorkeep.CFG"; a missing or short file is created anew with the defaults.
TDataConfig lit_config(const Store &store);
void ecrit_config(const Store &store, TDataConfig config);

}  // namespace store
