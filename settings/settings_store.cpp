#include "settings/settings_store.h"

#include <sys/stat.h>

#include <charconv>
#include <optional>

#include <QFile>
#include <QLockFile>
#include <QSettings>
#include <QString>
#include <QVariant>

namespace qm {

namespace {

// An optional minus and decimal digits that fit 32 bits; anything else (spaces, a plus sign,
// fractions, hex) is no integer, so it reads as the caller's default.
std::optional<int> parse_decimal(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  const char* first = bytes.constData();
  const char* last = first + bytes.size();
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value, 10);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

// Where QSettings keeps the user's own file. The store opens that file alone: opened by
// organisation and program, QSettings would also read the organisation's file and the system's,
// take their values for stored ones (so the start-up write-back could leave the user's file
// without the key bindings), and look at each of them again on every sync.
QString user_file() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tarvelle", "QuibMan50")
      .fileName();
}

QString key(const std::string& name) {
  return QString::fromStdString(name);
}

bool same_time(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool SettingsStore::FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         same_time(modified, other.modified) && same_time(changed, other.changed);
}

// The stamp is taken before QSettings reads the file, so that a change in between is caught up
// with at the first read.
SettingsStore::SettingsStore()
    : path_(QFile::encodeName(user_file())),
      seen_(stamp()),
      settings_(std::make_unique<QSettings>(QFile::decodeName(path_), QSettings::NativeFormat)) {}

SettingsStore::~SettingsStore() = default;

SettingsStore::FileStamp SettingsStore::stamp() const {
  struct stat info {};
  if (::stat(path_.constData(), &info) != 0) return {};
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Another copy of the program, or a hand edit, may have changed the file since it was last read.
// One stat tells whether it has; only then is QSettings asked to read it again (its own check
// takes two system calls and a time zone conversion).
void SettingsStore::catch_up() {
  const FileStamp now = stamp();
  if (now == seen_) return;
  seen_ = now;
  settings_->sync();
}

int SettingsStore::read_integer(const std::string& name, int default_value) {
  catch_up();
  // Only text values count: anything the file spells as another type (a list, an @Variant form)
  // is treated as missing.
  const QVariant value = settings_->value(key(name));
  if (value.typeId() != QMetaType::QString) return default_value;
  return parse_decimal(value.toString()).value_or(default_value);
}

void SettingsStore::write_integer(const std::string& name, int value) {
  const Value one[] = {{name, value}};
  write_integers(one);
}

void SettingsStore::write_integers(std::span<const Value> values) {
  // A value the file already holds as this very text is on disk: writing it again would only
  // cost a flush to disk (the start-up writes every key binding back).
  catch_up();
  bool changed = false;
  for (const Value& v : values) {
    const QString text = QString::number(v.value);
    const QVariant stored = settings_->value(key(v.name));
    if (stored.typeId() == QMetaType::QString && stored.toString() == text) continue;
    // Written as text so the file holds plain decimal strings.
    settings_->setValue(key(v.name), text);
    changed = true;
  }
  if (!changed) return;
  // A writer killed between creating QSettings' lock file and filling it in leaves an empty lock
  // that QSettings waits out for 30 seconds before every write. No live writer holds it (a live
  // one keeps the file flock()ed, which makes the removal fail), so it is cleared first.
  QLockFile(settings_->fileName() + ".lock").removeStaleLockFile();
  // sync() goes through a temporary file and a rename, so a failed or interrupted write leaves
  // the previous file whole. It also takes in what others wrote since, keeping their values.
  settings_->sync();
}

bool SettingsStore::read_bool(const std::string& name, bool default_value) {
  return read_integer(name, default_value ? 1 : 0) != 0;
}

void SettingsStore::write_bool(const std::string& name, bool value) {
  write_integer(name, value ? 1 : 0);
}

}  // namespace qm
