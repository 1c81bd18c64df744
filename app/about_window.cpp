#include "app/about_window.h"

#include <QApplication>
#include <QIcon>

#include "ui_about_window.h"

namespace vornick {

QtAboutWindow::QtAboutWindow(std::function<void()> on_hidden) : on_hidden_(std::move(on_hidden)) {}

QtAboutWindow::~QtAboutWindow() = default;

bool QtAboutWindow::open() {
    if (window_) {
        window_->show_in_front();
        return true;
    }
    window_ = std::make_unique<AuxWindow>();
    ui_ = std::make_unique<Ui::AboutWindow>();
    ui_->setupUi(window_.get());
    ui_->icon->setPixmap(QIcon(QStringLiteral(":/icons/vornick.png")).pixmap(64, 64));
    ui_->icon->setAccessibleName(QObject::tr("Vornick icon"));
    ui_->version->setText(QObject::tr("Version %1").arg(QApplication::applicationVersion()));
    window_->on_hidden = on_hidden_;
    window_->show();
    return true;
}

}  // namespace vornick
