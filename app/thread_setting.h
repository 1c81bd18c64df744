// How many threads share the window's long work (travels, openings, maximum speed): one a core,
// or as many as the environment variable VORNICK_THREADS names.
#pragma once

#include <optional>
#include <string>

namespace vornick {

// Starts the threads `value` (VORNICK_THREADS) names, or one a core when it is unset or empty.
// A value that names no count leaves one a core and gives the line that says so.
std::optional<std::string> use_threads_setting(const char* value);

}  // namespace vornick
