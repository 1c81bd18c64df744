// The main window: the board and panel surface under the menu bar, at its zoom, over the status
// bar. Closing it quits; the arrow keys reach it from the surface, which does not take them.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>

namespace vornick {

class GlSurface;

class MainWindow : public QMainWindow {
  public:
    MainWindow();

    GlSurface* surface() const { return surface_; }
    std::function<void()> on_close;
    std::function<void(int32_t char_code)> on_arrow_key;  // also for each auto-repeat
    std::function<void()> on_deactivated;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    GlSurface* surface_;
};

}  // namespace vornick
