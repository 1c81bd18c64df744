// vornick-trace: generates a run and advances it with the application's own step, drawing
// nothing, then prints its state. Reproduces any run from its seed without the window, and
// any edited run from its run file.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/history/run_opening.h"
#include "sim/sim.h"
#include "tools/gif_options.h"
#include "tools/trace_gif.h"
#include "tools/trace_options.h"

namespace {

using namespace vornick;

const char* state_name(const RunState& r) {
    if (r.end_sim) return "ended";
    return r.stop ? "halted" : "running";
}

// A replay goes on through stop points as the run's user did; its last step decides the state
// as stepping would: the end, the stop point on that very step, or going on.
const char* replayed_state(const RunLimits& lim, int32_t iters) {
    if (iters >= lim.maxIters) return "ended";
    if (lim.setStopPt && iters == lim.stopIters) return "halted";
    return "running";
}

int print_run(const World& w, uint32_t generated, int32_t iters, uint32_t seed, const char* state) {
    std::string tiles(kCells, '0');
    for (int32_t i = 0; i < kCells; ++i) tiles[i] = w.world[i] == kGroundCode ? '1' : '0';
    std::printf("norgs %d\ntiles %s\ngenerated-seed %u\niters %d\nseed %u\nstate %s\n", w.norgs,
                tiles.c_str(), generated, iters, seed, state);
    for (int32_t i = 0; i < w.norgs; ++i) {
        const Org o = w.orgs.get(i);
        std::printf("org %d %d %d %d\n", i, o.x, o.y, o.dir);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int replay_file(const TraceOptions& opts) {
    const std::string& path = *opts.run_file;
    RunOpening opening(path, opts.steps_given ? std::optional<int64_t>(opts.steps) : std::nullopt);
    while (!opening.advance(INT64_MAX)) {
    }
    if (opening.failed()) {
        std::fprintf(stderr, "vornick-trace: %s: %s\n", path.c_str(),
                     opening.error().message().c_str());
        return 2;
    }
    const RunReplay& replay = *opening.replay();
    return print_run(replay.model(), replay.generated_seed(), replay.iters(), replay.gen().seed,
                     replayed_state(replay.limits(), replay.iters()));
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<GifRequest> gif;
    std::optional<TraceOptions> opts;
    if (take_gif_options(args, gif, error)) opts = parse_trace_options(args, error);
    if (!opts) {
        std::fprintf(stderr, "vornick-trace: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (opts->help) {
        std::fputs(kTraceUsage, stdout);
        std::fputs(kGifUsage, stdout);
        return 0;
    }

    if (!use_chosen_vector_path(*opts, "vornick-trace")) return 2;
    use_chosen_threads(*opts);
    if (gif) return write_trace_gif(*opts, *gif);
    if (opts->run_file) return replay_file(*opts);

    static Sim sim;  // large tables: keep them off the stack
    sim.prefs.iNumOrgs = opts->orgs;
    sim.prefs.randINumOrgs = opts->random_count;
    sim.prefs.maxIters = opts->max_iters;
    sim.prefs.setStopPt = opts->stop_at.has_value();
    sim.prefs.stopIters = opts->stop_at.value_or(sim.prefs.stopIters);
    sim.pace.speed = kMaxSpeedMode;
    sim.pace.delay = kMaxSpeedInterval;
    sim.rng.seed = opts->seed;
    sim.new_sim();
    const uint32_t generated = sim.rng.seed;

    for (int64_t left = opts->steps; left > 0 && sim.run.stop == 0;) left -= sim.step_batch(left);

    return print_run(sim.model, generated, sim.run.iters, sim.rng.seed, state_name(sim.run));
}
