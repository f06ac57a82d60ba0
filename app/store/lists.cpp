#include "lists.h"

#include <algorithm>
#include <cstring>
#include <functional>
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
  const std::string path = store.path(list_kind(kind).file);
  store.change([&](Journal &j) { j.garde(path); },
               [&] {
                 RecordFile f(TListEntry::record_size, store.io());
                 f.open_or_create(path);
                 f.truncate(0);
                 f.write_many(0, static_cast<std::int64_t>(raw.size()), raw.data());
               });
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

// A file kind a rename reaches, and the change to one record of it: true when it changed.
struct Target {
  const char *base;
  std::size_t size;
  std::function<bool(char *)> apply;
};

template <class Record, class Edit>
Target target(const char *base, Edit edit) {
  return {base, Record::record_size, [edit](char *bytes) {
            Record r;
            std::memcpy(r.bytes.data(), bytes, Record::record_size);
            if (!edit(r)) return false;
            std::memcpy(bytes, r.bytes.data(), Record::record_size);
            return true;
          }};
}

std::vector<Target> targets(int kind, std::string from, std::string to) {
  auto field = [&](auto get, auto set) { return [=](auto &r) { return replace_in(r, get, set, from, to); }; };
  auto slots = [&](auto get, auto set, int n) {
    return [=](auto &r) { return replace_slots(r, get, set, n, from, to); };
  };
  using R = TDataRecord;
  switch (kind) {
    case 1:
      return {target<R>(kRecordsBase, field(&R::theme, &R::set_theme))};
    case 2:
      return {target<R>(kRecordsBase, field(&R::genre, &R::set_genre))};
    case 3:
      return {target<R>(kRecordsBase, field(&R::nationalite, &R::set_nationalite))};
    case 4:
      return {target<R>(kRecordsBase, field(&R::version, &R::set_version))};
    case 5:
      return {target<R>(kRecordsBase, field(&R::couleur, &R::set_couleur))};
    case 6:
      return {target<R>(kRecordsBase, field(&R::appreciation, &R::set_appreciation))};
    case 7:
      return {target<TDataRecompense>(
          kAwardsBase, slots(&TDataRecompense::recompense, &TDataRecompense::set_recompense, kAwards))};
    case 8:
      return {target<TDataSupport>(kSupportsBase, field(&TDataSupport::support, &TDataSupport::set_support))};
    case 9:
      return {target<TDataSupport>(kSupportsBase, field(&TDataSupport::qualite, &TDataSupport::set_qualite)),
              target<R>(kRecordsBase, field(&R::qualite, &R::set_qualite))};
    case 10:
      return {target<TDataGenerique>(
          kCreditsBase, slots(&TDataGenerique::denomination, &TDataGenerique::set_denomination, kCredits))};
    case 11:
      return {target<TDataRecompense>(
          kAwardsBase, slots(&TDataRecompense::categorie, &TDataRecompense::set_categorie, kAwards))};
    default:
      return {target<TDataRecord1>(kRecords1Base, field(&TDataRecord1::format, &TDataRecord1::set_format))};
  }
}

}  // namespace

void Remplace_valeur(Store &store, int kind, std::string_view from, std::string_view to) {
  list_kind(kind);
  // First the records that change, read only; then one change writes them all.
  struct Found {
    std::string path;
    const Target *target;
    std::vector<std::int64_t> at;
  };
  const std::vector<Target> all = targets(kind, std::string(from), std::string(to));
  std::vector<Found> found;
  const int dossiers = store.nombre_dossiers();
  constexpr std::int64_t kBlock = 256;
  for (int d = 0; d < dossiers; ++d) {
    for (const Target &t : all) {
      Found f{store.nom_fichier(t.base, d), &t, {}};
      RecordFile file(t.size, store.io());
      file.open_for_reading(f.path);
      const std::int64_t count = file.count();
      std::vector<char> block(t.size * static_cast<std::size_t>(std::min(count, kBlock)));
      for (std::int64_t at = 0; at < count; at += kBlock) {
        const std::int64_t m = std::min(kBlock, count - at);
        file.read_many(at, m, block.data());
        for (std::int64_t i = 0; i < m; ++i)
          if (t.apply(block.data() + static_cast<std::size_t>(i) * t.size)) f.at.push_back(at + i);
      }
      if (!f.at.empty()) found.push_back(std::move(f));
    }
  }
  if (found.empty()) return;
  store.change(
      [&](Journal &j) {
        for (const Found &f : found) {
          std::vector<std::pair<off_t, off_t>> ranges;
          for (std::int64_t n : f.at)
            ranges.emplace_back(static_cast<off_t>(n) * static_cast<off_t>(f.target->size),
                                static_cast<off_t>(f.target->size));
          j.garde(f.path, ranges);
        }
      },
      [&] {
        for (const Found &f : found) {
          RecordFile file(f.target->size, store.io());
          file.open_or_create(f.path);
          std::vector<char> r(f.target->size);
          for (std::int64_t n : f.at) {
            file.read(n, r.data());
            f.target->apply(r.data());
            file.write(n, r.data());
          }
        }
      });
}

}  // namespace store
