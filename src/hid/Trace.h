#pragma once

#include <functional>
#include <string_view>

namespace corvane::hid {

// The developer trace. Scanning and protocol code leave diagnostic lines here (always
// at level 2); by default nothing is written and nothing depends on it. A sink set with
// setTraceSink receives every line, formatted, from whichever thread traced it.
using TraceSink = std::function<void(int level, std::string_view line)>;

// Replaces the sink; an empty sink switches the trace off again.
void setTraceSink(TraceSink sink);

// printf-style formatting; the line is built only while a sink is set.
void trace(int level, const char* pattern, ...) __attribute__((format(printf, 2, 3)));

} // namespace corvane::hid
