// TIFF LZW encoder. An open-addressed hash of 65,536 slots over the 4096 table entries finds
// prefix + byte strings: so sparse a table seldom probes twice, which pays for clearing it at
// every Clear. Codes go out most significant bit first through a local accumulator that starts
// from and returns to the sink's pending bits, so a strip is one continuous bit stream across
// rows.
#include <cstring>

#include "writer.h"

namespace grainwick {

namespace {

constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kEndOfInformation = 257;
constexpr std::uint32_t kFirstCode = 258;
constexpr std::uint32_t kTableLimit = 4095;

inline std::uint32_t hash_of(std::uint32_t key, int bits) {
  return (key * 2654435761u) >> (32 - bits);
}

// Bit writer over a sink whose byte vector was sized in advance.
struct Packer {
  BitSink &sink;
  std::uint8_t *out;
  std::uint64_t acc;
  int bits;

  Packer(BitSink &s, std::size_t room) : sink(s), bits(s.pending_bits) {
    std::size_t used = s.bytes.size();
    s.bytes.resize(used + room);
    out = s.bytes.data() + used;
    acc = s.pending;
  }
  void put(std::uint32_t code, int width) {
    acc = (acc << width) | code;
    bits += width;
    while (bits >= 8) {
      bits -= 8;
      *out++ = std::uint8_t(acc >> bits);
    }
  }
  void align() {
    if (bits) put(0, 8 - bits);
  }
  ~Packer() {
    sink.bytes.resize(std::size_t(out - sink.bytes.data()));
    sink.pending = std::uint32_t(acc & ((1u << bits) - 1));
    sink.pending_bits = bits;
  }
};

}  // namespace

LzwEncoder::LzwEncoder() {
  reset();
}

void LzwEncoder::reset() {
  std::memset(slot_, 0xFF, sizeof slot_);
  next_code_ = kFirstCode;
  width_ = 9;
}

void LzwEncoder::start_strip(BitSink &out) {
  Packer p(out, 4);
  p.put(kClear, 9);
  reset();
  prefix_ = -1;
}

void LzwEncoder::encode_row(const std::uint8_t *row, std::size_t count, BitSink &out) {
  if (count == 0) return;
  // At most one code per byte, plus a Clear per full table: 12 bits a byte covers both.
  Packer p(out, count * 3 / 2 + 8);
  std::size_t i = 0;
  std::uint32_t prefix;
  if (prefix_ < 0) {
    prefix = row[0];
    i = 1;
  } else {
    prefix = std::uint32_t(prefix_);
  }
  std::uint32_t next_code = next_code_;
  int width = width_;
  constexpr std::uint32_t mask = (1u << kHashBits) - 1;
  for (; i < count; ++i) {
    const std::uint32_t key = std::uint32_t(row[i]) << 12 | prefix;
    std::uint32_t h = hash_of(key, kHashBits), s;
    while ((s = slot_[h]) != kEmpty && s >> 12 != key) h = (h + 1) & mask;
    if (s != kEmpty) {
      prefix = s & 0xFFF;
      continue;
    }
    p.put(prefix, width);
    slot_[h] = key << 12 | next_code;
    ++next_code;
    if (next_code == kTableLimit) {
      p.put(kClear, 12);
      std::memset(slot_, 0xFF, sizeof slot_);
      next_code = kFirstCode;
      width = 9;
    } else if (next_code == 512 || next_code == 1024 || next_code == 2048) {
      ++width;
    }
    prefix = row[i];
  }
  next_code_ = next_code;
  width_ = width;
  prefix_ = int(prefix);
}

void LzwEncoder::end_strip(BitSink &out) {
  Packer p(out, 8);
  if (prefix_ >= 0) {
    p.put(std::uint32_t(prefix_), width_);
    // The decoder adds a table entry for this code (unless it is the first after a Clear) and
    // may widen before it reads EndOfInformation; follow it.
    ++next_code_;
    if ((next_code_ == 512 || next_code_ == 1024 || next_code_ == 2048) && width_ < 12) ++width_;
  }
  p.put(kEndOfInformation, width_);
  p.align();
  prefix_ = -1;
}

}  // namespace grainwick
