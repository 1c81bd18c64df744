// New Run from Seed: a small window that takes a seed as text and hands it on only when it is
// a seed; other text is refused there with a message, and nothing changes.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;

namespace vornick {

class SeedDialog : public QDialog {
  public:
    SeedDialog(std::function<void(uint32_t)> on_seed, QWidget* parent = nullptr);

    // Shows the window with `current` in the field, selected, ready to be typed over.
    void open_with(uint32_t current);

    QLineEdit* field() const { return field_; }
    QLabel* message() const { return message_; }

    void accept() override;

  private:
    std::function<void(uint32_t)> on_seed_;
    QLineEdit* field_;
    QLabel* message_;
};

}  // namespace vornick
