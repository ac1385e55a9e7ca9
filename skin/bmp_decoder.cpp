#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <vector>

#include "skin/picture_decoding.h"

// Windows bitmaps: the core (OS/2) header and the info headers up to version 5; 1, 4, 8, 16, 24
// and 32 bits a pixel; uncompressed, bit fields, RLE8 and RLE4; rows bottom-up or top-down.
// Settled where the format leaves room:
// - Alpha is read only from the alpha mask of a bit-fields bitmap whose header has one (version
//   3 and later); every other bitmap, 32-bit ones included, is opaque.
// - A palette index beyond the palette is black; pixels an RLE bitmap skips take colour 0.
// - Every offset and size must stay inside the file, a palette may hold no more entries than the
//   bit depth can index, and an RLE run may not pass its row's end or the last row.
namespace qm {
namespace {

constexpr const char* kInvalid = "Bitmap image is not valid";

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV3HeaderSize = 56;

using Color = std::array<std::uint8_t, 4>;

struct Bytes {
  std::span<const std::uint8_t> data;

  std::uint32_t u16(std::size_t at) const { return data[at] | data[at + 1] << 8; }
  std::uint32_t u32(std::size_t at) const {
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
           static_cast<std::uint32_t>(data[at + 3]) << 24;
  }
};

// One colour channel of a bit-fields pixel, scaled to 8 bits.
class Channel {
 public:
  Channel() = default;
  explicit Channel(std::uint32_t mask)
      : mask_(mask), shift_(std::countr_zero(mask)), bits_(std::popcount(mask)) {}

  // A mask whose bits are not one unbroken run describes no channel.
  bool valid() const { return mask_ == 0 || ((mask_ >> shift_) & ((mask_ >> shift_) + 1)) == 0; }
  bool present() const { return mask_ != 0; }

  std::uint8_t value(std::uint32_t pixel) const {
    if (mask_ == 0) return 0;
    const std::uint64_t v = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return static_cast<std::uint8_t>(v >> (bits_ - 8));
    return static_cast<std::uint8_t>(v * 255 / ((std::uint64_t{1} << bits_) - 1));
  }

 private:
  std::uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool top_down = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = kRgb;
  std::array<Channel, 4> channels;  // red, green, blue, alpha
  std::vector<Color> palette;
  std::size_t pixel_offset = 0;
};

bool valid_depth(std::uint32_t bits, std::uint32_t compression, bool core) {
  if (core) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
  switch (compression) {
    case kRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitFields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

std::optional<BmpLayout> read_layout(Bytes in) {
  const std::size_t size = in.data.size();
  if (size < kFileHeaderSize + 4 || in.data[0] != 'B' || in.data[1] != 'M') return std::nullopt;
  const std::uint32_t header_size = in.u32(14);
  if (header_size != kCoreHeaderSize && header_size != kInfoHeaderSize && header_size != 52 &&
      header_size != kV3HeaderSize && header_size != 108 && header_size != 124) {
    return std::nullopt;
  }
  std::size_t table_offset = kFileHeaderSize + header_size;
  if (table_offset > size) return std::nullopt;

  const bool core = header_size == kCoreHeaderSize;
  BmpLayout layout;
  std::uint32_t colors_used = 0;
  if (core) {
    layout.width = in.u16(18);
    layout.height = in.u16(20);
    layout.bits = in.u16(24);
  } else {
    layout.width = static_cast<std::int32_t>(in.u32(18));
    const auto height = static_cast<std::int32_t>(in.u32(22));
    layout.top_down = height < 0;
    layout.height = height < 0 ? -static_cast<std::int64_t>(height) : height;
    layout.bits = in.u16(28);
    layout.compression = in.u32(30);
    colors_used = in.u32(46);
  }
  if (!valid_depth(layout.bits, layout.compression, core)) return std::nullopt;
  if (!decoding::size_allowed(layout.width, layout.height)) return std::nullopt;

  if (layout.compression == kBitFields) {
    // A version 1 header keeps its three masks just after it; later versions hold them.
    const std::size_t masks_at = header_size == kInfoHeaderSize ? table_offset : 54;
    if (header_size == kInfoHeaderSize) table_offset += 12;
    if (table_offset > size) return std::nullopt;
    for (int c = 0; c < 3; ++c) layout.channels[c] = Channel(in.u32(masks_at + 4 * c));
    if (header_size >= kV3HeaderSize) layout.channels[3] = Channel(in.u32(66));
  } else if (layout.bits == 16) {
    layout.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel()};
  } else if (layout.bits == 32) {
    layout.channels = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF), Channel()};
  }
  for (const Channel& channel : layout.channels) {
    if (!channel.valid()) return std::nullopt;
  }

  if (layout.bits <= 8) {
    const std::uint32_t most = 1u << layout.bits;
    const std::uint32_t count = colors_used == 0 ? most : colors_used;
    if (count > most) return std::nullopt;
    const std::size_t entry_size = core ? 3 : 4;
    if (count * entry_size > size - table_offset) return std::nullopt;
    layout.palette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = table_offset + i * entry_size;
      layout.palette[i] = {in.data[at + 2], in.data[at + 1], in.data[at], 0xFF};
    }
    table_offset += count * entry_size;
  }

  layout.pixel_offset = in.u32(10);
  if (layout.pixel_offset < table_offset || layout.pixel_offset >= size) return std::nullopt;
  return layout;
}

class PixelWriter {
 public:
  PixelWriter(Image& image, const BmpLayout& layout) : image_(image), layout_(layout) {}

  // Row y counts the file's rows, in the order they are stored.
  std::uint8_t* at(std::int64_t x, std::int64_t y) const {
    const auto row = layout_.top_down ? y : layout_.height - 1 - y;
    return image_.pixel(static_cast<int>(x), static_cast<int>(row));
  }
  bool indexed() const { return image_.layout == PixelLayout::Indexed; }
  void put_index(std::int64_t x, std::int64_t y, std::uint32_t index) const {
    if (indexed()) {
      *at(x, y) = static_cast<std::uint8_t>(index);
      return;
    }
    put(x, y, index < layout_.palette.size() ? layout_.palette[index] : Color{0, 0, 0, 0xFF});
  }
  void put(std::int64_t x, std::int64_t y, const Color& color) const {
    std::copy_n(color.begin(), image_.bytes_per_pixel(), at(x, y));
  }
  void put_fields(std::int64_t x, std::int64_t y, std::uint32_t pixel) const {
    const auto& c = layout_.channels;
    put(x, y,
        {c[0].value(pixel), c[1].value(pixel), c[2].value(pixel),
         c[3].present() ? c[3].value(pixel) : std::uint8_t{0xFF}});
  }

 private:
  Image& image_;
  const BmpLayout& layout_;
};

bool decode_rows(Bytes in, const BmpLayout& layout, const PixelWriter& out) {
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(layout.width) * layout.bits + 31) / 32 * 4;
  if (stride * layout.height > in.data.size() - layout.pixel_offset) return false;
  for (std::int64_t y = 0; y < layout.height; ++y) {
    const std::size_t row = layout.pixel_offset + y * stride;
    // Indices held as they are stored: the row as it is.
    if (layout.bits == 8 && out.indexed()) {
      std::copy_n(in.data.begin() + row, layout.width, out.at(0, y));
      continue;
    }
    for (std::int64_t x = 0; x < layout.width; ++x) {
      switch (layout.bits) {
        case 1:
          out.put_index(x, y, in.data[row + x / 8] >> (7 - x % 8) & 1);
          break;
        case 4:
          out.put_index(x, y, in.data[row + x / 2] >> (x % 2 == 0 ? 4 : 0) & 0xF);
          break;
        case 8:
          out.put_index(x, y, in.data[row + x]);
          break;
        case 16:
          out.put_fields(x, y, in.u16(row + x * 2));
          break;
        case 24: {
          const std::size_t at = row + x * 3;
          out.put(x, y, {in.data[at + 2], in.data[at + 1], in.data[at], 0xFF});
          break;
        }
        default:
          out.put_fields(x, y, in.u32(row + x * 4));
          break;
      }
    }
  }
  return true;
}

bool decode_rle(Bytes in, const BmpLayout& layout, const PixelWriter& out) {
  const bool rle8 = layout.compression == kRle8;
  const auto index_of = [&](std::uint8_t byte, std::int64_t i) -> std::uint32_t {
    if (rle8) return byte;
    return i % 2 == 0 ? byte >> 4 : byte & 0xF;
  };
  const std::size_t end = in.data.size();
  std::size_t pos = layout.pixel_offset;
  std::int64_t x = 0;
  std::int64_t y = 0;
  while (true) {
    // Data may end without its end-of-bitmap mark once every row is done.
    if (end - pos < 2) return y >= layout.height;
    const std::uint8_t count = in.data[pos];
    const std::uint8_t value = in.data[pos + 1];
    pos += 2;
    if (count > 0) {
      if (y >= layout.height || x + count > layout.width) return false;
      for (std::int64_t i = 0; i < count; ++i) out.put_index(x++, y, index_of(value, i));
      continue;
    }
    switch (value) {
      case 0:  // end of row
        if (y >= layout.height) return false;
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // move right and down
        if (end - pos < 2) return false;
        x += in.data[pos];
        y += in.data[pos + 1];
        pos += 2;
        if (x > layout.width || y > layout.height) return false;
        break;
      default: {  // a run of literal pixels, padded to a 16-bit boundary
        const std::size_t bytes = rle8 ? value : (value + 1) / 2;
        if (end - pos < bytes || y >= layout.height || x + value > layout.width) return false;
        for (std::int64_t i = 0; i < value; ++i) {
          out.put_index(x++, y, index_of(in.data[pos + (rle8 ? i : i / 2)], i));
        }
        pos += std::min(bytes + bytes % 2, end - pos);
        break;
      }
    }
  }
}

}  // namespace

PictureResult decode_bmp(std::span<const std::uint8_t> data, Holding holding) {
  const Bytes in{data};
  const std::optional<BmpLayout> layout = read_layout(in);
  if (!layout) return decoding::failure(kInvalid);
  PixelLayout pixels = PixelLayout::Rgba;
  if (holding == Holding::AsStored && layout->bits <= 8) pixels = PixelLayout::Indexed;
  if (holding == Holding::AsStored && layout->bits == 24) pixels = PixelLayout::Rgb;
  auto image = decoding::new_image(static_cast<int>(layout->width),
                                   static_cast<int>(layout->height), PictureFormat::Bmp, pixels);
  if (!image) return decoding::failure(kInvalid);
  // Indices past the palette stay black, as the table below them was made.
  for (std::size_t i = 0; i < layout->palette.size() && i < image->palette.size(); ++i) {
    const Color& c = layout->palette[i];
    image->palette[i] = 0xFF000000u | c[0] << 16 | c[1] << 8 | c[2];
  }

  const PixelWriter out(*image, *layout);
  bool decoded = false;
  if (layout->compression == kRle8 || layout->compression == kRle4) {
    for (std::int64_t y = 0; y < layout->height; ++y) {
      for (std::int64_t x = 0; x < layout->width; ++x) out.put_index(x, y, 0);
    }
    decoded = decode_rle(in, *layout, out);
  } else {
    decoded = decode_rows(in, *layout, out);
  }
  if (!decoded) return decoding::failure(kInvalid);
  return {std::move(image), {}};
}

}  // namespace qm
