#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "skin/picture_decoding.h"

namespace qm {
namespace {

// Where libpng reads from, and where its error handler leaves the message before it jumps back.
struct PngSource {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t offset = 0;
  char message[160] = "";
};

void on_png_error(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

void read_png_bytes(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->offset) png_error(png, "Read Error");
  std::memcpy(out, source->data + source->offset, length);
  source->offset += length;
}

class PngReadStruct {
 public:
  explicit PngReadStruct(PngSource* source)
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, source, on_png_error, on_png_warning)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {
    if (png_) png_set_read_fn(png_, source, read_png_bytes);
  }
  ~PngReadStruct() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReadStruct(const PngReadStruct&) = delete;
  PngReadStruct& operator=(const PngReadStruct&) = delete;

  bool ready() const { return png_ && info_; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

// libpng reports errors by a long jump back into the function that called setjmp. The two
// functions below hold no object with a destructor, so the jump skips nothing that must run.

// Reads up to the image data and sets the transforms that give 8-bit RGBA rows of any colour
// type, bit depth, transparency chunk and interlacing; RGB rows instead, for a picture without
// alpha, when the caller holds pictures as stored.
bool read_png_header(png_structp png, png_infop info, Holding holding, png_uint_32* width,
                     png_uint_32* height, PixelLayout* layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, decoding::kMaxSide, decoding::kMaxSide);
  png_set_chunk_malloc_max(png, 8 << 20);
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (!decoding::size_allowed(*width, *height)) {
    png_error(png, "Image size exceeds user limit in IHDR");
  }

  const int color_type = png_get_color_type(png, info);
  const int bit_depth = png_get_bit_depth(png, info);
  const bool has_trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (color_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (color_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (has_trns) png_set_tRNS_to_alpha(png);
  if (bit_depth == 16) png_set_scale_16(png);
  if ((color_type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  const bool opaque = (color_type & PNG_COLOR_MASK_ALPHA) == 0 && !has_trns;
  *layout = opaque && holding == Holding::AsStored ? PixelLayout::Rgb : PixelLayout::Rgba;
  if (opaque && *layout == PixelLayout::Rgba) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  // The rows are sized for the layout's bytes a pixel; any other would write past them.
  const png_size_t bytes = *layout == PixelLayout::Rgb ? 3 : 4;
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(*width) * bytes) {
    png_error(png, "Unexpected row size after transforms");
  }
  return true;
}

bool read_png_rows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

PictureResult decode_png(std::span<const std::uint8_t> data, Holding holding) {
  PngSource source;
  source.data = data.data();
  source.size = data.size();
  PngReadStruct reader(&source);
  if (!reader.ready()) return decoding::failure("Out of Memory");

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  PixelLayout layout = PixelLayout::Rgba;
  if (!read_png_header(reader.png(), reader.info(), holding, &width, &height, &layout)) {
    return decoding::failure(source.message);
  }
  auto image = decoding::new_image(static_cast<int>(width), static_cast<int>(height),
                                   PictureFormat::Png, layout);
  std::vector<png_bytep> rows;
  try {
    rows.resize(height);
  } catch (const std::bad_alloc&) {
    image = nullptr;
  }
  if (!image) return decoding::failure("Out of Memory");
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image->pixel(0, static_cast<int>(y));
  if (!read_png_rows(reader.png(), rows.data())) return decoding::failure(source.message);
  return {std::move(image), {}};
}

}  // namespace qm
