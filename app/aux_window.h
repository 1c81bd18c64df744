// The small windows beside the main one: made once, hidden rather than destroyed by their close
// box or Escape, and reporting when they are hidden so the menu item that opens them is enabled.
#pragma once

#include <QWidget>
#include <functional>

namespace vornick {

class AuxWindow : public QWidget {
  public:
    explicit AuxWindow(QWidget* parent = nullptr);

    void show_in_front();

    std::function<void()> on_hidden;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void hide_and_tell();
};

}  // namespace vornick
