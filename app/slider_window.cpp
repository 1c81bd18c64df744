#include "app/slider_window.h"

#include <QSignalBlocker>

#include "ui_slider_window.h"

namespace vornick {

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
    ui_->intervalText->setText(QString::fromLatin1(text));
    QObject::connect(ui_->slider, &QSlider::valueChanged, window_.get(),
                     [this](int v) { on_moved_(v); });
    window_->on_hidden = on_hidden_;
    window_->show();
    return true;
}

void QtSliderWindow::set_text(const char* text) {
    if (!ui_) return;
    ui_->intervalText->setText(QString::fromLatin1(text));
    ui_->intervalText->repaint();  // shown at once, even while the slider is being dragged
}

}  // namespace vornick
