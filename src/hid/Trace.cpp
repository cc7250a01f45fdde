#include "hid/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace corvane::hid {

namespace {

// Lines are handed to the sink one at a time, under the lock, so lines from two
// threads never interleave and a replaced sink is never called once setTraceSink
// returned. The lock is recursive so a sink may itself trace.
struct TraceState {
    std::recursive_mutex mutex;
    TraceSink sink;
    std::atomic<bool> active{false};
};

TraceState& state() {
    static TraceState instance;
    return instance;
}

std::string format(const char* pattern, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    if (needed <= 0) {
        return {};
    }
    std::string line(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(line.data(), line.size(), pattern, args);
    line.resize(static_cast<std::size_t>(needed));
    return line;
}

} // namespace

void setTraceSink(TraceSink sink) {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
    s.active.store(static_cast<bool>(s.sink), std::memory_order_release);
}

void trace(int level, const char* pattern, ...) {
    TraceState& s = state();
    if (!s.active.load(std::memory_order_acquire) || !pattern) {
        return;
    }
    std::va_list args;
    va_start(args, pattern);
    const std::string line = format(pattern, args);
    va_end(args);

    std::lock_guard lock(s.mutex);
    if (s.sink) {
        s.sink(level, line);
    }
}

} // namespace corvane::hid
