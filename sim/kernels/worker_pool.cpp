#include "sim/kernels/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#if defined(__x86_64__)
#include <immintrin.h>
#endif
#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <unistd.h>
#endif

namespace vornick {

namespace {

// A worker woken for a batch looks out for the next one before it sleeps again: the batches of
// a travel follow each other closely, and waking a sleeping thread takes longer than a short
// batch. It watches closely at first, then gives way to any other thread that wants its core
// between looks, for as long as the window takes to repaint between two slices of the
// maximum-speed loop (about a millisecond when drawn on the processor).
constexpr auto kWatchClosely = std::chrono::microseconds(100);
constexpr auto kWatchBeforeSleep = std::chrono::microseconds(2000);

void relax() {
#if defined(__x86_64__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

// The batch being shared, in one word so that a piece is claimed by one compare-and-swap that
// also checks which batch it belongs to: batch number, pieces, next piece.
constexpr uint64_t claim_word(uint32_t batch, int32_t pieces, int32_t next) {
    return uint64_t{batch} << 32 | static_cast<uint64_t>(pieces) << 16 |
           static_cast<uint64_t>(next);
}
constexpr int32_t pieces_of(uint64_t w) {
    return static_cast<int32_t>((w >> 16) & 0xffff);
}
constexpr int32_t next_of(uint64_t w) {
    return static_cast<int32_t>(w & 0xffff);
}
static_assert(kernels::kMaxPieces < 0xffff - kMaxWorkerThreads);

class WorkerPool {
  public:
    int32_t threads() const { return threads_.load(std::memory_order_relaxed); }

    void set_threads(int32_t n) {
        threads_.store(std::clamp(n, 1, kMaxWorkerThreads), std::memory_order_release);
        threads_.notify_all();
        start_workers();
    }

    void run(int32_t pieces, kernels::PieceTask task, void* job) {
        std::unique_lock<std::mutex> lock(busy_, std::try_to_lock);
        if (pieces <= 1 || pieces > kernels::kMaxPieces || threads() <= 1 || !lock.owns_lock() ||
            forked()) {
            for (int32_t p = 0; p < pieces; ++p) task(job, p);
            return;
        }
        if (started_.load(std::memory_order_acquire) < threads() - 1) start_workers();
        steer_off_this_core();
        // Read only by a thread that has claimed a piece of this batch, which the claim orders
        // after these writes; the batch cannot end, and these change, before that piece is done.
        task_ = task;
        job_ = job;
        done_.store(0, std::memory_order_relaxed);
        claim_.store(claim_word(++batches_, pieces, 0), std::memory_order_release);
        posted_.fetch_add(1, std::memory_order_release);
        posted_.notify_all();
        run_claimed();
        // Each piece the workers took is under way; waiting costs no more than its end.
        for (int32_t d = done_.load(std::memory_order_acquire); d != pieces;
             d = done_.load(std::memory_order_acquire)) {
            done_.wait(d, std::memory_order_acquire);
        }
    }

  private:
    // A child made by fork has none of the workers, only their records.
    bool forked() const {
#if defined(__linux__)
        return getpid() != owner_;
#else
        return false;
#endif
    }

    // Keeps the workers off the core the asking thread runs on. A woken thread is often put on
    // the core of the thread that woke it, and there it waits for the asking thread, busy with
    // its own pieces, until the system moves it some milliseconds later, when a batch is over.
    void steer_off_this_core() {
#if defined(__linux__)
        const int core = sched_getcpu();
        if (core < 0 || core == steered_off_.load(std::memory_order_relaxed)) return;
        cpu_set_t others = allowed_;
        CPU_CLR(core, &others);
        if (CPU_COUNT(&others) == 0) return;
        for (int32_t i = 0, n = started_.load(std::memory_order_acquire); i < n; ++i) {
            pthread_setaffinity_np(workers_[i].native_handle(), sizeof others, &others);
        }
        steered_off_.store(core, std::memory_order_relaxed);
#endif
    }

    void start_workers() {
        std::lock_guard<std::mutex> lock(grow_);
        int32_t started = started_.load(std::memory_order_relaxed);
        // A worker waits for the batches after those posted before it was made, even when it
        // starts running only after the next one is posted.
        const uint32_t posted = posted_.load(std::memory_order_acquire);
        for (; started < threads() - 1; ++started) {
            try {
                workers_[started] = std::thread(&WorkerPool::work, this, started, posted);
            } catch (const std::system_error&) {
                // The system makes no more threads: batches are shared among those there are.
                threads_.store(started + 1, std::memory_order_release);
                break;
            }
        }
        started_.store(started, std::memory_order_release);
        steered_off_.store(-1, std::memory_order_relaxed);  // the new ones may run anywhere
    }

    bool claim(int32_t& piece, int32_t& pieces) {
        uint64_t w = claim_.load(std::memory_order_acquire);
        while (next_of(w) < pieces_of(w)) {
            if (claim_.compare_exchange_weak(w, w + 1, std::memory_order_acq_rel,
                                             std::memory_order_acquire)) {
                piece = next_of(w);
                pieces = pieces_of(w);
                return true;
            }
        }
        return false;
    }

    // Pieces of whichever batch is being shared, until none is left to claim.
    void run_claimed() {
        int32_t piece = 0, pieces = 0;
        while (claim(piece, pieces)) {
            task_(job_, piece);
            if (done_.fetch_add(1, std::memory_order_acq_rel) + 1 == pieces) done_.notify_all();
        }
    }

    uint32_t next_post(uint32_t seen, bool watch) {
        if (watch) {
            const auto from = std::chrono::steady_clock::now();
            bool closely = true;
            for (int32_t i = 1;; ++i) {
                const uint32_t now = posted_.load(std::memory_order_acquire);
                if (now != seen) return now;
                if (closely) {
                    relax();
                    if (i % 64 != 0) continue;
                    closely = std::chrono::steady_clock::now() - from < kWatchClosely;
                } else {
                    std::this_thread::yield();
                    if (std::chrono::steady_clock::now() - from > kWatchBeforeSleep) break;
                }
            }
        }
        posted_.wait(seen, std::memory_order_acquire);
        return posted_.load(std::memory_order_acquire);
    }

    [[noreturn]] void work(int32_t index, uint32_t seen) {
        bool woken = false;
        for (;;) {
            // Workers past the number in use sleep until it changes, and no batch wakes them.
            const int32_t threads = this->threads();
            if (index >= threads - 1) {
                threads_.wait(threads, std::memory_order_acquire);
                seen = posted_.load(std::memory_order_acquire);
                woken = false;
                continue;
            }
            seen = next_post(seen, woken);
            woken = true;
            run_claimed();
        }
    }

#if defined(__linux__)
    pid_t owner_ = getpid();
    // The cores the process may run on, as it started.
    cpu_set_t allowed_ = [] {
        cpu_set_t all;
        CPU_ZERO(&all);
        sched_getaffinity(0, sizeof all, &all);
        return all;
    }();
#endif
    std::atomic<int> steered_off_{-1};  // the core the workers were last kept off
    std::atomic<int32_t> threads_{core_count()};
    std::atomic<int32_t> started_{0};
    std::mutex grow_;  // starting workers
    std::mutex busy_;  // one batch at a time is shared
    std::thread workers_[kMaxWorkerThreads - 1];
    std::atomic<uint64_t> claim_{0};
    std::atomic<uint32_t> posted_{0};  // batches posted; idle workers sleep on it
    std::atomic<int32_t> done_{0};
    uint32_t batches_ = 0;
    kernels::PieceTask task_ = nullptr;
    void* job_ = nullptr;
};

// Made on first use and never destroyed: its workers sleep through the program's exit, and a
// forked child, which has none of them, runs every piece itself.
WorkerPool& pool() {
    alignas(WorkerPool) static unsigned char storage[sizeof(WorkerPool)];
    static WorkerPool* const p = new (storage) WorkerPool;
    return *p;
}

}  // namespace

int32_t core_count() {
    const auto n = static_cast<int32_t>(std::thread::hardware_concurrency());
    return std::clamp(n, 1, kMaxWorkerThreads);
}

int32_t worker_threads() {
    return pool().threads();
}

int32_t batch_cores() {
    return std::min(worker_threads(), core_count());
}

bool threads_named(const char* text, int32_t& threads) {
    const char* const end = text + std::strlen(text);
    int32_t n = 0;
    const auto [stop, error] = std::from_chars(text, end, n);
    if (text == end || *text == '-' || error != std::errc() || stop != end) return false;
    if (n < 1 || n > kMaxWorkerThreads) return false;
    threads = n;
    return true;
}

void use_worker_threads(int32_t threads) {
    pool().set_threads(threads);
}

namespace kernels {

void run_pieces(int32_t pieces, PieceTask task, void* job) {
    pool().run(pieces, task, job);
}

}  // namespace kernels
}  // namespace vornick
