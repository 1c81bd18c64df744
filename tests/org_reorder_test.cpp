#include "edit/org_reorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace vornick {
namespace {

enum class Kind { kDrop, kArrow };

struct ReorderCase {
    const char* name;
    Kind kind;
    int32_t mover;
    std::vector<int32_t> occupants;  // indices standing on the target cell, stale ones included
    int32_t norgs;
    std::vector<int32_t> order;  // former indices, front to back, after the move
};

// Eight live records each on a cell of its own, the mover just left of the target (20, 20).
World layout(const ReorderCase& c) {
    World w{};
    w.norgs = c.norgs;
    for (int32_t k = 0; k < kMaxOrgs; ++k) w.orgs[k] = Org{k % kGridSize, 0, k % 4};
    w.orgs[c.mover] = Org{19, 20, c.mover % 4};
    for (int32_t k : c.occupants) w.orgs[k] = Org{20, 20, k % 4};
    return w;
}

OrgMove apply(World& w, const ReorderCase& c) {
    return c.kind == Kind::kDrop ? drop_org(w, c.mover, 20, 20) : arrow_move_org(w, c.mover, 1, 0);
}

const ReorderCase kCases[] = {
    {"Drop2Onto5", Kind::kDrop, 2, {5}, 8, {0, 1, 3, 4, 5, 2, 6, 7}},
    {"Drop4Onto1", Kind::kDrop, 4, {1}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"DropOntoEmpty", Kind::kDrop, 3, {}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"Drop7Onto1And4", Kind::kDrop, 7, {1, 4}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"DropStaleNeverFound", Kind::kDrop, 2, {9}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"Arrow6Onto2", Kind::kArrow, 6, {2}, 8, {0, 1, 2, 6, 3, 4, 5, 7}},
    {"Arrow2Onto5", Kind::kArrow, 2, {5}, 8, {0, 1, 3, 4, 5, 2, 6, 7}},
    {"Arrow3Onto2", Kind::kArrow, 3, {2}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"Arrow7Onto1And4", Kind::kArrow, 7, {1, 4}, 8, {0, 1, 2, 3, 4, 7, 5, 6}},
    {"ArrowOntoEmpty", Kind::kArrow, 5, {}, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
    {"Arrow2OntoStale", Kind::kArrow, 2, {0, 8}, 8, {0, 2, 1, 3, 4, 5, 6, 7}},
};

class Reorder : public ::testing::TestWithParam<ReorderCase> {};

TEST_P(Reorder, MoverEndsOnTopInTheSpecifiedOrder) {
    const ReorderCase& c = GetParam();
    World w = layout(c);
    const World before = w;
    const OrgMove m = apply(w, c);
    std::vector<int32_t> order;
    for (int32_t p = 0; p < w.norgs; ++p) {
        Org want = before.orgs[c.order[p]];
        if (c.order[p] == c.mover) want = Org{20, 20, want.dir};
        const Org& got = w.orgs[p];
        order.push_back(got.x == want.x && got.y == want.y && got.dir == want.dir ? c.order[p]
                                                                                  : -1);
    }
    order.push_back(m.to);
    std::vector<int32_t> expected = c.order;
    int32_t mover_at = 0;
    while (c.order[mover_at] != c.mover) ++mover_at;
    expected.push_back(mover_at);
    EXPECT_EQ(order, expected);
}

TEST_P(Reorder, UndoRestoresTheTableExactly) {
    const ReorderCase& c = GetParam();
    World w = layout(c);
    const World before = w;
    undo_org_move(w, apply(w, c));
    int32_t differing = 0;
    for (int32_t k = 0; k < kMaxOrgs; ++k) {
        const Org &a = w.orgs[k], &b = before.orgs[k];
        differing += a.x != b.x || a.y != b.y || a.dir != b.dir;
    }
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Examples, Reorder, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vornick
