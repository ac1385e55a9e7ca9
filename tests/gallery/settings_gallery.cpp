#include <gtest/gtest.h>

#include <QSettings>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "settings/settings_store.h"
#include "tests/gallery/gallery_runs.h"
#include "tests/support/temp_folder.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

// The values the program reads as booleans; all others are integers.
const std::set<std::string> kBooleans = {"FullscreenMode", "SplashScreen"};

// The name=value lines of the file's [General] section, as text.
std::map<std::string, std::string> general_section(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::map<std::string, std::string> values;
  std::string line;
  bool general = false;
  while (std::getline(in, line)) {
    if (line.starts_with('[')) {
      general = line == "[General]";
    } else if (const std::size_t equals = line.find('='); general && equals != std::string::npos) {
      values.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
  }
  return values;
}

}  // namespace

void run_settings_case(const GalleryCase& c) {
  const TempFolder home;
  const fs::path file = home.path() / "Tarvelle" / "QuibMan50.conf";
  fs::create_directories(file.parent_path());
  fs::copy(c.folder / "QuibMan50.conf", file, fs::copy_options::recursive);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(home.path().string()));

  SettingsStore store;
  for (const auto& [word, values] : c.expect) {
    SCOPED_TRACE(word + " " + values);
    std::istringstream in(values);
    std::string name;
    if (word == "value") {
      int expected = 0, default_value = 0;
      ASSERT_TRUE(in >> name >> expected >> default_value);
      if (kBooleans.contains(name)) {
        EXPECT_EQ(store.read_bool(name, default_value != 0), expected != 0);
      } else {
        EXPECT_EQ(store.read_integer(name, default_value), expected);
      }
    } else if (word == "write") {
      int value = 0;
      ASSERT_TRUE(in >> name >> value);
      store.write_integer(name, value);
      EXPECT_EQ(store.read_integer(name, value + 1), value);
    } else if (word == "kept") {
      std::string text;
      ASSERT_TRUE(in >> name >> std::ws);
      std::getline(in, text);
      const auto on_disk = general_section(file);
      const auto found = on_disk.find(name);
      ASSERT_NE(found, on_disk.end());
      EXPECT_EQ(found->second, text);
      // A copy: QSettings caches what it read of the file itself when the store was opened.
      const TempFolder elsewhere;
      const fs::path copy = elsewhere.path() / "copy.conf";
      fs::copy_file(file, copy);
      const QSettings earlier(QString::fromStdString(copy.string()), QSettings::IniFormat);
      EXPECT_EQ(earlier.status(), QSettings::NoError);
      EXPECT_EQ(earlier.value(QString::fromStdString(name)).toString().toStdString(),
                unquoted(text));
    } else if (word == "damaged_copy") {
      const fs::path copy = fs::path(file).concat(".damaged");
      EXPECT_EQ(fs::exists(copy), values == "yes");
      if (values == "yes") {
        EXPECT_EQ(read_text(copy), read_text(c.folder / "QuibMan50.conf"));
      }
    } else if (word == "refused") {
      // The write fails; the store goes on reading what the disk holds.
      int value = 0, holds = 0;
      ASSERT_TRUE(in >> name >> value >> holds);
      store.write_integer(name, value);
      EXPECT_EQ(store.read_integer(name, holds), holds);
      EXPECT_TRUE(fs::is_directory(file));
    } else {
      ADD_FAILURE() << "unknown promise";
    }
  }
}

}  // namespace qm::testing
