#include "ccitt_encode.h"

#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "ccitt_tables.h"

namespace grainwick {

// Changing elements of a row: positions where the colour differs from the pixel before, the
// first one to black (an imaginary white pixel stands before the row). A row of `width` pixels
// has at most `width` of them; three copies of `width` follow as end marks.
struct CcittEncoder {
  int compression = 0;
  std::uint32_t width = 0;
  std::uint32_t stride = 0;
  std::vector<std::uint8_t> row;     // copy of the input row with 8 spare bytes for word loads
  std::vector<std::uint32_t> ref;    // Group 4 reference line (previous row), 2 × width + 4
  std::vector<std::uint32_t> cur;    // Group 4 coding line
};

void CcittEncoderDeleter::operator()(CcittEncoder *e) const { delete e; }

namespace {

// The longest run one table entry covers: a make-up code of at most 1728 and a terminating code.
constexpr std::uint32_t kMakeUpStep = 1728;
constexpr std::uint32_t kTableRuns = kMakeUpStep + 64;

// One entry per run length: the make-up code (when the run is 64 or more) followed by the
// terminating code, as one code of up to 25 bits. Entry = bits << 5 | length.
using RunTable = std::array<std::uint32_t, kTableRuns>;

constexpr RunTable build_run_table(bool black) {
  RunTable t{};
  for (std::uint32_t r = 0; r < kTableRuns; ++r) {
    const ccitt::Code term = black ? ccitt::kBlackTerminating[r & 63] : ccitt::kWhiteTerminating[r & 63];
    std::uint32_t bits = term.bits, length = term.length;
    if (r >= 64) {
      const ccitt::Code mu = black ? ccitt::kBlackMakeUp[r / 64 - 1] : ccitt::kWhiteMakeUp[r / 64 - 1];
      bits |= std::uint32_t(mu.bits) << length;
      length += mu.length;
    }
    t[r] = bits << 5 | length;
  }
  return t;
}

constinit const RunTable kRunCodes[2] = {build_run_table(false), build_run_table(true)};

// Vertical mode codes by a1 − b1 + 3.
constexpr ccitt::Code kVertical[7] = {
    ccitt::kModeCodes[int(ccitt::Mode::kVL3)], ccitt::kModeCodes[int(ccitt::Mode::kVL2)],
    ccitt::kModeCodes[int(ccitt::Mode::kVL1)], ccitt::kModeCodes[int(ccitt::Mode::kV0)],
    ccitt::kModeCodes[int(ccitt::Mode::kVR1)], ccitt::kModeCodes[int(ccitt::Mode::kVR2)],
    ccitt::kModeCodes[int(ccitt::Mode::kVR3)],
};
constexpr ccitt::Code kPass = ccitt::kModeCodes[int(ccitt::Mode::kPass)];
constexpr ccitt::Code kHorizontal = ccitt::kModeCodes[int(ccitt::Mode::kHorizontal)];

// Codes go through a 64-bit accumulator and reach the sink 32 bits at a time; the sink's
// pending bits are taken over at the start and handed back, below 8, at the end.
class BitWriter {
 public:
  explicit BitWriter(BitSink &sink)
      : sink_(sink), acc_(sink.pending), count_(sink.pending_bits) {}
  ~BitWriter() {
    while (count_ >= 8) {
      count_ -= 8;
      sink_.bytes.push_back(std::uint8_t(acc_ >> count_));
    }
    sink_.pending = std::uint32_t(acc_) & ((1u << count_) - 1);
    sink_.pending_bits = count_;
  }
  BitWriter(const BitWriter &) = delete;
  BitWriter &operator=(const BitWriter &) = delete;

  // `length` up to 32; `code` holds nothing above its low `length` bits.
  void put(std::uint32_t code, int length) {
    acc_ = (acc_ << length) | code;
    count_ += length;
    if (count_ >= 32) {
      count_ -= 32;
      const std::uint32_t word = std::uint32_t(acc_ >> count_);
      auto &b = sink_.bytes;
      b.push_back(std::uint8_t(word >> 24));
      b.push_back(std::uint8_t(word >> 16));
      b.push_back(std::uint8_t(word >> 8));
      b.push_back(std::uint8_t(word));
    }
  }
  void put(ccitt::Code c) { put(c.bits, c.length); }
  void align() { put(0, (8 - (count_ & 7)) & 7); }

  // One run of `black` or white: make-up codes of 1728 while the run is too long for the
  // table, then the table's make-up and terminating code.
  void run(bool black, std::uint32_t length) {
    const RunTable &t = kRunCodes[black];
    while (length >= kTableRuns) {
      put(black ? ccitt::kBlackMakeUp[kMakeUpStep / 64 - 1] : ccitt::kWhiteMakeUp[kMakeUpStep / 64 - 1]);
      length -= kMakeUpStep;
    }
    put(t[length] >> 5, int(t[length] & 31));
  }

 private:
  BitSink &sink_;
  std::uint64_t acc_;  // the low count_ bits are not yet written
  int count_;          // 0..31 between calls
};

inline std::uint64_t load_be64(const std::uint8_t *p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

// End of the run that starts at `pos`: the first position at or after it whose bit differs
// from `white`, or `width`. `p` must hold 8 readable bytes past the row's last byte. Whole
// 64-bit words are skipped, so long runs cost a few loads.
inline std::uint32_t run_end(const std::uint8_t *p, std::uint32_t pos, std::uint32_t width,
                             bool white) {
  const std::uint64_t flip = white ? ~std::uint64_t(0) : 0;
  while (pos < width) {
    const int shift = int(pos & 7);
    const std::uint64_t w = (load_be64(p + (pos >> 3)) ^ flip) << shift;
    if (w) {
      pos += std::uint32_t(__builtin_clzll(w));
      return pos < width ? pos : width;
    }
    pos += 64 - std::uint32_t(shift);
  }
  return width;
}

// Fills `out` with the changing elements of the row in `p` and three end marks; returns their
// count (without the marks), at most `width`.
std::uint32_t find_changes(const std::uint8_t *p, std::uint32_t width, std::uint32_t *out) {
  std::uint32_t n = 0, pos = 0;
  bool white = true;
  for (;;) {
    pos = run_end(p, pos, width, white);
    if (pos >= width) break;
    out[n++] = pos;
    white = !white;
  }
  out[n] = out[n + 1] = out[n + 2] = width;
  return n;
}

void encode_runs(const CcittEncoder &e, const std::uint32_t *changes, std::uint32_t n,
                 BitWriter &w) {
  std::uint32_t prev = 0;
  for (std::uint32_t i = 0; i <= n; ++i) {
    const std::uint32_t next = i < n ? changes[i] : e.width;
    w.run(i & 1, next - prev);
    prev = next;
  }
}

// Two-dimensional coding of the row's changing elements `a` against the reference line `b`.
// Positions are kept signed so that a0 can start before the first pixel.
void encode_2d(std::int32_t width, const std::uint32_t *a, const std::uint32_t *b, BitWriter &w) {
  std::int32_t a0 = -1;
  std::uint32_t colour = 0;  // of a0: 0 white, 1 black
  std::uint32_t ia = 0;      // a[ia] is a1, the next change after a0
  std::uint32_t ib = 0;
  while (a0 < width) {
    // b1: first change on the reference line right of a0 whose colour is opposite to a0's.
    // Elements at even indexes turn to black, so b1's index has the parity of a0's colour.
    // A vertical mode to the left of b1 can leave a0 before the previous b1, so step back
    // first.
    while (ib > 0 && std::int32_t(b[ib - 1]) > a0) --ib;
    while (std::int32_t(b[ib]) <= a0) ++ib;
    if ((ib & 1) != colour) ++ib;
    const std::int32_t b1 = std::int32_t(b[ib]), b2 = std::int32_t(b[ib + 1]);
    const std::int32_t a1 = std::int32_t(a[ia]);
    if (b2 < a1) {
      w.put(kPass);
      a0 = b2;
    } else if (a1 - b1 <= 3 && b1 - a1 <= 3) {
      w.put(kVertical[a1 - b1 + 3]);
      a0 = a1;
      ++ia;
      colour ^= 1;
    } else {
      const std::int32_t a2 = std::int32_t(a[ia + 1]);
      w.put(kHorizontal);
      w.run(colour, std::uint32_t(a1 - (a0 < 0 ? 0 : a0)));
      w.run(!colour, std::uint32_t(a2 - a1));
      a0 = a2;
      ia += 2;
    }
  }
}

void reset_reference(CcittEncoder &e) { e.ref[0] = e.ref[1] = e.ref[2] = e.width; }

}  // namespace

CcittEncoderPtr ccitt_encoder_create(int compression, std::uint32_t width) {
  if (compression < 2 || compression > 4 || width == 0 || width > 65535) return nullptr;
  CcittEncoderPtr e(new (std::nothrow) CcittEncoder);
  if (!e) return nullptr;
  try {
    e->compression = compression;
    e->width = width;
    e->stride = (width + 7) / 8;
    e->row.assign(e->stride + 8, 0);
    // Sized from the width, not a fixed count: a row can change colour at every pixel.
    const std::size_t entries = 2 * std::size_t(width) + 4;
    e->ref.assign(entries, width);
    e->cur.assign(entries, width);
  } catch (const std::bad_alloc &) {
    return nullptr;
  }
  return e;
}

void ccitt_encoder_start_strip(CcittEncoder &e, BitSink &out, bool /*first_of_image*/) {
  if (e.compression == 4) {
    reset_reference(e);
    return;
  }
  BitWriter w(out);
  w.align();
  // Every Group 3 strip opens with an EOL, not only the first: readers decode each strip on its
  // own and, with EOLs aligned, skip to the first EOL of a strip, losing a row that has none.
  if (e.compression == 3) w.put(ccitt::kEol.bits, 16);  // 00 01
}

void ccitt_encode_row(CcittEncoder &e, const std::uint8_t *row, BitSink &out) {
  std::memcpy(e.row.data(), row, e.stride);
  const std::uint32_t n = find_changes(e.row.data(), e.width, e.cur.data());
  BitWriter w(out);
  if (e.compression == 4) {
    encode_2d(std::int32_t(e.width), e.cur.data(), e.ref.data(), w);
    e.ref.swap(e.cur);
    return;
  }
  encode_runs(e, e.cur.data(), n, w);
  w.align();
  if (e.compression == 3) w.put(ccitt::kEol.bits, 16);  // fill to the boundary, then EOL: 00 01
}

void ccitt_encoder_end_strip(CcittEncoder &, BitSink &out) {
  BitWriter w(out);
  w.align();
}

void ccitt_encoder_finish(CcittEncoder &e, BitSink &out) {
  BitWriter w(out);
  w.align();
  if (e.compression != 3) return;
  // RTC: six EOLs without fill.
  for (int i = 0; i < 6; ++i) w.put(ccitt::kEol);
}

}  // namespace grainwick
