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
  bool created = f.open_or_create(store.path(kConfigFile));
  TDataConfig c;
  if (created || f.count() < 1) {
    c = config_defaut(store);
    f.truncate(0);
    f.write(0, c.bytes.data());
    return c;
  }
  f.read(0, c.bytes.data());
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
