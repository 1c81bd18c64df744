#include "sim/history/org_reorder.h"

namespace vornick {

// Kept apart from the reorderings: inlined there, its -1 makes the compiler see negative
// indices that the reorderings never receive.
int32_t topmost_org(const World& w, int32_t x, int32_t y) {
    for (int32_t i = w.norgs - 1; i >= 0; --i) {
        const Org o = w.orgs.get(i);
        if (o.x == x && o.y == y) return i;
    }
    return -1;
}

}  // namespace vornick
