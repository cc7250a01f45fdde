#pragma once
// The readers of one catalog entry, shared by config.xml and the user's device files:
// the cursor stands on the element ("mouse" or "catalog", then each "mode").

#include "catalog/DeviceCatalog.h"

namespace corvane::xml {
class MarkupDocument;
}

namespace corvane::catalog {

// name, device_type, device_attr and image of the element under the cursor.
DeviceDescription readMouseEntry(xml::MarkupDocument& doc);
// value, desc, vid, pid, dev_id and hid_interface of the "mode" under the cursor.
DeviceMode readModeEntry(xml::MarkupDocument& doc, const DeviceDescription& device);

} // namespace corvane::catalog
