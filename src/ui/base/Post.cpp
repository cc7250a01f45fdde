#include "ui/base/Post.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace corvane::ui {

void post(std::function<void()> fn) {
    if (!fn)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    // A queued call on the application object: one event per call, delivered in posting
    // order by the UI thread's event loop.
    QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

} // namespace corvane::ui
