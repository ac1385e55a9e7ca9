#include "tests/gallery/gallery_case.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qm::testing {

std::string GalleryCase::first(const std::string& word) const {
  for (const auto& [w, values] : expect)
    if (w == word) return values;
  return {};
}

namespace {

// A promise's text with "{FOLDER}" read as the case's folder and "\\n" as a line break, for the
// messages that name a file.
std::string expanded(std::string text, const std::filesystem::path& folder) {
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"{FOLDER}", folder.string()},
                                 std::pair<std::string, std::string>{"\\n", "\n"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
      text.replace(at, from.size(), to), at += to.size();
  }
  return text;
}

}  // namespace

std::vector<GalleryCase> gallery_cases(const std::filesystem::path& root, const std::string& path) {
  std::vector<GalleryCase> cases;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(root / path, missing)) {
    GalleryCase c{entry.path().filename().string(), entry.path(), {}};
    std::ifstream in(entry.path() / "expect");
    std::string line;
    while (std::getline(in, line)) {
      const std::size_t space = line.find(' ');
      c.expect.emplace_back(
          line.substr(0, space),
          space == std::string::npos
              ? std::string()
              : expanded(line.substr(space + 1), std::filesystem::canonical(entry.path())));
    }
    cases.push_back(std::move(c));
  }
  std::sort(cases.begin(), cases.end(),
            [](const GalleryCase& a, const GalleryCase& b) { return a.name < b.name; });
  return cases;
}

std::vector<long long> integers(const std::string& text) {
  std::istringstream in(text);
  std::vector<long long> values;
  long long value = 0;
  while (in >> value) values.push_back(value);
  EXPECT_TRUE(in.eof()) << "not all integers: " << text;
  return values;
}

}  // namespace qm::testing
