#pragma once
// Handing work to the UI thread.

#include <functional>

namespace corvane::ui {

// Queues fn to run on the UI thread (the thread of the QCoreApplication object), after
// everything posted before it, in the order of the calls. Any thread may call it; it never
// blocks and never runs fn inline, not even on the UI thread itself. When no
// QCoreApplication exists the call is dropped and fn is never run; functions still queued
// when the application object is destroyed are dropped too. The application object must
// therefore be created before, and destroyed after, any thread that posts.
void post(std::function<void()> fn);

} // namespace corvane::ui
