#include "app/seed_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/seed_text.h"

namespace vornick {

namespace {

QString refusal(SeedError error, const QString& text) {
    switch (error) {
        case SeedError::kEmpty:
            return QObject::tr(
                "Type a seed: a whole number from 0 to 4294967295, or 0x and "
                "hexadecimal digits.");
        case SeedError::kNotANumber:
            return QObject::tr(
                       "“%1” is not a seed: use the digits 0 to 9, or 0x and "
                       "hexadecimal digits.")
                .arg(text.trimmed().left(24));
        case SeedError::kOutOfRange:
            return QObject::tr("A seed is from 0 to 4294967295 (0xFFFFFFFF).");
        case SeedError::kNone:
            break;
    }
    return QString();
}

}  // namespace

SeedDialog::SeedDialog(std::function<void(uint32_t)> on_seed, QWidget* parent)
    : QDialog(parent), on_seed_(std::move(on_seed)) {
    setWindowTitle(tr("New Run from Seed"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("&Seed (decimal, or hexadecimal after 0x):"), this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("seed"));
    field_->setMaxLength(64);
    prompt->setBuddy(field_);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    message_->setTextFormat(Qt::PlainText);  // it quotes what was typed
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    message_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Start Run"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SeedDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SeedDialog::reject);
    // A new attempt clears the old refusal.
    connect(field_, &QLineEdit::textEdited, message_, &QLabel::hide);
    layout->addWidget(prompt);
    layout->addWidget(field_);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void SeedDialog::open_with(uint32_t current) {
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

void SeedDialog::accept() {
    const QString text = field_->text();
    const SeedParse parsed = parse_seed(text.toStdString());
    if (parsed.error != SeedError::kNone) {
        message_->setText(refusal(parsed.error, text));
        message_->show();
        field_->selectAll();
        field_->setFocus();
        return;
    }
    QDialog::accept();
    if (on_seed_) on_seed_(parsed.seed);
}

}  // namespace vornick
