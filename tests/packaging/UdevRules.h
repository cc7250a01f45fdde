#pragma once
// Reads the udev rule file we ship and lists what is wrong with it against the USB
// ids the catalog names.

#include <QString>

#include <set>
#include <utility>
#include <vector>

namespace corvane::packaging {

using UsbId = std::pair<int, int>; // vendor id, product id

// Every fault of the rule text, one message each (empty when it is sound):
// - a rule line must be SUBSYSTEM=="hidraw", ATTRS{idVendor}=="vvvv",
//   ATTRS{idProduct}=="pppp", TAG+="uaccess" and nothing else; the ids are four
//   lowercase hex digits, because udev compares them with the sysfs texts, which are
//   lowercase (an uppercase id never matches);
// - every id of wanted has exactly one line, and no line names another id.
// Blank lines and lines starting with # are skipped.
std::vector<QString> udevRuleFaults(const QString& rulesText, const std::set<UsbId>& wanted);

} // namespace corvane::packaging
