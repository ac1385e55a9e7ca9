#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "skin/picture_decoding.h"

namespace qm {
namespace {

struct JpegErrorManager {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
};

void on_jpeg_error(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt or missing entropy data among them) are not shown; libjpeg decodes on.
void on_jpeg_message(j_common_ptr) {}

// Each scan of a progressive file is a pass over every block of the picture, and nothing in the
// format bounds their number: a small file of repeated scans keeps the decoder busy for minutes.
// libjpeg's progression for the grey and colour pictures taken here has 6 and 10 scans, and
// optimising encoders write a few dozen at most.
constexpr int kMaxScans = 100;

// libjpeg calls this while it reads the file, between the rows of each scan.
void limit_scans(j_common_ptr common) {
  auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
  if (cinfo->input_scan_number > kMaxScans) {
    ERREXIT4(cinfo, JERR_BAD_PROGRESSION, cinfo->Ss, cinfo->Se, cinfo->Ah, cinfo->Al);
  }
}

class JpegDecompressor {
 public:
  JpegDecompressor() {
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = on_jpeg_error;
    errors.manager.output_message = on_jpeg_message;
    cinfo.err = &errors.manager;
    progress.progress_monitor = limit_scans;
  }
  // Safe on a struct that jpeg_create_decompress never filled: it frees only what it finds.
  ~JpegDecompressor() { jpeg_destroy_decompress(&cinfo); }
  JpegDecompressor(const JpegDecompressor&) = delete;
  JpegDecompressor& operator=(const JpegDecompressor&) = delete;

  std::string message() const { return "JPEG error #" + std::to_string(errors.manager.msg_code); }

  jpeg_decompress_struct cinfo{};
  JpegErrorManager errors;
  jpeg_progress_mgr progress{};
};

// libjpeg reports errors by a long jump back into the function that called setjmp. The two
// functions below hold no object with a destructor, so the jump skips nothing that must run.

bool start_jpeg(j_decompress_ptr cinfo, JpegErrorManager* errors, jpeg_progress_mgr* progress,
                const std::uint8_t* data, std::size_t size, int components) {
  if (setjmp(errors->jump)) return false;
  jpeg_create_decompress(cinfo);
  // Creation clears every field but the error manager.
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  if (!decoding::size_allowed(cinfo->image_width, cinfo->image_height)) {
    ERREXIT1(cinfo, JERR_IMAGE_TOO_BIG, static_cast<unsigned>(decoding::kMaxSide));
  }
  cinfo->out_color_space = components == 3 ? JCS_RGB : JCS_EXT_RGBA;
  jpeg_start_decompress(cinfo);
  if (cinfo->output_components != components) ERREXIT(cinfo, JERR_CONVERSION_NOTIMPL);
  return true;
}

bool read_jpeg_rows(j_decompress_ptr cinfo, JpegErrorManager* errors, std::uint8_t* pixels,
                    std::size_t stride) {
  if (setjmp(errors->jump)) return false;
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = pixels + cinfo->output_scanline * stride;
    // Memory input never suspends; a call that gives no row would otherwise loop forever.
    if (jpeg_read_scanlines(cinfo, &row, 1) != 1) ERREXIT(cinfo, JERR_INPUT_EOF);
  }
  return true;
}

}  // namespace

PictureResult decode_jpeg(std::span<const std::uint8_t> data, Holding holding) {
  // A JPEG has no alpha: held as stored, it is RGB.
  const PixelLayout layout = holding == Holding::AsStored ? PixelLayout::Rgb : PixelLayout::Rgba;
  JpegDecompressor jpeg;
  if (!start_jpeg(&jpeg.cinfo, &jpeg.errors, &jpeg.progress, data.data(), data.size(),
                  layout == PixelLayout::Rgb ? 3 : 4)) {
    return decoding::failure(jpeg.message());
  }
  auto image =
      decoding::new_image(static_cast<int>(jpeg.cinfo.output_width),
                          static_cast<int>(jpeg.cinfo.output_height), PictureFormat::Jpeg, layout);
  if (!image) return decoding::failure("JPEG error #" + std::to_string(JERR_OUT_OF_MEMORY));
  if (!read_jpeg_rows(&jpeg.cinfo, &jpeg.errors, image->pixels.data(), image->stride())) {
    return decoding::failure(jpeg.message());
  }
  return {std::move(image), {}};
}

}  // namespace qm
