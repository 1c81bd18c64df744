// The help window: the program's help document in a read-only browser. Made on first opening
// and kept, so every later opening shows the same text; a missing document leaves it empty.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "app/aux_window.h"

class QTextBrowser;

namespace vornick {

inline constexpr const char* kHelpDocument = ":/help/vornick_help.html";

class QtHelpWindow {
  public:
    explicit QtHelpWindow(std::function<void()> on_hidden,
                          QString document = QString::fromLatin1(kHelpDocument));
    ~QtHelpWindow();

    void HandleHelpPrefs();

    AuxWindow* window() const { return window_.get(); }
    QTextBrowser* view() const { return view_; }

  private:
    std::function<void()> on_hidden_;
    QString document_;
    std::unique_ptr<AuxWindow> window_;
    QTextBrowser* view_ = nullptr;
};

}  // namespace vornick
