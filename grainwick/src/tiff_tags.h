// Numbers of the TIFF tags the reader takes and the writer writes.
#pragma once

#include <cstdint>

namespace grainwick {

inline constexpr std::uint16_t kTagNewSubfileType = 254;
inline constexpr std::uint16_t kTagImageWidth = 256;
inline constexpr std::uint16_t kTagImageLength = 257;
inline constexpr std::uint16_t kTagBitsPerSample = 258;
inline constexpr std::uint16_t kTagCompression = 259;
inline constexpr std::uint16_t kTagPhotometric = 262;
inline constexpr std::uint16_t kTagFillOrder = 266;
inline constexpr std::uint16_t kTagStripOffsets = 273;
inline constexpr std::uint16_t kTagSamplesPerPixel = 277;
inline constexpr std::uint16_t kTagRowsPerStrip = 278;
inline constexpr std::uint16_t kTagStripByteCounts = 279;
inline constexpr std::uint16_t kTagXResolution = 282;
inline constexpr std::uint16_t kTagYResolution = 283;
inline constexpr std::uint16_t kTagPlanarConfiguration = 284;
inline constexpr std::uint16_t kTagT4Options = 292;
inline constexpr std::uint16_t kTagResolutionUnit = 296;
inline constexpr std::uint16_t kTagSoftware = 305;
inline constexpr std::uint16_t kTagArtist = 315;
inline constexpr std::uint16_t kTagPredictor = 317;
inline constexpr std::uint16_t kTagColorMap = 320;
inline constexpr std::uint16_t kTagCopyright = 33432;

}  // namespace grainwick
