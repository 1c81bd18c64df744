#include "prefs/prefs_store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <string>

#include "prefs/pref_codec.h"

namespace vornick {

namespace {

// A hand-edited value may come back as something other than one string: a comma makes a list,
// an "@Variant(...)" a typed value. All of them are handed on as text for the parsers to judge.
std::optional<std::string> stored_text(const QSettings& store, const char* key) {
    const QVariant value = store.value(QLatin1String(key));
    if (!value.isValid()) return std::nullopt;
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

void put(QSettings& store, const StoredValue& value) {
    store.setValue(QLatin1String(value.key), QString::fromStdString(value.text));
}

}  // namespace

QString prefs_file_path() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QLatin1String("/.config");
    return dir + QLatin1Char('/') + QLatin1String(kPrefsAppId) + QLatin1String(".conf");
}

void getPrefs(Settings& s, double& delay) {
    const QSettings store(prefs_file_path(), QSettings::IniFormat);
    s = decode_settings([&store](const char* key) { return stored_text(store, key); });
    delay = s.Slow;
}

void savePrefs(const Settings& s) {
    QSettings store(prefs_file_path(), QSettings::IniFormat);
    const auto values = encode_settings(s);
    // "randomizeProg" goes in a second write of its own, after the others are persistent.
    for (int i = 0; i < kStoredKeyCount - 1; ++i) put(store, values[i]);
    store.sync();
    put(store, values[kStoredKeyCount - 1]);
    store.sync();
}

void PrefsSeedStore::write_saved_seed(uint32_t seed) {
    QSettings store(prefs_file_path(), QSettings::IniFormat);
    put(store, StoredValue{kSavedSeedKey, encode_saved_seed(seed)});
    store.sync();
}

}  // namespace vornick
