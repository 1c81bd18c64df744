// The preference store: the thirteen settings kept between launches in the per-user file
// "$XDG_CONFIG_HOME/Vornick prefs.conf". Loading always succeeds; a save that can't be written
// is silent and leaves the program running with its settings as they were.
#pragma once

#include <QString>
#include <cstdint>

#include "sim/ports.h"
#include "sim/settings.h"

namespace vornick {

inline constexpr const char* kPrefsAppId = "Vornick prefs";

// Where the store lives now; follows XDG_CONFIG_HOME at every call.
QString prefs_file_path();

// Fills every field of `s` from the store (defaults for what is absent or unreadable), then
// sets `delay` to the slow mode's interval.
void getPrefs(Settings& s, double& delay);

// Writes all thirteen keys and makes them persistent.
void savePrefs(const Settings& s);

class PrefsSeedStore : public SeedStore {
  public:
    // Writes "savedSeed" alone; every other key in the store keeps what it held.
    void write_saved_seed(uint32_t seed) override;
    void save_all(const Settings& s) override { savePrefs(s); }
};

}  // namespace vornick
