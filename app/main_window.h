// The main window: the 440 x 300 board and panel surface under the menu bar. Closing it quits.
#pragma once

#include <QMainWindow>
#include <functional>

namespace vornick {

class GlSurface;

class MainWindow : public QMainWindow {
  public:
    MainWindow();

    GlSurface* surface() const { return surface_; }
    std::function<void()> on_close;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    GlSurface* surface_;
};

}  // namespace vornick
