#include "sim/history/run_replay.h"

#include <algorithm>

#include "sim/history/timeline.h"

namespace vornick {

struct RunReplay::State {
    World w;
    Generator gen;
    int32_t iters = 0;
    int32_t applied = 0;  // of a kept state; the replay's own count is the journal's
};

RunReplay::RunReplay(RunFile file, int64_t target)
    : at_(std::make_unique<State>()),
      edit_lines_(std::move(file.edit_lines)),
      limits_(file.limits) {
    State& s = *at_;
    s.gen.seed = file.start.seed;
    init_world(s.w, s.gen, file.start.iNumOrgs, file.start.randINumOrgs);
    generated_seed_ = s.gen.seed;
    for (std::size_t i = 0; i < file.edits.size(); ++i) {
        if (file.edits[i].index >= s.w.norgs) {
            failed_ = finished_ = true;
            error_.line = edit_lines_[i];
            error_.fault = "organism " + std::to_string(file.edits[i].index) +
                           " does not exist: the run has " + std::to_string(s.w.norgs);
            return;
        }
    }
    const auto to = static_cast<int32_t>(
        std::clamp<int64_t>(target, 0, std::max<int64_t>(file.limits.maxIters, 0)));
    journal_.assign(file.start, std::move(file.edits), 0);
    target_ = {to, journal_.made_by(to)};
    last_ = target_;
    if (const Edit* e = journal_.last(); e && e->stamp > to) last_ = {e->stamp, journal_.size()};
}

RunReplay::~RunReplay() = default;

bool RunReplay::fail_at_edit() {
    const int32_t a = journal_.applied();
    const Edit& e = journal_[a];
    failed_ = finished_ = true;
    error_.line = edit_lines_[static_cast<std::size_t>(a)];
    error_.fault = "organism " + std::to_string(e.index) + " already stands on (" +
                   std::to_string(e.x) + ", " + std::to_string(e.y) + ") at step " +
                   std::to_string(e.stamp) + ": a drag must move it";
    return true;
}

bool RunReplay::advance(int64_t max_steps) {
    if (finished_) return true;
    State& s = *at_;
    const Timeline t{s.w, s.gen, s.iters, journal_};
    int64_t budget = std::max<int64_t>(max_steps, 0);
    const Moment goal = kept_ ? last_ : target_;
    const TravelEnd end = travel_toward(t, goal, budget);
    if (end == TravelEnd::kBudgetSpent) return false;
    if (end == TravelEnd::kBadEdit) return fail_at_edit();
    if (end == TravelEnd::kStuck) {  // a generated run never gets stuck
        failed_ = finished_ = true;
        error_.line = 1;
        error_.fault = "the run cannot be replayed";
        return true;
    }
    if (!kept_ && last_ != target_) {
        kept_ = std::make_unique<State>(s);
        kept_->applied = journal_.applied();
        return advance(budget);
    }
    finished_ = true;
    return true;
}

bool RunReplay::done() const {
    return finished_;
}

int64_t RunReplay::steps_total() const {
    return last_.iters;
}

int64_t RunReplay::steps_left() const {
    return finished_ ? 0 : int64_t{last_.iters} - at_->iters;
}

const World& RunReplay::model() const {
    return kept_ ? kept_->w : at_->w;
}

const Generator& RunReplay::gen() const {
    return kept_ ? kept_->gen : at_->gen;
}

int32_t RunReplay::iters() const {
    return kept_ ? kept_->iters : at_->iters;
}

void RunReplay::adopt_into(Sim& sim) {
    if (kept_) journal_.set_applied(kept_->applied);
    sim.adopt_run(model(), gen(), iters(), std::move(journal_), limits_);
}

}  // namespace vornick
