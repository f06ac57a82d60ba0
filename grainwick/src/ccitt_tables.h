// ITU-T T.4 / T.6 code tables, shared by the CCITT decoders and encoders.
//
// Codes are stored right-aligned: `bits` holds the code in its low `length` bits, first bit
// transmitted at the high end.
#pragma once

#include <array>
#include <cstdint>

namespace grainwick::ccitt {

struct Code {
  std::uint16_t bits;
  std::uint8_t length;
};

// Terminating codes, index = run length 0..63.
inline constexpr Code kWhiteTerminating[64] = {
    {0x35, 8}, {0x07, 6}, {0x07, 4}, {0x08, 4}, {0x0B, 4}, {0x0C, 4}, {0x0E, 4}, {0x0F, 4},
    {0x13, 5}, {0x14, 5}, {0x07, 5}, {0x08, 5}, {0x08, 6}, {0x03, 6}, {0x34, 6}, {0x35, 6},
    {0x2A, 6}, {0x2B, 6}, {0x27, 7}, {0x0C, 7}, {0x08, 7}, {0x17, 7}, {0x03, 7}, {0x04, 7},
    {0x28, 7}, {0x2B, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x02, 8}, {0x03, 8}, {0x1A, 8},
    {0x1B, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
    {0x29, 8}, {0x2A, 8}, {0x2B, 8}, {0x2C, 8}, {0x2D, 8}, {0x04, 8}, {0x05, 8}, {0x0A, 8},
    {0x0B, 8}, {0x52, 8}, {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8},
    {0x59, 8}, {0x5A, 8}, {0x5B, 8}, {0x4A, 8}, {0x4B, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8},
};

inline constexpr Code kBlackTerminating[64] = {
    {0x37, 10}, {0x02, 3},  {0x03, 2},  {0x02, 2},  {0x03, 3},  {0x03, 4},  {0x02, 4},  {0x03, 5},
    {0x05, 6},  {0x04, 6},  {0x04, 7},  {0x05, 7},  {0x07, 7},  {0x04, 8},  {0x07, 8},  {0x18, 9},
    {0x17, 10}, {0x18, 10}, {0x08, 10}, {0x67, 11}, {0x68, 11}, {0x6C, 11}, {0x37, 11}, {0x28, 11},
    {0x17, 11}, {0x18, 11}, {0xCA, 12}, {0xCB, 12}, {0xCC, 12}, {0xCD, 12}, {0x68, 12}, {0x69, 12},
    {0x6A, 12}, {0x6B, 12}, {0xD2, 12}, {0xD3, 12}, {0xD4, 12}, {0xD5, 12}, {0xD6, 12}, {0xD7, 12},
    {0x6C, 12}, {0x6D, 12}, {0xDA, 12}, {0xDB, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
    {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
    {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2B, 12}, {0x2C, 12}, {0x5A, 12}, {0x66, 12}, {0x67, 12},
};

// Make-up codes, index i = run length 64 × (i + 1), 64..1728.
inline constexpr Code kWhiteMakeUp[27] = {
    {0x1B, 5}, {0x12, 5}, {0x17, 6}, {0x37, 7}, {0x36, 8}, {0x37, 8}, {0x64, 8}, {0x65, 8}, {0x68, 8},
    {0x67, 8}, {0xCC, 9}, {0xCD, 9}, {0xD2, 9}, {0xD3, 9}, {0xD4, 9}, {0xD5, 9}, {0xD6, 9}, {0xD7, 9},
    {0xD8, 9}, {0xD9, 9}, {0xDA, 9}, {0xDB, 9}, {0x98, 9}, {0x99, 9}, {0x9A, 9}, {0x18, 6}, {0x9B, 9},
};

inline constexpr Code kBlackMakeUp[27] = {
    {0x0F, 10}, {0xC8, 12}, {0xC9, 12}, {0x5B, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12},
    {0x6C, 13}, {0x6D, 13}, {0x4A, 13}, {0x4B, 13}, {0x4C, 13}, {0x4D, 13}, {0x72, 13},
    {0x73, 13}, {0x74, 13}, {0x75, 13}, {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13},
    {0x54, 13}, {0x55, 13}, {0x5A, 13}, {0x5B, 13}, {0x64, 13}, {0x65, 13},
};

// Extended make-up codes shared by both colours, index i = run length 1792 + 64 × i,
// 1792..2560.
inline constexpr Code kExtendedMakeUp[13] = {
    {0x08, 11}, {0x0C, 11}, {0x0D, 11}, {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12},
    {0x16, 12}, {0x17, 12}, {0x1C, 12}, {0x1D, 12}, {0x1E, 12}, {0x1F, 12},
};

inline constexpr Code kEol = {0x001, 12};

// Largest run a single make-up code carries; longer runs repeat it.
inline constexpr std::uint32_t kMaxMakeUp = 2560;

// Make-up code for a multiple of 64 between 64 and 2560.
constexpr Code make_up_code(bool black, std::uint32_t run) {
  if (run >= 1792) return kExtendedMakeUp[(run - 1792) / 64];
  return black ? kBlackMakeUp[run / 64 - 1] : kWhiteMakeUp[run / 64 - 1];
}

// Two-dimensional mode codes (T.4 two-dimensional coding and T.6).
enum class Mode : std::uint8_t {
  kPass,
  kHorizontal,
  kV0,
  kVR1,
  kVR2,
  kVR3,
  kVL1,
  kVL2,
  kVL3,
  kExtension,
};

inline constexpr Code kModeCodes[10] = {
    {0x1, 4},  // pass 0001
    {0x1, 3},  // horizontal 001
    {0x1, 1},  // V0 1
    {0x3, 3},  // VR1 011
    {0x3, 6},  // VR2 000011
    {0x3, 7},  // VR3 0000011
    {0x2, 3},  // VL1 010
    {0x2, 6},  // VL2 000010
    {0x2, 7},  // VL3 0000010
    {0x1, 7},  // extension 0000001
};

// Decoding tables built from the codes above, indexed by the next bits of the stream.
// Run entries: bits 0-3 the code length, bits 4-15 the run (terminating < 64, make-up >= 64);
// 0 for bit patterns that start no code (eight leading zeros: EOL, fill or end of data).
inline constexpr int kWhitePeek = 12;
inline constexpr int kBlackPeek = 13;
extern const std::array<std::uint16_t, 1 << kWhitePeek> kWhiteRuns;
extern const std::array<std::uint16_t, 1 << kBlackPeek> kBlackRuns;

// Mode entries for the next 7 bits: bits 0-2 the code length, bits 3-7 the Mode;
// 0 for 0000000 (EOL or EOFB).
inline constexpr int kModePeek = 7;
extern const std::array<std::uint8_t, 1 << kModePeek> kModes;

}  // namespace grainwick::ccitt
