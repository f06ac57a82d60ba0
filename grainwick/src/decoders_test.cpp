// The LZW and PackBits row decoders and the row fix-ups, each against a plain model of the same
// rules, on generated input that libtiff never writes: Clear in mid-row, codes beyond the table,
// a code right after Clear that is not a root, a full table, EndOfInformation, data that end
// inside a code, strings running over rows, strip restarts and tiny input buffers.
#include "decoders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "grainwick.h"
#include "row_fixups.h"
#include "test_support.h"

namespace grainwick::test {
namespace {

struct Random {
  std::uint32_t state;
  std::uint32_t next() { return (state = state * 1664525u + 1013904223u) >> 8; }
  std::uint32_t below(std::uint32_t n) { return next() % n; }
};

// The LZW rules written plainly: a table of whole strings, input read bit by bit.
class ModelLzw {
 public:
  explicit ModelLzw(const Bytes &data) : data_(data) {
    for (int i = 0; i < 256; ++i) table_[i] = Bytes{std::uint8_t(i)};
  }
  void row(std::uint8_t *out, std::uint32_t n) {
    std::uint32_t done = 0;
    auto emit = [&](const Bytes &s) {
      for (std::uint8_t b : s) (done < n ? out[done++] : carry_.emplace_back()) = b;
    };
    emit(std::exchange(carry_, {}));
    while (done < n && !ended_) {
      if (bit_ + width_ > data_.size() * 8) break;
      std::uint32_t code = 0;
      for (std::uint32_t k = 0; k < width_; ++k, ++bit_)
        code = code << 1 | ((data_[bit_ / 8] >> (7 - bit_ % 8)) & 1);
      if (code == 257) {
        ended_ = true;
      } else if (code == 256) {
        width_ = 9, next_ = 258, old_ = -1;
      } else if (old_ < 0) {
        if (code < 256) emit(table_[code]), old_ = int(code);
      } else if (code <= next_) {
        Bytes s = code == next_ ? table_[std::size_t(old_)] : table_[code];
        if (code == next_) s.push_back(s[0]);
        emit(s);
        if (next_ < 4096) {
          table_[next_] = table_[std::size_t(old_)];
          table_[next_].push_back(s[0]);
          ++next_;
          if (next_ == (1u << width_) - 1 && width_ < 12) ++width_;
        }
        old_ = int(code);
      }
    }
    // Where the codes ended (EndOfInformation, end of the data) the row is blank.
    for (; done < n; ++done) out[done] = 0;
  }

 private:
  const Bytes &data_;
  std::size_t bit_ = 0;
  Bytes table_[4096], carry_;
  std::uint32_t width_ = 9, next_ = 258;
  int old_ = -1;
  bool ended_ = false;
};

// A code stream with the width the decoder will expect at each code; `clear` and `end` are the
// chances in 10,000 of a Clear or an EndOfInformation, `wild` of a code the table does not hold.
Bytes make_codes(Random &rnd, int count, std::uint32_t clear, std::uint32_t end, std::uint32_t wild) {
  BitWriter w;
  std::uint32_t width = 9, next = 258;
  bool fresh = true;
  for (int i = 0; i < count; ++i) {
    std::uint32_t roll = rnd.below(10000), code;
    if (roll < clear) {
      code = 256;
    } else if (roll < clear + end) {
      code = 257;
    } else if (fresh) {
      code = roll < clear + end + wild ? 256 + rnd.below(256) : rnd.below(256);
    } else if (roll < clear + end + wild && next + 1 < (1u << width)) {
      code = next + 1 + rnd.below((1u << width) - next - 1);
    } else if (roll % 10 == 0 && next < 4096) {
      code = next;
    } else {
      // Mostly recent codes, which are the long strings.
      code = rnd.below(2) ? rnd.below(next) : next - 1 - rnd.below(std::min<std::uint32_t>(next, 64));
      if (code == 256 || code == 257) code = 65;
    }
    w.put(code, int(width));
    if (code == 256) {
      width = 9, next = 258, fresh = true;
    } else if (code == 257) {
    } else if (fresh) {
      fresh = code > 255;
    } else if (code <= next && next < 4096) {
      ++next;
      if (next == (1u << width) - 1 && width < 12) ++width;
    }
  }
  return w.bytes;
}

// Feeds `strips` to a decoder through a scratch buffer of `capacity` bytes, `n` bytes a row.
class Driver {
 public:
  Driver(const DecoderHooks &hooks, std::uint32_t n, std::uint32_t capacity)
      : hooks_(hooks), scratch_(capacity) {
    ctx_.bytes_per_row = ctx_.width = n;
    ctx_.in = {.data = scratch_.data(),
               .capacity = capacity,
               .read = [this](std::uint8_t *out, std::uint32_t count) {
                 std::uint32_t k = std::uint32_t(std::min<std::size_t>(count, strip_->size() - at_));
                 std::memcpy(out, strip_->data() + at_, k);
                 at_ += k;
                 return k;
               }};
    EXPECT_EQ(hooks_.setup(ctx_), Status::kOk);
  }
  ~Driver() { hooks_.cleanup(ctx_); }
  void start(const Bytes &strip) {
    strip_ = &strip;
    at_ = 0;
    ctx_.in.reset();
    hooks_.strip_start(ctx_);
  }
  Status row(std::uint8_t *out) { return hooks_.decode_row(ctx_, out); }

 private:
  const DecoderHooks &hooks_;
  Bytes scratch_;
  DecoderContext ctx_;
  const Bytes *strip_ = nullptr;
  std::size_t at_ = 0;
};

TEST(LzwDecoder, MatchesTheRulesOnOddCodeStreams) {
  Random rnd{12345};
  struct Mix {
    std::uint32_t clear, end, wild;
  } mixes[] = {{0, 0, 0}, {30, 0, 300}, {2, 1, 50}, {200, 5, 1000}};  // no Clear: the table fills
  for (const Mix &mix : mixes)
    for (std::uint32_t n : {1u, 2u, 5u, 64u, 999u, 9000u})
      for (std::uint32_t capacity : {9u, 4096u}) {
        // Two strips: the second starts over whatever the first left (carry, table, bits).
        Bytes a = make_codes(rnd, 9000, mix.clear, mix.end, mix.wild),
              b = make_codes(rnd, 3000, mix.clear, 0, mix.wild);
        for (std::uint32_t k = rnd.below(3); k && !a.empty(); --k)
          a.pop_back();  // the data may end inside a code
        Driver d(*decoder_for(5), n, capacity);
        Bytes got(n), want(n);
        std::uint32_t rows = 40000 / n + 3;
        for (const Bytes *strip : {&a, &b}) {
          ModelLzw model(*strip);
          d.start(*strip);
          for (std::uint32_t r = 0; r < rows; ++r) {
            // Both start from junk: a row must be written whole.
            std::memset(got.data(), 0xC5, n);
            std::memset(want.data(), 0xC5, n);
            ASSERT_EQ(d.row(got.data()), Status::kOk);
            model.row(want.data(), n);
            ASSERT_EQ(got, want) << "row " << r << " n " << n << " capacity " << capacity << " clear "
                                 << mix.clear;
          }
        }
      }
}

// PackBits rows from the rules: literal runs, repeats and no-ops, some passing the row end.
TEST(PackBitsDecoder, MatchesTheRulesAndStopsAtRunsPastTheRow) {
  Random rnd{7};
  for (std::uint32_t n : {1u, 3u, 130u, 5000u})
    for (std::uint32_t capacity : {5u, 4096u}) {
      Bytes data;
      std::vector<Bytes> rows;
      std::vector<bool> bad;
      for (int r = 0; r < 30; ++r) {
        Bytes row;
        bool broken = false;
        while (row.size() < n) {
          std::uint32_t left = std::uint32_t(n - row.size()), kind = rnd.below(10);
          if (kind == 0) {
            data.push_back(0x80);
            continue;
          }
          std::uint32_t count =
              1 + rnd.below(std::min<std::uint32_t>(128, left + (r == 17 && n != 130 ? 5 : 0)));
          if (kind >= 5 && count == 1) count = 2;  // a repeat makes two bytes at least
          broken = count > left;
          if (kind < 5) {
            data.push_back(std::uint8_t(count - 1));
            for (std::uint32_t k = 0; k < count; ++k)
              data.push_back(std::uint8_t(rnd.next())), row.push_back(data.back());
          } else {
            std::uint8_t v = std::uint8_t(rnd.next());
            data.push_back(std::uint8_t(1 - int(count)));
            data.push_back(v);
            row.insert(row.end(), count, v);
          }
          if (broken) break;
        }
        rows.push_back(row);
        bad.push_back(broken);
        if (bad.back()) break;
      }
      Driver d(*decoder_for(32773), n, capacity);
      d.start(data);
      Bytes got(n);
      for (std::size_t r = 0; r < rows.size(); ++r) {
        Status status = d.row(got.data());
        if (bad[r]) {
          EXPECT_EQ(status, Status::kCorrupt) << "row " << r;
          break;
        }
        ASSERT_EQ(status, Status::kOk);
        ASSERT_EQ(got, rows[r]) << "row " << r << " n " << n;
      }
      if (!bad.back()) {
        // Past the end of the data a row comes out blank, not as what the memory held.
        std::memset(got.data(), 0xC5, n);
        ASSERT_EQ(d.row(got.data()), Status::kOk);
        EXPECT_EQ(got, Bytes(n, 0));
      }
    }
}

TEST(RowFixups, EveryCombinationMatchesTheStepsOneByOne) {
  Random rnd{3};
  for (std::uint32_t n : {0u, 1u, 2u, 3u, 4u, 47u, 48u, 49u, 95u, 96u, 100u, 101u, 578u, 3001u, 9000u})
    for (int flags = 0; flags < 16; ++flags) {
      const RowFixups f{.predict = bool(flags & 1),
                        .back = (flags & 8) ? 3u : 1u,
                        .invert = bool(flags & 2),
                        .swap_rgb = bool(flags & 4)};
      Bytes row(n + 16);
      for (auto &b : row) b = std::uint8_t(rnd.next());
      Bytes want = row;
      if (f.predict)
        for (std::uint32_t i = f.back; i < n; ++i) want[i] = std::uint8_t(want[i] + want[i - f.back]);
      if (f.invert)
        for (std::uint32_t i = 0; i < n; ++i) want[i] = std::uint8_t(~want[i]);
      if (f.swap_rgb)
        for (std::uint32_t i = 0; i + 2 < n; i += 3) std::swap(want[i], want[i + 2]);
      // Copies too, to every alignment, streamed or not; bytes either side stay untouched.
      for (std::uint32_t at : {1u, 8u, 29u, 64u})
        for (bool stream : {false, true}) {
          Bytes out(n + 160, 0x5A), out_want = out;
          std::copy(want.begin(), want.begin() + n, out_want.begin() + at);
          fix_copy(&out[at], row.data(), n, {f.predict, f.back, f.invert, f.swap_rgb, stream});
          EXPECT_EQ(out, out_want) << "n " << n << " flags " << flags << " at " << at << " stream " << stream;
        }
      fix_row(row.data(), n, f);
      EXPECT_EQ(row, want) << "n " << n << " flags " << flags;  // bytes past n untouched too
    }
}

// The DIB is not allocated zero-filled: what a decoder leaves (data ending early) and the row
// padding must still come out zero, or all ones where WhiteIsZero complements them.
TEST(DibRows, WhatTheDataDoNotReachIsClearedWhateverTheMemoryHeld) {
  const std::string path = temp_dir() + "/short.tif";
  for (std::uint16_t photometric : {1, 0}) {
    // 7 × 5 grey, PackBits, one strip at the end of the file: row 0 whole, row 1 three bytes.
    SourceImage img = make_image(Kind::grey8, 7, 5);
    img.photometric = photometric;
    ASSERT_TRUE(write_tiff(path, img, 0, 32773));
    RawTiff t = RawTiff::load(path);
    t.set32(t.entry(kTagStripOffsets) + 8, std::uint32_t(t.f.size()));
    for (std::uint8_t b : {0x06, 1, 2, 3, 4, 5, 6, 7, 0x02, 9, 8, 7}) t.f.push_back(b);
    const std::uint8_t rest = photometric == 0 ? 0xFF : 0;
    for (int round = 0; round < 3; ++round) {
      // Leave freed blocks of the DIB's size full of 0xAB for the allocator to hand back.
      const std::size_t dib_bytes = 40 + 1024 + 8 * 5;
      for (int k = 0; k < 4; ++k) {
        HGLOBAL junk = GlobalAlloc(GMEM_MOVEABLE, dib_bytes);
        std::memset(GlobalLock(junk), 0xAB, dib_bytes);
        GlobalUnlock(junk);
        GlobalFree(junk);
      }
      StreamBlock s(t.f);
      HGLOBAL handle = nullptr;
      ASSERT_EQ(readtiffiledibstream(s.data, s.length, 0, 0, 0, &handle, nullptr, 0), 1);
      Dib dib(handle);
      for (int y = 0; y < 5; ++y) {
        Bytes want(8, rest);
        want[7] = 0;  // padding
        for (int x = 0; x < (y == 0 ? 7 : y == 1 ? 3 : 0); ++x)
          want[std::size_t(x)] = std::uint8_t((y ? 9 - x : x + 1) ^ rest);
        EXPECT_EQ(dib.row(y), want) << "photometric " << photometric << " y " << y;
      }
    }
  }
}

}  // namespace
}  // namespace grainwick::test
