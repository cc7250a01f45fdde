#pragma once

#include <chrono>
#include <functional>

#include <QString>

#include "catalog/DeviceCatalog.h"
#include "protocol/worker/UpdateConfig.h"

namespace corvane::protocol {

// The pauses of the worker's sequences. The program uses these values; tests shorten
// them. Every pause ends early when the worker is stopped.
struct WorkerDelays {
    using Milliseconds = std::chrono::milliseconds;
    Milliseconds loopPause{2};       // between two steps of the worker loop
    Milliseconds arrival{1};         // before settling a device that just arrived
    Milliseconds removal{500};       // before rescanning after an interface went away
    Milliseconds infoRetry{1000};    // before the third GetInfo of a read-back
    Milliseconds lighting{100};      // around the lighting reset commands
    Milliseconds lightingRepeat{50}; // before repeating the lighting reset
};

// What the worker is given at construction.
struct WorkerConfig {
    QString exeFolder;              // holds config.xml and device/<device_attr>.xml
    QString dataFolder;             // holds db/<device_attr>_data1.db
    catalog::DeviceCatalog catalog; // as the window read it at start
    WorkerDelays delays;
    UpdateConfig update;
    // Checks for newer mouse firmware at the end of a successful start; runs on the
    // worker thread. Left empty, the worker's own firmware check (task 24's work) runs.
    std::function<void()> checkFirmware;
    // Read the mouse's notices (DPI button, link changes) between tasks once a device
    // was found. corvanectl runs a worker for one command and has nobody to show them
    // to: without polling, its task starts at once instead of after a poll's wait.
    bool pollNotices = true;
};

} // namespace corvane::protocol
