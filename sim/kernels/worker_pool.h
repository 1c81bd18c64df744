// A few threads, made once, that share the independent pieces of a batch with the thread that
// asks for it. Which thread runs which piece is left to chance: a piece depends on nothing else.
#pragma once

#include <cstdint>

namespace vornick {

inline constexpr int32_t kMaxWorkerThreads = 256;

// The processor's cores as the system reports them; at least 1.
int32_t core_count();

// Threads that share a batch, the asking one included: core_count() until use_worker_threads
// sets another number.
int32_t worker_threads();

// The cores a batch keeps busy: worker_threads(), but no more than core_count(). Work that is
// cut into batches by time grows its batches by this much.
int32_t batch_cores();

// The thread count a text names: a whole decimal number 1..kMaxWorkerThreads, nothing else (no
// sign, no spaces); false for any other text.
bool threads_named(const char* text, int32_t& threads);

// Sets that number, limited to 1..kMaxWorkerThreads (more than the cores only share them), and
// starts the threads it needs now rather than in the next batch. Not while a batch runs.
void use_worker_threads(int32_t threads);

namespace kernels {

inline constexpr int32_t kMaxPieces = 4096;

using PieceTask = void (*)(void* job, int32_t piece);

// Runs task(job, p) once for each p in 0..pieces-1 on the pool's threads and the calling one
// (on the calling one alone for more than kMaxPieces), and returns once every piece has run. Never
// allocates once the threads are there. A batch asked for while another runs, from another thread,
// runs on its own thread.
void run_pieces(int32_t pieces, PieceTask task, void* job);

}  // namespace kernels
}  // namespace vornick
