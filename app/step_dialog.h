// Go to Step: a small window that takes a step number from 0 to the run's end and hands it on
// only when it is one; other text is refused there with a message, and nothing changes.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;

namespace vornick {

class StepDialog : public QDialog {
  public:
    StepDialog(std::function<void(int32_t)> on_step, QWidget* parent = nullptr);

    // Shows the window, modal to its parent, with `current` in the field, selected, ready to be
    // typed over; steps from 0 to `max` are taken.
    void open_with(int32_t current, int32_t max);

    QLineEdit* field() const { return field_; }
    QLabel* message() const { return message_; }

    void accept() override;

  private:
    std::function<void(int32_t)> on_step_;
    QLabel* prompt_;
    QLineEdit* field_;
    QLabel* message_;
    int32_t max_ = 0;
};

}  // namespace vornick
