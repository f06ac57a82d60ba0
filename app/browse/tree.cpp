#include "tree.h"

#include <algorithm>
#include <map>

#include "lists.h"

namespace browse {
namespace {

// Base letter of a Windows-1252 byte for the first comparison level: upper case, no accent.
unsigned char base_letter(unsigned char c) {
  static const unsigned char *table = [] {
    static unsigned char t[256];
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int i = 'a'; i <= 'z'; ++i) t[i] = static_cast<unsigned char>(i - 32);
    const char *from = "\xc0\xc1\xc2\xc3\xc4\xc5\xe0\xe1\xe2\xe3\xe4\xe5\xc7\xe7\xc8\xc9\xca\xcb\xe8\xe9\xea\xeb"
                       "\xcc\xcd\xce\xcf\xec\xed\xee\xef\xd1\xf1\xd2\xd3\xd4\xd5\xd6\xd8\xf2\xf3\xf4\xf5\xf6\xf8"
                       "\xd9\xda\xdb\xdc\xf9\xfa\xfb\xfc\xdd\xfd\xff\x9f\x8a\x9a\x8e\x9e";
    const char *to = "AAAAAAAAAAAACCEEEEEEEEIIIIIIIINNOOOOOOOOOOOOUUUUUUUUYYYYSSZZ";
    for (int i = 0; from[i]; ++i) t[static_cast<unsigned char>(from[i])] = static_cast<unsigned char>(to[i]);
    return t;
  }();
  return table[c];
}

std::string fold(std::string_view s) {
  std::string f(s);
  for (char &c : f) c = static_cast<char>(base_letter(static_cast<unsigned char>(c)));
  return f;
}

// A sort key with its first comparison level worked out once, not at every comparison.
struct Keyed {
  std::string key;
  int record;
  std::string folded;
  Keyed(std::string k, int r) : key(std::move(k)), record(r), folded(fold(key)) {}
};

void sort_keys(std::vector<Keyed> &v) {
  std::sort(v.begin(), v.end(), [](const Keyed &a, const Keyed &b) {
    if (a.folded != b.folded) return a.folded < b.folded;
    return key_less(a.key, b.key);
  });
}

std::string six(int n) { return store::nombre_zero(n, 6); }

// The displayed text of a key: the key without its "-" and record number.
std::string key_text(const std::string &key) { return key.substr(0, key.size() - 7); }

}  // namespace

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
  return icon == "k7img" || icon == "k7imgout" || icon == "k7imgouta" || icon == "k7imgin" || icon == "k7imgina";
}

bool is_support_grouping(int grouping) { return grouping == kGroupingReference || grouping == kGroupingSupport; }

std::string support_icon(const store::TDataSupport &s, std::string_view today) {
  if (!s.emprunt_a().empty()) return store::date_atteinte(s.emprunt_au(), today) ? "k7imgina" : "k7imgin";
  if (!s.pret_a().empty()) return store::date_atteinte(s.pret_au(), today) ? "k7imgouta" : "k7imgout";
  return "k7img";
}

std::string recording_text(const store::TDataRecord &r, int index_arbre) {
  if (index_arbre == 2) return r.reference();
  if (index_arbre == 3) return r.reference() + " - " + r.titre();
  return r.titre();
}

std::vector<TreeLine> build_tree(store::Store &store, const TreeOptions &o) {
  std::vector<TreeLine> lines;
  auto add_sorted = [&](std::vector<Keyed> &keyed, int level, const std::string &icon_of_film,
                        const std::vector<std::string> *icons) {
    sort_keys(keyed);
    for (const Keyed &k : keyed)
      lines.push_back({level, icons ? (*icons)[static_cast<std::size_t>(k.record)] : icon_of_film, six(k.record),
                       key_text(k.key)});
  };

  if (o.grouping == kGroupingTitle) {
    std::vector<Keyed> keyed;
    store.scan_records_main([&](int n, const store::TDataRecord &r) {
      keyed.push_back({recording_text(r, o.index_arbre) + "-" + six(n), n});
    });
    add_sorted(keyed, 1, "filmimg", nullptr);
    return lines;
  }

  if (is_support_grouping(o.grouping)) {
    std::vector<std::string> icons;
    std::map<std::string, std::vector<Keyed>> by_type;
    std::vector<Keyed> all;
    store.scan_supports([&](int n, const store::TDataSupport &s) {
      icons.push_back(support_icon(s, o.today));
      Keyed k{s.reference() + "-" + six(n), n};
      if (o.grouping == kGroupingSupport)
        by_type[s.support()].push_back(std::move(k));
      else
        all.push_back(std::move(k));
    });
    if (o.grouping == kGroupingReference) {
      add_sorted(all, 1, "", &icons);
      return lines;
    }
    for (const std::string &type : store::lit_liste(store, 8)) {
      lines.push_back({1, "", "", type});
      auto it = by_type.find(type);
      if (it == by_type.end()) continue;
      add_sorted(it->second, 2, "", &icons);  // a type listed twice shows its supports twice
    }
    return lines;
  }

  // Recording groupings: one reading of the recordings file, bucketed by the grouping's field.
  int kind = o.grouping == kGroupingGenre ? 2 : o.grouping == kGroupingNation ? 3 : 1;
  std::map<std::string, std::vector<Keyed>> by_value;
  store.scan_records_main([&](int n, const store::TDataRecord &r) {
    std::string value = kind == 2 ? r.genre() : kind == 3 ? r.nationalite() : r.theme();
    by_value[value].push_back({recording_text(r, o.index_arbre) + "-" + six(n), n});
  });
  auto group = [&](const std::string &heading, const std::string &value) {
    lines.push_back({1, "", "", heading});
    auto it = by_value.find(value);
    if (it == by_value.end()) return;
    add_sorted(it->second, 2, "filmimg", nullptr);
  };
  for (const std::string &entry : store::lit_liste(store, kind)) group(entry, entry);
  group(o.unclassified, "");
  return lines;
}

std::vector<TreeLine> build_support_tree(store::Store &store, const store::TDataSupport &support,
                                         const TreeOptions &o, int *first_record) {
  std::vector<TreeLine> lines{{1, support_icon(support, o.today), "", support.reference()}};
  std::vector<Keyed> keyed;
  int first = -1;
  int numero = support.numero();
  store.scan_records_main([&](int n, const store::TDataRecord &r) {
    if (r.numero_support() != numero) return;
    if (first < 0) first = n;
    keyed.push_back({recording_text(r, o.index_arbre) + "-" + six(n), n});
  });
  sort_keys(keyed);
  for (const Keyed &k : keyed) lines.push_back({2, "filmimg", six(k.record), key_text(k.key)});
  if (first_record) *first_record = first;
  return lines;
}

}  // namespace browse
