#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qm::testing {

// One case of the gallery written by make_gallery.py: its folder and the promises of its
// `expect` file, each a word and the rest of its line, in file order.
struct GalleryCase {
  std::string name;
  std::filesystem::path folder;
  std::vector<std::pair<std::string, std::string>> expect;

  // The values of the first line that starts with `word`; empty when there is none.
  std::string first(const std::string& word) const;
};

// The cases under root/<path>, sorted by name; empty when there are none. In a promise, {FOLDER}
// stands for the case's folder and \n for a line break.
std::vector<GalleryCase> gallery_cases(const std::filesystem::path& root, const std::string& path);

// The whitespace-separated integers of a promise; fails the test when one is no integer.
std::vector<long long> integers(const std::string& text);

// Runs a case in its own folder, so that the relative folders it names resolve there.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder)
      : before_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(before_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path before_;
};

}  // namespace qm::testing
