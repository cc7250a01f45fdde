#pragma once
// Where the packaging tests find the files they check, and the USB ids of the
// installation's catalog.

#include "UdevRules.h"

#include <QString>

#include <set>

namespace corvane::packaging {

inline QString sourcePath(const char* relative) {
    return QStringLiteral(CORVANE_SOURCE_DIR "/") + QString::fromUtf8(relative);
}

inline const QString kConfigXml = sourcePath("data/config.xml");
inline const QString kSkinFolder = sourcePath("data/skins/default");
inline const QString kPackagingFolder = sourcePath("packaging");
inline const QString kAppId = QStringLiteral("io.github.corvane.Corvane");

// The vendor/product pair of every "mode" element of config.xml.
std::set<UsbId> catalogUsbIds();

// The whole file as UTF-8 text; empty when it cannot be read.
QString readText(const QString& path);

} // namespace corvane::packaging
