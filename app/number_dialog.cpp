#include "app/number_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornick {

NumberDialog::NumberDialog(const QString& title, const QString& go, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    prompt_ = new QLabel(this);
    field_ = new QLineEdit(this);
    field_->setMaxLength(64);
    prompt_->setBuddy(field_);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);  // it quotes what was typed
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(go);
    connect(buttons, &QDialogButtonBox::accepted, this, &NumberDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NumberDialog::reject);
    // A new attempt clears the old refusal.
    connect(field_, &QLineEdit::textEdited, message_, &QLabel::hide);
    layout->addWidget(prompt_);
    layout->addWidget(field_);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void NumberDialog::set_prompt(const QString& text) {
    prompt_->setText(text);
}

void NumberDialog::show_with(const QString& text) {
    if (!isVisible()) {
        field_->setText(text);
        message_->hide();
    }
    field_->selectAll();
    field_->setFocus();
    show();
    raise();
    activateWindow();
}

void NumberDialog::accept() {
    const QString refusal = refusal_of(field_->text());
    if (!refusal.isEmpty()) {
        message_->setText(refusal);
        message_->show();
        field_->selectAll();
        field_->setFocus();
        return;
    }
    QDialog::accept();
    hand_on();
}

}  // namespace vornick
