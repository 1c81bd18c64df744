#include "app/key_codes.h"

#include "edit/arrow_keys.h"

namespace vornick {

int32_t arrow_char_code(int qt_key, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::ControlModifier)) return kNoCharCode;
    switch (qt_key) {
        case Qt::Key_Left:
            return kLeftArrowCharCode;
        case Qt::Key_Right:
            return kRightArrowCharCode;
        case Qt::Key_Up:
            return kUpArrowCharCode;
        case Qt::Key_Down:
            return kDownArrowCharCode;
        default:
            return kNoCharCode;
    }
}

std::optional<SelectionKey> selection_key(int qt_key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    switch (qt_key) {
        case Qt::Key_Tab:
            return modifiers.testFlag(Qt::ShiftModifier) ? SelectionKey::kPrevious
                                                         : SelectionKey::kNext;
        case Qt::Key_Backtab:  // Shift+Tab as X11 reports it
            return SelectionKey::kPrevious;
        case Qt::Key_Escape:
            return SelectionKey::kDeselect;
        default:
            return {};
    }
}

}  // namespace vornick
