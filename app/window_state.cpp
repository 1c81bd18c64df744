#include "app/window_state.h"

#include <QSettings>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "prefs/prefs_store.h"
#include "render/scaling.h"

namespace vornick {

namespace {

// A hand-edited value may come back as a list or a typed value; only plain text is read.
std::optional<int> stored_int(const QSettings& store, const char* key) {
    const QVariant value = store.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    bool ok = false;
    const int n = value.toString().trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// A window placed beyond this is off any screen anyone has.
constexpr int kFarthest = 100000;

}  // namespace

QString window_state_path() {
    return config_file_path("Vornick");
}

WindowState load_window_state() {
    const QSettings store(window_state_path(), QSettings::IniFormat);
    WindowState state;
    if (const auto zoom = stored_int(store, "zoom")) state.zoom = std::clamp(*zoom, 1, kMaxZoom);
    const QVariant bar = store.value(QStringLiteral("statusBar"));
    if (bar.typeId() == QMetaType::QString) {
        state.status_bar = bar.toString().trimmed().toLower() != QLatin1String("no");
    }
    const auto left = stored_int(store, "left");
    const auto top = stored_int(store, "top");
    if (left && top && std::abs(*left) <= kFarthest && std::abs(*top) <= kFarthest) {
        state.position = QPoint(*left, *top);
    }
    return state;
}

// Saved as the preferences are, so that a kill or an unwritable file does the same no harm.
void save_window_state(const WindowState& state) {
    std::vector<StoredValue> values{{"zoom", std::to_string(state.zoom)},
                                    {"statusBar", state.status_bar ? "yes" : "no"}};
    if (state.position) {
        values.push_back({"left", std::to_string(state.position->x())});
        values.push_back({"top", std::to_string(state.position->y())});
    }
    save_store(window_state_path(), values, "window state");
}

}  // namespace vornick
