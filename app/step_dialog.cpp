#include "app/step_dialog.h"

#include <QLineEdit>
#include <algorithm>

#include "sim/number_text.h"

namespace vornick {

StepDialog::StepDialog(std::function<void(int32_t)> on_step, QWidget* parent)
    : NumberDialog(tr("Go to Step"), tr("&Go"), parent), on_step_(std::move(on_step)) {
    // The run waits, halted, while the step is typed: nothing else reaches the main window.
    setWindowModality(Qt::WindowModal);
    field()->setObjectName(QStringLiteral("step"));
}

void StepDialog::open_with(int32_t current, int32_t max) {
    max_ = std::max(max, 0);
    set_prompt(tr("&Step (0 to %1):").arg(max_));
    show_with(QString::number(current));
}

QString StepDialog::refusal_of(const QString& text) {
    const NumberParse parsed = parse_step(text.toStdString(), max_);
    switch (parsed.error) {
        case NumberError::kNone:
            step_ = static_cast<int32_t>(parsed.value);
            return QString();
        case NumberError::kEmpty:
            return tr("Type a step: a whole number from 0 to %1.").arg(max_);
        case NumberError::kNotANumber:
            return tr("“%1” is not a step: use the digits 0 to 9.").arg(text.trimmed().left(24));
        case NumberError::kOutOfRange:
            return tr("This run ends at step %1: type a step from 0 to %1.").arg(max_);
    }
    return tr("That is not a step.");
}

void StepDialog::hand_on() {
    if (on_step_) on_step_(step_);
}

}  // namespace vornick
