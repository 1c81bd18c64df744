// vornick-trace --gif: the run the other options describe, or a run file's, written as an
// animated GIF by the same code as the window's Export Animation, so both give the same bytes.
#pragma once

#include "tools/gif_options.h"
#include "tools/trace_options.h"

namespace vornick {

// Writes the file whole or not at all. Returns the exit status: 0 when written, 2 for a bad
// range or run file, 1 when the file could not be written; one line on stderr for either.
int write_trace_gif(const TraceOptions& opts, const GifRequest& gif);

}  // namespace vornick
