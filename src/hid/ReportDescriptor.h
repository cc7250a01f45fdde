#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace corvane::hid {

// What a HID report descriptor says about the reports of an interface: the top-level
// collections it declares and, for each, the sizes of its input, output and feature
// reports. hidraw hands reports over as they are on the wire, so the program takes its
// report lengths and IDs from here instead of relying on a driver to pad for it.

// One report of a collection. Sizes are in bytes, rounded up, without the report ID.
struct ReportSizes {
    std::uint8_t id = 0; // 0 when the descriptor numbers no report
    std::size_t inputBytes = 0;
    std::size_t outputBytes = 0;
    std::size_t featureBytes = 0;
    bool operator==(const ReportSizes&) const = default;
};

struct TopCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::vector<ReportSizes> reports; // in the order their IDs first appear
};

struct ReportDescriptor {
    bool numbered = false; // some Report ID item is present: every report starts with its ID
    std::vector<TopCollection> collections;
};

// The largest descriptor the kernel hands out (HID_MAX_DESCRIPTOR_SIZE).
inline constexpr std::size_t kMaxReportDescriptorSize = 4096;

// Reads the items of a descriptor: short and long items, the global state with Push and
// Pop, local usages (a four-byte usage carries its own usage page). Nothing when the
// bytes are not a descriptor: an item running past the end, an End Collection or a Pop
// without its opening item, a collection left open, report ID 0, or a report larger than
// the kernel allows.
std::optional<ReportDescriptor> parseReportDescriptor(const std::uint8_t* data, std::size_t size);

// How commands travel on one open interface: the report the command collection writes
// and the one it answers with. Unknown when the descriptor could not be read or holds
// no command collection; writes then go out as the caller made them.
struct ReportLayout {
    bool known = false;
    bool numbered = false;        // reports on this node carry their ID first
    std::uint8_t outputId = 0;    // the ID a command is written with
    std::size_t outputLength = 0; // data bytes of that report, ID not counted
    std::uint8_t inputId = 0;     // the ID of the command collection's input report
    std::size_t inputLength = 0;  // data bytes of that report, ID not counted
    bool operator==(const ReportLayout&) const = default;
};

// The layout of the first top-level collection that is a command collection (the usage
// rule of InterfaceRules.h): its largest output report and its largest input report
// (the first of equal sizes). Unknown when there is no such collection or it has no
// output or no input report.
ReportLayout commandLayout(const ReportDescriptor& descriptor);

} // namespace corvane::hid
