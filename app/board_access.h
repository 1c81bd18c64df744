// The board as a screen reader finds it: a canvas named "Board", described by the step, the
// run's state, the number of organisms and the selected organism with its cell and heading.
// The description follows the picture: it is brought up to date whenever a frame is shown,
// never by the steps themselves.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "app/board_summary.h"

class QWidget;

namespace vornick {

// Makes the board's accessible object one of ours; call before the board is made.
void install_board_access();

class BoardAccess : public QObject {
  public:
    // Belongs to `board`, which it names.
    explicit BoardAccess(QWidget* board);

    // Where the description comes from; until it is set the board has none.
    void follow(std::function<BoardSummary()> summary) { summary_ = std::move(summary); }
    // Called with every frame shown: describes the run anew and, when that changed, tells
    // screen readers (a walking run at most once a second, anything else at once).
    void refresh();
    // The next change is the user's own (a key or a click on the board): told at once.
    void user_acted() { user_acted_ = true; }

    const QString& description() const { return description_; }

    static constexpr int kWalkTellMs = 1000;

  private:
    void tell();

    QWidget* board_;
    std::function<BoardSummary()> summary_;
    std::optional<BoardSummary> shown_;
    QString description_;
    QString told_;
    bool user_acted_ = false;
    QElapsedTimer since_told_;
    QTimer tell_later_;
};

}  // namespace vornick
