#include "app/status_line.h"

#include <QKeyEvent>
#include <QStatusBar>

#include "sim/sim.h"

namespace vornick {

namespace {

QString speed_name(int16_t speed) {
    switch (speed) {
        case kSlowMode:
            return QObject::tr("Slow");
        case kFastMode:
            return QObject::tr("Fast");
        case kTurboMode:
            return QObject::tr("Turbo");
        case kMaxSpeedMode:
            return QObject::tr("Maximum");
        case kSingleStepMode:
            return QObject::tr("Single Step");
        case kVariableMode:
            return QObject::tr("Variable");
        default:
            return QString();
    }
}

QString state_name(RunStateName state) {
    switch (state) {
        case RunStateName::kRunning:
            return QObject::tr("Running");
        case RunStateName::kHalted:
            return QObject::tr("Halted");
        case RunStateName::kEnded:
            return QObject::tr("Ended");
    }
    return QString();
}

QLabel* add_label(QStatusBar* bar, QLabel* label) {
    label->setContentsMargins(4, 0, 12, 0);
    bar->addWidget(label);
    return label;
}

// Qt tells screen readers of every call, even one that changes nothing.
void name_field(QLabel* field, const QString& name) {
    if (field->accessibleName() != name) field->setAccessibleName(name);
}

}  // namespace

bool SeedLabel::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && hasSelectedText() &&
        static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)) {
        e->accept();  // the key then reaches the label, which copies its selection
        return true;
    }
    return QLabel::event(e);
}

void SeedLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    if (e->reason() != Qt::MouseFocusReason) setSelection(0, static_cast<int>(text().size()));
}

StatusLine::StatusLine(QStatusBar* bar) {
    auto* prefix = new QLabel(QObject::tr("See&d:"), bar);
    prefix->setContentsMargins(4, 0, 0, 0);
    bar->addWidget(prefix);
    seed_ = new SeedLabel(bar);
    // Selected by the mouse only, so the arrow keys go on moving the selected organism; a click
    // or the label's key gives it the keyboard for Ctrl+C, and Escape gives it back.
    seed_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    seed_->setFocusPolicy(Qt::ClickFocus);
    prefix->setBuddy(seed_);
    seed_->setToolTip(QObject::tr("The run's seed: Alt+D or a drag selects it, Ctrl+C copies it"));
    add_label(bar, seed_);
    state_ = add_label(bar, new QLabel(bar));
    speed_ = add_label(bar, new QLabel(bar));
    organisms_ = add_label(bar, new QLabel(bar));
}

void StatusLine::show_status(const RunStatus& s) {
    seed_->setText(QString::number(s.seed));
    state_->setText(state_name(s.state));
    speed_->setText(speed_name(s.speed));
    organisms_->setText(s.norgs == 1 ? QObject::tr("1 organism")
                                     : QObject::tr("%1 organisms").arg(s.norgs));
    name_field(seed_, QObject::tr("Seed: %1").arg(seed_->text()));
    name_field(state_, QObject::tr("Run: %1").arg(state_->text()));
    name_field(speed_, QObject::tr("Speed: %1").arg(speed_->text()));
    name_field(organisms_, QObject::tr("Organisms: %1").arg(s.norgs));
    if (after_show) after_show();
}

}  // namespace vornick
