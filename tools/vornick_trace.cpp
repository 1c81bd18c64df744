// vornick-trace: generates a run and advances it with the application's own step, drawing
// nothing, then prints its state. Reproduces any run from its seed without the window.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/sim.h"
#include "sim/vector_path.h"
#include "tools/trace_options.h"

namespace {

const char* state_name(const vornick::RunState& r) {
    if (r.end_sim) return "ended";
    return r.stop ? "halted" : "running";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vornick;
    std::string error;
    const auto opts = parse_trace_options(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!opts) {
        std::fprintf(stderr, "vornick-trace: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (opts->help) {
        std::fputs(kTraceUsage, stdout);
        return 0;
    }

    if (opts->vector_path) {
        VectorPath path{};
        if (!path_named(opts->vector_path->c_str(), path) || !use_vector_path(path)) {
            std::fprintf(stderr, "vornick-trace: this processor cannot run the %s path\n",
                         opts->vector_path->c_str());
            return 2;
        }
    }

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

    std::string tiles(kCells, '0');
    for (int32_t i = 0; i < kCells; ++i) tiles[i] = sim.model.world[i] == kGroundCode ? '1' : '0';
    std::printf("norgs %d\ntiles %s\ngenerated-seed %u\niters %d\nseed %u\nstate %s\n",
                sim.model.norgs, tiles.c_str(), generated, sim.run.iters, sim.rng.seed,
                state_name(sim.run));
    for (int32_t i = 0; i < sim.model.norgs; ++i) {
        const Org& o = sim.model.orgs[i];
        std::printf("org %d %d %d %d\n", i, o.x, o.y, o.dir);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
