#include "test_support.h"

#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "ccitt.h"

namespace grainwick::test {

// ---- files and folders ----

std::string temp_dir() {
  static const struct Dir {
    std::string path = std::filesystem::temp_directory_path() / ("grainwick-test-" + std::to_string(::getpid()));
    Dir() { std::filesystem::create_directories(path); }
    ~Dir() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } dir;
  return dir.path;
}

Bytes read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

HGLOBAL new_block(const Bytes &bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  if (!bytes.empty()) std::memcpy(GlobalLock(h), bytes.data(), bytes.size()), GlobalUnlock(h);
  return h;
}

Bytes block_bytes(HGLOBAL h) {
  auto *p = static_cast<std::uint8_t *>(GlobalLock(h));
  Bytes out(p, p + GlobalSize(h));
  GlobalUnlock(h);
  return out;
}

StreamBlock::StreamBlock(const Bytes &bytes)
    : block(new_block(bytes)), data(GlobalLock(block)), length(std::int32_t(bytes.size())) {}

// ---- DIBs ----

DibBuilder::DibBuilder(int width, int height, int bits, std::vector<RGBQUAD> table, LONG ppm_x, LONG ppm_y)
    : w_(width), h_(height), bits_(bits), table_(std::move(table)), stride_(dib_stride(width, bits)) {
  bytes_.assign(40 + table_.size() * 4 + stride_ * std::size_t(height), 0);
  const BITMAPINFOHEADER hd{40, width, height, 1, WORD(bits), 0, 0, ppm_x, ppm_y, DWORD(table_.size()), 0};
  std::memcpy(bytes_.data(), &hd, 40);
  if (!table_.empty()) std::memcpy(bytes_.data() + 40, table_.data(), table_.size() * 4);
}

DibBuilder DibBuilder::from_pixels(int width, int height, const std::vector<Rgb> &pixels) {
  DibBuilder b(width, height, 24);
  for (std::size_t i = 0; i < pixels.size(); ++i) b.rgb(int(i) % width, int(i) / width, pixels[i]);
  return b;
}

void DibBuilder::index(int x, int top, unsigned v) {
  std::uint8_t *r = row(top);
  if (bits_ == 1)
    r[x / 8] = std::uint8_t((r[x / 8] & ~(0x80 >> (x % 8))) | (v ? 0x80 >> (x % 8) : 0));
  else if (bits_ == 4)
    r[x / 2] = std::uint8_t(x % 2 ? (r[x / 2] & 0xF0) | v : (r[x / 2] & 0x0F) | (v << 4));
  else
    r[x] = std::uint8_t(v);
}

void DibBuilder::dirty_padding() {
  const std::size_t used_bits = std::size_t(w_) * bits_;
  for (int y = 0; y < h_; ++y)
    for (std::size_t bit = used_bits; bit < stride_ * 8; ++bit) row(y)[bit / 8] |= std::uint8_t(0x80 >> (bit % 8));
}

DibBuilder patterned(int width, int height, int bits, const std::vector<RGBQUAD> &table) {
  DibBuilder b(width, height, bits, table);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.index(x, y, unsigned(x * 3 + y * 5) % table.size());
  b.dirty_padding();
  return b;
}

std::vector<RGBQUAD> grey_table(int n) {
  std::vector<RGBQUAD> t;
  for (int i = 0; i < n; ++i) t.push_back(quad(i * 255 / (n - 1), i * 255 / (n - 1), i * 255 / (n - 1)));
  return t;
}

HGLOBAL busy_dib(int bits, int w, int h, bool inverted, LONG ppm) {
  const int colours = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 200 : 0;
  std::vector<RGBQUAD> table;
  for (int i = 0; i < colours; ++i) table.push_back(RGBQUAD{BYTE(i * 37), BYTE(255 - i * 11), BYTE(i * 5 + 3), 0});
  if (bits == 1) table = {quad(0, 0, 0), quad(255, 255, 255)};
  if (bits == 1 && inverted) std::swap(table[0], table[1]);
  DibBuilder b(w, h, bits, table, ppm, ppm);
  std::uint32_t seed = 12345u + std::uint32_t(w * 7 + h + bits);
  auto rnd = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int y = 0; y < h; ++y)  // stored rows, bottom up
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = x < w / 2 ? std::uint32_t((x / 9 + y / 5) % 7) : rnd();
      if (bits == 24)
        b.rgb(x, h - 1 - y, {x < w / 2 ? 200 : int(v >> 3) & 255, int(v * 3 + std::uint32_t(y)) & 255, int(v * 41) & 255});
      else
        b.index(x, h - 1 - y, bits == 1 ? v & 1 : bits == 4 ? v & 15 : v % std::uint32_t(colours));
    }
  return b.handle();
}

Bytes Dib::bytes() const { return h_ ? block_bytes(h_) : Bytes{}; }

BITMAPINFOHEADER Dib::header() const {
  BITMAPINFOHEADER hd;
  std::memcpy(&hd, bytes().data(), 40);
  return hd;
}

unsigned Dib::table_size() const {
  const BITMAPINFOHEADER hd = header();
  return hd.biBitCount > 8 ? 0 : hd.biClrUsed ? hd.biClrUsed : 1u << hd.biBitCount;
}

Rgb Dib::entry(unsigned i) const {
  const Bytes b = bytes();
  const std::uint8_t *q = b.data() + 40 + i * 4;
  return {q[2], q[1], q[0]};
}

Bytes Dib::row(int top) const {
  const BITMAPINFOHEADER hd = header();
  const std::size_t stride = dib_stride(hd.biWidth, hd.biBitCount);
  const Bytes b = bytes();
  const std::size_t off = 40 + table_size() * 4 + stride * std::size_t(hd.biHeight - 1 - top);
  return Bytes(b.begin() + long(off), b.begin() + long(off + stride));
}

unsigned Dib::index(int x, int top) const {
  const Bytes r = row(top);
  switch (header().biBitCount) {
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 ? r[x / 2] & 15 : r[x / 2] >> 4;
    default: return r[x];
  }
}

std::vector<unsigned> Dib::indexes(int top) const {
  std::vector<unsigned> out;
  for (int x = 0; x < header().biWidth; ++x) out.push_back(index(x, top));
  return out;
}

Rgb Dib::colour(int x, int top) const {
  if (header().biBitCount == 24) {
    const Bytes r = row(top);
    return {r[x * 3 + 2], r[x * 3 + 1], r[x * 3]};
  }
  return entry(index(x, top));
}

std::vector<Rgb> Dib::colours() const {
  const BITMAPINFOHEADER hd = header();
  std::vector<Rgb> out;
  for (int y = 0; y < hd.biHeight; ++y)
    for (int x = 0; x < hd.biWidth; ++x) out.push_back(colour(x, y));
  return out;
}

bool Dib::padding_clear() const {
  const BITMAPINFOHEADER hd = header();
  const std::size_t used = std::size_t(hd.biWidth) * hd.biBitCount;
  for (int y = 0; y < hd.biHeight; ++y) {
    const Bytes r = row(y);
    for (std::size_t bit = used; bit < r.size() * 8; ++bit)
      if (r[bit / 8] & (0x80 >> (bit % 8))) return false;
  }
  return true;
}

int Dib::count_white() const {
  const BITMAPINFOHEADER hd = header();
  int n = 0;
  for (int y = 0; y < hd.biHeight; ++y)
    for (int x = 0; x < hd.biWidth; ++x) n += int(index(x, y));
  return n;
}

Pixels dib_pixels(HGLOBAL h) {
  Pixels out;
  const auto *dib = h ? static_cast<const BITMAPINFOHEADER *>(GlobalLock(h)) : nullptr;
  if (!dib) return out;
  const int bits = dib->biBitCount;
  const std::size_t colours = bits <= 8 ? (dib->biClrUsed ? dib->biClrUsed : 1u << bits) : 0;
  const auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const std::uint8_t *>(dib) + dib->biSize);
  out.width = std::uint32_t(dib->biWidth), out.height = std::uint32_t(dib->biHeight);
  for (std::uint32_t y = 0; y < out.height; ++y) {
    const std::uint8_t *row = reinterpret_cast<const std::uint8_t *>(table + colours) +
                              dib_stride(dib->biWidth, bits) * std::size_t(out.height - 1 - y);
    for (std::uint32_t x = 0; x < out.width; ++x) {
      const unsigned i =
          bits == 8 ? row[x] : bits == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15 : (row[x / 8] >> (7 - x % 8)) & 1;
      const RGBQUAD q = bits == 24 ? RGBQUAD{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0} : table[i];
      out.rgba.push_back(0xFF000000u | std::uint32_t(q.rgbBlue) << 16 | std::uint32_t(q.rgbGreen) << 8 | q.rgbRed);
    }
  }
  GlobalUnlock(h);
  return out;
}

long differences(const Pixels &a, const Pixels &b) {
  if (a.rgba.empty() || a.width != b.width || a.height != b.height || b.rgba.size() != a.rgba.size()) return -1;
  long n = 0;
  for (std::size_t i = 0; i < a.rgba.size(); ++i) n += a.rgba[i] != b.rgba[i];
  return n;
}

// ---- TIFF files through libtiff ----

namespace {
// In the order of Kind: name, bits, samples, photometric.
const struct {
  const char *name;
  std::uint16_t bits, samples, photometric;
} kKinds[] = {{"grey1", 1, 1, 1},    {"grey2", 2, 1, 1}, {"grey4", 4, 1, 1}, {"palette4", 4, 1, 3},
              {"palette8", 8, 1, 3}, {"grey8", 8, 1, 1}, {"rgb24", 8, 3, 2}};
}  // namespace

const char *kind_name(Kind k) { return kKinds[int(k)].name; }

SourceImage make_image(Kind kind, std::uint32_t width, std::uint32_t height, bool flat) {
  const auto &k = kKinds[int(kind)];
  SourceImage img{width, height, k.bits, k.samples, k.photometric, {}, {}, {}, {}};
  if (img.photometric == 3) {
    for (std::size_t i = 0; i < (std::size_t(1) << img.bits); ++i) {
      img.red.push_back(std::uint16_t(((i * 37) % 256) * 257));
      img.green.push_back(std::uint16_t(((i * 91 + 40) % 256) * 257));
      img.blue.push_back(std::uint16_t(((255 - i * 13) % 256) * 257));
    }
  }
  const std::uint32_t max = (1u << img.bits) - 1;
  img.rows.assign(img.row_bytes() * height, 0);
  std::uint32_t seed = 12345;
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t *row = img.rows.data() + img.row_bytes() * y;
    for (std::uint32_t x = 0; x < width; ++x)
      for (std::uint32_t s = 0; s < img.samples; ++s) {
        seed = seed * 1103515245 + 12345;
        const std::uint32_t v = flat ? ((x / 50 + y / 3 + s) % (max + 1))
                                     : ((x * 7 + y * 3 + s * 50 + ((seed >> 16) % 5)) % (max + 1));
        const std::uint64_t bit = (std::uint64_t(x) * img.samples + s) * img.bits;
        if (img.bits == 8)
          row[bit / 8] = std::uint8_t(v);
        else
          row[bit / 8] = std::uint8_t(row[bit / 8] | (v << (8 - img.bits - int(bit % 8))));
      }
  }
  return img;
}

namespace {

struct TiffCloser {
  void operator()(TIFF *tif) const { TIFFClose(tif); }
};
using Tiff = std::unique_ptr<TIFF, TiffCloser>;
Tiff open_tiff(const std::string &path, const char *mode) { return Tiff(TIFFOpen(path.c_str(), mode)); }

// The tags of a contiguous image; every value is passed as a 32-bit integer, as varargs promote them.
void set_fields(TIFF *tif, std::uint32_t width, std::uint32_t height, std::uint32_t bits, std::uint32_t samples,
                std::uint32_t photometric, int compression, std::uint32_t rows_per_strip, bool lsb_first = false) {
  for (auto [tag, value] : {std::pair<ttag_t, std::uint32_t>{TIFFTAG_IMAGEWIDTH, width}, {TIFFTAG_IMAGELENGTH, height},
                            {TIFFTAG_BITSPERSAMPLE, bits}, {TIFFTAG_SAMPLESPERPIXEL, samples},
                            {TIFFTAG_PHOTOMETRIC, photometric}, {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG},
                            {TIFFTAG_COMPRESSION, compression},
                            {TIFFTAG_ROWSPERSTRIP, rows_per_strip ? rows_per_strip : height}})
    TIFFSetField(tif, tag, value);
  if (compression == COMPRESSION_CCITTFAX3) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 4);
  if (lsb_first) TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
}

bool write_directory(TIFF *tif, const SourceImage &img, std::uint32_t rows_per_strip, int compression, bool lsb_first) {
  set_fields(tif, img.width, img.height, img.bits, img.samples, img.photometric, compression, rows_per_strip,
             lsb_first);
  if (img.photometric == 3) TIFFSetField(tif, TIFFTAG_COLORMAP, img.red.data(), img.green.data(), img.blue.data());
  Bytes row(img.row_bytes());
  for (std::uint32_t y = 0; y < img.height; ++y) {
    std::memcpy(row.data(), img.rows.data() + img.row_bytes() * y, row.size());
    if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) return false;
  }
  return TIFFWriteDirectory(tif) != 0;
}

int libtiff_complaints = 0;
void count_complaint(const char *, const char *, va_list) { ++libtiff_complaints; }

}  // namespace

bool write_tiff(const std::string &path, const SourceImage &image, std::uint32_t rows_per_strip, int compression,
                bool lsb_first) {
  const Tiff tif = open_tiff(path, "w");
  return tif && write_directory(tif.get(), image, rows_per_strip, compression, lsb_first);
}

bool write_pages(const std::string &path, const std::vector<SourceImage> &images) {
  const Tiff tif = open_tiff(path, "w");
  return tif && std::all_of(images.begin(), images.end(),
                            [&](auto &img) { return write_directory(tif.get(), img, 0, 1, false); });
}

bool tiffcp(const std::string &options, const std::string &in, const std::string &out) {
  const std::string command = "tiffcp " + options + " '" + in + "' '" + out + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

Pixels libtiff_rgba(const std::string &path, int page) {
  Pixels out;
  TIFFSetWarningHandler(nullptr);
  const Tiff tif = open_tiff(path, "r");
  if (!tif || !TIFFSetDirectory(tif.get(), tdir_t(page))) return out;
  TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &out.width);
  TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &out.height);
  out.rgba.resize(std::size_t(out.width) * out.height);
  if (!TIFFReadRGBAImageOriented(tif.get(), out.width, out.height, out.rgba.data(), ORIENTATION_TOPLEFT, 0))
    out.rgba.clear();
  return out;
}

std::uint32_t RawTiff::get(std::size_t at, int n) const {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v |= std::uint32_t(f[at + std::size_t(big ? n - 1 - i : i)]) << (8 * i);
  return v;
}

void RawTiff::put(std::size_t at, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) f[at + std::size_t(big ? n - 1 - i : i)] = std::uint8_t(v >> (8 * i));
}

std::size_t RawTiff::directory(int page) const {
  std::size_t ifd = u32(4);
  for (int i = 0; i < page; ++i) ifd = u32(ifd + 2 + 12 * u16(ifd));
  return ifd;
}

std::size_t RawTiff::entry(std::uint16_t tag, int page) const {
  const std::size_t ifd = directory(page);
  for (std::uint32_t i = 0; i < u16(ifd); ++i)
    if (u16(ifd + 2 + 12 * i) == tag) return ifd + 2 + 12 * i;
  return 0;
}

// ---- bilevel pages and the CCITT decoders ----

long first_difference(const std::uint8_t *a, const std::uint8_t *b, std::uint32_t width) {
  for (std::uint32_t x = 0; x < width; ++x)
    if (white_at(a, x) != white_at(b, x)) return long(x);
  return -1;
}

Page make_page(const std::string &pattern, std::uint32_t w, std::uint32_t h, unsigned seed) {
  Page p(w, h);
  std::mt19937 rng(seed);
  auto pick = [&](std::uint32_t n) { return n ? std::uint32_t(rng() % n) : 0u; };
  if (pattern == "black") {
    std::fill(p.bits.begin(), p.bits.end(), 0);
  } else if (pattern == "alternate") {  // a change at every pixel, shifted by one each row
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = y & 1; x < w; x += 2) p.black(x, y);
  } else if (pattern == "noise") {
    for (std::uint32_t y = 0; y < h; ++y)
      for (std::uint32_t x = 0; x < w; ++x)
        if (rng() & 1) p.black(x, y);
  } else if (pattern == "blocks") {
    for (int i = 0; i < 12; ++i) {
      const std::uint32_t x0 = pick(w), y0 = pick(h), bw = 1 + pick(w), bh = 1 + pick(h / 2 + 1);
      for (std::uint32_t y = y0; y < y0 + bh; ++y)
        for (std::uint32_t x = x0; x < x0 + bw; ++x) p.black(x, y);
    }
  } else if (pattern == "text") {  // lines of 5 x 7 glyphs with word gaps
    for (std::uint32_t top = 2; top + 7 < h; top += 11)
      for (std::uint32_t left = 3; left + 5 < w; left += 6) {
        if (pick(7) == 0) continue;
        for (std::uint32_t y = 0; y < 7; ++y)
          for (std::uint32_t x = 0; x < 5; ++x)
            if (pick(5) < 2) p.black(left + x, top + y);
      }
  } else if (pattern == "drift") {  // bars whose edges move by -4..4 per row: every mode
    std::vector<long> edges;
    for (long x = long(pick(9)); x < long(w); x += 2 + long(pick(40))) edges.push_back(x);
    for (std::uint32_t y = 0; y < h; ++y) {
      for (std::size_t i = 0; i + 1 < edges.size(); i += 2)
        for (long x = std::max(edges[i], 0L); x < edges[i + 1]; ++x) p.black(std::uint32_t(x), y);
      for (auto &e : edges) e += long(pick(9)) - 4;
      std::sort(edges.begin(), edges.end());
    }
  }
  return p;
}

SourceImage bilevel_image(const Page &page) {
  SourceImage img;
  img.width = page.width;
  img.height = page.height;
  img.photometric = 0;
  img.rows.resize(page.bits.size());
  std::transform(page.bits.begin(), page.bits.end(), img.rows.begin(), [](std::uint8_t b) { return std::uint8_t(~b); });
  return img;
}

bool libtiff_bilevel(const std::string &path, LibtiffBilevel &out) {
  TIFFSetWarningHandler(count_complaint);
  TIFFSetErrorHandler(count_complaint);
  const Tiff owner = open_tiff(path, "r");
  TIFF *tif = owner.get();
  if (!tif) return false;
  std::uint16_t compression = 0, fill = 1, photometric = 0;
  for (auto [tag, value] : {std::pair{TIFFTAG_IMAGEWIDTH, &out.width}, {TIFFTAG_IMAGELENGTH, &out.height},
                            {TIFFTAG_ROWSPERSTRIP, &out.rows_per_strip}})
    TIFFGetFieldDefaulted(tif, tag, value);
  for (auto [tag, value] : {std::pair{TIFFTAG_COMPRESSION, &compression}, {TIFFTAG_FILLORDER, &fill},
                            {TIFFTAG_PHOTOMETRIC, &photometric}})
    TIFFGetFieldDefaulted(tif, tag, value);
  out.rows_per_strip = std::min(out.rows_per_strip, out.height);
  out.compression = compression;
  out.reverse = fill == FILLORDER_LSB2MSB;
  std::uint64_t *offsets = nullptr, *counts = nullptr;
  TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
  TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts);
  const Bytes file = read_file(path);
  bool ok = offsets && counts;
  for (std::uint32_t s = 0; ok && s < TIFFNumberOfStrips(tif); ++s) {
    ok = offsets[s] + counts[s] <= file.size();
    if (ok) out.strips.emplace_back(file.begin() + long(offsets[s]), file.begin() + long(offsets[s] + counts[s]));
  }
  for (std::uint32_t y = 0; ok && y < out.height; ++y) {
    Bytes row(std::size_t(TIFFScanlineSize(tif)));
    const int complaints = libtiff_complaints;
    ok = TIFFReadScanline(tif, row.data(), y, 0) == 1;
    out.doubtful.push_back(libtiff_complaints != complaints);
    row.resize((out.width + 7) / 8);
    if (photometric == PHOTOMETRIC_MINISWHITE)
      for (auto &b : row) b = std::uint8_t(~b);
    out.rows.push_back(std::move(row));
  }
  return ok;
}

LibtiffBilevel libtiff_decode(int compression, const Page &page, std::uint32_t rows_per_strip,
                              const std::vector<Bytes> &strips) {
  const std::string path = temp_dir() + "/encoded.tif";
  LibtiffBilevel out;
  Tiff tif = open_tiff(path, "w");
  if (!tif) return out;
  set_fields(tif.get(), page.width, page.height, 1, 1, PHOTOMETRIC_MINISWHITE, compression, rows_per_strip);
  for (std::size_t s = 0; s < strips.size(); ++s)
    if (TIFFWriteRawStrip(tif.get(), std::uint32_t(s), const_cast<std::uint8_t *>(strips[s].data()),
                          tmsize_t(strips[s].size())) < 0)
      return out;
  tif.reset();  // written out before libtiff reads it back
  libtiff_bilevel(path, out);
  return out;
}

Bytes libtiff_encode(int compression, const Page &page) {
  const std::string path = temp_dir() + "/libtiff-encode.tif";
  LibtiffBilevel read;
  if (write_tiff(path, bilevel_image(page), page.height, compression)) libtiff_bilevel(path, read);
  return read.strips.empty() ? Bytes{} : read.strips[0];
}

Decoded ccitt_decode_strips(int compression, std::uint32_t width, std::uint32_t height, std::uint32_t rows_per_strip,
                            const std::vector<Bytes> &strips, bool reverse, std::uint32_t capacity) {
  Decoded out;
  auto dec = ccitt_create(compression, width);
  if (!dec) return out;
  Bytes scratch(capacity);
  const Bytes *src = nullptr;
  std::size_t served = 0;
  ScratchInput in{.data = scratch.data(), .capacity = capacity, .reverse_bits = reverse,
                  .read = [&](std::uint8_t *dst, std::uint32_t n) {
                    const std::size_t k = std::min<std::size_t>(n, src->size() - served);
                    std::copy_n(src->begin() + long(served), k, dst);
                    served += k;
                    return std::uint32_t(k);
                  }};
  const std::size_t stride = (width + 7) / 8;
  for (std::uint32_t y = 0; y < height; ++y) {
    if (y % rows_per_strip == 0) {
      const std::size_t s = y / rows_per_strip;
      src = s < strips.size() ? &strips[s] : &strips.back();
      served = 0;
      in.reset();
      ccitt_reset(*dec);
    }
    Bytes row(stride + 1, 0x5A);
    out.status.push_back(ccitt_decode_row(*dec, in, row.data()));
    if (row[stride] != 0x5A) ADD_FAILURE() << "write past the row, row " << y;
    row.pop_back();
    out.rows.push_back(std::move(row));
  }
  return out;
}

void BitWriter::put(std::uint32_t bits, int length) {
  for (int i = length - 1; i >= 0; --i) {
    if (used == 8) {
      bytes.push_back(0);
      used = 0;
    }
    if ((bits >> i) & 1) bytes.back() |= std::uint8_t(0x80u >> used);
    ++used;
  }
}

}  // namespace grainwick::test
