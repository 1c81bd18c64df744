#include "picture/animation_maker.h"

#include <cstdlib>

#include "sim/history/timeline.h"
#include "sim/sim.h"

namespace vornick {

std::unique_ptr<RunCopy> copy_run(const Sim& sim) {
    auto copy = std::make_unique<RunCopy>();
    copy->w = sim.model;
    copy->gen = sim.rng;
    copy->iters = sim.run.iters;
    copy->journal = sim.journal;
    return copy;
}

AnimationMaker::AnimationMaker(std::unique_ptr<RunCopy> run, const AnimationPlan& plan,
                               GifStream::Sink sink)
    : run_(std::move(run)), plan_(plan) {
    const BoardArt& art = board_art();
    encoder_ = std::make_unique<FrameEncoder>(art, plan.scale, plan.caption, plan.delay);
    count_ = frame_count(plan);
    total_ = std::abs(int64_t{plan.first} - run_->iters) +
             (int64_t{last_frame_step(plan)} - plan.first) + count_ * kFrameWork;
    if (!art.fault.empty()) {
        fail("the board's sprites cannot be drawn: " + art.fault);
    } else if (count_ == 0) {
        fail("there is no step to show");
    } else if (!encoder_->open(std::move(sink))) {
        fail(encoder_->error());
    }
}

AnimationMaker::~AnimationMaker() = default;

bool AnimationMaker::fail(const std::string& why) {
    error_ = why;
    finished_ = true;
    return true;
}

bool AnimationMaker::advance(int64_t budget) {
    if (finished_) return true;
    RunCopy& r = *run_;
    const Timeline t{r.w, r.gen, r.iters, r.journal};
    // At least one frame's worth, so that every call gets on.
    budget = std::max(budget, kFrameWork);
    while (next_ < count_) {
        const auto step = static_cast<int32_t>(plan_.first + next_ * plan_.every);
        const Moment at{step, r.journal.made_by(step)};
        if (Moment{r.iters, r.journal.applied()} != at) {
            int64_t left = budget;
            const TravelEnd end = travel_toward(t, at, left);
            made_ += budget - left;
            budget = left;
            if (end == TravelEnd::kBudgetSpent) return false;
            if (end == TravelEnd::kBadEdit) {
                return fail("edit " + std::to_string(r.journal.applied() + 1) +
                            " of the run cannot be made at step " + std::to_string(r.iters));
            }
            if (end == TravelEnd::kStuck) return fail("the run cannot be replayed");
        }
        if (budget <= 0) return false;
        if (!encoder_->add(r.w, r.journal.start.seed, r.iters)) return fail(encoder_->error());
        ++next_;
        made_ += kFrameWork;
        budget -= kFrameWork;
    }
    if (!encoder_->close()) return fail(encoder_->error());
    finished_ = true;
    return true;
}

}  // namespace vornick
