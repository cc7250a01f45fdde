#pragma once
// What the two settings pages share: the restore-defaults command (also the main window's
// restore button), the links they open, and the lines of the version checks.

#include "protocol/worker/WorkerHost.h"

#include <QString>

namespace corvane::pages {

class PageHost;

// Restores the current mouse and every profile of its type to the factory values: without
// a usable device it says so and stops; otherwise it asks, and only a yes empties the
// worker's record of types read back, queues the factory reset and shows the saving wait
// window.
void restoreDefaults(PageHost& host);

// True when a link may be handed to the desktop: an http or https address with a host.
bool isWebLink(const QString& url);

// The text of a settings page's status line after a version check: "<582>: v<latest>"
// for the program or "<582>: V<first>.<last two>" for the firmware while a newer version
// exists, "<580>" otherwise.
QString updateStatusLine(const protocol::UpdateStatusView& status);

} // namespace corvane::pages
