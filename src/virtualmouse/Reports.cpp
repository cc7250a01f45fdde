#include "virtualmouse/Reports.h"

namespace corvane::vm {

InputReport answerReport(std::uint8_t code, std::uint8_t status) {
    InputReport report{};
    report[0] = code;
    report[1] = status;
    return report;
}

} // namespace corvane::vm
