#pragma once

#include <filesystem>
#include <vector>

#include "lcd/image.h"
#include "skin/picture_file.h"

namespace qm {

// A picture drawn finer for screens of more than one device pixel per logical pixel lies beside
// its file as name@2x or name@3x, in any picture format the program reads.
struct VariantFile {
  std::filesystem::path path;
  int scale = 1;
};

// The finer files that exist beside `file`, best first for the ratio: the smallest scale at or
// above it, then larger ones, then smaller ones from the largest down; within a scale PNG before
// JPEG before BMP. Each name is found as the picture's own is, a name that differs only in the case
// of ASCII letters standing in when the exact one is not there. None at a ratio of 1 or less.
std::vector<VariantFile> variant_files(const std::filesystem::path& file, double ratio);

struct Variant {
  Picture picture;  // null: draw the picture itself
  int scale = 1;
};

// The first of the variant files that decodes to exactly `scale` times the picture's size. A file
// that is broken, too large or of another size is passed over without a word: the picture itself
// is always there to fall back on. Held as stored (see Holding).
Variant load_variant(const std::filesystem::path& file, int width, int height, double ratio);

// As load_picture_file, held as stored, and the picture remembers its file (and the file's size
// and time of change) so that its variants can be found.
PictureResult load_scalable_picture(const std::filesystem::path& path);

// Whether the picture was read from this file and the file has not changed since.
bool read_from_unchanged(const Image& picture, const std::filesystem::path& path);

}  // namespace qm
