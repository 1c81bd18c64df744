// The main window: the board and panel surface under the menu bar, at its zoom, over the status
// bar. Closing it quits; the arrow keys reach it from the surface, which does not take them; a
// run file dropped anywhere on it is handed on. The board has the keyboard when the window
// opens, and keeps Tab, Shift+Tab and Escape for the selection.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <cstdint>
#include <functional>

#include "edit/key_selection.h"

namespace vornick {

class BoardAccess;
class GlSurface;

class MainWindow : public QMainWindow {
  public:
    MainWindow();

    GlSurface* surface() const { return surface_; }
    BoardAccess& board_access() const { return *access_; }
    std::function<void()> on_close;
    std::function<void(int32_t char_code)> on_arrow_key;  // also for each auto-repeat
    std::function<void(SelectionKey)> on_selection_key;   // only while the board has focus
    std::function<void()> on_deactivated;
    std::function<void(const QByteArray& path)> on_run_dropped;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    GlSurface* surface_;
    BoardAccess* access_;
};

}  // namespace vornick
