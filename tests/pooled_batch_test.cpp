// Batches shared among worker threads: every piece runs once, and a batch, a travel back and a
// trace come out the same for any number of threads on every vector path.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "every_path.h"
#include "run_history.h"
#include "sim/history/move_back.h"
#include "sim/kernels/walk_pieces.h"
#include "sim/kernels/worker_pool.h"
#include "sim/move.h"

namespace vornick {
namespace {

using testing::table_text;

constexpr int32_t kThreadCounts[] = {1, 2, 3, 7};

// Leaves the pool as the process found it, so that tests after this one see all cores.
class PoolTest : public ::testing::Test {
  protected:
    void TearDown() override {
        use_worker_threads(core_count());
        kernels::use_min_piece_work(kernels::kMinPieceWork);
    }
};

struct Tally {
    std::atomic<int32_t> runs[kernels::kMaxPieces + 1] = {};
};

void count_piece(void* job, int32_t piece) {
    static_cast<Tally*>(job)->runs[piece].fetch_add(1, std::memory_order_relaxed);
}

using WorkerPool = PoolTest;

// Many batches in a row, as the maximum-speed loop makes them, so that a worker that wakes
// late meets the next batch; more pieces than the pool shares out falls back to one thread.
TEST_F(WorkerPool, RunsEveryPieceOnce) {
    struct Row {
        int32_t threads, pieces, batches;
    };
    const Row rows[] = {{1, 5, 10},   {2, 2, 2000}, {2, 64, 300},
                        {3, 7, 1000}, {7, 3, 1000}, {7, 1000, 20},
                        {2, 1, 100},  {2, 0, 10},   {3, kernels::kMaxPieces + 1, 1}};
    for (const Row& r : rows) {
        use_worker_threads(r.threads);
        auto tally = std::make_unique<Tally>();
        for (int32_t b = 0; b < r.batches; ++b) {
            kernels::run_pieces(r.pieces, count_piece, tally.get());
            for (int32_t p = 0; p < std::min(r.pieces, kernels::kMaxPieces + 1); ++p) {
                ASSERT_EQ(tally->runs[p].exchange(0), 1)
                    << r.threads << " threads, piece " << p << " of " << r.pieces;
            }
        }
    }
}

struct Nested {
    std::atomic<bool> first_began{false};
    std::atomic<bool> second_done{false};
    Tally tally;
};

// The other thread's batch must run while this one holds the pool's workers.
void wait_for_second(void* job, int32_t piece) {
    auto& n = *static_cast<Nested*>(job);
    if (piece == 0) {
        n.first_began = true;
        while (!n.second_done) std::this_thread::yield();
    }
}

TEST_F(WorkerPool, ABatchFromAnotherThreadRunsOnItsOwn) {
    use_worker_threads(3);
    auto n = std::make_unique<Nested>();
    std::thread first([&] { kernels::run_pieces(3, wait_for_second, n.get()); });
    while (!n->first_began) std::this_thread::yield();
    kernels::run_pieces(50, count_piece, &n->tally);
    n->second_done = true;
    first.join();
    for (int32_t p = 0; p < 50; ++p) EXPECT_EQ(n->tally.runs[p].load(), 1) << p;
}

// Whether two runs agree, without allocating: in a child forked while other threads ran, a
// lock one of them held stays held, the allocator's included.
bool same_run(const World& a, const Generator& ga, const World& b, const Generator& gb) {
    if (a.norgs != b.norgs || ga.seed != gb.seed) return false;
    for (int32_t i = 0; i < a.norgs; ++i) {
        const Org p = a.orgs.get(i), q = b.orgs.get(i);
        if (p.x != q.x || p.y != q.y || p.dir != q.dir) return false;
    }
    return true;
}

// A child made by fork has the pool's records but none of its threads: it runs every piece
// itself, to the same result, and leaves the missing threads alone. It leaves by _exit, as
// exit handlers may take locks (the leak checker takes the allocator's), and a child that
// hangs all the same fails the test within a minute.
TEST_F(WorkerPool, AForkedChildRunsEveryPieceItself) {
    use_worker_threads(3);
    kernels::use_min_piece_work(1024);
    Generator start{99};
    auto generated = std::make_unique<World>();
    init_world(*generated, start, 784, false);
    auto w = std::make_unique<World>(*generated);
    Generator gen = start;
    ASSERT_TRUE(move_orgs_steps(*w, gen, 5000));  // shared: the workers are there
    auto again = std::make_unique<World>(*generated);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        Generator g = start;
        const bool moved = move_orgs_steps(*again, g, 5000);
        _exit(moved && same_run(*again, g, *w, gen) ? 0 : 1);
    }
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 6000 && ended == 0; ++i) {
        ended = waitpid(child, &status, WNOHANG);
        if (ended == 0) usleep(10000);
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ASSERT_EQ(ended, child) << "the child did not end within a minute";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(WorkerPool, ThreadCountsStayInRange) {
    for (const auto& [asked, got] : {std::pair{0, 1}, {-5, 1}, {3, 3}, {7, 7}}) {
        use_worker_threads(asked);
        EXPECT_EQ(worker_threads(), got) << asked;
        EXPECT_EQ(batch_cores(), std::min(got, core_count())) << asked;
    }
}

// What --threads and VORNICK_THREADS accept: whole numbers 1..256, written plainly.
TEST(ThreadCounts, NamedByWholeNumbersOnly) {
    const std::pair<const char*, int32_t> rows[] = {
        {"1", 1},  {"2", 2},   {"256", 256}, {"007", 7},        {"0", 0},  {"257", 0},
        {"-1", 0}, {"+2", 0},  {" 2", 0},    {"2 ", 0},         {"2x", 0}, {"0x2", 0},
        {"", 0},   {"two", 0}, {"1e2", 0},   {"99999999999", 0}};
    for (const auto& [text, want] : rows) {
        int32_t n = -1;
        EXPECT_EQ(threads_named(text, n), want != 0) << "'" << text << "'";
        EXPECT_EQ(n, want != 0 ? want : -1) << "'" << text << "' left as it was when refused";
    }
}

using PiecePlans = PoolTest;

// Short batches and single threads stay on the calling thread; otherwise a few pieces a thread,
// as many as are long enough: many organisms are cut into groups, few into segments of the run.
TEST_F(PiecePlans, EqualPiecesAThreadWhereThePoolPays) {
    const int64_t exact = kernels::kMinPieceWork / 784 * 2;        // two pieces' worth, no more
    const int64_t ten_segments = kernels::kMinPieceWork / 4 * 10;  // ten pieces' worth of 4
    struct Row {
        int32_t count;
        int64_t steps;
        int32_t threads;
        kernels::PiecePlan plan;
    };
    const Row rows[] = {
        {784, 100, 2, {1, false}},          {784, 10000000, 1, {1, false}},
        {784, 10000000, 2, {8, true}},      {784, 10000000, 7, {28, false}},
        {784, 10000000, 64, {32, false}},   {784, exact, 2, {2, true}},
        {784, exact - 1, 2, {1, false}},    {784, 2 * exact, 2, {4, true}},
        {784, exact / 2 * 3, 2, {2, true}},  // three pieces' worth: two, one a thread
        {256, 10000000, 2, {8, true}},      {255, 10000000, 2, {32, false}},
        {4, 100000000, 2, {32, false}},     {4, 1000, 2, {1, false}},
        {1, 100000000, 3, {30, false}},     {0, 100000000, 2, {1, false}},
        {4, INT64_MAX, 3, {30, false}},     {4, ten_segments, 2, {10, false}},
    };
    for (const Row& r : rows) {
        const kernels::PiecePlan p = kernels::plan_pieces(r.count, r.steps, r.threads);
        EXPECT_EQ(p.pieces, r.plan.pieces) << r.count << " x " << r.steps << ", " << r.threads;
        if (p.pieces > 1) {
            EXPECT_EQ(p.by_groups, r.plan.by_groups) << r.count << " x " << r.steps;
        }
    }
}

class PooledBatch : public testing::EveryPath {
  protected:
    void TearDown() override {
        use_worker_threads(core_count());
        kernels::use_min_piece_work(kernels::kMinPieceWork);
        EveryPath::TearDown();
    }
};

// Small pieces, so that short runs are shared out: groups with a part-filled last block, the
// steps cut unevenly, one organism cut into segments, and as many threads as organisms.
struct Case {
    int32_t norgs;
    int64_t steps;
};
constexpr Case kCases[] = {{784, 1000}, {784, 65},   {100, 5001}, {97, 64},   {64, 777},
                           {33, 4099},  {4, 100007}, {3, 70001},  {1, 70001}, {7, 1300}};
constexpr int64_t kSmallPiece = 1024;

TEST_P(PooledBatch, MatchesTheSerialDefinitionOnAnyNumberOfThreads) {
    kernels::use_min_piece_work(kSmallPiece);
    for (const Case& c : kCases) {
        Generator start{0xC0FFEEu + static_cast<uint32_t>(c.norgs)};
        auto generated = std::make_unique<World>();
        init_world(*generated, start, c.norgs, false);
        auto serial = std::make_unique<World>(*generated);
        Generator serial_gen = start;
        for (int64_t k = 0; k < c.steps; ++k) ASSERT_TRUE(move_orgs_serial(*serial, serial_gen));
        const std::string want = table_text(*serial, serial_gen.seed);
        for (const int32_t threads : kThreadCounts) {
            use_worker_threads(threads);
            if (threads > 1) {
                ASSERT_GT(kernels::plan_pieces(c.norgs, c.steps, threads).pieces, 1)
                    << "not shared: " << c.norgs << " x " << c.steps;
            }
            auto w = std::make_unique<World>(*generated);
            Generator gen = start;
            ASSERT_TRUE(move_orgs_steps(*w, gen, c.steps));
            EXPECT_EQ(table_text(*w, gen.seed), want)
                << c.norgs << " organisms, " << c.steps << " steps, " << threads << " threads";
        }
    }
}

// Steps back walk organisms from (0, 0) with the forward batch: shared out, they must still
// undo the steps forward exactly.
TEST_P(PooledBatch, StepsBackUndoTheStepsForwardOnAnyNumberOfThreads) {
    kernels::use_min_piece_work(kSmallPiece);
    for (const Case& c : kCases) {
        Generator start{0xBAC4u + static_cast<uint32_t>(c.norgs)};
        auto generated = std::make_unique<World>();
        init_world(*generated, start, c.norgs, false);
        const std::string before = table_text(*generated, start.seed);
        for (const int32_t threads : kThreadCounts) {
            use_worker_threads(threads);
            auto w = std::make_unique<World>(*generated);
            Generator gen = start;
            ASSERT_TRUE(move_orgs_steps(*w, gen, c.steps));
            ASSERT_TRUE(unmove_orgs_steps(*w, gen, c.steps));
            EXPECT_EQ(table_text(*w, gen.seed), before)
                << c.norgs << " organisms, " << c.steps << " steps, " << threads << " threads";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, PooledBatch, testing::kEveryPath, testing::path_test_name);

}  // namespace
}  // namespace vornick
