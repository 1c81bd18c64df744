// A small window that takes one number as text and hands it on only when it is one the command
// takes; other text is refused there with a message saying why, and nothing changes.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace vornick {

class NumberDialog : public QDialog {
  public:
    QLineEdit* field() const { return field_; }
    QLabel* message() const { return message_; }

    void accept() override;

  protected:
    NumberDialog(const QString& title, const QString& go, QWidget* parent);

    void set_prompt(const QString& text);
    // Shows the window with `text` in the field, selected, ready to be typed over; a window
    // already open keeps what was typed.
    void show_with(const QString& text);

    // Reads the text, keeping the number for hand_on; "" when it is taken, else the refusal.
    virtual QString refusal_of(const QString& text) = 0;
    // Once the window has closed on a number it took.
    virtual void hand_on() = 0;

  private:
    QLabel* prompt_;
    QLineEdit* field_;
    QLabel* message_;
};

}  // namespace vornick
