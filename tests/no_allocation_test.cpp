// A step never allocates: the model lives in fixed tables, so a step's cost does not depend on
// the heap, and a long run cannot fragment it. Every allocation in the process is counted while
// a step, a batch or a travel runs, with ports that record nothing, on one thread or shared
// among the worker pool's, whose threads are made before.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "every_path.h"
#include "sim/kernels/walk_pieces.h"
#include "sim/kernels/worker_pool.h"
#include "sim/sim.h"

// The replacements pair malloc with free by design, which gcc cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t n) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vornick {
namespace {

// A clock that moves on by a millisecond at every read, so that timed loops end soon; nothing
// else is recorded.
struct TickingClock : Clock {
    uint64_t ns = 0;
    uint64_t now_ns() override { return ns += 1'000'000; }
};

struct Row {
    const char* name;
    int32_t norgs;
    int16_t speed;
    bool cap;
    void (*work)(Sim& sim);
};

const Row kRows[] = {
    {"DrawnSteps", 4, kSlowMode, false,
     [](Sim& s) {
         for (int i = 0; i < 300; ++i) s.HandleDraw();
     }},
    {"DrawnStepsOfAFullTable", 784, kTurboMode, false,
     [](Sim& s) {
         for (int i = 0; i < 50; ++i) s.HandleDraw();
     }},
    {"CappedSteps", 100, kTurboMode, true,
     [](Sim& s) {
         for (int i = 0; i < 300; ++i) s.HandleDraw();
     }},
    {"ABatchOfFew", 4, kMaxSpeedMode, false, [](Sim& s) { s.step_batch(300'000); }},
    {"ABatchOfMany", 784, kMaxSpeedMode, false, [](Sim& s) { s.step_batch(20'000); }},
    {"TheMaximumSpeedLoop", 31, kMaxSpeedMode, false, [](Sim& s) { s.doIdle(); }},
    {"ATravelThereAndBack", 31, kMaxSpeedMode, false,
     [](Sim& s) {
         s.stop_command();
         for (int32_t to : {s.run.iters + 70'001, 9}) {
             ASSERT_TRUE(s.go_to_step(to));
             while (!s.travel(1'000'003)) {
             }
         }
         for (int i = 0; i < 5; ++i) s.step_back();
     }},
};

class NoAllocation : public testing::EveryPath {
  protected:
    void TearDown() override {
        use_worker_threads(core_count());
        kernels::use_min_piece_work(kernels::kMinPieceWork);
        EveryPath::TearDown();
    }
};

// Allocations made while `work` runs on a new run of the row's organisms and speed.
long allocations_in(const Row& row) {
    TickingClock clock;
    Ports ports = Ports::none();
    ports.clock = &clock;
    Sim sim{ports};
    sim.prefs.iNumOrgs = row.norgs;
    sim.prefs.maxIters = 100'000'000;
    sim.new_sim();
    sim.HandleSpeedChoice(row.speed);
    if (row.cap) sim.HandleSpeedChoice(kCapItem);
    if (sim.pace.delay >= kCapInterval) sim.pace.delay = 0.0001;  // under the cap's bound
    sim.sel = {0, 1, sim.model.orgs.get(0).x, sim.model.orgs.get(0).y};
    sim.HandleDraw();  // the first step of a run may set up what later ones reuse

    allocations = 0;
    counting = true;
    row.work(sim);
    counting = false;
    EXPECT_GT(sim.run.iters, 1) << row.name;
    return allocations.load();
}

TEST_P(NoAllocation, InAStepABatchOrATravel) {
    kernels::use_min_piece_work(1 << 12);  // every batch below is shared out
    for (const int32_t threads : {1, 2, 3}) {
        use_worker_threads(threads);
        for (const Row& row : kRows) {
            EXPECT_EQ(allocations_in(row), 0) << row.name << ", " << threads << " threads";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, NoAllocation, testing::kEveryPath, testing::path_test_name);

}  // namespace
}  // namespace vornick
