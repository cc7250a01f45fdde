#pragma once

#include "app/start/UserValues.h"

#include <mutex>

namespace corvane::app {

// Per-user values shared by the UI thread and the device worker: every read and write
// of the wrapped values runs under one lock.
class SharedUserValues : public UserValues {
public:
    explicit SharedUserValues(UserValues& values) : inner(values) {}

    int readUserValue(const QString& name) override {
        std::lock_guard lock(mutex);
        return inner.readUserValue(name);
    }
    bool writeUserValue(const QString& name, const QString& text) override {
        std::lock_guard lock(mutex);
        return inner.writeUserValue(name, text);
    }

private:
    std::mutex mutex;
    UserValues& inner;
};

} // namespace corvane::app
