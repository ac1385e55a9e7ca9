#include "skin/picture_variants.h"

#include <algorithm>
#include <system_error>

#include "skin/letter_case.h"

namespace qm {
namespace {

constexpr int kScales[] = {2, 3};
constexpr const char* kExtensions[] = {"png", "jpg", "jpeg", "bmp"};

bool regular_file(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::vector<VariantFile> variant_files(const std::filesystem::path& file, double ratio) {
  std::vector<VariantFile> found;
  if (!(ratio > 1.0)) return found;
  std::vector<int> order;
  for (int scale : kScales)
    if (scale >= ratio) order.push_back(scale);
  for (auto it = std::rbegin(kScales); it != std::rend(kScales); ++it)
    if (*it < ratio) order.push_back(*it);
  // A finer file is found by the same letter-case rule as the picture it refines, in its folder
  // read once.
  const std::filesystem::path folder = file.parent_path();
  const FolderNames names(folder);
  for (int scale : order) {
    for (const char* extension : kExtensions) {
      const std::string name =
          file.stem().native() + "@" + std::to_string(scale) + "x." + extension;
      const std::string in_folder = names.find(name);
      if (in_folder.empty()) continue;
      std::filesystem::path candidate = folder / in_folder;
      if (regular_file(candidate)) found.push_back({std::move(candidate), scale});
    }
  }
  return found;
}

Variant load_variant(const std::filesystem::path& file, int width, int height, double ratio) {
  for (const VariantFile& candidate : variant_files(file, ratio)) {
    PictureResult loaded = load_picture_file(candidate.path, Holding::AsStored);
    if (loaded.ok() &&
        std::int64_t{loaded.picture->width} == std::int64_t{width} * candidate.scale &&
        std::int64_t{loaded.picture->height} == std::int64_t{height} * candidate.scale)
      return {std::move(loaded.picture), candidate.scale};
  }
  return {};
}

namespace {

struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type time{};
};

// Zero and the earliest time for a file that cannot be looked at.
FileStamp stamp_of(const std::filesystem::path& path) {
  std::error_code error;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) return {};
  stamp.time = std::filesystem::last_write_time(path, error);
  if (error) return {};
  return stamp;
}

}  // namespace

PictureResult load_scalable_picture(const std::filesystem::path& path) {
  // Stamped before reading: a change while it is read makes the next look read it again.
  const FileStamp stamp = stamp_of(path);
  PictureResult loaded = load_picture_file(path, Holding::AsStored);
  if (loaded.ok()) {
    // The decoder made the picture a moment ago and nothing else holds it yet.
    Image& image = *std::const_pointer_cast<Image>(loaded.picture);
    image.source = path;
    image.source_size = stamp.size;
    image.source_time = stamp.time;
  }
  return loaded;
}

bool read_from_unchanged(const Image& picture, const std::filesystem::path& path) {
  if (picture.source != path || picture.source_size == 0) return false;
  const FileStamp now = stamp_of(path);
  return now.size == picture.source_size && now.time == picture.source_time;
}

}  // namespace qm
