#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "hid/Trace.h"

namespace corvane::hid::testing {

// Collects the trace lines written while it lives.
class TraceCapture {
public:
    TraceCapture() {
        setTraceSink([this](int level, std::string_view line) {
            std::lock_guard lock(mutex_);
            levels_.push_back(level);
            lines_.emplace_back(line);
        });
    }
    ~TraceCapture() { setTraceSink({}); }

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<int> levels() const {
        std::lock_guard lock(mutex_);
        return levels_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<int> levels_;
};

} // namespace corvane::hid::testing
