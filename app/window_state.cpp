#include "app/window_state.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>

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
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QLatin1String("/.config");
    return dir + QLatin1String("/Vornick.conf");
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

void save_window_state(const WindowState& state) {
    QSettings store(window_state_path(), QSettings::IniFormat);
    store.setValue(QStringLiteral("zoom"), QString::number(state.zoom));
    store.setValue(QStringLiteral("statusBar"),
                   state.status_bar ? QStringLiteral("yes") : QStringLiteral("no"));
    if (state.position) {
        store.setValue(QStringLiteral("left"), QString::number(state.position->x()));
        store.setValue(QStringLiteral("top"), QString::number(state.position->y()));
    }
    store.sync();
}

}  // namespace vornick
