#include "lists.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "store.h"

namespace store {

const ListKind &list_kind(int kind) {
  if (kind < 1 || kind > 12) throw std::out_of_range("list kind " + std::to_string(kind));
  return kListKinds[kind - 1];
}

std::vector<std::string> lit_liste(const Store &store, int kind) {
  RecordFile f(TListEntry::record_size, store.io());
  f.open_for_reading(store.path(list_kind(kind).file));
  std::vector<TListEntry> raw(static_cast<std::size_t>(f.count()));
  f.read_many(0, static_cast<std::int64_t>(raw.size()), raw.data());
  std::vector<std::string> entries;
  entries.reserve(raw.size());
  for (const TListEntry &e : raw) entries.push_back(e.texte());
  return entries;
}

void ecrit_liste(const Store &store, int kind, const std::vector<std::string> &entries) {
  std::vector<TListEntry> raw(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) raw[i].set_texte(entries[i]);
  // Written whole beside the list, then renamed over it: a failure leaves the list as it was.
  const std::string path = store.path(list_kind(kind).file), side = path + "~";
  try {
    RecordFile f(TListEntry::record_size, store.io());
    f.open_or_create(side);
    f.truncate(0);
    f.write_many(0, static_cast<std::int64_t>(raw.size()), raw.data());
    f.sync();
    f.close();
    if (store.io().rename(side.c_str(), path.c_str()) != 0)
      throw StoreError("rename", side, std::strerror(errno));
  } catch (const StoreError &) {
    store.io().unlink(side.c_str());
    throw;
  }
}

namespace {

// Replaces one text field when it is non-empty and equal to `from`; true when it changed.
template <class Record, class Get, class Set>
bool replace_in(Record &r, Get get, Set set, std::string_view from, std::string_view to) {
  std::string v = (r.*get)();
  if (v.empty() || v != from) return false;
  (r.*set)(to);
  return true;
}

template <class Record>
bool replace_slots(Record &r, std::string (Record::*get)(int) const,
                   void (Record::*set)(int, std::string_view), int slots, std::string_view from,
                   std::string_view to) {
  bool changed = false;
  for (int i = 1; i <= slots; ++i) {
    std::string v = (r.*get)(i);
    if (!v.empty() && v == from) {
      (r.*set)(i, to);
      changed = true;
    }
  }
  return changed;
}

bool touches_supports(int kind) {
  return kind == 8 || kind == 9;
}
bool touches_records(int kind) {
  return kind != 8;
}

}  // namespace

void Remplace_valeur(Store &store, int kind, std::string_view from, std::string_view to) {
  list_kind(kind);
  std::vector<TDataDossier> dossiers = store.lit_dossiers();
  for (int d = 0; d < static_cast<int>(dossiers.size()); ++d) {
    if (touches_supports(kind)) {
      RecordFile f(TDataSupport::record_size, store.io());
      f.open_or_create(store.nom_fichier(kSupportsBase, d));
      std::int64_t n = f.count();
      TDataSupport s;
      for (std::int64_t i = 0; i < n; ++i) {
        f.read(i, s.bytes.data());
        bool changed = kind == 8
                           ? replace_in(s, &TDataSupport::support, &TDataSupport::set_support, from, to)
                           : replace_in(s, &TDataSupport::qualite, &TDataSupport::set_qualite, from, to);
        if (changed) f.write(i, s.bytes.data());
      }
    }
    if (!touches_records(kind)) continue;
    RecordingFiles files(store.io());
    store.open_recording_files(d, files);
    std::int64_t n = files.records.count();
    TDataRecord r;
    TDataRecord1 r1;
    TDataGenerique g;
    TDataRecompense a;
    for (std::int64_t i = 0; i < n; ++i) {
      bool changed = false;
      switch (kind) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 9: {
          files.records.read(i, r.bytes.data());
          using Get = std::string (TDataRecord::*)() const;
          using Set = void (TDataRecord::*)(std::string_view);
          static constexpr std::pair<Get, Set> fields[] = {
              {&TDataRecord::theme, &TDataRecord::set_theme},
              {&TDataRecord::genre, &TDataRecord::set_genre},
              {&TDataRecord::nationalite, &TDataRecord::set_nationalite},
              {&TDataRecord::version, &TDataRecord::set_version},
              {&TDataRecord::couleur, &TDataRecord::set_couleur},
              {&TDataRecord::appreciation, &TDataRecord::set_appreciation}};
          auto [get, set] = kind == 9 ? std::pair<Get, Set>{&TDataRecord::qualite, &TDataRecord::set_qualite}
                                      : fields[kind - 1];
          changed = replace_in(r, get, set, from, to);
          if (changed) files.records.write(i, r.bytes.data());
          break;
        }
        case 12:
          files.records1.read(i, r1.bytes.data());
          if (replace_in(r1, &TDataRecord1::format, &TDataRecord1::set_format, from, to))
            files.records1.write(i, r1.bytes.data());
          break;
        case 10:
          files.credits.read(i, g.bytes.data());
          replace_slots(g, &TDataGenerique::denomination, &TDataGenerique::set_denomination, kCredits, from,
                        to);
          files.credits.write(i, g.bytes.data());
          break;
        case 7:
        case 11:
          files.awards.read(i, a.bytes.data());
          if (kind == 7)
            replace_slots(a, &TDataRecompense::recompense, &TDataRecompense::set_recompense, kAwards, from,
                          to);
          else
            replace_slots(a, &TDataRecompense::categorie, &TDataRecompense::set_categorie, kAwards, from, to);
          files.awards.write(i, a.bytes.data());
          break;
        default:
          break;
      }
    }
  }
}

}  // namespace store
