// Qt's keys as the character codes of the key dispatch: the four arrows map to 28..31, and
// every other key, or an arrow with Ctrl held, to none, so it reaches the menus or nothing.
// Tab, Shift+Tab and Escape on the board walk and drop the selection.
#pragma once

#include <Qt>
#include <cstdint>
#include <optional>

#include "edit/key_selection.h"

namespace vornick {

inline constexpr int32_t kNoCharCode = 0;

int32_t arrow_char_code(int qt_key, Qt::KeyboardModifiers modifiers);

// None with Ctrl, Alt or Meta held: those combinations belong to the menus and the desktop.
std::optional<SelectionKey> selection_key(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace vornick
