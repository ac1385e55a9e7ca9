#include "shell/settings_store.h"

#include <charconv>
#include <optional>

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

QString key(const std::string& name) {
  return QString::fromStdString(name);
}

}  // namespace

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            "Tarvelle", "QuibMan50")) {}

SettingsStore::~SettingsStore() = default;

int SettingsStore::read_integer(const std::string& name, int default_value) {
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
  // A value already stored as this very text is on disk: writing it again would only cost a
  // flush to disk (the start-up writes every key binding back).
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
  // the previous file whole.
  settings_->sync();
}

bool SettingsStore::read_bool(const std::string& name, bool default_value) {
  return read_integer(name, default_value ? 1 : 0) != 0;
}

void SettingsStore::write_bool(const std::string& name, bool value) {
  write_integer(name, value ? 1 : 0);
}

}  // namespace qm
