// Where a text field's selection goes when the dialog refills the field: a whole selection
// stays whole, anything else keeps its place as far as the new text reaches.
#pragma once

#include <cstdint>

namespace vornick {

struct TextSelection {
    int32_t start;
    int32_t end;  // start == end: a caret
    bool operator==(const TextSelection&) const = default;
};

TextSelection refill_selection(int32_t old_length, TextSelection old, int32_t new_length);

}  // namespace vornick
