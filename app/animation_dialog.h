// Export Animation's questions: the first step, the last step or a number of frames, the
// steps between frames, the delay, the scale and the caption. It hands on only a plan the run
// can make, and says under the fields what the plan gives or why it cannot be made.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "picture/animation_plan.h"

namespace Ui {
class AnimationDialog;
}

namespace vornick {

class AnimationDialog : public QDialog {
  public:
    AnimationDialog(std::function<void(const AnimationPlan&)> on_plan, QWidget* parent = nullptr);
    ~AnimationDialog() override;

    // Shows the window, modal to its parent, for a run standing at step `iters` that ends at
    // `max_iters`: from the current step, 100 frames or up to the end, at `zoom`. The steps
    // between frames, the delay and the caption stay as they were last chosen.
    void open_with(int32_t iters, int32_t max_iters, int zoom);

    AnimationPlan plan() const;
    // Why the plan cannot be made; "" when it can.
    QString fault() const;

    void accept() override;

  private:
    void update_summary();

    std::function<void(const AnimationPlan&)> on_plan_;
    std::unique_ptr<Ui::AnimationDialog> ui_;
    int32_t max_iters_ = 0;
};

}  // namespace vornick
