// A batch shared among the worker threads: cut into pieces that are walked at the same time,
// then put together. The result is the same whatever the number of threads.
#pragma once

#include <cstdint>

#include "sim/kernels/walk_part.h"

namespace vornick::kernels {

// Organism-steps below which a piece costs more to hand to another thread than it saves, on
// the tiles and the lanes alike: bench/step_bench finds where the pool pays (BM_PooledBatch).
inline constexpr int64_t kMinPieceWork = int64_t{1} << 21;
// Segments of the steps, when the organisms are too few to be cut into groups.
inline constexpr int32_t kMaxSegments = 32;
// Pieces for each thread, so that a thread that starts late, or is held up, leaves its share to
// the others rather than holding the batch up. Segments can be cut finer than groups, which
// are whole blocks of lanes, so they are: on cores that run at different speeds, as shared
// cores do, the batch then ends closer to the time the cores' work adds up to.
inline constexpr int32_t kGroupsPerThread = 4;
inline constexpr int32_t kSegmentsPerThread = 16;

struct PiecePlan {
    int32_t pieces;  // 1: the batch stays on the calling thread
    bool by_groups;  // the organisms cut into groups; else the steps cut into segments
};

// How a batch of `count` organisms for `steps` steps is shared among `threads` threads, each
// piece with at least min_piece_work() organism-steps: kGroupsPerThread groups a thread when
// each gets kPartAlign organisms or more, enough to keep a walk's vectors full; else
// kSegmentsPerThread segments a thread, no more than kMaxSegments.
PiecePlan plan_pieces(int32_t count, int64_t steps, int32_t threads);

// Walks `whole` in pieces on the worker pool, as planned for worker_threads(), and returns
// true; false, having walked nothing, when the plan is one piece or the pool is taken.
bool walk_in_pieces(const WalkPart& whole);

// kMinPieceWork unless changed: for tests and benchmarks, which pool smaller batches.
int64_t min_piece_work();
void use_min_piece_work(int64_t org_steps);

}  // namespace vornick::kernels
