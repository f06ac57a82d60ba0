// CCITT row decoders: modified Huffman (2), Group 3 one-dimensional (3), Group 4 (4).
//
// Codes are looked up by peeking 12 (white), 13 (black) or 7 (mode) bits into tables built at
// compile time, so one lookup consumes one code. The one-dimensional decoders paint black runs
// as they come. Group 4 keeps two lines of changing elements (positions in increasing order,
// closed by three copies of the width so the b1/b2 search needs no bounds test) and paints the
// row from its coding line once the modes are decoded, keeping branches out of the mode loop.
#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "ccitt.h"
#include "ccitt_tables.h"

namespace grainwick {

using namespace ccitt;

struct CcittDecoder {
  int compression = 0;
  std::int32_t width = 0;
  std::int32_t *ref = nullptr;  // reference line (previous row)
  std::int32_t *cur = nullptr;  // coding line (row being decoded)
  std::int32_t *lines = nullptr;
  ~CcittDecoder() { delete[] lines; }
};

void CcittDecoderDeleter::operator()(CcittDecoder *d) const {
  delete d;
}

namespace {

constexpr Status kDone = Status::kOk;
constexpr Status kCorrupt = Status::kCorrupt;

// Positions stay well inside int32 arithmetic (a0 + run + run); the reader's widths are 16-bit.
constexpr std::uint32_t kMaxWidth = 1u << 28;

// Every mode moves a0 strictly forward, so a row holds at most width + 1 modes of at most two
// elements each; three sentinels follow.
std::size_t line_entries(std::int32_t width) {
  return 2 * std::size_t(width) + 6;
}

// The input state copied into locals: row stores go through uint8_t pointers, which may alias
// anything, and would otherwise force the accumulator back to memory after every store.
struct BitReader {
  ScratchInput &in;
  std::uint64_t acc;
  int count;
  const std::uint8_t *p;
  const std::uint8_t *end;

  explicit BitReader(ScratchInput &s)
      : in(s), acc(s.accumulator), count(s.bit_count), p(s.data + s.position), end(s.data + s.valid) {}

  void store() {
    in.accumulator = acc;
    in.bit_count = count;
    in.position = std::uint32_t(p - in.data);
  }

  // At least 16 valid bits afterwards unless the data have ended (the missing bits read as 0).
  // Whole bytes go in up to 56..63 valid bits; the bits below them repeat what follows.
  void fill() {
    if (count >= 16) return;
    if (end - p >= 8) {
      std::uint64_t v;
      std::memcpy(&v, p, 8);
      acc |= __builtin_bswap64(v) >> count;
      p += (63 - count) >> 3;
      count |= 56;
      return;
    }
    refill();
  }

  // Slow path across a buffer refill; false when nothing more came.
  [[gnu::noinline]] bool refill() {
    store();
    const bool ok = top_up_word(in);
    acc = in.accumulator;
    count = in.bit_count;
    p = in.data + in.position;
    end = in.data + in.valid;
    return ok;
  }

  void skip(int n) {
    acc <<= n;
    count -= n;
  }
};

// Sets pixels [from, to) to black (0 bits); from < to.
inline void paint(std::uint8_t *row, std::uint32_t from, std::uint32_t to) {
  std::uint32_t first = from >> 3;
  const std::uint32_t last = to >> 3;
  const unsigned head = 0xFFu >> (from & 7);
  if (first == last) {
    row[first] &= std::uint8_t(~(head & ~(0xFFu >> (to & 7))));
    return;
  }
  row[first++] &= std::uint8_t(~head);
  const std::uint32_t whole = last - first;
  if (whole > 16) {
    std::memset(row + first, 0, whole);
  } else {
    for (std::uint32_t i = 0; i < whole; ++i) row[first + i] = 0;
  }
  if (to & 7) row[last] &= std::uint8_t(0xFFu >> (to & 7));
}

// One run: make-up codes then a terminating code. Returns the run length, or -1 when the bits
// start no code (EOL, fill, corrupt code) or the data ended inside the code. A run that already
// exceeds `limit` is returned without reading further, so a stream of make-up codes cannot
// overflow it.
template <bool Black>
inline std::int32_t read_run(BitReader &br, std::int32_t limit) {
  std::int32_t run = 0;
  for (;;) {
    br.fill();
    const std::uint32_t e =
        Black ? kBlackRuns[br.acc >> (64 - kBlackPeek)] : kWhiteRuns[br.acc >> (64 - kWhitePeek)];
    const int len = int(e & 15);
    if (len == 0 || len > br.count) return -1;
    br.skip(len);
    const std::int32_t v = std::int32_t(e >> 4);
    run += v;
    if (v < 64 || run > limit) return run;
  }
}

// Row start of the one-dimensional codings: eight zero bits can only be fill or an EOL; skip
// through its final 1 bit. False when the data end first.
bool skip_eol(BitReader &br) {
  for (;;) {
    const int zeros = std::countl_zero(br.acc);
    if (zeros < br.count) {
      br.skip(zeros + 1);
      return true;
    }
    br.acc = 0;
    br.count = 0;
    if (!br.refill()) return false;
  }
}

Status decode_1d(CcittDecoder &d, BitReader &br, std::uint8_t *row) {
  if (d.compression == 2) br.skip(br.count & 7);  // modified Huffman rows are byte-aligned
  br.fill();
  if ((br.acc >> 56) == 0 && !skip_eol(br)) return kCorrupt;

  const std::int32_t width = d.width;
  std::int32_t total = 0;
  for (;;) {
    std::int32_t run = read_run<false>(br, width - total);
    if (run < 0) return kCorrupt;
    total += run;
    if (total >= width) return total == width ? kDone : kCorrupt;

    run = read_run<true>(br, width - total);
    if (run < 0) return kCorrupt;
    if (run > 0) paint(row, std::uint32_t(total), std::uint32_t(std::min(total + run, width)));
    total += run;
    if (total >= width) return total == width ? kDone : kCorrupt;
  }
}

constexpr std::int8_t kVerticalDelta[10] = {0, 0, 0, 1, 2, 3, -1, -2, -3, 0};

Status decode_g4(CcittDecoder &d, BitReader &br, std::uint8_t *row) {
  const std::int32_t width = d.width;
  const std::int32_t *ref = d.ref;
  std::int32_t *cur = d.cur;
  std::size_t n = 0;   // elements on the coding line
  std::size_t pb = 0;  // b1's index on the reference line; its parity is the current colour
  std::int32_t a0 = -1;
  bool black = false;
  Status status = kDone;

  while (a0 < width) {
    while (ref[pb] <= a0) pb += 2;
    const std::int32_t b1 = ref[pb];

    br.fill();
    const std::uint32_t e = kModes[br.acc >> (64 - kModePeek)];
    const int len = int(e & 7);
    if (len == 0 || len > br.count) {  // EOL, EOFB or the data ended
      status = kCorrupt;
      break;
    }
    br.skip(len);
    const Mode mode = Mode(e >> 3);

    if (mode >= Mode::kV0 && mode <= Mode::kVL3) {
      const int delta = kVerticalDelta[int(mode)];
      const std::int32_t a1 = b1 + delta;
      if (a1 <= a0 || a1 > width) {
        if (a1 > width) a0 = width;  // the current colour reaches the edge
        status = kCorrupt;
        break;
      }
      cur[n++] = a1;
      a0 = a1;
      black = !black;
      // The next b1 has the other parity: for a1 left of b1 the element before b1 may qualify.
      pb = delta >= 0 || pb == 0 ? pb + 1 : pb - 1;
    } else if (mode == Mode::kPass) {
      a0 = ref[pb + 1];
      pb += 2;
    } else if (mode == Mode::kHorizontal) {
      const std::int32_t start = std::max(a0, 0);
      std::int32_t r1, r2;
      if (black) {
        r1 = read_run<true>(br, width - start);
        r2 = r1 < 0 ? -1 : read_run<false>(br, width - start - r1);
      } else {
        r1 = read_run<false>(br, width - start);
        r2 = r1 < 0 ? -1 : read_run<true>(br, width - start - r1);
      }
      if (r1 < 0 || r2 < 0) {
        status = kCorrupt;
        break;
      }
      // Two empty runs would leave a0 in place; the decoder requires progress.
      if (r1 + r2 == 0 && a0 >= 0) {
        status = kCorrupt;
        break;
      }
      const std::int32_t a1 = std::min(start + r1, width);
      const std::int32_t a2 = std::min(a1 + r2, width);
      cur[n++] = a1;
      cur[n++] = a2;
      a0 = a2;
      if (start + r1 + r2 > width) {  // kept up to the edge
        status = kCorrupt;
        break;
      }
    } else {  // extension codes are not supported
      status = kCorrupt;
      break;
    }
  }
  if (status == kDone && a0 != width) status = kCorrupt;

  // Black spans run from each even-indexed element to the next; an odd count means the row
  // stopped (or ended through a pass) in black, which reaches a0.
  for (std::size_t k = 0; k + 1 < n; k += 2)
    if (cur[k + 1] > cur[k]) paint(row, std::uint32_t(cur[k]), std::uint32_t(cur[k + 1]));
  if ((n & 1) && std::min(a0, width) > cur[n - 1])
    paint(row, std::uint32_t(cur[n - 1]), std::uint32_t(std::min(a0, width)));

  cur[n] = cur[n + 1] = cur[n + 2] = width;
  d.cur = d.ref;
  d.ref = cur;
  return status;
}

}  // namespace

CcittDecoderPtr ccitt_create(int compression, std::uint32_t width) {
  if (compression < 2 || compression > 4 || width > kMaxWidth) return nullptr;
  CcittDecoderPtr d(new (std::nothrow) CcittDecoder);
  if (!d) return nullptr;
  d->compression = compression;
  d->width = std::int32_t(width);
  if (compression == 4) {
    const std::size_t entries = line_entries(d->width);
    d->lines = new (std::nothrow) std::int32_t[2 * entries];
    if (!d->lines) return nullptr;
    d->ref = d->lines;
    d->cur = d->lines + entries;
  }
  ccitt_reset(*d);
  return d;
}

void ccitt_reset(CcittDecoder &d) {
  if (d.ref) d.ref[0] = d.ref[1] = d.ref[2] = d.width;
}

Status ccitt_decode_row(CcittDecoder &d, ScratchInput &in, std::uint8_t *row) {
  if (d.width == 0) return kDone;
  std::memset(row, 0xFF, (std::size_t(d.width) + 7) / 8);
  BitReader br(in);
  const Status status = d.compression == 4 ? decode_g4(d, br, row) : decode_1d(d, br, row);
  br.store();
  return status;
}

}  // namespace grainwick
