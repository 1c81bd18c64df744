#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "every_path.h"
#include "sim/generator.h"
#include "sim/move.h"
#include "sim/world.h"

namespace vornick {
namespace {

// What editing, drawing or a later tool may do to the table between two steps; done alike to a
// world moved by move_orgs and to one moved by the serial definition alone.
struct Edit {
    const char* name;
    void (*apply)(std::unique_ptr<World>& w, int nth);  // nth: the first edit of a run is 0
};

int32_t read_everything(const World& w) {
    int32_t sum = 0;
    for (int32_t i = 0; i < w.norgs; ++i) sum += w.orgs.records()[i].x + w.orgs.get(i).y;
    return sum;
}

const Edit kEdits[] = {
    {"Nothing", [](std::unique_ptr<World>&, int) {}},
    {"ReadsOnly", [](std::unique_ptr<World>& w, int) { EXPECT_GE(read_everything(*w), 0); }},
    {"WritesOneRecord",
     [](std::unique_ptr<World>& w, int) {
         w->orgs.edit(w->norgs / 2) = {27, 0, kRight};
     }},
    {"WritesOneField",
     [](std::unique_ptr<World>& w, int) { w->orgs.edit(0).dir = (w->orgs.get(0).dir + 1) % 4; }},
    {"ReordersLikeADrop",
     [](std::unique_ptr<World>& w, int) {
         Org* const orgs = w->orgs.records();
         std::rotate(orgs, orgs + 1, orgs + w->norgs);
     }},
    {"CopiesInThroughAPointer",
     [](std::unique_ptr<World>& w, int) {
         const Org three[] = {{0, 0, kLeft}, {0, 0, kUp}, {27, 27, kDown}};
         std::copy(std::begin(three), std::end(three), w->orgs.records());
     }},
    {"GoesOnInACopy", [](std::unique_ptr<World>& w, int) { w = std::make_unique<World>(*w); }},
    {"FewerOrganismsThenMore",
     [](std::unique_ptr<World>& w, int nth) { w->norgs += nth ? 3 : -3; }},
    {"OffTheGridThenBack",
     [](std::unique_ptr<World>& w, int nth) { w->orgs.edit(1).x = nth ? 3 : 40; }},
    {"BadHeading", [](std::unique_ptr<World>& w, int) { w->orgs.edit(0).dir = -2; }},
};

class TableBetweenSteps : public testing::EveryPath {};

// Each row edits at two points of a run of single steps and batches, and compares after every
// move, through get() while the table is being moved and through the records at the end.
TEST_P(TableBetweenSteps, EditsAreSeenAsInTheSerialDefinition) {
    for (int32_t norgs : {7, 784}) {
        for (const Edit& e : kEdits) {
            const std::string what = std::string(e.name) + ", " + std::to_string(norgs);
            Generator fast, serial;
            fast.seed = 4242u + static_cast<uint32_t>(norgs);
            auto a = std::make_unique<World>();
            init_world(*a, fast, norgs, false);
            auto b = std::make_unique<World>(*a);
            serial = fast;
            for (int step = 0; step < 40; ++step) {
                if (step == 10 || step == 25) {
                    e.apply(a, step == 25);
                    e.apply(b, step == 25);
                }
                // Every fifth move is a batch, which works on the same copy as single steps.
                const int64_t k = step % 5 == 4 ? 70 : 1;
                bool serial_ok = true;
                for (int64_t j = 0; j < k; ++j) serial_ok &= move_orgs_serial(*b, serial);
                if (k == 1) {
                    ASSERT_EQ(move_orgs(*a, fast), serial_ok) << what;
                } else {
                    const uint32_t before = fast.seed;
                    ASSERT_EQ(move_orgs_steps(*a, fast, k), serial_ok) << what;
                    if (!serial_ok) {  // refused, nothing moved: go one by one instead
                        ASSERT_EQ(fast.seed, before) << what;
                        for (int64_t j = 0; j < k; ++j) move_orgs(*a, fast);
                    }
                }
                ASSERT_EQ(fast.seed, serial.seed) << what;
                for (int32_t i = 0; i < b->norgs; ++i) {
                    const Org got = a->orgs.get(i), want = b->orgs.get(i);
                    ASSERT_TRUE(got.x == want.x && got.y == want.y && got.dir == want.dir)
                        << what << ", step " << step << ", organism " << i;
                }
            }
            const World& done = *a;
            EXPECT_TRUE(std::equal(done.orgs.records(), done.orgs.records() + kMaxOrgs,
                                   b->orgs.records(),
                                   [](const Org& p, const Org& q) {
                                       return p.x == q.x && p.y == q.y && p.dir == q.dir;
                                   }))
                << what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, TableBetweenSteps, testing::kEveryPath, testing::path_test_name);

}  // namespace
}  // namespace vornick
