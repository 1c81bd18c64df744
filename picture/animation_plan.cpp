#include "picture/animation_plan.h"

#include <climits>

#include "picture/board_picture.h"

namespace vornick {

int64_t frame_count(const AnimationPlan& p) {
    if (p.every < 1 || p.first < 0 || p.last < p.first) return 0;
    return (int64_t{p.last} - p.first) / p.every + 1;
}

int32_t last_frame_step(const AnimationPlan& p) {
    const int64_t n = frame_count(p);
    return n == 0 ? p.first : static_cast<int32_t>(p.first + (n - 1) * p.every);
}

std::optional<int32_t> last_step_of(int32_t first, int32_t every, int64_t frames) {
    if (first < 0 || every < 1 || frames < 1) return std::nullopt;
    const int64_t span = INT32_MAX - int64_t{first};
    if ((frames - 1) > span / every) return std::nullopt;
    return static_cast<int32_t>(first + (frames - 1) * every);
}

std::string plan_fault(const AnimationPlan& p, int32_t max_iters) {
    const auto text = [](int64_t n) { return std::to_string(n); };
    if (p.every < 1) return "frames must be at least 1 step apart";
    if (p.scale < kMinPictureScale || p.scale > kMaxPictureScale) {
        return "the scale must be 1 to 4, not " + text(p.scale);
    }
    if (p.delay < 1 || p.delay > kMaxFrameDelay) {
        return "the delay must be 1 to 65535 hundredths of a second, not " + text(p.delay);
    }
    if (p.first < 0) return "the first step cannot be negative";
    if (p.last < p.first) {
        return "the last step, " + text(p.last) + ", comes before the first, " + text(p.first);
    }
    if (p.last > max_iters) {
        return "step " + text(p.last) + " is past the run's end at step " + text(max_iters);
    }
    return "";
}

}  // namespace vornick
