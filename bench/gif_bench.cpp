// Animations: frames a second and bytes a frame for 4 and 784 organisms, at scales 1 and 2,
// a frame every step and every 1000 steps, each against the same steps made without frames in
// the same run; and giflib's own cost a pixel, which bounds the rest.
// Run with --benchmark_repetitions=N --benchmark_enable_random_interleaving=true for medians.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "picture/animation_maker.h"
#include "ratio_reporter.h"
#include "sim/history/timeline.h"
#include "sim/sim.h"
#include "vector_path_flag.h"

namespace {

using namespace vornick;

std::unique_ptr<RunCopy> fresh_run(int32_t norgs) {
    static Sim sim;
    sim = Sim{};
    sim.prefs.iNumOrgs = norgs;
    sim.prefs.maxIters = INT32_MAX;
    sim.rng.seed = 1;
    sim.new_sim();
    return copy_run(sim);
}

// The run goes on by k steps, as an animation's copy does between frames.
void travel(RunCopy& r, int64_t k) {
    if (r.iters > INT32_MAX - 2 * k) r.iters = 0;  // far from any end; the count only
    int64_t budget = k;
    travel_toward(Timeline{r.w, r.gen, r.iters, r.journal},
                  Moment{static_cast<int32_t>(r.iters + k), 0}, budget);
}

// Arguments: organisms, steps between frames.
void BM_Steps(benchmark::State& state) {
    auto run = fresh_run(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) travel(*run, state.range(1));
    benchmark::DoNotOptimize(run->w.orgs.get(0));
}

// Arguments: organisms, scale, steps between frames.
void BM_Frames(benchmark::State& state) {
    auto run = fresh_run(static_cast<int32_t>(state.range(0)));
    const int64_t k = state.range(2);
    FrameEncoder encoder(board_art(), static_cast<int>(state.range(1)), false, 4);
    encoder.open([](const uint8_t*, std::size_t, std::string&) { return true; });
    encoder.add(run->w, 1, run->iters);  // the whole first frame, not counted
    const int64_t first = encoder.bytes();
    int64_t pixels = 0;
    for (auto _ : state) {
        travel(*run, k);
        encoder.add(run->w, 1, run->iters);
        pixels += int64_t{encoder.last_rect().width()} * encoder.last_rect().height();
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["bytes/frame"] = static_cast<double>(encoder.bytes() - first) / frames;
    state.counters["pixels/frame"] = static_cast<double>(pixels) / frames;
}

// giflib's compression alone: a frame of the shape a few organisms make, the changed rectangle
// mostly transparent with a few changed cells; its time a pixel is what the frames cannot beat.
void BM_GiflibPerPixel(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    std::vector<uint8_t> frame(static_cast<std::size_t>(side) * side, 15);
    for (int c = 0; c < 8; ++c) {
        const int x0 = (c * 37) % (side - 10), y0 = (c * 53) % (side - 10);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) frame[(y0 + y) * side + x0 + x] = (x * 3 + y + c) % 11;
        }
    }
    int err = 0;
    GifFileType* gif = EGifOpen(
        nullptr, [](GifFileType*, const GifByteType*, int n) { return n; }, &err);
    ColorMapObject* map = GifMakeMapObject(16, nullptr);
    EGifPutScreenDesc(gif, side, side, 4, 0, map);
    std::vector<uint8_t> line(frame.size());
    for (auto _ : state) {
        line = frame;
        EGifPutImageDesc(gif, 0, 0, side, side, false, nullptr);
        EGifPutLine(gif, line.data(), side * side);
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    // 1000 / this is the time a pixel in nanoseconds.
    state.counters["Mpixels/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * side * side / 1e6, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Steps)->ArgsProduct({{4, 784}, {1, 1000}});
BENCHMARK(BM_Frames)->ArgsProduct({{4, 784}, {1, 2}, {1, 1000}});
BENCHMARK(BM_GiflibPerPixel)->Arg(170)->Arg(280);

int main(int argc, char** argv) {
    if (!vornick::bench::take_vector_path_flag(argc, argv)) return 2;
    vornick::bench::print_vector_path();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::vector<vornick::bench::RatioReporter::Pair> pairs;
    for (const char* orgs : {"4", "784"}) {
        for (const char* s : {"1", "2"}) {
            for (const char* k : {"1", "1000"}) {
                pairs.push_back({std::string("BM_Frames/") + orgs + "/" + s + "/" + k,
                                 std::string("BM_Steps/") + orgs + "/" + k, 0});
            }
        }
    }
    vornick::bench::RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
