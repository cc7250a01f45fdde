#pragma once
// corvanectl probe: the HID interfaces that look like a mouse we could drive (they
// have the command collection) but that no device file claims yet, and, asked for
// one of them, what the mouse says about itself.

#include "catalog/DeviceCatalog.h"
#include "control/requests/Request.h"
#include "hid/HidApi.h"
#include "hid/ReportDescriptor.h"

#include <QString>

#include <optional>
#include <vector>

namespace corvane::cli {

struct ProbedInterface {
    hid::HidDeviceInfo info;
    hid::ReportLayout layout; // unknown when the descriptor could not be read
    QString access;           // the node's mode, owner and what this user may do
};

// Every enumerated interface whose collection is the command collection and whose
// vendor/product pair no catalog mode names. Reads report descriptors; writes nothing.
std::vector<ProbedInterface> unclaimedInterfaces(hid::HidApi& api,
                                                 const catalog::DeviceCatalog& catalog);

// What GetInfo answered, as a device file needs it.
struct ProbeAnswer {
    hid::HidDeviceInfo info;
    QString identifier; // B4..B7
    int sensor = 0;     // B10
    int rateClass = 0;  // B11
    QString firmware;   // the interface's release number, "1.20"
};

// `probe`, `probe --ask NODE` and `probe --ask NODE --template`. `userFolder` is where
// the template tells the user to save the file.
control::Answer runProbe(hid::HidApi& api, const catalog::DeviceCatalog& catalog,
                         const control::Request& request, const QString& userFolder);

// A device file for the mouse that gave `answer`, with the first device type from 300
// on that `catalog` does not use; it passes the device file check as it stands.
QString deviceFileTemplate(const ProbeAnswer& answer, const catalog::DeviceCatalog& catalog);

} // namespace corvane::cli
