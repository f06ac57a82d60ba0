// Movable memory blocks and the bitmap structures, with their Win32 names and meaning.
//
// A handle (HGLOBAL) names a block whose bytes are reached through GlobalLock. Locks nest:
// each GlobalLock is matched by one GlobalUnlock. GlobalHandle maps any pointer obtained from
// GlobalLock back to its handle, which is how a memory stream handed over as a plain pointer
// finds its block. Blocks are never moved while locked; GlobalReAlloc may move an unlocked
// block, or a locked one when GMEM_MOVEABLE is passed.
//
// Structures are the packed little-endian layouts that DIBs carry in memory and in files.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using BOOL = int;
using SIZE_T = std::size_t;

struct GlobalBlock;
using HGLOBAL = GlobalBlock *;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

extern "C" {
// Null when the size cannot be had. A size of 0 gives a valid, empty block.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Null for a null handle.
void *GlobalLock(HGLOBAL block);
// Returns non-zero while the block is still locked after this call.
BOOL GlobalUnlock(HGLOBAL block);
// Null on success, the handle itself on failure (as Win32 does).
HGLOBAL GlobalFree(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Grown bytes are zeroed when GMEM_ZEROINIT is given. Null on failure; the old block stays valid.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// The block whose locked memory begins at `pointer`; null when none does.
HGLOBAL GlobalHandle(const void *pointer);
}

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
  DWORD biSize;  // 40
  LONG biWidth;
  LONG biHeight;  // positive: rows stored bottom-up
  WORD biPlanes;  // 1
  WORD biBitCount;  // 1, 4, 8 or 24
  DWORD biCompression;  // 0: uncompressed
  DWORD biSizeImage;  // may be 0 for uncompressed DIBs
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;  // 0: 2^biBitCount entries (none for 24 bits)
  DWORD biClrImportant;
};

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct BITMAPFILEHEADER {
  WORD bfType;  // "BM"
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};

struct LOGPALETTE {
  WORD palVersion;  // 0x300
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};
#pragma pack(pop)

static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(PALETTEENTRY) == 4);

inline constexpr DWORD BI_RGB = 0;

// Bytes of one DIB row: width × bits rounded up to 32 bits.
inline constexpr std::size_t dib_stride(std::int64_t width, int bits) {
  return static_cast<std::size_t>(((width * bits + 31) / 32) * 4);
}
