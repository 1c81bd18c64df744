#include "prefs/prefs_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <QVariant>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "prefs/pref_codec.h"
#include "prefs/store_obstacle.h"

namespace vornick {

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

namespace {

void put(QSettings& store, const StoredValue& value) {
    store.setValue(QLatin1String(value.key), QString::fromStdString(value.text));
}

// A save killed while it held the store's lock leaves the lock file behind. One that names its
// process is taken over by the next save as soon as that process is gone. One killed before it
// wrote its name stays empty, and the lock's own rules would take that for a live save for half
// a minute; a live save names itself within microseconds of making the file.
void clear_abandoned_lock(const QString& path) {
    constexpr qint64 kNamingMs = 50;
    const QString lock = path + QLatin1String(".lock");
    QFileInfo info(lock);
    if (!info.exists() || info.size() > 0) return;
    const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
    if (age >= 0 && age < kNamingMs) QThread::msleep(static_cast<unsigned long>(kNamingMs - age));
    info.refresh();
    if (info.exists() && info.size() == 0) QFile::remove(lock);
}

// A save killed after writing the new file and before putting it in place leaves that file
// under a made-up name beside the store. It harms nothing, but would pile up; it is cleared once
// the lock shows that no save is writing one.
void clear_abandoned_copies(const QString& path) {
    QLockFile lock(path + QLatin1String(".lock"));
    if (!lock.tryLock(0)) return;
    const QFileInfo store(path);
    const QStringList copies{store.fileName() + QLatin1String(".??????")};
    for (const QFileInfo& copy : QDir(store.path()).entryInfoList(copies, QDir::Files)) {
        QFile::remove(copy.filePath());
    }
}

// Makes the store persistent and says on stderr why, when it could not. QSettings also reports
// an old file it could not read, which this write has just replaced: unless the file system
// shows an obstacle, only an access error counts as a failed save. QSettings keeps the reason
// of a failed write to itself; one more write of the same size beside the file gives it.
bool synced(QSettings& store, const char* what, std::size_t bytes) {
    store.sync();
    const QSettings::Status status = store.status();
    if (status == QSettings::NoError) return true;
    const std::string path = QFile::encodeName(store.fileName()).toStdString();
    auto obstacle = store_write_obstacle(path);
    if (!obstacle && status == QSettings::AccessError) obstacle = store_write_attempt(path, bytes);
    if (!obstacle && status != QSettings::AccessError) return true;
    std::fprintf(stderr, "vornick: %s not saved to %s: %s\n", what, path.c_str(),
                 obstacle ? obstacle->c_str() : "the file could not be written");
    return false;
}

}  // namespace

QString config_file_path(const char* name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QLatin1String("/.config");
    return dir + QLatin1Char('/') + QLatin1String(name) + QLatin1String(".conf");
}

QString prefs_file_path() {
    return config_file_path(kPrefsAppId);
}

bool save_store(const QString& path, std::span<const StoredValue> values, const char* what) {
    clear_abandoned_lock(path);
    QSettings store(path, QSettings::IniFormat);
    std::size_t bytes = 0;
    for (const StoredValue& value : values) {
        put(store, value);
        bytes += std::strlen(value.key) + value.text.size() + 2;
    }
    const bool saved = synced(store, what, bytes);
    clear_abandoned_copies(path);
    return saved;
}

void getPrefs(Settings& s, double& delay) {
    const QSettings store(prefs_file_path(), QSettings::IniFormat);
    s = decode_settings([&store](const char* key) { return stored_text(store, key); });
    delay = s.Slow;
}

bool savePrefs(const Settings& s) {
    // One write for all thirteen, "randomizeProg" last: the file is replaced whole, so a save
    // cut short leaves the old settings or the new ones, never the new ones with an old key.
    return save_store(prefs_file_path(), encode_settings(s), "preferences");
}

bool PrefsSeedStore::save_seed(uint32_t seed) {
    const StoredValue value{kSavedSeedKey, encode_saved_seed(seed)};
    return save_store(prefs_file_path(), {&value, 1}, "preferences");
}

}  // namespace vornick
