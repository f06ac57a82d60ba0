#include "config.h"

#include <cstring>

#include "store.h"

namespace store {

void TDataConfig::mark_saved() {
  std::memset(bytes.data(), 0, 43);
  std::memcpy(bytes.data(), "Tapemoor", 8);
  std::memset(bytes.data() + 320, 0, 11);
}

TDataConfig config_defaut(const Store &store) {
  TDataConfig c;
  c.mark_saved();
  c.set_fond_bitmap(store.path("grey.bmp"));
  c.set_fond_couleur(kButtonFace);
  c.set_fond_texture(true);
  c.set_index_arbre(1);
  return c;
}

TDataConfig lit_config(const Store &store) {
  RecordFile f(TDataConfig::record_size, store.io());
  f.open_for_reading(store.path(kConfigFile));
  TDataConfig c;
  if (f.count() >= 1) {
    f.read(0, c.bytes.data());
    return c;
  }
  f.close();
  // The defaults are written on first start, where the folder can be written.
  c = config_defaut(store);
  if (!store.lecture_seule()) ecrit_config(store, c);
  return c;
}

void ecrit_config(const Store &store, TDataConfig config) {
  config.mark_saved();
  const std::string path = store.path(kConfigFile);
  store.change([&](Journal &j) { j.garde(path, 0, TDataConfig::record_size); },
               [&] {
                 RecordFile f(TDataConfig::record_size, store.io());
                 f.open_or_create(path);
                 f.write(0, config.bytes.data());
               });
}

}  // namespace store
