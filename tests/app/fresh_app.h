// The running program as a first launch finds it: no preferences and no window state stored.
#pragma once

#include <QAction>
#include <QFile>
#include <memory>

#include "app/vornick_app.h"
#include "app/window_state.h"
#include "prefs/prefs_store.h"

namespace vornick::testing {

inline std::unique_ptr<VornickApp> fresh_app() {
    QFile::remove(prefs_file_path());
    QFile::remove(window_state_path());
    auto app = std::make_unique<VornickApp>();
    app->start();
    return app;
}

// The first run of seed 1 halted at once, so that nobody walks, and shown at `zoom`.
inline std::unique_ptr<VornickApp> halted_app_at_zoom(int zoom) {
    auto app = fresh_app();
    app->menus().action(kFileMenu, kStopItem)->trigger();
    for (int z = 1; z < zoom; ++z) app->run_command(AppCommand::kZoomIn);
    return app;
}

}  // namespace vornick::testing
