// The About window: the application's icon, name and version. Made on first opening.
#pragma once

#include <functional>
#include <memory>

#include "app/aux_window.h"
#include "app/menu_choice.h"

namespace Ui {
class AboutWindow;
}

namespace vornick {

class QtAboutWindow : public AboutWindow {
  public:
    explicit QtAboutWindow(std::function<void()> on_hidden);
    ~QtAboutWindow() override;

    bool open() override;
    AuxWindow* window() const { return window_.get(); }

  private:
    std::function<void()> on_hidden_;
    std::unique_ptr<AuxWindow> window_;
    std::unique_ptr<Ui::AboutWindow> ui_;
};

}  // namespace vornick
