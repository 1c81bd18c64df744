#include "app/board_frame.h"

#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace vornick {

BoardFrame::BoardFrame(QWidget* board, QWidget* parent) : QWidget(parent), board_(board) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(board);
    board->installEventFilter(this);
}

bool BoardFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == board_ &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void BoardFrame::paintEvent(QPaintEvent*) {
    if (!board_->hasFocus()) return;
    const QRect picture = board_->geometry();
    const int ring = kMargin - 1;
    const QRegion around = QRegion(picture.adjusted(-kMargin, -kMargin, kMargin, kMargin)) -
                           QRegion(picture.adjusted(-(kMargin - ring), -(kMargin - ring),
                                                    kMargin - ring, kMargin - ring));
    QPainter painter(this);
    for (const QRect& r : around) painter.fillRect(r, palette().color(QPalette::Highlight));
}

}  // namespace vornick
