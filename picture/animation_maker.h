// An animation made from a copy of a run: the copy travels to each frame's step, back or
// forward, with its journal's edits made and unmade on the way, and each step's picture is
// written as a frame. The run it was copied from never moves. Made in chunks, to show progress.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "picture/animation_plan.h"
#include "picture/frame_encoder.h"
#include "sim/generator.h"
#include "sim/history/journal.h"
#include "sim/world.h"

namespace vornick {

class Sim;

// A run as it stands at one moment of its journal.
struct RunCopy {
    World w{};
    Generator gen;
    int32_t iters = 0;
    Journal journal;
};

// The run of `sim` as it stands, with every edit of its journal, later ones too.
std::unique_ptr<RunCopy> copy_run(const Sim& sim);

class AnimationMaker {
  public:
    // Work is counted in steps; a frame counts as this many.
    static constexpr int64_t kFrameWork = 4096;

    // `plan` must be without fault (plan_fault) for the run.
    AnimationMaker(std::unique_ptr<RunCopy> run, const AnimationPlan& plan, GifStream::Sink sink);
    ~AnimationMaker();

    // Goes on by about `budget` steps of work, at least one frame's worth; true once finished,
    // well or not. The file is complete only when finished without failure.
    bool advance(int64_t budget);
    bool done() const { return finished_; }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    int64_t work_total() const { return total_; }
    int64_t work_left() const { return finished_ ? 0 : total_ - made_; }
    int64_t frames() const { return encoder_->frames(); }
    int64_t bytes() const { return encoder_->bytes(); }

  private:
    bool fail(const std::string& why);

    std::unique_ptr<RunCopy> run_;
    AnimationPlan plan_;
    std::unique_ptr<FrameEncoder> encoder_;
    int64_t count_ = 0;
    int64_t next_ = 0;  // the next frame to make
    int64_t total_ = 0;
    int64_t made_ = 0;
    bool finished_ = false;
    std::string error_;
};

}  // namespace vornick
