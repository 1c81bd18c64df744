#include "app/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

// The document is compiled into a static library, whose registration nothing else would pull
// into the program; this reference does.
static void load_help_resource() {
    Q_INIT_RESOURCE(vornick_help);
}

namespace vornick {

QtHelpWindow::QtHelpWindow(std::function<void()> on_hidden, QString document)
    : on_hidden_(std::move(on_hidden)), document_(std::move(document)) {}

QtHelpWindow::~QtHelpWindow() = default;

void QtHelpWindow::HandleHelpPrefs() {
    if (window_) {
        window_->show_in_front();
        return;
    }
    load_help_resource();
    window_ = std::make_unique<AuxWindow>();
    window_->setWindowTitle(QObject::tr("Vornick Help"));
    window_->on_hidden = on_hidden_;
    window_->resize(600, 640);
    view_ = new QTextBrowser(window_.get());
    view_->setAccessibleName(QObject::tr("Vornick Help"));
    view_->document()->setDocumentMargin(12);
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    QFile file(document_);
    if (file.open(QIODevice::ReadOnly)) view_->setHtml(QString::fromUtf8(file.readAll()));
    window_->show_in_front();
}

}  // namespace vornick
