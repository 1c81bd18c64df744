#include "app/board_access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "render/gl_surface.h"

namespace vornick {

namespace {

QString heading_name(int32_t dir) {
    switch (dir) {
        case kUp:
            return QObject::tr("up");
        case kLeft:
            return QObject::tr("left");
        case kDown:
            return QObject::tr("down");
        case kRight:
            return QObject::tr("right");
        default:
            return QString::number(dir);
    }
}

QString state_name(RunStateName state) {
    switch (state) {
        case RunStateName::kRunning:
            return QObject::tr("running");
        case RunStateName::kHalted:
            return QObject::tr("halted");
        case RunStateName::kEnded:
            return QObject::tr("ended");
    }
    return QString();
}

// Organisms are counted from 1 here, as people count them; the table's order is kept.
QString describe(const BoardSummary& s) {
    const QString run =
        s.norgs == 1 ? QObject::tr("Step %1, %2, 1 organism.").arg(s.step).arg(state_name(s.state))
                     : QObject::tr("Step %1, %2, %3 organisms.")
                           .arg(s.step)
                           .arg(state_name(s.state))
                           .arg(s.norgs);
    if (s.selected < 0) return run + QLatin1Char(' ') + QObject::tr("No organism selected.");
    return run + QLatin1Char(' ') +
           QObject::tr("Selected: organism %1 of %2, at x %3, y %4, heading %5.")
               .arg(s.selected + 1)
               .arg(s.norgs)
               .arg(s.x)
               .arg(s.y)
               .arg(heading_name(s.dir));
}

// The board's accessible object: a focusable canvas whose description is the one its
// BoardAccess keeps, asked for at the moment a screen reader reads it.
class BoardInterface : public QAccessibleWidget {
  public:
    explicit BoardInterface(QWidget* board) : QAccessibleWidget(board, QAccessible::Canvas) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            if (const auto* access = widget()->findChild<const BoardAccess*>(
                    QString(), Qt::FindDirectChildrenOnly)) {
                return access->description();
            }
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* board_interface(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(GlSurface::staticMetaObject.className())) return nullptr;
    auto* board = qobject_cast<QWidget*>(object);
    return board ? new BoardInterface(board) : nullptr;
}

}  // namespace

void install_board_access() {
    static const bool installed = [] {
        QAccessible::installFactory(board_interface);
        return true;
    }();
    (void)installed;
}

BoardAccess::BoardAccess(QWidget* board) : QObject(board), board_(board) {
    board->setAccessibleName(tr("Board"));
    tell_later_.setSingleShot(true);
    connect(&tell_later_, &QTimer::timeout, this, [this] {
        if (description_ != told_) tell();
    });
}

void BoardAccess::refresh() {
    if (!summary_) return;
    const BoardSummary now = summary_();
    const bool acted = user_acted_;
    user_acted_ = false;
    if (shown_ == now) return;
    const bool at_once = acted || !shown_ || !walked_on(*shown_, now);
    shown_ = now;
    description_ = describe(now);
    if (at_once || !since_told_.isValid() || since_told_.elapsed() >= kWalkTellMs) {
        tell();
    } else if (!tell_later_.isActive()) {
        tell_later_.start(static_cast<int>(kWalkTellMs - since_told_.elapsed()));
    }
}

void BoardAccess::tell() {
    tell_later_.stop();
    told_ = description_;
    since_told_.restart();
    QAccessibleEvent changed(board_, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace vornick
