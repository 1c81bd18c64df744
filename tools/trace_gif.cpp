#include "tools/trace_gif.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "picture/animation_maker.h"
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

// A file beside the target that takes its place only once complete, with the permissions a
// new file gets.
class FileInPlace {
  public:
    explicit FileInPlace(const std::string& path) : path_(path), temp_(path + ".XXXXXX") {
        const int fd = mkstemp(temp_.data());
        if (fd < 0) {
            why_ = std::strerror(errno);
            return;
        }
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
        file_ = fdopen(fd, "wb");
        if (!file_) {
            why_ = std::strerror(errno);
            close(fd);
            unlink(temp_.c_str());
        }
    }
    ~FileInPlace() {
        if (file_) {
            std::fclose(file_);
            unlink(temp_.c_str());
        }
    }
    bool is_open() const { return file_ != nullptr; }
    const std::string& why() const { return why_; }

    bool write(const uint8_t* data, std::size_t size, std::string& why) {
        if (std::fwrite(data, 1, size, file_) == size) return true;
        why = why_ = std::strerror(errno);
        return false;
    }
    bool commit() {
        std::FILE* f = file_;
        file_ = nullptr;
        const bool written = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
        if (!written) why_ = std::strerror(errno);
        if (std::fclose(f) != 0 && written) why_ = std::strerror(errno);
        if (why_.empty() && std::rename(temp_.c_str(), path_.c_str()) != 0) {
            why_ = std::strerror(errno);
        }
        if (!why_.empty()) unlink(temp_.c_str());
        return why_.empty();
    }

  private:
    std::string path_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    std::string why_;
};

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

    FileInPlace out(gif.out);
    if (!out.is_open()) {
        std::fprintf(stderr, "vornick-trace: %s: %s\n", gif.out.c_str(), out.why().c_str());
        return 1;
    }
    AnimationMaker maker(
        copy_run(sim), *plan,
        [&out](const uint8_t* d, std::size_t n, std::string& why) { return out.write(d, n, why); });
    while (!maker.advance(INT64_MAX / 4)) {
    }
    if (maker.failed() || !out.commit()) {
        const std::string& why = maker.failed() ? maker.error() : out.why();
        std::fprintf(stderr, "vornick-trace: %s: %s\n", gif.out.c_str(), why.c_str());
        return 1;
    }
    return 0;
}

}  // namespace vornick
