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

}  // namespace vornick
