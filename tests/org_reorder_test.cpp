#include "sim/history/org_reorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vornick {
namespace {

struct ReorderCase {
    const char* name;
    bool drop;  // else an arrow move to the right
    int32_t mover;
    std::vector<int32_t> occupants;  // on the target cell (20, 20); 8 and 9 are stale records
    std::vector<int32_t> order;      // the former indices front to back, then the mover's index
};

// Eight live records, told apart by their headings; the mover stands just left of the target.
World layout(const ReorderCase& c) {
    World w{};
    w.norgs = 8;
    for (int32_t k = 0; k < 10; ++k) w.orgs.edit(k) = Org{k, 0, k};
    w.orgs.edit(c.mover) = Org{19, 20, c.mover};
    for (int32_t k : c.occupants) w.orgs.edit(k) = Org{20, 20, k};
    return w;
}

OrgMove apply(World& w, const ReorderCase& c) {
    return c.drop ? drop_org(w, c.mover, 20, 20) : arrow_move_org(w, c.mover, 1, 0);
}

class Reorder : public ::testing::TestWithParam<ReorderCase> {};

TEST_P(Reorder, MoverEndsOnTopInThisOrder) {
    World w = layout(GetParam());
    const OrgMove m = apply(w, GetParam());
    std::vector<int32_t> got;
    for (int32_t k = 0; k < w.norgs; ++k) got.push_back(w.orgs.get(k).dir);
    got.push_back(w.orgs.get(m.to).x == 20 && w.orgs.get(m.to).y == 20 ? m.to : -1);
    EXPECT_EQ(got, GetParam().order);
}

TEST_P(Reorder, UndoRestoresEveryRecord) {
    World w = layout(GetParam());
    const World before = w;
    undo_org_move(w, apply(w, GetParam()));
    EXPECT_EQ(0, std::memcmp(w.orgs.records(), before.orgs.records(), sizeof(Org) * kMaxOrgs));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Reorder,
    ::testing::Values(ReorderCase{"Drop2Onto5", true, 2, {5}, {0, 1, 3, 4, 5, 2, 6, 7, 5}},
                      ReorderCase{"Drop4Onto1", true, 4, {1}, {0, 1, 2, 3, 4, 5, 6, 7, 4}},
                      ReorderCase{"DropOntoEmpty", true, 3, {}, {0, 1, 2, 3, 4, 5, 6, 7, 3}},
                      ReorderCase{"Drop7Onto1And4", true, 7, {1, 4}, {0, 1, 2, 3, 4, 5, 6, 7, 7}},
                      ReorderCase{"DropOntoStale", true, 2, {9}, {0, 1, 2, 3, 4, 5, 6, 7, 2}},
                      ReorderCase{"Arrow6Onto2", false, 6, {2}, {0, 1, 2, 6, 3, 4, 5, 7, 3}},
                      ReorderCase{"Arrow2Onto5", false, 2, {5}, {0, 1, 3, 4, 5, 2, 6, 7, 5}},
                      ReorderCase{"Arrow3Onto2", false, 3, {2}, {0, 1, 2, 3, 4, 5, 6, 7, 3}},
                      ReorderCase{"Arrow7Onto1And4", false, 7, {1, 4}, {0, 1, 2, 3, 4, 7, 5, 6, 5}},
                      ReorderCase{"ArrowOntoEmpty", false, 5, {}, {0, 1, 2, 3, 4, 5, 6, 7, 5}},
                      ReorderCase{"ArrowPastStale", false, 2, {0, 8}, {0, 2, 1, 3, 4, 5, 6, 7, 1}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vornick
