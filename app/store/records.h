// Records of the catalogue files, byte for byte.
//
// Every data file is a sequence of fixed-size, packed, little-endian records. An integer is 32
// bits, signed. A "text N" field takes N+1 bytes: a length byte, then N Windows-1252 characters
// of which only the first `length` count; the rest may hold leftovers and is ignored.
//
// A record is held as its raw bytes and read or written through accessors generated from one
// field list per record type. Keeping the bytes means a record read and written back without
// an edit comes out exactly as it went in, leftovers included. Each field list is also turned
// into an offset table that is checked at compile time: every field starts where the previous
// one ends, and the last one ends at the record size.
//
// Invariants the accessors keep: a stored length byte never exceeds its field's width (texts
// are cut when stored), and a length byte written by another program that is too large reads
// as the field's width.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace store {

enum class FieldKind { Integer, Text };

// One entry of a record's offset table. `count` > 1 marks an array of slots 1..count.
struct FieldInfo {
  const char *name;
  FieldKind kind;
  std::size_t offset;
  std::size_t width;  // characters of a text; 4 for an integer
  std::size_t count;
  constexpr std::size_t bytes() const { return (kind == FieldKind::Text ? width + 1 : 4) * count; }
};

// True when the fields follow one another without gaps and end exactly at `size`.
template <std::size_t N>
constexpr bool fields_chain(const std::array<FieldInfo, N> &fields, std::size_t size) {
  std::size_t at = 0;
  for (const FieldInfo &f : fields) {
    if (f.offset != at) return false;
    at += f.bytes();
  }
  return at == size;
}

// The raw bytes of one record and the primitive field readers and writers.
template <std::size_t Size>
struct RecordBytes {
  static constexpr std::size_t record_size = Size;
  std::array<std::uint8_t, Size> bytes{};

  std::string get_text(std::size_t offset, std::size_t width) const {
    return std::string(get_view(offset, width));
  }
  // The text without a copy; valid while the record lives.
  std::string_view get_view(std::size_t offset, std::size_t width) const {
    std::size_t len = bytes[offset];
    if (len > width) len = width;
    return std::string_view(reinterpret_cast<const char *>(&bytes[offset + 1]), len);
  }
  // Cuts to the field's width; the bytes after the text are zeroed.
  void put_text(std::size_t offset, std::size_t width, std::string_view value) {
    std::size_t len = value.size() < width ? value.size() : width;
    bytes[offset] = static_cast<std::uint8_t>(len);
    // An empty view may carry no pointer at all, which memcpy may not be given even for 0 bytes.
    if (len > 0) std::memcpy(&bytes[offset + 1], value.data(), len);
    std::memset(&bytes[offset + 1 + len], 0, width - len);
  }
  std::int32_t get_int(std::size_t offset) const {
    std::uint32_t v = std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
                      std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(v);
  }
  void put_int(std::size_t offset, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  void clear() { bytes.fill(0); }
  bool operator==(const RecordBytes &) const = default;
};

// Generated accessors. Arrays are indexed from 1, as the slots are numbered; an index outside
// 1..count is a programming error and is clamped rather than allowed to reach other fields.
#define TM_ACCESS_INT(name, off)    \
  std::int32_t name() const {       \
    return get_int(off);            \
  }                                 \
  void set_##name(std::int32_t v) { \
    put_int(off, v);                \
  }
#define TM_ACCESS_TEXT(name, off, n)     \
  std::string name() const {             \
    return get_text(off, n);             \
  }                                      \
  std::string_view name##_view() const { \
    return get_view(off, n);             \
  }                                      \
  void set_##name(std::string_view v) {  \
    put_text(off, n, v);                 \
  }
#define TM_ACCESS_TEXTS(name, off, n, count)          \
  std::string name(int slot) const {                  \
    return get_text(slot_at(off, n, count, slot), n); \
  }                                                   \
  void set_##name(int slot, std::string_view v) {     \
    put_text(slot_at(off, n, count, slot), n, v);     \
  }

#define TM_INFO_INT(name, off) FieldInfo{#name, FieldKind::Integer, off, 4, 1},
#define TM_INFO_TEXT(name, off, n) FieldInfo{#name, FieldKind::Text, off, n, 1},
#define TM_INFO_TEXTS(name, off, n, count) FieldInfo{#name, FieldKind::Text, off, n, count},

constexpr std::size_t slot_at(std::size_t off, std::size_t n, std::size_t count, int slot) {
  std::size_t i = slot < 1 ? 0 : (static_cast<std::size_t>(slot) > count ? count - 1 : std::size_t(slot) - 1);
  return off + i * (n + 1);
}

#define TM_COUNT_ONE(...) +1
#define TM_RECORD(Type, Size, FIELDS)                                                                  \
  struct Type : RecordBytes<Size> {                                                                    \
    FIELDS(TM_ACCESS_INT, TM_ACCESS_TEXT, TM_ACCESS_TEXTS)                                             \
    static constexpr std::array<FieldInfo, 0 FIELDS(TM_COUNT_ONE, TM_COUNT_ONE, TM_COUNT_ONE)> fields{ \
        {FIELDS(TM_INFO_INT, TM_INFO_TEXT, TM_INFO_TEXTS)}};                                           \
  };                                                                                                   \
  static_assert(sizeof(Type) == Size);                                                                 \
  static_assert(fields_chain(Type::fields, Size), #Type " fields do not chain to its size");

// Record of "MAINFILE": one dossier.
#define TDATADOSSIER_FIELDS(I, T, A)                                            \
  T(titre, 0, 40)         /* dossier title, unique among dossiers */            \
  T(code, 41, 10)         /* password; empty means none */                      \
  T(reserve1, 52, 255)    /* reserved, written empty */                         \
  T(notes, 308, 255)      /* free notes */                                      \
  T(reserve2, 564, 12)    /* reserved, written empty */                         \
  T(son, 577, 80)         /* path of the sound played when the dossier opens */ \
  I(dernier_support, 658) /* last support number handed out */                  \
  I(dernier_record, 662)  /* last recording number handed out */
TM_RECORD(TDataDossier, 666, TDATADOSSIER_FIELDS)

// Record of "SUPPORTS.nnn": one tape.
#define TDATASUPPORT_FIELDS(I, T, A)                                  \
  I(numero, 0)             /* support number, never reused */         \
  T(support, 4, 20)        /* support type, list SUPPORT */           \
  T(reference, 25, 20)     /* the support's own reference */          \
  T(qualite, 46, 40)       /* list QUALITY */                         \
  T(date, 87, 10)          /* date of entry into service */           \
  I(duree, 98)             /* total duration, minutes */              \
  I(restant, 102)          /* time remaining, minutes */              \
  I(fin, 106)              /* end counter */                          \
  T(observation, 110, 255) /* observations */                         \
  T(pret_a, 366, 40)       /* lent to; empty when not lent */         \
  T(pret_du, 407, 10)      /* loan date */                            \
  T(pret_au, 418, 10)      /* loan due back */                        \
  T(pret_observations, 429, 255)                                      \
  T(emprunt_a, 685, 40)  /* borrowed from; empty when not borrowed */ \
  T(emprunt_du, 726, 10) /* borrowing date */                         \
  T(emprunt_au, 737, 10) /* borrowing due back */                     \
  T(emprunt_observations, 748, 255)
TM_RECORD(TDataSupport, 1004, TDATASUPPORT_FIELDS)

// Record of "RECORDS.nnn": one recording. Its support is the one whose numero equals
// numero_support; nothing else links them.
#define TDATARECORD_FIELDS(I, T, A)                              \
  I(numero, 0)         /* recording number, never reused */      \
  I(numero_support, 4) /* numero of the support that holds it */ \
  T(titre, 8, 255)                                               \
  T(reference, 264, 20)                                          \
  I(annee, 285)            /* year */                            \
  I(duree, 289)            /* minutes */                         \
  T(theme, 293, 40)        /* list THEME */                      \
  T(genre, 334, 40)        /* list SORT */                       \
  T(nationalite, 375, 40)  /* list NATION */                     \
  T(version, 416, 40)      /* list VERSION */                    \
  T(couleur, 457, 40)      /* list COLORS */                     \
  T(appreciation, 498, 40) /* list OPINION */                    \
  I(debut, 539)            /* start counter */                   \
  I(fin, 543)              /* end counter */                     \
  T(date, 547, 10)         /* date of recording */               \
  T(qualite, 558, 40)      /* list QUALITY */                    \
  T(resumer, 599, 255)     /* summary */                         \
  T(affiche, 855, 80)      /* poster image path */               \
  T(video, 936, 80)        /* video file path */
TM_RECORD(TDataRecord, 1017, TDATARECORD_FIELDS)

// Record of "RECORDS1.nnn", the continuation of the recording with the same record number.
#define TDATARECORD1_FIELDS(I, T, A) \
  T(format, 0, 40) /* list FORMAT */ \
  T(reserve1, 41, 40) T(reserve2, 82, 40) T(reserve3, 123, 40) T(reserve4, 164, 40) T(reserve5, 205, 40)
TM_RECORD(TDataRecord1, 246, TDATARECORD1_FIELDS)

// Record of "CT.nnn": thirty credits; slot i of the three arrays is credit i, empty when its
// denomination is empty.
#define TDATAGENERIQUE_FIELDS(I, T, A)                   \
  A(denomination, 0, 40, 30) /* function, list DISTRI */ \
  A(nom, 1230, 40, 30)       /* person */                \
  A(role, 2460, 40, 30)      /* character played */
TM_RECORD(TDataGenerique, 3690, TDATAGENERIQUE_FIELDS)

// Record of "AWARD.nnn": ten awards, a slot empty when its recompense is empty.
#define TDATARECOMPENSE_FIELDS(I, T, A)                  \
  A(recompense, 0, 40, 10)  /* award name, list AWARD */ \
  A(categorie, 410, 40, 10) /* list CATEGORY */          \
  A(annee_recompense, 820, 4, 10)
TM_RECORD(TDataRecompense, 870, TDATARECOMPENSE_FIELDS)

// Record 0 of "PLANNING.nnn": ten planned recordings, an entry free when its film is empty.
#define TDATAPLANNING_FIELDS(I, T, A) \
  A(film, 0, 20, 10)                  \
  A(date_prevue, 210, 10, 10)         \
  A(heure, 320, 5, 10)                \
  A(showview, 380, 10, 10)
TM_RECORD(TDataPlanning, 490, TDATAPLANNING_FIELDS)

// One entry of a reference list file.
#define TLISTENTRY_FIELDS(I, T, A) T(texte, 0, 40)
TM_RECORD(TListEntry, 41, TLISTENTRY_FIELDS)

inline constexpr int kCredits = 30;
inline constexpr int kAwards = 10;
inline constexpr int kPlanned = 10;

// Generic read of one field (a slot for arrays) as text, for reports and exports.
template <class Record>
std::string field_text(const Record &r, const FieldInfo &f, int slot = 1) {
  std::size_t off = slot_at(f.offset, f.kind == FieldKind::Text ? f.width : 3, f.count, slot);
  return f.kind == FieldKind::Text ? r.get_text(off, f.width) : std::to_string(r.get_int(off));
}

}  // namespace store
