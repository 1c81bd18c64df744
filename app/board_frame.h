// The board's holder in the main window: a thin margin around the picture in which the
// board's keyboard focus is drawn, so that the picture's own pixels never show it.
#pragma once

#include <QWidget>

namespace vornick {

class BoardFrame : public QWidget {
  public:
    // Takes `board` into its layout; the margin is there whether or not the board has focus,
    // so the window keeps its size as the focus comes and goes.
    BoardFrame(QWidget* board, QWidget* parent);

    static constexpr int kMargin = 3;  // the focus ring and a gap of one pixel

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* board_;
};

}  // namespace vornick
