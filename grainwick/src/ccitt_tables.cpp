#include "ccitt_tables.h"

namespace grainwick::ccitt {

namespace {

// Every index whose leading bits are the code gets the entry; built at compile time so the
// decoders need no start-up step and no lock.
template <int Peek>
constexpr void put(std::array<std::uint16_t, (1 << Peek)> &t, Code c, std::uint32_t run) {
  const int spare = Peek - c.length;
  const std::uint32_t first = std::uint32_t(c.bits) << spare;
  for (std::uint32_t i = 0; i < (1u << spare); ++i) t[first + i] = std::uint16_t(run << 4 | c.length);
}

template <int Peek>
constexpr std::array<std::uint16_t, (1 << Peek)> build_runs(const Code (&term)[64],
                                                            const Code (&make_up)[27]) {
  std::array<std::uint16_t, (1 << Peek)> t{};
  for (std::uint32_t r = 0; r < 64; ++r) put<Peek>(t, term[r], r);
  for (std::uint32_t i = 0; i < 27; ++i) put<Peek>(t, make_up[i], 64 * (i + 1));
  for (std::uint32_t i = 0; i < 13; ++i) put<Peek>(t, kExtendedMakeUp[i], 1792 + 64 * i);
  return t;
}

constexpr std::array<std::uint8_t, (1 << kModePeek)> build_modes() {
  std::array<std::uint8_t, (1 << kModePeek)> t{};
  for (int m = 0; m < 10; ++m) {
    const Code c = kModeCodes[m];
    const int spare = kModePeek - c.length;
    for (int i = 0; i < (1 << spare); ++i) t[(c.bits << spare) + i] = std::uint8_t(m << 3 | c.length);
  }
  return t;
}

}  // namespace

constinit const std::array<std::uint16_t, 1 << kWhitePeek> kWhiteRuns =
    build_runs<kWhitePeek>(kWhiteTerminating, kWhiteMakeUp);
constinit const std::array<std::uint16_t, 1 << kBlackPeek> kBlackRuns =
    build_runs<kBlackPeek>(kBlackTerminating, kBlackMakeUp);
constinit const std::array<std::uint8_t, 1 << kModePeek> kModes = build_modes();

}  // namespace grainwick::ccitt
