#include "tree.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

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

// Upper-cases the ASCII letters of eight bytes at once; only for words with no byte above 127,
// whose base letter is the upper-case letter itself.
inline std::uint64_t upper_ascii8(std::uint64_t w) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  const std::uint64_t low7 = w & (0x7F * ones);
  const std::uint64_t from_a = low7 + (0x80 - 'a') * ones;      // top bit set from 'a' on
  const std::uint64_t past_z = low7 + (0x80 - 'z' - 1) * ones;  // top bit set past 'z'
  return w - ((from_a & ~past_z & (0x80 * ones)) >> 2);
}

// The eight bytes of `key` from `at` as a big-endian number, zeros past its end: comparing two
// such numbers compares those bytes as strings do.
inline std::uint64_t word_at(const char *key, std::uint32_t length, std::uint32_t at) {
  if (at + 8 <= length) {
    std::uint64_t w;
    std::memcpy(&w, key + at, 8);
    return __builtin_bswap64(w);
  }
  std::uint64_t w = 0;
  for (std::uint32_t i = at; i < at + 8; ++i)
    w = w << 8 | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
  return w;
}

// How many lines ahead the arena is fetched when it is read in sorted order.
constexpr std::ptrdiff_t kAhead = 8;

// A line to sort: where its key lies in the arena and the eight key bytes it is being sorted on,
// sixteen bytes so that the sort moves little. The key is the folded text, "-" and the record
// number on six digits, so no two are equal and equal texts keep file order; the record number
// comes before the key and the text after it.
struct Keyed {
  std::uint64_t word;
  std::uint32_t at, key_len;
};

class KeyArena {
 public:
  // Adds the key and the text of a line. The text may be given in up to three pieces.
  Keyed add(int record, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
    const std::size_t length = a.size() + b.size() + c.size();
    reserve(2 * length + 7 + sizeof record);
    std::memcpy(data_.get() + size_, &record, sizeof record);
    size_ += sizeof record;
    char *const key = data_.get() + size_;
    char *k = key, *text = key + length + 7;
    for (std::string_view piece : {a, b, c}) {
      if (piece.empty()) continue;
      std::memcpy(text, piece.data(), piece.size());
      text += piece.size();
      std::size_t i = 0;
      for (; i + 8 <= piece.size(); i += 8, k += 8) {
        std::uint64_t w;
        std::memcpy(&w, piece.data() + i, 8);
        if (w & 0x8080808080808080ull) {
          for (std::size_t j = 0; j < 8; ++j)
            k[j] = static_cast<char>(base_letter(static_cast<unsigned char>(piece[i + j])));
        } else {
          w = upper_ascii8(w);
          std::memcpy(k, &w, 8);
        }
      }
      for (; i < piece.size(); ++i)
        *k++ = static_cast<char>(base_letter(static_cast<unsigned char>(piece[i])));
    }
    *k = '-';
    for (int i = 6, n = record; i >= 1; --i, n /= 10) k[i] = static_cast<char>('0' + n % 10);
    const auto key_len = static_cast<std::uint32_t>(length + 7);
    Keyed line{word_at(key, key_len, 0), static_cast<std::uint32_t>(size_), key_len};
    size_ += 2 * length + 7;
    return line;
  }

  // Sorts by key: a radix sort on eight key bytes at a time, so that lines are compared as
  // integers held in the lines themselves and the arena is read again only for lines whose
  // first bytes are all alike.
  void sort(Keyed *lines, std::size_t n) {
    if (scratch_.size() < n) scratch_.resize(n);
    sort_from(lines, n, 0);
  }

  std::string_view text(const Keyed &k) const { return {data_.get() + k.at + k.key_len, k.key_len - 7}; }
  void prefetch(const Keyed &k) const {
    __builtin_prefetch(data_.get() + k.at - sizeof(int));
    __builtin_prefetch(text(k).data());
  }
  int record(const Keyed &k) const {
    int n;
    std::memcpy(&n, data_.get() + k.at - sizeof n, sizeof n);
    return n;
  }

  void reserve(std::size_t more) {
    if (size_ + more <= capacity_) return;
    const std::size_t capacity = std::max({capacity_ * 2, size_ + more, std::size_t{1} << 16});
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_) std::memcpy(bigger.get(), data_.get(), size_);
    data_ = std::move(bigger);
    capacity_ = capacity;
  }

 private:
  // Lines sorted on `word` alone: least significant byte first, a pass per byte that differs.
  void sort_words(Keyed *lines, std::size_t n) {
    if (n < 256) {
      std::sort(lines, lines + n, [](const Keyed &x, const Keyed &y) { return x.word < y.word; });
      return;
    }
    std::uint32_t counts[8][256] = {};
    // Written out: the compiler keeps the loop over the eight bytes otherwise.
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t w = lines[i].word;
      ++counts[0][w & 0xFF], ++counts[1][w >> 8 & 0xFF], ++counts[2][w >> 16 & 0xFF],
          ++counts[3][w >> 24 & 0xFF];
      ++counts[4][w >> 32 & 0xFF], ++counts[5][w >> 40 & 0xFF], ++counts[6][w >> 48 & 0xFF],
          ++counts[7][w >> 56];
    }
    Keyed *from = lines, *to = scratch_.data();
    for (int d = 0; d < 8; ++d) {
      if (counts[d][lines[0].word >> (8 * d) & 0xFF] == n) continue;
      std::uint32_t next[256];
      std::uint32_t sum = 0;
      for (int b = 0; b < 256; ++b) next[b] = std::exchange(sum, sum + counts[d][b]);
      for (std::size_t i = 0; i < n; ++i) to[next[from[i].word >> (8 * d) & 0xFF]++] = from[i];
      std::swap(from, to);
    }
    if (from != lines) std::memcpy(lines, from, n * sizeof(Keyed));
  }

  // Lines whose keys agree on their first `depth` bytes.
  void sort_from(Keyed *lines, std::size_t n, std::uint32_t depth) {
    if (n < 2) return;
    sort_words(lines, n);
    for (std::size_t i = 0; i < n;) {
      std::size_t j = i + 1;
      while (j < n && lines[j].word == lines[i].word) ++j;
      if (j - i > 1) {
        // A key that ends within these bytes is a prefix of the others: it comes first, and
        // among such keys the shorter one.
        Keyed *ended =
            std::partition(lines + i, lines + j, [depth](const Keyed &k) { return k.key_len <= depth + 8; });
        std::sort(lines + i, ended, [](const Keyed &x, const Keyed &y) { return x.key_len < y.key_len; });
        for (Keyed *k = ended; k < lines + j; ++k) {
          if (lines + j - k > kAhead) __builtin_prefetch(data_.get() + k[kAhead].at + depth + 8);
          k->word = word_at(data_.get() + k->at, k->key_len, depth + 8);
        }
        sort_from(ended, static_cast<std::size_t>(lines + j - ended), depth + 8);
      }
      i = j;
    }
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0, capacity_ = 0;
  std::vector<Keyed> scratch_;
};

// Adds a recording's line under a tree-index preference.
Keyed add_recording(KeyArena &arena, const store::TDataRecord &r, int n, int index_arbre) {
  if (index_arbre == 2) return arena.add(n, r.reference_view());
  if (index_arbre == 3) return arena.add(n, r.reference_view(), " - ", r.titre_view());
  return arena.add(n, r.titre_view());
}

// A record number on six digits (more when it needs them), as lignes_arbre holds it.
void put_six(std::string &out, int n) {
  if (n < 0 || n > 999999) {
    out = store::nombre_zero(n, 6);
    return;
  }
  char s[6];
  for (int i = 5; i >= 0; --i, n /= 10) s[i] = static_cast<char>('0' + n % 10);
  out.assign(s, 6);
}

// Appends a line in place: no temporary line and no string moved.
void put_line(std::vector<TreeLine> &lines, int level, std::string_view icon, int record,
              std::string_view text) {
  TreeLine &l = lines.emplace_back();
  l.level = level;
  l.icon.assign(icon);
  if (record >= 0) put_six(l.entry, record);
  l.text.assign(text);
}

// The bucket of a list entry's text: open addressing on the text's length and first and last
// eight bytes, so that a value costs one short hash and one comparison.
class EntryIndex {
 public:
  explicit EntryIndex(const std::vector<std::string> &entries) : entries_(entries) {
    std::size_t size = 16;
    while (size < 2 * entries.size()) size *= 2, --shift_;
    slots_.assign(size, -1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::size_t at = slot(entries[i]);
      while (slots_[at] >= 0 && entries_[static_cast<std::size_t>(slots_[at])] != entries[i])
        at = (at + 1) & (size - 1);
      if (slots_[at] < 0) slots_[at] = static_cast<int>(i);  // a repeated entry keeps its first place
    }
  }
  // The first place of `value` in the list, -1 when it is not there.
  int find(std::string_view value) const {
    for (std::size_t at = slot(value);; at = (at + 1) & (slots_.size() - 1)) {
      const int i = slots_[at];
      if (i < 0 || entries_[static_cast<std::size_t>(i)] == value) return i;
    }
  }

 private:
  std::size_t slot(std::string_view v) const {
    std::uint64_t first = 0, last = 0;
    std::memcpy(&first, v.data(), std::min<std::size_t>(v.size(), 8));
    if (v.size() > 8) std::memcpy(&last, v.data() + v.size() - 8, 8);
    // The top bits of a product depend on every byte; texts of a list often differ only at the end.
    const std::uint64_t h = (first ^ (last * 0xC2B2AE3D27D4EB4Full) ^ v.size()) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> shift_);
  }
  const std::vector<std::string> &entries_;
  std::vector<int> slots_;
  int shift_ = 60;  // 64 less the bits of a slot number
};

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
  auto emit = [&](const Keyed *from, const Keyed *to, int level, const std::vector<const char *> *icons) {
    for (const Keyed *k = from; k < to; ++k) {
      // Sorted lines read the arena out of order: asking for the text a few lines ahead keeps
      // the copies from waiting on memory one at a time.
      if (to - k > kAhead) arena.prefetch(k[kAhead]);
      const int record = arena.record(*k);
      put_line(lines, level, icons ? (*icons)[static_cast<std::size_t>(record)] : "filmimg", record,
               arena.text(*k));
    }
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
    arena.sort(keyed.data(), keyed.size());
    lines.reserve(keyed.size() + 64);
    if (o.grouping == kGroupingReference) {
      emit(keyed.data(), keyed.data() + keyed.size(), 1, &icons);
      return lines;
    }
    const std::vector<std::string> listed = store::lit_liste(store, 8);
    auto group = [&](const std::string &heading, const auto &belongs) {
      put_line(lines, 1, "", -1, heading);
      for (const Keyed &k : keyed) {
        const auto record = static_cast<std::size_t>(arena.record(k));
        if (belongs(types[record]))
          put_line(lines, 2, icons[record], static_cast<int>(record), arena.text(k));
      }
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

  // Recording groupings read the recordings file once and mark each recording with the bucket
  // of its list entry; recordings whose value is in no bucket are not even keyed.
  int kind = o.grouping == kGroupingGenre ? 2 : o.grouping == kGroupingNation ? 3 : 1;
  std::vector<std::string> entries;
  if (o.grouping != kGroupingTitle) entries = store::lit_liste(store, kind);
  const EntryIndex index(entries);
  const auto unclassified = static_cast<std::uint32_t>(entries.size());
  std::vector<Keyed> keyed;
  const auto count = static_cast<std::size_t>(std::max(0, store.nombre_records()));
  std::vector<std::uint32_t> buckets;
  keyed.reserve(count);
  buckets.reserve(count);
  arena.reserve(count * 64);  // room for most titles; longer ones make it grow
  std::vector<std::uint32_t> starts(entries.size() + 2, 0);
  store.scan_records_main([&](int n, const store::TDataRecord &r) {
    std::uint32_t bucket = unclassified;
    if (o.grouping != kGroupingTitle) {
      std::string_view value = kind == 2 ? r.genre_view() : kind == 3 ? r.nationalite_view() : r.theme_view();
      if (!value.empty()) {
        const int at = index.find(value);
        if (at < 0) return;
        bucket = static_cast<std::uint32_t>(at);
      }
    }
    keyed.push_back(add_recording(arena, r, n, o.index_arbre));
    buckets.push_back(bucket);
    ++starts[bucket + 1];
  });
  // Buckets laid end to end, each in file order, then each sorted.
  for (std::size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
  std::vector<Keyed> sorted(keyed.size());
  {
    std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
    for (std::size_t i = 0; i < keyed.size(); ++i) sorted[next[buckets[i]]++] = keyed[i];
  }
  keyed = std::vector<Keyed>();
  buckets = std::vector<std::uint32_t>();
  for (std::size_t b = 0; b + 1 < starts.size(); ++b)
    arena.sort(sorted.data() + starts[b], starts[b + 1] - starts[b]);
  auto bucket = [&](std::size_t b, int level) {
    emit(sorted.data() + starts[b], sorted.data() + starts[b + 1], level, nullptr);
  };
  lines.reserve(sorted.size() + entries.size() + 1);
  if (o.grouping == kGroupingTitle) {
    bucket(unclassified, 1);
    return lines;
  }
  // A list entry given twice shows its recordings under both headings.
  for (const std::string &e : entries) {
    put_line(lines, 1, "", -1, e);
    bucket(static_cast<std::size_t>(index.find(e)), 2);
  }
  put_line(lines, 1, "", -1, o.unclassified);
  bucket(unclassified, 2);
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
  arena.sort(keyed.data(), keyed.size());
  for (const Keyed &k : keyed) put_line(lines, 2, "filmimg", arena.record(k), arena.text(k));
  if (first_record) *first_record = first;
  return lines;
}

}  // namespace browse
