#include "app/step_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/step_text.h"

namespace vornick {

namespace {

QString refusal(StepError error, const QString& text, int32_t max) {
    switch (error) {
        case StepError::kEmpty:
            return QObject::tr("Type a step: a whole number from 0 to %1.").arg(max);
        case StepError::kNotANumber:
            return QObject::tr("“%1” is not a step: use the digits 0 to 9.")
                .arg(text.trimmed().left(24));
        case StepError::kOutOfRange:
            return QObject::tr("This run ends at step %1: type a step from 0 to %1.").arg(max);
        case StepError::kNone:
            break;
    }
    return QString();
}

}  // namespace

StepDialog::StepDialog(std::function<void(int32_t)> on_step, QWidget* parent)
    : QDialog(parent), on_step_(std::move(on_step)) {
    setWindowTitle(tr("Go to Step"));
    // The run waits, halted, while the step is typed: nothing else reaches the main window.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    prompt_ = new QLabel(this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("step"));
    field_->setMaxLength(64);
    prompt_->setBuddy(field_);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);  // it quotes what was typed
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Go"));
    connect(buttons, &QDialogButtonBox::accepted, this, &StepDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &StepDialog::reject);
    // A new attempt clears the old refusal.
    connect(field_, &QLineEdit::textEdited, message_, &QLabel::hide);
    layout->addWidget(prompt_);
    layout->addWidget(field_);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void StepDialog::open_with(int32_t current, int32_t max) {
    max_ = std::max(max, 0);
    prompt_->setText(tr("&Step (0 to %1):").arg(max_));
    if (!isVisible()) {
        field_->setText(QString::number(current));
        message_->hide();
    }
    field_->selectAll();
    field_->setFocus();
    show();
    raise();
    activateWindow();
}

void StepDialog::accept() {
    const QString text = field_->text();
    const StepParse parsed = parse_step(text.toStdString(), max_);
    if (parsed.error != StepError::kNone) {
        message_->setText(refusal(parsed.error, text, max_));
        message_->show();
        field_->selectAll();
        field_->setFocus();
        return;
    }
    QDialog::accept();
    if (on_step_) on_step_(parsed.step);
}

}  // namespace vornick
