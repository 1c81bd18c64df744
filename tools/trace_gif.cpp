#include "tools/trace_gif.h"

#include <cstdio>

#include "picture/animation_maker.h"
#include "sim/history/file_save.h"
#include "sim/history/run_opening.h"
#include "sim/sim.h"

namespace vornick {

namespace {

int refuse(const std::string& what, const std::string& why) {
    std::fprintf(stderr, "vornick-trace: %s%s\n", what.empty() ? "" : (what + ": ").c_str(),
                 why.c_str());
    return 2;
}

// The plan the options ask for, for a run that ends at `max_iters`; `file_steps` is a run
// file's step, which the last step defaults to.
std::optional<AnimationPlan> plan_of(const GifRequest& gif, std::optional<int32_t> file_steps,
                                     int32_t max_iters, std::string& fault) {
    AnimationPlan p;
    p.first = gif.from.value_or(0);
    p.every = gif.every;
    p.scale = gif.scale;
    p.delay = gif.delay;
    p.caption = gif.caption;
    if (gif.frames) {
        const std::optional<int32_t> last = last_step_of(p.first, p.every, *gif.frames);
        if (!last) {
            fault = std::to_string(*gif.frames) + " frames go past the last step a run can have";
            return std::nullopt;
        }
        p.last = *last;
    } else if (gif.to) {
        p.last = *gif.to;
    } else if (file_steps) {
        p.last = *file_steps;
    } else {
        fault = "--gif needs --to or --frames for a generated run";
        return std::nullopt;
    }
    fault = plan_fault(p, max_iters);
    if (!fault.empty()) return std::nullopt;
    return p;
}

}  // namespace

int write_trace_gif(const TraceOptions& opts, const GifRequest& gif) {
    if (opts.steps_given)
        return refuse("", "--gif takes its steps from --from and --to, not --steps");
    static Sim sim;  // large tables: keep them off the stack
    std::string fault;
    std::optional<AnimationPlan> plan;
    if (opts.run_file) {
        const std::string& path = *opts.run_file;
        RunFileError bad;
        std::optional<RunFile> file = read_run_file(path, bad);
        if (!file) return refuse(path, bad.message());
        plan = plan_of(gif, file->steps, file->limits.maxIters, fault);
        if (!plan) return refuse("", fault);
        RunReplay replay(std::move(*file), plan->first);
        while (!replay.advance(INT64_MAX)) {
        }
        if (replay.failed()) return refuse(path, replay.error().message());
        replay.adopt_into(sim);
    } else {
        plan = plan_of(gif, std::nullopt, opts.max_iters, fault);
        if (!plan) return refuse("", fault);
        sim.prefs.iNumOrgs = opts.orgs;
        sim.prefs.randINumOrgs = opts.random_count;
        sim.prefs.maxIters = opts.max_iters;
        sim.rng.seed = opts.seed;
        sim.new_sim();
    }

    FileSave out;
    std::string why;
    if (!out.open(gif.out, why)) {
        std::fprintf(stderr, "vornick-trace: %s: %s\n", gif.out.c_str(), why.c_str());
        return 1;
    }
    AnimationMaker maker(copy_run(sim), *plan,
                         [&out](const uint8_t* d, std::size_t n, std::string& failed) {
                             return out.write({reinterpret_cast<const char*>(d), n}, failed);
                         });
    while (!maker.advance(INT64_MAX / 4)) {
    }
    if (maker.failed() || !out.commit(why)) {
        if (maker.failed()) why = maker.error();
        std::fprintf(stderr, "vornick-trace: %s: %s\n", gif.out.c_str(), why.c_str());
        return 1;
    }
    return 0;
}

}  // namespace vornick
