// Which steps of a run an animation shows and how: from a first step to a last, every K steps,
// at a scale, with or without a caption, so long a frame. Checked the same way wherever asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vornick {

inline constexpr int kDefaultFrameDelay = 4;  // hundredths of a second: 25 frames a second
inline constexpr int kMaxFrameDelay = 65535;  // what a GIF frame can hold

struct AnimationPlan {
    int32_t first = 0;
    // The last step asked for: frames are taken at first + i * every up to it.
    int32_t last = 0;
    int32_t every = 1;
    int scale = 1;
    bool caption = false;
    int delay = kDefaultFrameDelay;
};

// 0 when the range is empty or unchecked values make no sense.
int64_t frame_count(const AnimationPlan& p);
// The step of the last frame: `last` itself when (last - first) is a multiple of `every`.
int32_t last_frame_step(const AnimationPlan& p);
// The last step of `frames` frames from `first`, every `every` steps; nullopt past any step.
std::optional<int32_t> last_step_of(int32_t first, int32_t every, int64_t frames);

// Why the plan cannot be made of a run that ends at `max_iters`, in a few words; "" when it
// can. Steps go up to the end itself, never past it.
std::string plan_fault(const AnimationPlan& p, int32_t max_iters);

}  // namespace vornick
