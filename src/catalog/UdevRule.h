#pragma once
// The udev rule that lets the user at the seat open the mice of a catalog: one line
// per vendor/product pair, in the form of packaging/70-corvane.rules.

#include "catalog/DeviceCatalog.h"

#include <QString>

namespace corvane::catalog {

// The rule file's text for every mode of `catalog` (the installed and the user's
// models alike), in catalog order; a pair two modes share gets one line. `header` is
// the comment block the file opens with, each line starting with "# ".
QString udevRuleText(const DeviceCatalog& catalog, const QString& header);

// One rule line: SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1209", ... TAG+="uaccess".
QString udevRuleLine(int vendorId, int productId);

} // namespace corvane::catalog
