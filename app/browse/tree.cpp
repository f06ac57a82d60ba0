#include "tree.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "lists.h"

namespace browse {
namespace {

// Base letters of Windows-1252 bytes for the first comparison level: upper case, no accent.
struct BaseLetters {
  unsigned char v[256];
  constexpr BaseLetters() : v() {
    for (int i = 0; i < 256; ++i) v[i] = static_cast<unsigned char>(i);
    for (int i = 'a'; i <= 'z'; ++i) v[i] = static_cast<unsigned char>(i - 32);
    const char *from =
        "\xc0\xc1\xc2\xc3\xc4\xc5\xe0\xe1\xe2\xe3\xe4\xe5\xc7\xe7\xc8\xc9\xca\xcb\xe8\xe9\xea\xeb"
        "\xcc\xcd\xce\xcf\xec\xed\xee\xef\xd1\xf1\xd2\xd3\xd4\xd5\xd6\xd8\xf2\xf3\xf4\xf5\xf6\xf8"
        "\xd9\xda\xdb\xdc\xf9\xfa\xfb\xfc\xdd\xfd\xff\x9f\x8a\x9a\x8e\x9e";
    const char *to = "AAAAAAAAAAAACCEEEEEEEEIIIIIIIINNOOOOOOOOOOOOUUUUUUUUYYYYSSZZ";
    for (int i = 0; from[i]; ++i) v[static_cast<unsigned char>(from[i])] = static_cast<unsigned char>(to[i]);
  }
};
constexpr BaseLetters kBase;

inline unsigned char base_letter(unsigned char c) {
  return kBase.v[c];
}

// Lines to sort. Their keys (folded: case and accents removed) and texts are appended to two
// buffers; a line is a few offsets, so sorting moves no strings. A key ends with the record
// number, so no two are equal and no further comparison level is needed.
struct Keyed {
  std::uint64_t head;  // the key's first eight bytes, big-endian, to settle most comparisons
  std::uint32_t key_at, key_len, text_at, text_len;
  int record;
};

class KeyArena {
 public:
  // Adds the designed key, text + "-" + record number on six digits, and the text itself.
  // The text may be given in up to three pieces.
  Keyed add(int record, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    std::size_t length = a.size() + b.size() + c.size();
    Keyed k{0,
            static_cast<std::uint32_t>(keys_.size()),
            static_cast<std::uint32_t>(length + 7),
            static_cast<std::uint32_t>(texts_.size()),
            static_cast<std::uint32_t>(length),
            record};
    keys_.resize(keys_.size() + length + 7);
    char *key = keys_.data() + k.key_at;
    for (std::string_view piece : {a, b, c}) {
      texts_.append(piece);
      for (char ch : piece) *key++ = static_cast<char>(base_letter(static_cast<unsigned char>(ch)));
    }
    *key = '-';
    for (int i = 6, n = record; i >= 1; --i, n /= 10) key[i] = static_cast<char>('0' + n % 10);
    const char *start = keys_.data() + k.key_at;
    for (std::uint32_t i = 0; i < 8; ++i)
      k.head = k.head << 8 | (i < k.key_len ? static_cast<unsigned char>(start[i]) : 0u);
    return k;
  }
  void sort(std::vector<Keyed> &v) const {
    const char *keys = keys_.data();
    std::sort(v.begin(), v.end(), [keys](const Keyed &x, const Keyed &y) {
      // Equal heads of two keys shorter than eight bytes cannot happen: keys end with the record
      // number, so the full comparison below settles every tie correctly.
      if (x.head != y.head) return x.head < y.head;
      return std::string_view(keys + x.key_at, x.key_len) < std::string_view(keys + y.key_at, y.key_len);
    });
  }
  std::string text(const Keyed &k) const { return texts_.substr(k.text_at, k.text_len); }

 private:
  std::string keys_;
  std::string texts_;
};

// Adds a recording's line under a tree-index preference.
Keyed add_recording(KeyArena &arena, const store::TDataRecord &r, int n, int index_arbre) {
  if (index_arbre == 2) return arena.add(n, r.reference_view());
  if (index_arbre == 3) return arena.add(n, r.reference_view(), " - ", r.titre_view());
  return arena.add(n, r.titre_view());
}

// A record number on six digits (more when it needs them), as lignes_arbre holds it.
std::string six(int n) {
  if (n < 0 || n > 999999) return store::nombre_zero(n, 6);
  std::string s(6, '0');
  for (int i = 5; i >= 0 && n; --i, n /= 10) s[static_cast<std::size_t>(i)] = static_cast<char>('0' + n % 10);
  return s;
}

}  // namespace

void append_folded(std::string_view text, std::string &out) {
  for (char ch : text) out += static_cast<char>(base_letter(static_cast<unsigned char>(ch)));
}

bool key_less(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = base_letter(static_cast<unsigned char>(a[i]));
    unsigned char y = base_letter(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  std::string ua = store::cp1252_upper(a), ub = store::cp1252_upper(b);
  if (ua != ub) return ua < ub;
  return a < b;
}

bool is_support_icon(std::string_view icon) {
  return icon == "k7img" || icon == "k7imgout" || icon == "k7imgouta" || icon == "k7imgin" ||
         icon == "k7imgina";
}

bool is_support_grouping(int grouping) {
  return grouping == kGroupingReference || grouping == kGroupingSupport;
}

namespace {
const char *support_icon_name(const store::TDataSupport &s, std::string_view today) {
  if (!s.emprunt_a_view().empty())
    return store::date_atteinte(s.emprunt_au_view(), today) ? "k7imgina" : "k7imgin";
  if (!s.pret_a_view().empty())
    return store::date_atteinte(s.pret_au_view(), today) ? "k7imgouta" : "k7imgout";
  return "k7img";
}
}  // namespace

std::string support_icon(const store::TDataSupport &s, std::string_view today) {
  return support_icon_name(s, today);
}

std::string recording_text(const store::TDataRecord &r, int index_arbre) {
  std::string out;
  if (index_arbre == 2 || index_arbre == 3) out.append(r.reference_view());
  if (index_arbre == 3) out.append(" - ");
  if (index_arbre != 2) out.append(r.titre_view());
  return out;
}

std::vector<TreeLine> build_tree(store::Store &store, const TreeOptions &o) {
  std::vector<TreeLine> lines;
  KeyArena arena;
  auto emit = [&](const std::vector<Keyed> &keyed, int level, const std::vector<const char *> *icons) {
    for (const Keyed &k : keyed)
      lines.push_back({level, icons ? (*icons)[static_cast<std::size_t>(k.record)] : "filmimg", six(k.record),
                       arena.text(k)});
  };

  if (is_support_grouping(o.grouping)) {
    std::vector<const char *> icons;
    std::vector<std::string> types;
    std::vector<Keyed> keyed;
    store.scan_supports([&](int n, const store::TDataSupport &s) {
      icons.push_back(support_icon_name(s, o.today));
      if (o.grouping == kGroupingSupport) types.emplace_back(s.support_view());
      keyed.push_back(arena.add(n, s.reference_view()));
    });
    arena.sort(keyed);
    lines.reserve(keyed.size() + 64);
    if (o.grouping == kGroupingReference) {
      emit(keyed, 1, &icons);
      return lines;
    }
    const std::vector<std::string> listed = store::lit_liste(store, 8);
    auto group = [&](const std::string &heading, const auto &belongs) {
      lines.push_back({1, "", "", heading});
      for (const Keyed &k : keyed)
        if (belongs(types[static_cast<std::size_t>(k.record)]))
          lines.push_back({2, icons[static_cast<std::size_t>(k.record)], six(k.record), arena.text(k)});
    };
    for (const std::string &type : listed) group(type, [&](const std::string &t) { return t == type; });
    // A type missing from the list (cut to 20 characters, or written by another program) would
    // hide its supports: they gather under the unclassified heading, shown only then.
    auto unlisted = [&](const std::string &t) {
      return std::find(listed.begin(), listed.end(), t) == listed.end();
    };
    if (std::any_of(types.begin(), types.end(), unlisted)) group(o.unclassified, unlisted);
    return lines;
  }

  // Recording groupings read the recordings file once and put each recording in the bucket of
  // its list entry; recordings whose value is in no bucket are not even keyed.
  int kind = o.grouping == kGroupingGenre ? 2 : o.grouping == kGroupingNation ? 3 : 1;
  std::vector<std::string> entries;
  if (o.grouping != kGroupingTitle) entries = store::lit_liste(store, kind);
  std::unordered_map<std::string_view, std::size_t> bucket_of;
  for (std::size_t i = 0; i < entries.size(); ++i) bucket_of.emplace(entries[i], i);
  const std::size_t unclassified = entries.size();
  std::vector<std::vector<Keyed>> buckets(entries.size() + 1);
  store.scan_records_main([&](int n, const store::TDataRecord &r) {
    std::size_t bucket = unclassified;
    if (o.grouping != kGroupingTitle) {
      std::string_view value = kind == 2 ? r.genre_view() : kind == 3 ? r.nationalite_view() : r.theme_view();
      if (!value.empty()) {
        auto it = bucket_of.find(value);
        if (it == bucket_of.end()) return;
        bucket = it->second;
      }
    }
    buckets[bucket].push_back(add_recording(arena, r, n, o.index_arbre));
  });
  std::size_t total = entries.size() + 1;
  for (std::vector<Keyed> &b : buckets) {
    arena.sort(b);
    total += b.size();
  }
  lines.reserve(total);
  if (o.grouping == kGroupingTitle) {
    emit(buckets[unclassified], 1, nullptr);
    return lines;
  }
  // A list entry given twice shows its recordings under both headings.
  for (const std::string &e : entries) {
    lines.push_back({1, "", "", e});
    emit(buckets[bucket_of[e]], 2, nullptr);
  }
  lines.push_back({1, "", "", o.unclassified});
  emit(buckets[unclassified], 2, nullptr);
  return lines;
}

std::vector<TreeLine> build_support_tree(store::Store &store, const store::TDataSupport &support,
                                         const TreeOptions &o, int *first_record) {
  std::vector<TreeLine> lines{{1, support_icon(support, o.today), "", support.reference()}};
  KeyArena arena;
  std::vector<Keyed> keyed;
  int first = -1;
  int numero = support.numero();
  store.scan_records_main([&](int n, const store::TDataRecord &r) {
    if (r.numero_support() != numero) return;
    if (first < 0) first = n;
    keyed.push_back(add_recording(arena, r, n, o.index_arbre));
  });
  arena.sort(keyed);
  for (const Keyed &k : keyed) lines.push_back({2, "filmimg", six(k.record), arena.text(k)});
  if (first_record) *first_record = first;
  return lines;
}

}  // namespace browse
