#include "app/slider_window.h"

#include <QSignalBlocker>

#include "ui_slider_window.h"

namespace vornick {

namespace {

// A screen reader reads a label by its name, which says what the number is.
void show_interval(QLabel* label, const char* text) {
    label->setText(QString::fromLatin1(text));
    label->setAccessibleName(QObject::tr("Seconds per step: %1").arg(label->text()));
}

}  // namespace

QtSliderWindow::QtSliderWindow(std::function<void(int)> on_moved, std::function<void()> on_hidden)
    : on_moved_(std::move(on_moved)), on_hidden_(std::move(on_hidden)) {}

QtSliderWindow::~QtSliderWindow() = default;

bool QtSliderWindow::open(int16_t value, const char* text) {
    if (window_) {
        window_->show_in_front();
        return true;
    }
    window_ = std::make_unique<AuxWindow>();
    ui_ = std::make_unique<Ui::SliderWindow>();
    ui_->setupUi(window_.get());
    {
        // Placing the slider is not a move by the user.
        const QSignalBlocker quiet(ui_->slider);
        ui_->slider->setValue(value);
    }
    show_interval(ui_->intervalText, text);
    QObject::connect(ui_->slider, &QSlider::valueChanged, window_.get(),
                     [this](int v) { on_moved_(v); });
    window_->on_hidden = on_hidden_;
    window_->show();
    return true;
}

void QtSliderWindow::set_text(const char* text) {
    if (!ui_) return;
    show_interval(ui_->intervalText, text);
    ui_->intervalText->repaint();  // shown at once, even while the slider is being dragged
}

}  // namespace vornick
