#include "prefs/field_selection.h"

#include <algorithm>

namespace vornick {

TextSelection refill_selection(int32_t old_length, TextSelection old, int32_t new_length) {
    // An empty field counts as wholly selected, so typing into it after a refill replaces it.
    if (old.end - old.start >= old_length) return {0, new_length};
    return {std::min(old.start, new_length), std::min(old.end, new_length)};
}

}  // namespace vornick
