#include "app/aux_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace vornick {

AuxWindow::AuxWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void AuxWindow::show_in_front() {
    show();
    raise();
    activateWindow();
}

void AuxWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // kept for reuse
    hide_and_tell();
}

void AuxWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide_and_tell();
        return;
    }
    QWidget::keyPressEvent(event);  // declined: the default handling applies
}

void AuxWindow::hide_and_tell() {
    hide();
    if (on_hidden) on_hidden();
}

}  // namespace vornick
