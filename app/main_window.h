// The main window: the 440 x 300 board and panel surface under the menu bar. Closing it quits;
// it takes the arrow keys, as the surface never holds the keyboard focus.
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
