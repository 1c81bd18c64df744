#include "app/seed_dialog.h"

#include <QLineEdit>

#include "sim/number_text.h"

namespace vornick {

SeedDialog::SeedDialog(std::function<void(uint32_t)> on_seed, QWidget* parent)
    : NumberDialog(tr("New Run from Seed"), tr("&Start Run"), parent),
      on_seed_(std::move(on_seed)) {
    set_prompt(tr("&Seed (decimal, or hexadecimal after 0x):"));
    field()->setObjectName(QStringLiteral("seed"));
}

void SeedDialog::open_with(uint32_t current) {
    show_with(QString::number(current));
}

QString SeedDialog::refusal_of(const QString& text) {
    const NumberParse parsed = parse_seed(text.toStdString());
    switch (parsed.error) {
        case NumberError::kNone:
            seed_ = static_cast<uint32_t>(parsed.value);
            return QString();
        case NumberError::kEmpty:
            return tr(
                "Type a seed: a whole number from 0 to 4294967295, or 0x and "
                "hexadecimal digits.");
        case NumberError::kNotANumber:
            return tr("“%1” is not a seed: use the digits 0 to 9, or 0x and "
                      "hexadecimal digits.")
                .arg(text.trimmed().left(24));
        case NumberError::kOutOfRange:
            return tr("A seed is from 0 to 4294967295 (0xFFFFFFFF).");
    }
    return tr("That is not a seed.");
}

void SeedDialog::hand_on() {
    if (on_seed_) on_seed_(seed_);
}

}  // namespace vornick
