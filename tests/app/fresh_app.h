// The running program as a first launch finds it: no preferences and no window state stored.
#pragma once

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

}  // namespace vornick::testing
