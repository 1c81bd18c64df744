#include "sim/world.h"

#include <algorithm>

#include "sim/generator.h"

namespace vornick {

namespace {

// Cells holding a sprite of their own refuse an organism; the grid as generated holds only
// ground and plain cells, so the first pair is always kept there.
constexpr int32_t kMaxPlacementTries = 91;

}  // namespace

void rand_dat_org(World& w, Generator& gen, int32_t index) {
    Org o{};
    for (int32_t tries = 0; tries < kMaxPlacementTries; ++tries) {
        o.x = gen.draw() % kGridSize;
        o.y = gen.draw() % kGridSize;
        if (w.cell(o.x, o.y) > 11) break;
    }
    o.dir = gen.draw() & 3;
    w.orgs.edit(index) = o;
}

void init_world(World& w, Generator& gen, int32_t iNumOrgs, bool randINumOrgs) {
    std::fill(std::begin(w.world), std::end(w.world), kEmptyCode);

    const int32_t bound = std::clamp(iNumOrgs, int32_t{0}, kMaxOrgs);
    if (randINumOrgs) {
        const int32_t v = gen.draw();
        w.norgs = bound > 0 ? v % bound + 1 : 0;
    } else {
        w.norgs = bound;
    }

    for (int32_t i = 0; i < w.norgs; ++i) rand_dat_org(w, gen, i);

    for (int32_t x = 0; x < kGridSize; ++x) {
        for (int32_t y = 0; y < kGridSize; ++y) {
            int32_t& c = w.world[x * kGridSize + y];
            if (c == kEmptyCode && (gen.draw() & 3) == 0) c = kGroundCode;
        }
    }
}

bool headings_valid(const World& w) {
    const Org* const orgs = w.orgs.records();
    for (int32_t i = 0, n = w.live_count(); i < n; ++i) {
        if (!valid_heading(orgs[i].dir)) return false;
    }
    return true;
}

}  // namespace vornick
