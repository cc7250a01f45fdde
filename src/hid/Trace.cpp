#include "hid/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

namespace corvane::hid {

namespace {

struct TraceState {
    std::mutex mutex;
    std::shared_ptr<const TraceSink> sink;
    std::atomic<bool> active{false};
};

TraceState& state() {
    static TraceState instance;
    return instance;
}

} // namespace

void setTraceSink(TraceSink sink) {
    TraceState& s = state();
    std::lock_guard lock(s.mutex);
    s.sink = sink ? std::make_shared<const TraceSink>(std::move(sink)) : nullptr;
    s.active.store(s.sink != nullptr, std::memory_order_release);
}

void trace(int level, const char* format, ...) {
    TraceState& s = state();
    if (!s.active.load(std::memory_order_acquire) || !format) {
        return;
    }
    std::shared_ptr<const TraceSink> sink;
    {
        std::lock_guard lock(s.mutex);
        sink = s.sink;
    }
    if (!sink) {
        return;
    }

    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (needed > 0) {
        line.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(line.data(), line.size(), format, args);
        line.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    (*sink)(level, line);
}

} // namespace corvane::hid
