#include "tests/skin/picture_writers.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace qm::testing {
namespace {

// A writer that fails has been given an impossible spec: stop the test program at once.
void abort_on_png_error(png_structp, png_const_charp message) {
  std::fprintf(stderr, "png writer: %s\n", message);
  std::abort();
}

void append_png_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void abort_on_jpeg_error(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  std::abort();
}

int png_channels(int color_type) {
  switch (color_type) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

void put_le(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> write_png(const PngSpec& spec) {
  const int channels = png_channels(spec.color_type);
  const std::size_t row_bytes =
      (static_cast<std::size_t>(spec.width) * channels * spec.bit_depth + 7) / 8;
  std::vector<std::vector<png_byte>> rows(spec.height, std::vector<png_byte>(row_bytes));
  for (int y = 0; y < spec.height; ++y) {
    for (int i = 0; i < spec.width * channels; ++i) {
      const std::uint16_t v =
          spec.samples.at(static_cast<std::size_t>(y) * spec.width * channels + i);
      png_byte* row = rows[y].data();
      if (spec.bit_depth == 16) {
        row[2 * i] = static_cast<png_byte>(v >> 8);
        row[2 * i + 1] = static_cast<png_byte>(v);
      } else if (spec.bit_depth == 8) {
        row[i] = static_cast<png_byte>(v);
      } else {
        const int per_byte = 8 / spec.bit_depth;
        const int shift = 8 - spec.bit_depth * (i % per_byte + 1);
        row[i / per_byte] |= static_cast<png_byte>(v << shift);
      }
    }
  }
  std::vector<png_bytep> row_pointers;
  for (auto& row : rows) row_pointers.push_back(row.data());

  std::vector<std::uint8_t> out;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, abort_on_png_error, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, append_png_bytes, nullptr);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bit_depth, spec.color_type,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const auto& c : spec.palette) palette.push_back({c[0], c[1], c[2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!spec.palette_alpha.empty()) {
    png_set_tRNS(png, info, spec.palette_alpha.data(), static_cast<int>(spec.palette_alpha.size()),
                 nullptr);
  }
  if (spec.transparent_color) {
    const auto& c = *spec.transparent_color;
    png_color_16 color{0, c[0], c[1], c[2], c[0]};
    png_set_tRNS(png, info, nullptr, 0, &color);
  }
  png_set_rows(png, info, row_pointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<std::uint8_t> write_jpeg(const JpegSpec& spec) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  errors.error_exit = abort_on_jpeg_error;
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = spec.width;
  cinfo.image_height = spec.height;
  cinfo.input_components = spec.components;
  cinfo.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, spec.quality, TRUE);
  if (spec.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t stride = static_cast<std::size_t>(spec.width) * spec.components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(spec.samples.data() + cinfo.next_scanline * stride);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> write_bmp(const BmpSpec& spec) {
  const bool core = spec.header_size == 12;
  const bool masks_after_header = spec.header_size == 40 && spec.compression == 3;
  const std::size_t palette_bytes = spec.palette.size() * (core ? 3 : 4);
  const std::uint32_t pixel_offset = static_cast<std::uint32_t>(
      14 + spec.header_size + (masks_after_header ? 12 : 0) + palette_bytes);

  std::vector<std::uint8_t> out{'B', 'M'};
  put_le(out, static_cast<std::uint32_t>(pixel_offset + spec.pixels.size()), 4);
  put_le(out, 0, 4);
  put_le(out, pixel_offset, 4);
  put_le(out, spec.header_size, 4);
  if (core) {
    put_le(out, static_cast<std::uint32_t>(spec.width), 2);
    put_le(out, static_cast<std::uint32_t>(spec.height), 2);
    put_le(out, 1, 2);
    put_le(out, spec.bits, 2);
  } else {
    put_le(out, static_cast<std::uint32_t>(spec.width), 4);
    put_le(out, static_cast<std::uint32_t>(spec.height), 4);
    put_le(out, 1, 2);
    put_le(out, spec.bits, 2);
    put_le(out, spec.compression, 4);
    put_le(out, static_cast<std::uint32_t>(spec.pixels.size()), 4);
    put_le(out, 2835, 4);
    put_le(out, 2835, 4);
    put_le(out, spec.colors_used, 4);
    put_le(out, 0, 4);
    for (std::size_t i = 0; i < 4 && out.size() < 14 + spec.header_size; ++i) {
      put_le(out, spec.masks[i], 4);
    }
    out.resize(14 + spec.header_size, 0);
    if (masks_after_header) {
      for (std::size_t i = 0; i < 3; ++i) put_le(out, spec.masks[i], 4);
    }
  }
  for (const auto& c : spec.palette) {
    out.insert(out.end(), {c[2], c[1], c[0]});
    if (!core) out.push_back(0);
  }
  out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
  return out;
}

std::vector<std::uint8_t> pack_bmp_rows(int bits,
                                        const std::vector<std::vector<std::uint32_t>>& rows) {
  std::vector<std::uint8_t> out;
  for (const auto& row : rows) {
    std::vector<std::uint8_t> bytes((row.size() * bits + 31) / 32 * 4, 0);
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (bits < 8) {
        const std::size_t bit = x * bits;
        bytes[bit / 8] |= static_cast<std::uint8_t>(row[x] << (8 - bits - bit % 8));
      } else {
        for (int b = 0; b < bits / 8; ++b) {
          bytes[x * (bits / 8) + b] = static_cast<std::uint8_t>(row[x] >> (8 * b));
        }
      }
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

}  // namespace qm::testing
