#include "writer.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>

#include "ccitt_encode.h"
#include "fileio.h"
#include "options.h"
#include "platform/question.h"
#include "reader.h"
#include "row_fixups.h"
#include "tiff_tags.h"

namespace grainwick {

namespace {

constexpr std::size_t kBufferSize = 32768;
constexpr std::uint32_t kMaxStrips = 200;
constexpr std::uint64_t kStripTarget = 8096;
constexpr double kMetresPerInch = 0.0254000508001016;
constexpr std::uint32_t kDefaultDpi = 300;
constexpr std::uint32_t kMaxDpi = 0xFFFFFFFFu / 100;  // so that dpi × 100 fits the rational
constexpr std::uint64_t kStreamStep = 0x40000;

constexpr std::uint16_t kShort = 3, kLong = 4, kAscii = 2, kRational = 5;

// A locked, checked view of the DIB to write.
struct DibView {
  HGLOBAL handle = nullptr;
  const BITMAPINFOHEADER *header = nullptr;
  const RGBQUAD *table = nullptr;
  const std::uint8_t *pixels = nullptr;
  std::uint32_t width = 0, height = 0, colours = 0;
  int bits = 0;
  std::size_t stride = 0;

  ~DibView() {
    if (header) GlobalUnlock(handle);
  }
  const std::uint8_t *image_row(std::uint32_t y) const {
    return pixels + std::size_t(height - 1 - y) * stride;
  }
};

// False for a handle that cannot be locked or does not hold a bottom-up, uncompressed DIB of 1, 4,
// 8 or 24 bits whose rows fit the block.
bool view_dib(HGLOBAL dib, DibView &v) {
  if (!dib) return false;
  auto *h = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
  if (!h) return false;
  v.handle = dib;
  v.header = h;
  const std::size_t size = GlobalSize(dib);
  if (size < sizeof(BITMAPINFOHEADER) || h->biSize != 40 || h->biCompression != 0 || h->biWidth <= 0 ||
      h->biHeight <= 0 || h->biPlanes != 1)
    return false;
  v.bits = h->biBitCount;
  if (v.bits != 1 && v.bits != 4 && v.bits != 8 && v.bits != 24) return false;
  std::uint32_t full = v.bits <= 8 ? 1u << v.bits : 0;
  v.colours = v.bits <= 8 ? (h->biClrUsed ? h->biClrUsed : full) : 0;
  if (v.colours > full) return false;
  v.width = std::uint32_t(h->biWidth);
  v.height = std::uint32_t(h->biHeight);
  v.stride = dib_stride(v.width, v.bits);
  const std::uint64_t need = 40 + 4ull * v.colours + std::uint64_t(v.stride) * v.height;
  if (need > size) return false;
  v.table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const std::uint8_t *>(h) + 40);
  v.pixels = reinterpret_cast<const std::uint8_t *>(h) + 40 + 4 * std::size_t(v.colours);
  return true;
}

bool is_on(const std::optional<std::string> &v) {
  return v && (*v == "ON" || *v == "YES");
}

// Compression tag value from the options (see the option table of the library's notes).
int choose_compression(HGLOBAL options, int bits) {
  if (options_get(options, "COMPRESS") != std::optional<std::string>("ON")) return 1;
  auto name = options_get(options, "TIFF_COMPRESS");
  if (bits == 1) {
    if (!name) return 32773;
    if (*name == "MODCCITT") return 2;
    if (*name == "GROUP3") return 3;
    if (*name == "GROUP4") return 4;
    if (*name == "LZW") return 5;
    return 32773;
  }
  if (name == std::optional<std::string>("LZW")) return 5;
  if (name == std::optional<std::string>("PACKBITS")) return 32773;
  return 1;
}

std::uint32_t choose_dpi(HGLOBAL options, const char *key, LONG pels_per_metre) {
  std::uint64_t dpi = 0;
  if (auto given = options_get_number(options, key))
    dpi = std::uint64_t(*given);
  else if (pels_per_metre > 0)
    dpi = std::uint64_t(pels_per_metre * kMetresPerInch + 0.5);
  if (dpi == 0) dpi = kDefaultDpi;
  return std::uint32_t(std::min<std::uint64_t>(dpi, kMaxDpi));
}

// Directory entries, their values already in the file's byte order.
class Directory {
 public:
  explicit Directory(bool big) : big_(big) {}

  void add_shorts(std::uint16_t tag, const std::vector<std::uint32_t> &values) {
    Entry e{tag, kShort, std::uint32_t(values.size()), {}};
    for (auto v : values) put16(e.data, std::uint16_t(v));
    entries_.push_back(std::move(e));
  }
  void add_longs(std::uint16_t tag, const std::vector<std::uint32_t> &values) {
    Entry e{tag, kLong, std::uint32_t(values.size()), {}};
    for (auto v : values) put32(e.data, v);
    entries_.push_back(std::move(e));
  }
  // SHORT when the value fits, LONG otherwise (widths and heights above 65535).
  void add_count(std::uint16_t tag, std::uint32_t value) {
    if (value <= 0xFFFF)
      add_shorts(tag, {value});
    else
      add_longs(tag, {value});
  }
  void add_rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
    Entry e{tag, kRational, 1, {}};
    put32(e.data, numerator);
    put32(e.data, denominator);
    entries_.push_back(std::move(e));
  }
  void add_ascii(std::uint16_t tag, const std::string &text) {
    Entry e{tag, kAscii, std::uint32_t(text.size() + 1), {text.begin(), text.end()}};
    e.data.push_back(0);
    entries_.push_back(std::move(e));
  }

  // Arrays first (each at an even offset), then the directory itself; `start` is the (even)
  // file position where `out` will be written. Returns the directory's offset.
  std::uint32_t serialise(std::uint64_t start, std::vector<std::uint8_t> &out) const {
    std::vector<std::uint32_t> where(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (entries_[i].data.size() <= 4) continue;
      where[i] = std::uint32_t(start + out.size());
      out.insert(out.end(), entries_[i].data.begin(), entries_[i].data.end());
      if ((start + out.size()) & 1) out.push_back(0);
    }
    const std::uint32_t offset = std::uint32_t(start + out.size());
    put16(out, std::uint16_t(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const Entry &e = entries_[i];
      put16(out, e.tag);
      put16(out, e.type);
      put32(out, e.count);
      if (e.data.size() <= 4) {
        std::uint8_t value[4] = {0, 0, 0, 0};
        std::memcpy(value, e.data.data(), e.data.size());
        out.insert(out.end(), value, value + 4);
      } else {
        put32(out, where[i]);
      }
    }
    put32(out, 0);
    return offset;
  }

  std::size_t size() const { return entries_.size(); }
  void put16(std::vector<std::uint8_t> &out, std::uint16_t v) const {
    if (big_)
      out.insert(out.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
    else
      out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
  }
  void put32(std::vector<std::uint8_t> &out, std::uint32_t v) const {
    if (big_)
      out.insert(out.end(),
                 {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
    else
      out.insert(out.end(),
                 {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
  }

 private:
  struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count;
    std::vector<std::uint8_t> data;
  };
  bool big_;
  std::vector<Entry> entries_;
};

std::uint8_t reverse_bits(std::uint8_t b) {
  b = std::uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = std::uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return std::uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// One image into an open file positioned where it goes.
class ImageWriter {
 public:
  ImageWriter(FileObject &file, bool big, std::uint64_t link, const DibView &dib, HGLOBAL options,
              GrainwickProgress progress)
      : file_(file), big_(big), link_(link), dib_(dib), options_(options), progress_(progress) {}

  int write(bool new_file);

 private:
  bool flush();
  bool write_directory();
  void prepare_row(std::uint32_t y, std::uint8_t *out) const;

  FileObject &file_;
  bool big_;
  std::uint64_t link_;
  const DibView &dib_;
  HGLOBAL options_;
  GrainwickProgress progress_;

  int compression_ = 1;
  bool fill_order_2_ = false;
  bool invert_ = false;
  std::uint32_t row_bytes_ = 0, rows_per_strip_ = 0, strips_ = 0;
  BitSink sink_;
  std::vector<std::uint32_t> offsets_, counts_;
  std::uint8_t reversed_[256];
};

// Complete bytes of the sink go to the file; a partial byte stays pending in the sink.
bool ImageWriter::flush() {
  if (sink_.bytes.empty()) return true;
  if (fill_order_2_)
    for (auto &b : sink_.bytes) b = reversed_[b];
  bool ok = file_.write(sink_.bytes.data(), std::uint32_t(sink_.bytes.size()));
  sink_.bytes.clear();
  return ok;
}

// Image row `y` (from the top) as the file stores it: red-green-blue for 24 bits, and bit 1
// white for bilevel images.
void ImageWriter::prepare_row(std::uint32_t y, std::uint8_t *out) const {
  RowFixups f;
  f.swap_rgb = dib_.bits == 24;
  f.invert = invert_;
  fix_copy(out, dib_.image_row(y), row_bytes_, f);
}

int ImageWriter::write(bool new_file) {
  const int bits = dib_.bits;
  row_bytes_ = std::uint32_t((std::uint64_t(dib_.width) * bits + 7) / 8);
  compression_ = choose_compression(options_, bits);
  fill_order_2_ = bits == 1 && options_get(options_, "TIFF_FILLORDER").has_value();
  for (int i = 0; i < 256; ++i) reversed_[i] = reverse_bits(std::uint8_t(i));
  // Bilevel files say bit 1 is white; a DIB whose entry 0 is the lighter one is turned over.
  if (bits == 1 && dib_.colours == 2) {
    auto luma = [](const RGBQUAD &q) { return 30 * q.rgbRed + 59 * q.rgbGreen + 11 * q.rgbBlue; };
    invert_ = luma(dib_.table[0]) > luma(dib_.table[1]);
  }

  const std::uint32_t height = dib_.height;
  if (auto given = options_get_number(options_, "TIFF_ROWSPERSTRIP")) {
    // 0 (or no digits) is taken as one row per strip; more rows than the image holds, as one strip.
    rows_per_strip_ = std::uint32_t(std::clamp<long>(*given, 1, long(height)));
  } else {
    std::uint64_t strips = std::min<std::uint64_t>(
        kMaxStrips, (std::uint64_t(row_bytes_) * height + kStripTarget - 1) / kStripTarget);
    strips = std::max<std::uint64_t>(strips, 1);
    rows_per_strip_ = std::uint32_t((height + strips - 1) / strips);
  }
  strips_ = (height + rows_per_strip_ - 1) / rows_per_strip_;

  CcittEncoderPtr ccitt;
  if (compression_ >= 2 && compression_ <= 4) {
    ccitt = ccitt_encoder_create(compression_, dib_.width);
    if (!ccitt) return kWriteFailed;
  }
  std::unique_ptr<LzwEncoder> lzw;
  if (compression_ == 5) lzw = std::make_unique<LzwEncoder>();

  if (new_file) {
    const std::uint8_t header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
    if (!file_.write(header, 8)) return kWriteFailed;
  } else if (file_.tell() & 1) {
    const std::uint8_t zero = 0;
    if (!file_.write(&zero, 1)) return kWriteFailed;
  }

  sink_.bytes.reserve(kBufferSize);
  std::vector<std::uint8_t> row(std::size_t(row_bytes_) + 4);
  const std::uint64_t total = std::uint64_t(dib_.stride) * height, step = total / 20;
  std::uint64_t counter = 0, done = 0;
  const std::size_t keep_free = 6 * std::size_t(row_bytes_);

  for (std::uint32_t y = 0; y < height; ++y) {
    if (y % rows_per_strip_ == 0) {
      if (file_.tell() > 0xFFFFFFFFull) return kWriteFailed;  // offsets are 32-bit
      offsets_.push_back(std::uint32_t(file_.tell()));
      if (ccitt) ccitt_encoder_start_strip(*ccitt, sink_, compression_ == 3);
      if (lzw) lzw->start_strip(sink_);
    } else if (kBufferSize - std::min(kBufferSize, sink_.bytes.size()) < keep_free) {
      // Mid-strip: complete bytes go out, the partial byte stays pending in the sink.
      if (!flush()) return kWriteFailed;
    }

    prepare_row(y, row.data());
    switch (compression_) {
      case 1:
        // Nothing to pack: the row goes out as it is (bit-reversed for FillOrder 2).
        if (fill_order_2_)
          for (std::uint32_t i = 0; i < row_bytes_; ++i) row[i] = reversed_[row[i]];
        if (!file_.write(row.data(), row_bytes_)) return kWriteFailed;
        break;
      case 5:
        lzw->encode_row(row.data(), row_bytes_, sink_);
        break;
      case 32773:
        packbits_encode_row(row.data(), row_bytes_, sink_.bytes);
        break;
      default:
        ccitt_encode_row(*ccitt, row.data(), sink_);
        break;
    }

    const bool strip_end = (y + 1) % rows_per_strip_ == 0 || y + 1 == height;
    if (strip_end) {
      if (lzw) lzw->end_strip(sink_);
      if (ccitt) {
        ccitt_encoder_end_strip(*ccitt, sink_);
        if (y + 1 == height) ccitt_encoder_finish(*ccitt, sink_);
      }
      sink_.align();
      if (!flush()) return kWriteFailed;
      counts_.push_back(std::uint32_t(file_.tell() - offsets_.back()));
    }

    if (progress_ && step) {
      counter += dib_.stride;
      if (counter > step) {
        done = std::min(total, done + counter);
        counter %= step;
        if (progress_(int16_t(done * 100 / total)) == 0) return kWriteCancelled;
      }
    }
  }
  if (progress_ && progress_(100) == 0) return kWriteCancelled;
  return write_directory() ? kWriteOk : kWriteFailed;
}

bool ImageWriter::write_directory() {
  const int bits = dib_.bits;
  Directory dir(big_);
  dir.add_longs(kTagNewSubfileType, {0});
  dir.add_count(kTagImageWidth, dib_.width);
  dir.add_count(kTagImageLength, dib_.height);
  if (bits == 24)
    dir.add_shorts(kTagBitsPerSample, {8, 8, 8});
  else
    dir.add_shorts(kTagBitsPerSample, {std::uint32_t(bits)});
  dir.add_shorts(kTagCompression, {std::uint32_t(compression_)});
  // Bilevel: BlackIsZero, but WhiteIsZero for every CCITT scheme, whose codes name white runs.
  std::uint32_t photometric = bits == 1 ? 1 : bits == 24 ? 2 : 3;
  if (compression_ >= 2 && compression_ <= 4) photometric = 0;
  dir.add_shorts(kTagPhotometric, {photometric});
  if (fill_order_2_) dir.add_shorts(kTagFillOrder, {2});
  dir.add_longs(kTagStripOffsets, offsets_);
  dir.add_shorts(kTagSamplesPerPixel, {bits == 24 ? 3u : 1u});
  dir.add_count(kTagRowsPerStrip, rows_per_strip_);
  dir.add_longs(kTagStripByteCounts, counts_);
  const std::uint32_t xdpi = choose_dpi(options_, "TIFF_XRES", dib_.header->biXPelsPerMeter);
  const std::uint32_t ydpi = choose_dpi(options_, "TIFF_YRES", dib_.header->biYPelsPerMeter);
  dir.add_rational(kTagXResolution, xdpi * 100, 100);
  dir.add_rational(kTagYResolution, ydpi * 100, 100);
  if (compression_ == 3) dir.add_longs(kTagT4Options, {4});
  dir.add_shorts(kTagResolutionUnit, {2});
  dir.add_ascii(kTagSoftware, kSoftwareName);
  if (auto artist = options_get(options_, "TIFF_ARTIST")) dir.add_ascii(kTagArtist, *artist);
  if (bits == 4 || bits == 8) {
    const std::uint32_t n = 1u << bits;
    std::vector<std::uint32_t> map(3 * n, 0);
    for (std::uint32_t i = 0; i < dib_.colours; ++i) {
      map[i] = dib_.table[i].rgbRed * 65535u / 255;
      map[n + i] = dib_.table[i].rgbGreen * 65535u / 255;
      map[2 * n + i] = dib_.table[i].rgbBlue * 65535u / 255;
    }
    dir.add_shorts(kTagColorMap, map);
  }
  if (auto copyright = options_get(options_, "TIFF_COPYRIGHT")) dir.add_ascii(kTagCopyright, *copyright);

  std::uint64_t start = file_.tell();
  std::vector<std::uint8_t> out;
  if (start & 1) out.push_back(0);
  const std::uint32_t offset = dir.serialise(start, out);
  if (start + out.size() > 0xFFFFFFFFull) return false;
  if (!file_.write(out.data(), std::uint32_t(out.size()))) return false;
  std::vector<std::uint8_t> link;
  dir.put32(link, offset);
  return file_.seek(std::int64_t(link_)) && file_.write(link.data(), 4);
}

// Appending: the file's byte order and the place of its last directory's next-directory field.
// Whether patching the 4 bytes at `link` would overwrite the header or another directory of
// the chain (a damaged file can point a directory into the header or into another one; the
// patch would then break the images already there).
bool link_overlaps(FileObject &file, const TiffHeader &header, std::uint64_t link) {
  if (link < 8) return true;
  std::uint32_t offset = header.first_directory;
  for (int guard = 0; offset != 0 && guard < 100000; ++guard) {
    std::uint8_t raw[4];
    if (!file.seek(offset) || file.read(raw, 2) != 2) return true;
    const std::uint32_t count = header.big_endian ? raw[0] << 8 | raw[1] : raw[1] << 8 | raw[0];
    const std::uint64_t end = std::uint64_t(offset) + 2 + 12ull * count;  // its own link field follows
    if (end != link && link < end + 4 && link + 4 > offset) return true;
    // Nor the values an entry keeps outside the directory (arrays, rationals, texts).
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint8_t e[12];
      if (!file.seek(std::int64_t(offset + 2 + 12ull * i)) || file.read(e, 12) != 12) return true;
      auto u16 = [&](int at) {
        return std::uint32_t(header.big_endian ? e[at] << 8 | e[at + 1] : e[at + 1] << 8 | e[at]);
      };
      auto u32 = [&](int at) {
        return header.big_endian ? std::uint32_t(e[at]) << 24 | e[at + 1] << 16 | e[at + 2] << 8 | e[at + 3]
                                 : std::uint32_t(e[at + 3]) << 24 | e[at + 2] << 16 | e[at + 1] << 8 | e[at];
      };
      static constexpr std::uint8_t kSize[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
      const std::uint32_t type = u16(2);
      const std::uint64_t bytes = std::uint64_t(type < 13 ? kSize[type] : 0) * u32(4);
      const std::uint64_t at = u32(8);
      if (bytes > 4 && link < at + bytes && link + 4 > at) return true;
    }
    if (!file.seek(std::int64_t(end)) || file.read(raw, 4) != 4) return true;
    offset = header.big_endian ? std::uint32_t(raw[0]) << 24 | raw[1] << 16 | raw[2] << 8 | raw[3]
                               : std::uint32_t(raw[3]) << 24 | raw[2] << 16 | raw[1] << 8 | raw[0];
    if (end == link) break;
  }
  return false;
}

int prepare_append(FileObject &file, bool &big, std::uint64_t &link) {
  TiffHeader header;
  Status status = read_tiff_header(file, header);
  if (status != Status::kOk) return kWriteFailed;
  if (last_directory_link(file, header, link) != Status::kOk) return kWriteFailed;
  if (link_overlaps(file, header, link)) return kWriteFailed;
  big = header.big_endian;
  return file.seek(0, Seek::end) ? kWriteOk : kWriteFailed;
}

std::string temporary_name(const std::string &name) {
  static std::atomic<unsigned> counter{0};
  for (;;) {
    std::string candidate = name + ".gw" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    if (!file_exists(candidate)) return candidate;
  }
}

// Whether an existing target may be replaced, as "OVERWRITE" says.
bool may_overwrite(HGLOBAL options, const std::string &name, HWND owner) {
  auto policy = options_get(options, "OVERWRITE");
  if (policy == std::optional<std::string>("ON")) return true;
  if (policy != std::optional<std::string>("PROMPT")) return false;
  std::string text = name + "\r\nFile exists. Do you want to overwrite it?";
  return AskYesNo(owner, "File Conflict", text.c_str()) != IDNO;
}

}  // namespace

int write_tiff_file(const std::string &given, HGLOBAL dib, HGLOBAL options, GrainwickProgress progress,
                    HWND owner) {
  DibView view;
  if (!view_dib(dib, view)) return kWriteFailed;

  std::string name = given;
  if (name.empty()) name = options_get(options, "FILENAME").value_or("junk.jnk");
  if (name.empty()) name = "junk.jnk";
  if (name.find('\\') == std::string::npos && name.find(':') == std::string::npos)
    if (auto path = options_get(options, "PATH")) name = *path + name;

  const bool exists = file_exists(name);
  if (is_on(options_get(options, "APPEND")) && exists) {
    auto file = FileObject::open_disk(name, OpenMode::read_write);
    if (!file) return kWriteFailed;
    bool big = false;
    std::uint64_t link = 0;
    // Checked before a byte is written: a file that is not TIFF stays as it was.
    if (prepare_append(*file, big, link) != kWriteOk) return kWriteFailed;
    const std::uint64_t old_size = file->tell();
    int status = ImageWriter(*file, big, link, view, options, progress).write(false);
    file.reset();
    if (status != kWriteOk && ::truncate(name.c_str(), off_t(old_size)) != 0) return kWriteFailed;
    return status;
  }
  if (exists && !is_on(options_get(options, "APPEND")) && !may_overwrite(options, name, owner))
    return kWriteFailed;

  // Written aside and renamed at the end, so that a failure leaves the old file (if any) alone.
  const std::string temp = temporary_name(name);
  auto file = FileObject::open_disk(temp, OpenMode::write_new);
  if (!file) return kWriteFailed;
  int status = ImageWriter(*file, false, 4, view, options, progress).write(true);
  file.reset();
  if (status == kWriteOk && std::rename(temp.c_str(), name.c_str()) != 0) status = kWriteFailed;
  if (status != kWriteOk) ::unlink(temp.c_str());
  return status;
}

namespace {

std::uint64_t whole_steps(std::uint64_t n) {
  return std::max<std::uint64_t>(kStreamStep, (n + kStreamStep - 1) / kStreamStep * kStreamStep);
}

// Room for the stream before writing, so that it is not grown step by step: the old content plus
// the image's raw size and its directory. Compressed images usually need less; the caller's
// block is trimmed afterwards to whole steps.
std::uint64_t stream_estimate(std::uint64_t have, const DibView &view) {
  const std::uint64_t raw = (std::uint64_t(view.width) * view.bits + 7) / 8 * view.height;
  return have + raw + 4096 + 8 * 200 + 2 * 3 * 256;
}

// Grows without zeroing: pages are touched only when written.
void reserve_stream(HGLOBAL block, std::uint64_t want) {
  if (want <= 0xFFFFFFFFull && GlobalSize(block) < want) GlobalReAlloc(block, SIZE_T(want), GMEM_MOVEABLE);
}

// Writes into `block` from `start` (the length of the old stream when appending).
int write_into(HGLOBAL block, std::uint32_t start, bool append, std::uint32_t &made, const DibView &view,
               HGLOBAL options, GrainwickProgress progress) {
  auto file = FileObject::open_stream(block, start, true);
  if (!file) return kWriteFailed;
  bool big = false;
  std::uint64_t link = 4;
  int status = append ? prepare_append(*file, big, link) : kWriteOk;
  if (status == kWriteOk) status = ImageWriter(*file, big, link, view, options, progress).write(!append);
  made = file->stream_length();
  return status;
}

}  // namespace

int write_tiff_stream(HGLOBAL block, std::uint32_t &length, HGLOBAL dib, HGLOBAL options,
                      GrainwickProgress progress, HWND owner, bool scratch) {
  if (!block) return kWriteFailed;
  DibView view;
  if (!view_dib(dib, view)) return kWriteFailed;
  const std::uint32_t have = std::uint32_t(std::min<std::uint64_t>(length, GlobalSize(block)));
  const bool append = is_on(options_get(options, "APPEND")) && have > 0;
  if (!append && have > 0 && !may_overwrite(options, "(memory stream)", owner)) return kWriteFailed;

  std::uint32_t made = 0;
  if (scratch) {
    reserve_stream(block, whole_steps(stream_estimate(append ? have : 0, view)));
    int status = write_into(block, append ? have : 0, append, made, view, options, progress);
    if (status == kWriteOk) {
      if (GlobalSize(block) != whole_steps(made))
        GlobalReAlloc(block, SIZE_T(whole_steps(made)), GMEM_MOVEABLE);
      length = made;
    }
    return status;
  }

  // The new stream is built in a block of its own; the caller's block changes only on success.
  // Internal, so sized to the estimate rather than in whole steps.
  const std::uint64_t estimate = stream_estimate(append ? have : 0, view);
  if (estimate > 0xFFFFFFFFull) return kWriteFailed;
  HGLOBAL work = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(estimate));
  if (!work) return kWriteFailed;
  int status = kWriteFailed;
  bool copied = !append;
  if (append && GlobalSize(work) >= have) {
    auto *dst = static_cast<std::uint8_t *>(GlobalLock(work));
    auto *src = static_cast<const std::uint8_t *>(GlobalLock(block));
    std::memcpy(dst, src, have);
    GlobalUnlock(block);
    GlobalUnlock(work);
    copied = true;
  }
  if (copied) status = write_into(work, append ? have : 0, append, made, view, options, progress);
  if (status == kWriteOk) {
    if (GlobalSize(block) < made &&
        !GlobalReAlloc(block, SIZE_T(whole_steps(made)), GMEM_MOVEABLE | GMEM_ZEROINIT)) {
      status = kWriteFailed;
    } else {
      auto *dst = static_cast<std::uint8_t *>(GlobalLock(block));
      auto *src = static_cast<const std::uint8_t *>(GlobalLock(work));
      std::memcpy(dst, src, made);
      length = made;
      GlobalUnlock(work);
      GlobalUnlock(block);
    }
  }
  GlobalFree(work);
  return status;
}

}  // namespace grainwick
