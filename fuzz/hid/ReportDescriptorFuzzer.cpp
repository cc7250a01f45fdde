// Feeds any bytes a device might hand out as its report descriptor through the reader,
// and frames a command with whatever layout it finds. Nothing may crash or read out of
// bounds, and a layout that is taken must frame every command as one whole report.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "hid/ReportDescriptor.h"
#include "hid/ReportExchange.h"

using namespace corvane::hid;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto descriptor = parseReportDescriptor(data, size);
    if (!descriptor) {
        return 0;
    }
    const ReportLayout layout = commandLayout(*descriptor);
    std::array<std::uint8_t, kReportBufferSize> request{};
    request[kRequestCommandIndex] = kGetInfoCommand;
    for (const std::size_t length : {kShortReportLength, kLongReportLength}) {
        const auto report = frameRequest(request.data(), length, layout);
        if (layout.known && report &&
            (report->size() != 1 + layout.outputLength || (*report)[0] != layout.outputId)) {
            std::abort();
        }
    }
    return 0;
}
