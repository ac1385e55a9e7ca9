#include "settings/settings_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

using Values = std::map<std::string, std::string>;

using qm::testing::read_text;

bool all_of_kind(const std::string& text, int (*kind)(int)) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [&](unsigned char c) { return kind(c) != 0; });
}

// The file as the store should leave it: one [General] section of name=decimal lines. Anything
// else gives nullopt.
std::optional<Values> parse_plain(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != "[General]") return std::nullopt;
  Values values;
  while (std::getline(in, line)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::string name = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    const std::string digits = value.starts_with('-') ? value.substr(1) : value;
    if (!all_of_kind(name, isalnum) || !all_of_kind(digits, isdigit)) return std::nullopt;
    values[name] = value;
  }
  return values;
}

// QSettings reads XDG_CONFIG_HOME once per process and QStandardPaths' test mode does not move
// an already-known path, so each test points the user scope at its own folder with setPath.
class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm_settings_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home_ = pattern;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(home_.string()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       QString::fromStdString(system().string()));
  }
  void TearDown() override { fs::remove_all(home_); }

  // Where the system's files of the organisation and the program would be (/etc/xdg).
  fs::path system() const { return home_ / "system"; }
  fs::path folder() const { return home_ / "Tarvelle"; }
  fs::path file() const { return folder() / "QuibMan50.conf"; }
  void write_file(const std::string& text) const {
    fs::create_directories(folder());
    std::ofstream(file(), std::ios::binary) << text;
  }

  fs::path home_;
};

// The organisation's file beside the user's and the system's files hold values of their own,
// some of them the very key bindings the first start writes back: none of them counts.
TEST_F(SettingsStoreTest, FirstRunReadsDefaultsAndKeepsOnlyTheKeysWrittenBack) {
  constexpr int kKeyDefaults[] = {2, 3, 4, 6, 37, 39, 40, 38};
  const std::string others =
      "[General]\nKey1=2\nKey2=3\nKey3=4\nKey4=6\nKey5=37\nKey6=39\nKey7=40\nKey8=38\n"
      "FullscreenMode=0\nSplashScreen=0\nSoundMode=1\nHiScore1=999\nHiScore2=999\n";
  for (const fs::path& other : {home_ / "Tarvelle.conf", system() / "Tarvelle.conf",
                                system() / "Tarvelle" / "QuibMan50.conf"}) {
    fs::create_directories(other.parent_path());
    std::ofstream(other, std::ios::binary) << others;
  }
  SettingsStore store;
  EXPECT_TRUE(store.read_bool("FullscreenMode", true));
  EXPECT_TRUE(store.read_bool("SplashScreen", true));
  EXPECT_FALSE(store.read_bool("SplashScreen", false));
  EXPECT_EQ(store.read_integer("SoundMode", -1), -1);
  EXPECT_EQ(store.read_integer("HiScore1", 0), 0);
  EXPECT_EQ(store.read_integer("HiScore2", 0), 0);
  std::vector<SettingsPort::Value> keys;
  for (int i = 0; i < 8; ++i) {
    const std::string name = "Key" + std::to_string(i + 1);
    keys.push_back({name, store.read_integer(name, kKeyDefaults[i])});
  }
  store.write_integers(keys);

  EXPECT_EQ(read_text(file()),
            "[General]\nKey1=2\nKey2=3\nKey3=4\nKey4=6\nKey5=37\nKey6=39\nKey7=40\nKey8=38\n");
}

TEST_F(SettingsStoreTest, EveryWriteIsPlainTextOnDiskAtOnce) {
  SettingsStore store;
  store.write_integer("SoundMode", -1);
  store.write_bool("SplashScreen", true);
  store.write_bool("FullscreenMode", false);
  store.write_integer("HiScore1", 2147483647);
  store.write_integer("HiScore2", -2147483647 - 1);

  // Read while the writing store is still open: nothing waits for a shutdown step.
  const auto values = parse_plain(read_text(file()));
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (Values{{"SoundMode", "-1"},
                             {"SplashScreen", "1"},
                             {"FullscreenMode", "0"},
                             {"HiScore1", "2147483647"},
                             {"HiScore2", "-2147483648"}}));
  SettingsStore other;
  EXPECT_EQ(other.read_integer("HiScore2", 0), -2147483647 - 1);
  EXPECT_FALSE(other.read_bool("FullscreenMode", true));
}

ino_t inode_of(const fs::path& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Every write goes through a new file renamed into place, so an untouched file keeps its inode.
TEST_F(SettingsStoreTest, AValueStoredAsTheSameTextIsNotWrittenAgain) {
  write_file("[General]\nKey1=2\nKey2=07\n");
  const ino_t before = inode_of(file());
  ASSERT_NE(before, 0u);
  SettingsStore store;
  store.write_integer("Key1", 2);
  EXPECT_EQ(inode_of(file()), before);

  store.write_integer("Key2", 7);
  EXPECT_NE(inode_of(file()), before);
  EXPECT_EQ(read_text(file()), "[General]\nKey1=2\nKey2=7\n");
  store.write_integer("Key1", 3);
  EXPECT_EQ(read_text(file()), "[General]\nKey1=3\nKey2=7\n");
}

// Values written together are stored when one of them differs from what the file holds.
TEST_F(SettingsStoreTest, ValuesWrittenTogetherAreStoredWhenOneDiffers) {
  write_file("[General]\nKey1=2\nKey2=3\n");
  SettingsStore store;
  const SettingsPort::Value same[] = {{"Key1", 2}, {"Key2", 3}};
  const ino_t before = inode_of(file());
  store.write_integers(same);
  EXPECT_EQ(inode_of(file()), before);

  const SettingsPort::Value changed[] = {{"Key1", 5}, {"Key2", 3}, {"Key3", 40}};
  store.write_integers(changed);
  EXPECT_EQ(read_text(file()), "[General]\nKey1=5\nKey2=3\nKey3=40\n");
  EXPECT_EQ(SettingsStore().read_integer("Key3", 0), 40);
}

TEST_F(SettingsStoreTest, OnlyAnOptionalMinusAndDigitsThatFitReadAsIntegers) {
  SettingsStore store;
  const std::pair<const char*, int> cases[] = {
      {"abc", 55},
      {"", 55},
      {"2.5", 55},
      {" 7", 55},
      {"7 ", 55},
      {"99999999999", 55},
      {"2147483648", 55},
      {"-2147483649", 55},
      {"+5", 55},
      {"0x10", 55},
      {"-", 55},
      {"1e3", 55},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"007", 7},
      {"-0", 0},
      {"-12", -12},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    {
      QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Tarvelle", "QuibMan50");
      raw.setValue("HiScore1", QString(text));
    }
    EXPECT_EQ(store.read_integer("HiScore1", 55), expected);
  }
}

TEST_F(SettingsStoreTest, ValuesTheFileSpellsAsOtherTypesReadAsMissing) {
  write_file(
      "[General]\nHiScore1=1,2\nHiScore2=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
      "SoundMode=@Invalid()\nKey1=\"5\"\nKey2= 9 \n");
  SettingsStore store;
  EXPECT_EQ(store.read_integer("HiScore1", -7), -7);
  EXPECT_EQ(store.read_integer("HiScore2", -7), -7);
  EXPECT_EQ(store.read_integer("SoundMode", -7), -7);
  // Quotes and the spaces around an unquoted value belong to the file format, not the value.
  EXPECT_EQ(store.read_integer("Key1", -7), 5);
  EXPECT_EQ(store.read_integer("Key2", -7), 9);
}

TEST_F(SettingsStoreTest, BooleansAreIntegersThatAreTrueWhenNotZero) {
  write_file("[General]\nA=2\nB=-1\nC=0\nD=1\nE=abc\nF=\n");
  SettingsStore store;
  EXPECT_TRUE(store.read_bool("A", false));
  EXPECT_TRUE(store.read_bool("B", false));
  EXPECT_FALSE(store.read_bool("C", true));
  EXPECT_TRUE(store.read_bool("D", false));
  EXPECT_TRUE(store.read_bool("E", true));
  EXPECT_FALSE(store.read_bool("E", false));
  EXPECT_TRUE(store.read_bool("F", true));
}

TEST_F(SettingsStoreTest, GarbageAndCutFilesReadAsDefaultsAndTheNextWriteIsWellFormed) {
  std::mt19937 random(7);
  std::string garbage(3000, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  const std::string files[] = {
      garbage,
      "[General]\nKey1=5\nKey2=3\nHiSc",
      "[General]\nKey1=5\nKey3=\"abc\n\xff\xfe\x01[[\nHiScore1=12",
      "[Gen",
  };
  // The lines around a damaged one keep their values.
  const int hiscores[] = {0, 0, 12, 0};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const std::string& text = files[i];
    write_file(text);
    {
      SettingsStore store;
      EXPECT_EQ(store.read_integer("HiScore1", 0), hiscores[i]);
      EXPECT_TRUE(store.read_bool("FullscreenMode", true));
      store.write_integer("HiScore2", 1234);
    }
    QSettings reread(QSettings::NativeFormat, QSettings::UserScope, "Tarvelle", "QuibMan50");
    EXPECT_EQ(reread.status(), QSettings::NoError);
    EXPECT_EQ(reread.value("HiScore2").toString(), "1234");
    SettingsStore store;
    EXPECT_EQ(store.read_integer("HiScore2", 0), 1234);
    EXPECT_EQ(store.read_integer("HiScore1", 0), hiscores[i]);
    EXPECT_EQ(store.read_integer("Key1", 0), text.starts_with("[General]") ? 5 : 0);
    // What could not be read is kept beside the file.
    EXPECT_EQ(read_text(fs::path(file()).concat(".damaged")), text);
  }
}

TEST_F(SettingsStoreTest, WritesThatCannotBeDoneLeaveTheDiskAloneAndGoOn) {
  // A regular file where the folder should be stops even root from writing.
  std::ofstream(folder()) << "not a folder";
  {
    SettingsStore store;
    store.write_integer("HiScore1", 10);
    store.write_bool("SplashScreen", false);
    // Nothing was stored, and the store says so rather than keep the value to itself.
    EXPECT_EQ(store.read_integer("HiScore1", 0), 0);
  }
  EXPECT_EQ(read_text(folder()), "not a folder");

  // The settings file itself is a folder.
  fs::remove(folder());
  fs::create_directories(file());
  SettingsStore store;
  store.write_integer("HiScore1", 11);
  EXPECT_EQ(store.read_integer("HiScore2", 3), 3);
  EXPECT_TRUE(fs::is_directory(file()));
}

// Starts the writer with XDG_CONFIG_HOME at home. A writer that hangs, as one waiting out
// QSettings' 30-second stale-lock time would, is ended by SIGALRM after 10 seconds.
// fail names the call the preloaded library makes fail (none when null); the writer's standard
// error goes to errors when one is given.
pid_t start_writer(const fs::path& home, const char* writes, const char* fail = nullptr,
                   const fs::path& errors = {}) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    if (fail != nullptr) {
      setenv("QM_FAIL", fail, 1);
      setenv("LD_PRELOAD", QM_FAILING_CALLS, 1);
      // Under AddressSanitizer the library goes before its runtime.
      const char* asan = getenv("ASAN_OPTIONS");
      setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":verify_asan_link_order=0").c_str(),
             1);
    }
    if (!errors.empty()) {
      const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(126);
    }
    alarm(10);
    execl(QM_SETTINGS_WRITER, QM_SETTINGS_WRITER, writes, static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

// The writer is killed at random moments, before, during and after its writes; the file must
// always be whole, hold the old or the new count, and keep every other value.
TEST_F(SettingsStoreTest, AWriterKilledAtAnyMomentLeavesAWholeFile) {
  {
    SettingsStore store;
    for (int i = 1; i <= 8; ++i) store.write_integer("Key" + std::to_string(i), 30 + i);
    store.write_integer("HiScore2", 777);
    store.write_integer("HiScore1", 0);
  }
  const auto before = parse_plain(read_text(file()));
  ASSERT_TRUE(before);

  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delay_us(2000, 60000);
  int last = 0;
  // The soak raises the rounds; the suite keeps to a few seconds.
  const char* rounds_text = getenv("QM_KILL_ROUNDS");
  const int rounds = rounds_text != nullptr ? std::atoi(rounds_text) : 40;
  for (int round = 0; round < rounds; ++round) {
    const pid_t pid = start_writer(home_, "20000");
    ASSERT_GT(pid, 0);
    usleep(static_cast<useconds_t>(delay_us(random)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0));

    auto after = parse_plain(read_text(file()));
    ASSERT_TRUE(after) << "round " << round;
    const int count = std::stoi(after->at("HiScore1"));
    EXPECT_GE(count, last);
    last = count;
    after->erase("HiScore1");
    Values others = *before;
    others.erase("HiScore1");
    EXPECT_EQ(*after, others);
  }
  // The writers did get to write, through the lock files the killed ones left behind.
  EXPECT_GT(last, 0);
}

int wait_for(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return status;
}

// How often text holds line.
int count_of(const std::string& text, const std::string& line) {
  int n = 0;
  for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
  return n;
}

// A full disk, a failing disk, a folder that turned read-only: the file stays exactly as it was,
// no half-written file is left beside it, and the player is told once, with the file's path,
// however many writes fail.
TEST_F(SettingsStoreTest, FailedWritesLeaveTheFileAsItWasAndAreToldOnce) {
  const std::string before = "[General]\nHiScore1=500\nHiScore2=70\nKey1=49\n";
  for (const char* call : {"write", "fsync", "rename"}) {
    SCOPED_TRACE(call);
    write_file(before);
    const fs::path errors = home_ / "errors.txt";
    const int status = wait_for(start_writer(home_, "3", call, errors));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(read_text(file()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder()), fs::directory_iterator()), 1);
    const std::string told = read_text(errors);
    EXPECT_EQ(count_of(told, "quibman: The settings could not be saved"), 1) << told;
    EXPECT_NE(told.find(file().string()), std::string::npos) << told;
  }
}

// A lock that stays held (a copy of the program hung in a write) or that is in the way for good
// fails the write within seconds instead of freezing the program; one that can be cleared away
// is, and the write goes through.
TEST_F(SettingsStoreTest, ALockThatCannotBeTakenFailsTheWriteInsteadOfWaiting) {
  const fs::path lock = fs::path(file()).concat(".lock");
  enum class Lock { HeldByAHungCopy, AFolderWithFiles, AnEmptyFolder, AFileOfAKilledCopy };
  const std::pair<Lock, bool> cases[] = {
      {Lock::HeldByAHungCopy, false},
      {Lock::AFolderWithFiles, false},
      {Lock::AnEmptyFolder, true},
      {Lock::AFileOfAKilledCopy, true},
  };
  for (const auto& [kind, written] : cases) {
    SCOPED_TRACE(static_cast<int>(kind));
    write_file("[General]\nHiScore1=41\n");
    fs::remove_all(lock);
    int held = -1;
    switch (kind) {
      case Lock::HeldByAHungCopy:
        held = open(lock.c_str(), O_RDONLY | O_CREAT, 0644);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        break;
      case Lock::AFolderWithFiles:
        fs::create_directories(lock / "inside");
        break;
      case Lock::AnEmptyFolder:
        fs::create_directories(lock);
        break;
      case Lock::AFileOfAKilledCopy:
        std::ofstream(lock) << "12345\nquibman\nhost\n";
        break;
    }
    const fs::path errors = home_ / "errors.txt";
    const int status = wait_for(start_writer(home_, "1", nullptr, errors));
    if (held >= 0) close(held);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(read_text(file()), written ? "[General]\nHiScore1=42\n" : "[General]\nHiScore1=41\n");
    EXPECT_EQ(count_of(read_text(errors), "quibman: The settings could not be saved"),
              written ? 0 : 1);
  }
}

// Two copies of the program on one file: the one started earlier still holds the old high score
// when the other stores a higher one; its own lower score must not take that one's place.
TEST_F(SettingsStoreTest, TwoStoresOnOneFileNeverLowerAHighScore) {
  constexpr SettingsPort::Range kScores{0, 999999};
  SettingsStore early;
  ASSERT_EQ(early.read_valid("HiScore1", 0, kScores), 0);
  SettingsStore late;
  EXPECT_EQ(late.write_higher("HiScore1", 255, kScores), 255);
  EXPECT_EQ(early.write_higher("HiScore1", 20, kScores), 255);
  EXPECT_EQ(read_text(file()), "[General]\nHiScore1=255\n");
  EXPECT_EQ(early.write_higher("HiScore1", 300, kScores), 300);
  EXPECT_EQ(late.read_valid("HiScore1", 0, kScores), 300);
  // A stored value the panel cannot show is no high score to keep.
  write_file("[General]\nHiScore1=-5\n");
  EXPECT_EQ(late.write_higher("HiScore1", 7, kScores), 7);
  EXPECT_EQ(read_text(file()), "[General]\nHiScore1=7\n");
}

// A writer killed between creating the lock file and filling it in leaves it empty; QSettings
// alone would make every later write wait half a minute for it to age. The next program's store
// finds the settings where XDG_CONFIG_HOME says and writes without waiting.
TEST_F(SettingsStoreTest, AnEmptyLockLeftByAKilledWriterDoesNotHoldUpTheNext) {
  write_file("[General]\nHiScore1=41\n");
  std::ofstream(fs::path(file()).concat(".lock"));
  const pid_t pid = start_writer(home_, "1");
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "writer ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(parse_plain(read_text(file())), (Values{{"HiScore1", "42"}}));
}

// A high score is on disk the moment its game is over: the writer kills itself with SIGKILL as
// soon as the store has taken it, and the next start reads it back.
TEST_F(SettingsStoreTest, AHighScoreSurvivesAKillRightAfterTheGameOver) {
  write_file("[General]\nHiScore1=40\nHiScore2=900\nKey1=49\n");
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
    alarm(60);
    execl(QM_GAME_OVER_WRITER, QM_GAME_OVER_WRITER, "7", static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(pid, 0);
  close(pipe_ends[1]);
  std::string printed;
  char buffer[64];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) printed.append(buffer, n);
  close(pipe_ends[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

  ASSERT_FALSE(printed.empty());
  const int score = std::stoi(printed);
  EXPECT_GT(score, 40);
  SettingsStore next_start;
  EXPECT_EQ(next_start.read_integer("HiScore1", 0), score);
  EXPECT_EQ(next_start.read_integer("HiScore2", 0), 900);
  EXPECT_EQ(next_start.read_integer("Key1", 0), 49);
}

// Another copy of the program, or a hand edit, changes the file while this one runs: its reset
// of the high scores and its reads go by the file as it is now, not as it was at the start.
TEST_F(SettingsStoreTest, ReadsAndWritesSeeWhatOthersWroteSince) {
  write_file("[General]\nHiScore1=0\nHiScore2=0\n");
  SettingsStore store;
  ASSERT_EQ(store.read_integer("HiScore1", 7), 0);
  write_file("[General]\nHiScore1=500\nHiScore2=0\n");
  store.write_integer("HiScore1", 0);
  store.write_integer("HiScore2", 0);
  EXPECT_EQ(read_text(file()), "[General]\nHiScore1=0\nHiScore2=0\n");

  // Each change here alters the file's length: a change of the same length within one tick of
  // the file system's clock would go unseen, as QSettings goes by the length and the time.
  write_file("[General]\nHiScore1=99\nHiScore2=0\n");
  EXPECT_EQ(store.read_integer("HiScore1", 7), 99);
  const pid_t pid = start_writer(home_, "1");
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_EQ(store.read_integer("HiScore1", 7), 100);
}

}  // namespace
}  // namespace qm
