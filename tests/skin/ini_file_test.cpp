#include "skin/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_folder.h"

namespace qm {
namespace {

TEST(IniFile, NamesIgnoreCaseAndBlanksAroundNamesAndValuesAreDropped) {
  const IniFile ini = IniFile::parse(
      "[Common]\r\n"
      "  SkinDir =\t Graphics\\Other  \r\n"
      "GameWidth=500\r\n"
      "[ image1 ]\n"
      "FILENAME=body.png\n"
      "Left= 0x20\n"
      "Top=abc\n"
      "Width==5\n");
  EXPECT_EQ(ini.read_string("COMMON", "skindir", "x"), "Graphics\\Other");
  EXPECT_EQ(ini.read_integer("common", "GAMEWIDTH", 479), 500);
  EXPECT_EQ(ini.read_string("Image1", "Filename", ""), "body.png");
  EXPECT_EQ(ini.read_integer("Image1", "Left", 0), 32);
  EXPECT_EQ(ini.read_integer("Image1", "Top", 7), 7);
  EXPECT_EQ(ini.read_string("Image1", "Width", ""), "=5");
  EXPECT_EQ(ini.read_integer("Image1", "Width", 0), 0);
}

TEST(IniFile, MissingSectionsKeysAndEmptyFilesGiveTheDefault) {
  const IniFile empty = IniFile::parse("");
  EXPECT_EQ(empty.read_string("Common", "SkinDir", "Graphics\\Skin\\"), "Graphics\\Skin\\");
  EXPECT_EQ(empty.read_integer("Common", "GameHeight", 777), 777);

  const IniFile ini = IniFile::parse("[Image2]\nLeft=$20\nHeight=\n");
  EXPECT_EQ(ini.read_integer("Image2", "Left", 0), 32);
  EXPECT_EQ(ini.read_integer("Image2", "Height", 9), 9);
  EXPECT_EQ(ini.read_string("Image2", "Height", "dflt"), "");
  EXPECT_EQ(ini.read_string("Image2", "Top", "dflt"), "dflt");
  EXPECT_EQ(ini.read_string("Image3", "Left", "dflt"), "dflt");
  EXPECT_EQ(ini.read_string("Image", "Left", "dflt"), "dflt");
}

TEST(IniFile, FirstOccurrenceWinsAndRepeatedSectionsMerge) {
  const IniFile ini = IniFile::parse(
      "[A]\nk=1\nK=2\n"
      "[B]\nk=b\n"
      "[a]\nk=3\nj=4\n");
  EXPECT_EQ(ini.read_string("A", "k", ""), "1");
  EXPECT_EQ(ini.read_string("A", "j", ""), "4");
  EXPECT_EQ(ini.read_string("B", "k", ""), "b");
}

TEST(IniFile, OddLinesAreReadByTheirFixedRules) {
  using namespace std::string_literals;
  const IniFile ini = IniFile::parse(
      "\xEF\xBB\xBF[First]\n"
      "lonely line\n"
      "; note=1\n"
      "=no key\n"
      "a=b=c\n"
      "cut=ab\0cd\n"
      "nul\0=x\n"
      "[Broken\n"
      "stray=1\n"
      "[Second]\n"
      "ok=2\n"s);
  EXPECT_EQ(ini.read_string("First", "a", ""), "b=c");
  EXPECT_EQ(ini.read_string("First", "cut", ""), "ab");
  EXPECT_EQ(ini.read_string("First", "nul", "none"), "none");
  EXPECT_EQ(ini.read_string("First", "; note", "none"), "none");
  EXPECT_EQ(ini.read_string("First", "lonely line", "none"), "none");
  // Keys after a header without its ']' reach no section, not even the one before.
  EXPECT_EQ(ini.read_string("First", "stray", "none"), "none");
  EXPECT_EQ(ini.read_string("Broken", "stray", "none"), "none");
  EXPECT_EQ(ini.read_string("Second", "ok", ""), "2");

  const IniFile early = IniFile::parse("before=1\n[S]\nafter=2");
  EXPECT_EQ(early.read_string("", "before", "none"), "none");
  EXPECT_EQ(early.read_string("S", "after", ""), "2");
}

TEST(IniFile, OnePairOfMatchingQuotesIsRemoved) {
  const IniFile ini = IniFile::parse(
      "[Q]\n"
      "double=\"  spaced  \"\n"
      "single='x'\n"
      "twice=\"\"y\"\"\n"
      "mixed=\"z'\n"
      "lone=\"\n");
  EXPECT_EQ(ini.read_string("Q", "double", ""), "  spaced  ");
  EXPECT_EQ(ini.read_string("Q", "single", ""), "x");
  EXPECT_EQ(ini.read_string("Q", "twice", ""), "\"y\"");
  EXPECT_EQ(ini.read_string("Q", "mixed", ""), "\"z'");
  EXPECT_EQ(ini.read_string("Q", "lone", ""), "\"");
}

TEST(IniFile, ValuesAreCutAfter2047Characters) {
  const std::string value(3000, 'v');
  const IniFile ini = IniFile::parse("[S]\nlong=" + value + "\nexact=" + value.substr(0, 2047));
  EXPECT_EQ(ini.read_string("S", "long", ""), value.substr(0, 2047));
  EXPECT_EQ(ini.read_string("S", "exact", ""), value.substr(0, 2047));
}

TEST(IniFile, ATenMegabyteFileIsReadWhole) {
  std::string text;
  for (int n = 0; text.size() < 10'000'000; ++n) {
    text += "[Image" + std::to_string(n) + "]\nFilename=segment.png\nLeft=" + std::to_string(n) +
            "\nTop=$10\nWidth=20\nHeight=30\n";
  }
  text += "[Last]\nkey=end";
  const IniFile ini = IniFile::parse(text);
  EXPECT_EQ(ini.read_integer("image123456", "left", -1), 123456);
  EXPECT_EQ(ini.read_string("Last", "Key", ""), "end");
}

TEST(IniFile, LoadReadsOnlyRegularFiles) {
  const testing::TempFolder folder;
  const auto file = folder.write("Config.ini", "[Common]\r\nGameHeight=600\r\n");
  const auto ini = IniFile::load(file);
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(ini->read_integer("Common", "GameHeight", 777), 600);

  EXPECT_FALSE(IniFile::load(folder.path() / "missing.ini").has_value());
  EXPECT_FALSE(IniFile::load(folder.path()).has_value());
  EXPECT_TRUE(IniFile::load(folder.write("empty.ini", "")).has_value());
  // A named pipe that nothing writes to is no file either, and is not waited on.
  const auto pipe = folder.path() / "pipe.ini";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  EXPECT_FALSE(IniFile::load(pipe).has_value());
}

TEST(PicturePaths, FoldersFileNamesAndNil) {
  EXPECT_EQ(with_trailing_backslash("Graphics\\Other"), "Graphics\\Other\\");
  EXPECT_EQ(with_trailing_backslash("Graphics\\Skin\\"), "Graphics\\Skin\\");
  EXPECT_EQ(native_path(with_trailing_backslash("Graphics\\Other") + "body.png"),
            std::filesystem::path("Graphics/Other/body.png"));

  EXPECT_FALSE(names_picture("nil"));
  EXPECT_FALSE(names_picture(""));
  EXPECT_TRUE(names_picture("NIL"));
  EXPECT_TRUE(names_picture("Nil"));
  EXPECT_TRUE(names_picture("nil.png"));

  const testing::TempFolder folder;
  const auto body = folder.write("Graphics/Other/body.png", "x");
  EXPECT_TRUE(file_exists(folder.path() / native_path("Graphics\\Other\\body.png")));
  EXPECT_EQ(folder.path() / native_path("Graphics\\Other\\body.png"), body);
  EXPECT_FALSE(file_exists(folder.path() / "Graphics/Other"));
  EXPECT_FALSE(file_exists(folder.path() / "Graphics/Other/NIL"));
}

TEST(PicturePaths, LetterCaseIsMatchedWhereTheExactNameIsMissing) {
  const testing::TempFolder folder;
  const std::string root = folder.path().string();
  const auto lower = folder.write("Graphics/Other/body.png", "x");
  const auto mixed = folder.write("Graphics/Other/Body.png", "x");
  folder.write("Graphics/Other/bODY.png", "x");
  folder.write("Graphics/Other/\xC3\x84rger.png", "x");
  // The exact name wins; else the first twin in byte order, folders included.
  EXPECT_EQ(named_file(root + "\\Graphics\\Other\\body.png"), lower);
  EXPECT_EQ(named_file(root + "\\GRAPHICS\\other\\BODY.PNG"), mixed);
  // Only ASCII letters are matched without regard to case, and only regular files count.
  EXPECT_EQ(named_file(root + "/Graphics/Other/\xC3\xA4rger.png"), std::nullopt);
  EXPECT_EQ(named_file(root + "/graphics/OTHER"), std::nullopt);
  EXPECT_EQ(named_file(root + "/Graphics/Others/body.png"), std::nullopt);
}

}  // namespace
}  // namespace qm
