// Rebuilds the run of a run file, checking what only a replay shows: each edit's organism
// exists and no drag lands on its organism's own cell. Made in chunks; the current run is
// untouched until the replay is adopted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/history/run_file.h"

namespace vornick {

class RunReplay {
  public:
    // The run generated, to be brought to step `target` (limited to 0..max-iters). Every edit
    // is checked, also those past the target, which the run makes when it gets there.
    RunReplay(RunFile file, int64_t target);
    ~RunReplay();

    // Goes on by at most `max_steps` steps; true once finished, well or not.
    bool advance(int64_t max_steps);
    bool done() const;
    bool failed() const { return failed_; }
    const RunFileError& error() const { return error_; }
    int64_t steps_left() const;
    int64_t steps_total() const;

    // Once done without a fault: the run at the target.
    const World& model() const;
    const Generator& gen() const;
    int32_t iters() const;
    uint32_t generated_seed() const { return generated_seed_; }
    const RunLimits& limits() const { return limits_; }
    // Hands the run to `sim`, which shows it halted (ended at its end); the replay is spent.
    void adopt_into(Sim& sim);

  private:
    struct State;
    bool fail_at_edit();

    std::unique_ptr<State> at_;    // the replay
    std::unique_ptr<State> kept_;  // the run at the target, while edits past it are checked
    Journal journal_;
    std::vector<int32_t> edit_lines_;
    RunLimits limits_;
    Moment target_{};
    Moment last_{};  // after the last edit, or the target if later
    uint32_t generated_seed_ = 0;
    bool finished_ = false;
    bool failed_ = false;
    RunFileError error_;
};

}  // namespace vornick
