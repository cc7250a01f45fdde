#pragma once

#include <QString>

namespace corvane::control {

// The product caption as it appears in file and socket names (per-user key folder,
// data folder, autostart entry, single-instance lock). The caption comes from the
// installation's config.xml; a missing caption falls back to "Corvane" so that no
// file lands directly in a shared folder (~/.config/user.ini would belong to anyone),
// and a slash cannot lead out of the folder meant for it.
QString deviceFileName(const QString& deviceName);

} // namespace corvane::control
