#include "sim/kernels/walk_pieces.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "sim/generator.h"
#include "sim/kernels/worker_pool.h"

namespace vornick::kernels {

namespace {

std::atomic<int64_t> piece_work{kMinPieceWork};

struct Pieces {
    WalkPart whole;
    int32_t count;       // groups of organisms or segments of steps
    int32_t align;       // a group's first organism is a multiple of this
    OrgLanes* relative;  // segment s > 0 walks its organisms in relative[s - 1] from (0, 0) up
};

// Group g of whole units of `align` organisms, shared out as evenly as they go.
void walk_group(void* job, int32_t g) {
    const Pieces& p = *static_cast<const Pieces*>(job);
    const int32_t units = (p.whole.count + p.align - 1) / p.align;
    const int32_t from = units * g / p.count * p.align;
    const int32_t to = std::min(units * (g + 1) / p.count * p.align, p.whole.count);
    WalkPart part = p.whole;
    part.first = p.whole.first + from;
    part.count = to - from;
    walk_part(part);
}

// Segment s of the steps; the first moves the organisms themselves.
void walk_segment(void* job, int32_t s) {
    const Pieces& p = *static_cast<const Pieces*>(job);
    const int64_t each = p.whole.steps / p.count, longer = p.whole.steps % p.count;
    const int64_t from = each * s + std::min<int64_t>(s, longer);
    WalkPart part = p.whole;
    part.steps = each + (s < longer ? 1 : 0);
    part.seed = jump_of(static_cast<uint64_t>(from) * static_cast<uint64_t>(p.whole.norgs))
                    .apply(p.whole.seed);
    if (s > 0) {
        OrgLanes& rel = p.relative[s - 1];
        std::fill(std::begin(rel.x), std::end(rel.x), uint8_t{0});
        std::fill(std::begin(rel.y), std::end(rel.y), uint8_t{0});
        std::fill(std::begin(rel.dir), std::end(rel.dir), uint8_t{kUp});
        part.lanes = &rel;
    }
    walk_part(part);
}

void join_segments(const Pieces& p) {
    OrgLanes& lanes = *p.whole.lanes;
    for (int32_t i = 0; i < p.whole.count; ++i) {
        const int32_t at = p.whole.first + i;
        for (int32_t s = 1; s < p.count; ++s) {
            const OrgLanes& rel = p.relative[s - 1];
            walk_on(lanes.x[at], lanes.y[at], lanes.dir[at], rel.x[at], rel.y[at], rel.dir[at]);
        }
    }
}

}  // namespace

PiecePlan plan_pieces(int32_t count, int64_t steps, int32_t threads) {
    if (count <= 0 || threads <= 1) return {1, false};
    const int64_t min_steps = std::max<int64_t>(1, min_piece_work() / count);
    const int64_t most = steps / min_steps;
    int64_t pieces = std::min<int64_t>(int64_t{threads} * kGroupsPerThread, most);
    // Groups need no putting together afterwards; segments need a table each.
    const bool by_groups = count >= kPartAlign * pieces;
    if (!by_groups) {
        pieces = std::min<int64_t>({int64_t{threads} * kSegmentsPerThread, most, kMaxSegments});
    }
    // As many pieces for each thread: three on two threads would leave one of them a third.
    if (pieces > threads) pieces -= pieces % threads;
    if (pieces <= 1) return {1, false};
    return {static_cast<int32_t>(pieces), by_groups};
}

bool walk_in_pieces(const WalkPart& whole) {
    const PiecePlan plan = plan_pieces(whole.count, whole.steps, worker_threads());
    if (plan.pieces <= 1) return false;
    if (plan.by_groups) {
        Pieces job{whole, plan.pieces, part_align(), nullptr};
        run_pieces(plan.pieces, walk_group, &job);
        return true;
    }
    // The segments' own tables, one batch at a time.
    static std::mutex relative_in_use;
    static OrgLanes relative[kMaxSegments - 1];
    std::unique_lock<std::mutex> lock(relative_in_use, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    Pieces job{whole, plan.pieces, 1, relative};
    run_pieces(plan.pieces, walk_segment, &job);
    join_segments(job);
    return true;
}

int64_t min_piece_work() {
    return piece_work.load(std::memory_order_relaxed);
}

void use_min_piece_work(int64_t org_steps) {
    piece_work.store(std::max<int64_t>(org_steps, 1), std::memory_order_relaxed);
}

}  // namespace vornick::kernels
