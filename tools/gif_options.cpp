#include "tools/gif_options.h"

#include <charconv>
#include <climits>

#include "picture/animation_plan.h"

namespace vornick {

const char* const kGifUsage =
    "       vornick-trace [run options] --gif OUT [--from A] [--to B | --frames N] [--every K]\n"
    "                     [--delay CS] [--scale S] [--caption]\n"
    "  --gif OUT       write the run from step A to step B as an animated GIF that loops, one\n"
    "                  frame every K steps; nothing is printed. A run file's run is followed\n"
    "                  through its stop points and edits; B may not pass its end (max-iters)\n"
    "  --from A        first frame's step (default 0)\n"
    "  --to B          last step (default: a run file's steps; needed for a generated run)\n"
    "  --frames N      N frames instead of --to\n"
    "  --every K       steps from one frame to the next, 1..2147483647 (default 1)\n"
    "  --delay CS      time a frame shows, in hundredths of a second, 1..65535 (default 4)\n"
    "  --scale S       pixels a unit of the board, 1..4 (default 1)\n"
    "  --caption       write \"seed N  step M\" under the board\n";

namespace {

struct GifNumber {
    const char* name;
    int64_t min;
    int64_t max;
};

constexpr GifNumber kNumbers[] = {
    {"--from", 0, INT32_MAX},  {"--to", 0, INT32_MAX},         {"--frames", 1, INT32_MAX},
    {"--every", 1, INT32_MAX}, {"--delay", 1, kMaxFrameDelay}, {"--scale", 1, 4},
};

bool printable(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    }
    return true;
}

bool parse_in(const std::string& text, const GifNumber& n, int64_t& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first == last || *first == '+' || *first == '-') return false;
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || v < n.min || v > n.max) return false;
    out = v;
    return true;
}

}  // namespace

bool take_gif_options(std::vector<std::string>& args, std::optional<GifRequest>& gif,
                      std::string& error) {
    GifRequest r;
    bool asked = false;
    std::string needs_gif;  // the first option that goes with --gif
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--gif") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "option --gif needs a file";
                return false;
            }
            r.out = args[++i];
            asked = true;
            continue;
        }
        if (a == "--caption") {
            r.caption = true;
            if (needs_gif.empty()) needs_gif = a;
            continue;
        }
        const GifNumber* number = nullptr;
        for (const GifNumber& n : kNumbers) {
            if (a == n.name) number = &n;
        }
        if (!number) {
            rest.push_back(a);
            continue;
        }
        if (needs_gif.empty()) needs_gif = a;
        if (i + 1 >= args.size()) {
            error = "option " + a + " needs a value";
            return false;
        }
        const std::string& text = args[++i];
        int64_t v = 0;
        if (!parse_in(text, *number, v)) {
            error = "bad value '" + (printable(text) ? text : std::string("?")) + "' for " + a +
                    " (" + std::to_string(number->min) + ".." + std::to_string(number->max) + ")";
            return false;
        }
        if (a == "--from") r.from = static_cast<int32_t>(v);
        if (a == "--to") r.to = static_cast<int32_t>(v);
        if (a == "--frames") r.frames = v;
        if (a == "--every") r.every = static_cast<int32_t>(v);
        if (a == "--delay") r.delay = static_cast<int>(v);
        if (a == "--scale") r.scale = static_cast<int>(v);
    }
    if (!asked && !needs_gif.empty()) {
        error = "option " + needs_gif + " goes with --gif";
        return false;
    }
    if (r.to && r.frames) {
        error = "give --to or --frames, not both";
        return false;
    }
    args = std::move(rest);
    if (asked) gif = std::move(r);
    return true;
}

}  // namespace vornick
