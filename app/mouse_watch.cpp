#include "app/mouse_watch.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace vornick {

MouseWatch::MouseWatch(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool MouseWatch::eventFilter(QObject* watched, QEvent* event) {
    const bool was_down = down_;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            down_ = true;
            break;
        case QEvent::MouseButtonRelease:
            down_ = static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
            break;
        case QEvent::ApplicationStateChange:
            down_ = false;  // a release outside the program is never seen
            break;
        default:
            break;
    }
    if (was_down && !down_ && on_all_released) on_all_released();
    return QObject::eventFilter(watched, event);
}

}  // namespace vornick
