// vornick-trace's options for an animated GIF of the run, taken out of the command line before
// the others are read, so that the tool's own options stay as they were.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornick {

struct GifRequest {
    std::string out;                // --gif OUT
    std::optional<int32_t> from;    // default 0
    std::optional<int32_t> to;      // default: a run file's steps
    std::optional<int64_t> frames;  // instead of --to
    int32_t every = 1;
    int scale = 1;
    int delay = 4;  // hundredths of a second
    bool caption = false;
};

// Removes the animation's options from `args`, keeping the others in their order. `gif` is set
// when --gif was given. False, with a one-line reason in `error`, for a bad value or an option
// that needs --gif without it.
bool take_gif_options(std::vector<std::string>& args, std::optional<GifRequest>& gif,
                      std::string& error);

extern const char* const kGifUsage;

}  // namespace vornick
