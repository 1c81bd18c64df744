// The preference store: the thirteen settings kept between launches in the per-user file
// "$XDG_CONFIG_HOME/Vornick prefs.conf". Loading always succeeds; a save that can't be written
// says so in one line on stderr and leaves the program running with its settings as they were.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "prefs/pref_codec.h"
#include "sim/ports.h"
#include "sim/settings.h"

class QSettings;

namespace vornick {

inline constexpr const char* kPrefsAppId = "Vornick prefs";

// Where the per-user settings file "<name>.conf" lives now; follows XDG_CONFIG_HOME at every
// call.
QString config_file_path(const char* name);
QString prefs_file_path();  // the store's own

// Writes `values` into the settings file at `path` in one write and makes them persistent;
// every other key keeps what it held. A lock or a copy that a killed save left is cleared. A
// write that fails is reported on stderr (what was not saved, the file and the reason) and
// gives false.
bool save_store(const QString& path, std::span<const StoredValue> values, const char* what);

// The text under `key` as getPrefs reads it from `store`; nothing when the key is absent.
std::optional<std::string> stored_text(const QSettings& store, const char* key);

// Fills every field of `s` from the store (defaults for what is absent or unreadable), then
// sets `delay` to the slow mode's interval.
void getPrefs(Settings& s, double& delay);

// Writes all thirteen keys and makes them persistent. A write that fails is reported on stderr
// (the file and the reason) and gives false. The file is replaced whole or not at all.
bool savePrefs(const Settings& s);

class PrefsSeedStore : public SeedStore {
  public:
    // Writes "savedSeed" alone; every other key in the store keeps what it held. Reported and
    // false as savePrefs when it fails.
    bool save_seed(uint32_t seed);
    void write_saved_seed(uint32_t seed) override { save_seed(seed); }
    void save_all(const Settings& s) override { savePrefs(s); }
};

}  // namespace vornick
