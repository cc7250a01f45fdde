#include "hid/ReportDescriptor.h"

#include <algorithm>

#include "hid/InterfaceRules.h"

namespace corvane::hid {

namespace {

// Item types and tags of the HID 1.11 descriptor grammar that decide report sizes.
enum ItemType : std::uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

enum MainTag : std::uint8_t {
    Input = 0x8,
    Output = 0x9,
    Collection = 0xA,
    Feature = 0xB,
    EndCollection = 0xC,
};
enum GlobalTag : std::uint8_t {
    UsagePage = 0x0,
    ReportSize = 0x7,
    ReportId = 0x8,
    ReportCount = 0x9,
    Push = 0xA,
    Pop = 0xB,
};
enum LocalTag : std::uint8_t { Usage = 0x0 };

constexpr std::uint8_t kLongItemPrefix = 0xFE;
// The kernel's largest report (HID_MAX_BUFFER_SIZE); anything larger is not a report.
constexpr std::uint64_t kMaxReportBits = 16384 * 8;

struct Globals {
    std::uint32_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint8_t reportId = 0;
};

// Bits per report ID of one top-level collection, in order of first appearance.
struct ReportBits {
    std::uint8_t id = 0;
    std::uint64_t input = 0;
    std::uint64_t output = 0;
    std::uint64_t feature = 0;
};

std::size_t bytesOf(std::uint64_t bits) {
    return static_cast<std::size_t>((bits + 7) / 8);
}

class Reader {
public:
    std::optional<ReportDescriptor> read(const std::uint8_t* data, std::size_t size);

private:
    bool mainItem(std::uint8_t tag);
    bool globalItem(std::uint8_t tag, std::uint32_t value);
    void localItem(std::uint8_t tag, std::uint32_t value, std::size_t length);
    bool addBits(std::uint8_t tag);
    void closeTopCollection();

    ReportDescriptor result_;
    Globals globals_;
    std::vector<Globals> stack_;
    std::optional<std::uint32_t> firstUsage_; // local: the first usage since the last main item
    int depth_ = 0;
    bool inTop_ = false;
    TopCollection top_;
    std::vector<ReportBits> bits_;
};

std::optional<ReportDescriptor> Reader::read(const std::uint8_t* data, std::size_t size) {
    if (!data && size > 0) {
        return std::nullopt;
    }
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t prefix = data[at++];
        if (prefix == kLongItemPrefix) {
            // Long items carry no report information: skip their data.
            if (size - at < 2) {
                return std::nullopt;
            }
            const std::size_t length = data[at];
            at += 2;
            if (size - at < length) {
                return std::nullopt;
            }
            at += length;
            continue;
        }
        const std::size_t length = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (size - at < length) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < length; ++i) {
            value |= static_cast<std::uint32_t>(data[at + i]) << (8 * i);
        }
        at += length;
        const auto type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        const auto tag = static_cast<std::uint8_t>(prefix >> 4);
        bool sound = true;
        switch (type) {
        case Main:
            sound = mainItem(tag);
            firstUsage_.reset(); // locals last until the next main item
            break;
        case Global:
            sound = globalItem(tag, value);
            break;
        case Local:
            localItem(tag, value, length);
            break;
        default:
            break;
        }
        if (!sound) {
            return std::nullopt;
        }
    }
    if (depth_ != 0) {
        return std::nullopt;
    }
    return std::move(result_);
}

bool Reader::mainItem(std::uint8_t tag) {
    switch (tag) {
    case Collection:
        if (depth_ == 0) {
            const std::uint32_t usage = firstUsage_.value_or(0);
            top_ = TopCollection{};
            // A usage of four bytes names its own page in the high half.
            top_.usagePage =
                static_cast<std::uint16_t>(usage > 0xFFFF ? usage >> 16 : globals_.usagePage);
            top_.usage = static_cast<std::uint16_t>(usage & 0xFFFF);
            bits_.clear();
            inTop_ = true;
        }
        ++depth_;
        return true;
    case EndCollection:
        if (depth_ == 0) {
            return false;
        }
        if (--depth_ == 0) {
            closeTopCollection();
        }
        return true;
    case Input:
    case Output:
    case Feature:
        return addBits(tag);
    default:
        return true;
    }
}

bool Reader::addBits(std::uint8_t tag) {
    if (!inTop_) {
        return true; // a report outside any collection belongs to no collection we use
    }
    auto entry = std::find_if(bits_.begin(), bits_.end(),
                              [&](const ReportBits& r) { return r.id == globals_.reportId; });
    if (entry == bits_.end()) {
        bits_.push_back({globals_.reportId, 0, 0, 0});
        entry = bits_.end() - 1;
    }
    std::uint64_t& total = tag == Input    ? entry->input
                           : tag == Output ? entry->output
                                           : entry->feature;
    total += static_cast<std::uint64_t>(globals_.reportSize) * globals_.reportCount;
    return total <= kMaxReportBits;
}

void Reader::closeTopCollection() {
    for (const ReportBits& bits : bits_) {
        top_.reports.push_back(
            {bits.id, bytesOf(bits.input), bytesOf(bits.output), bytesOf(bits.feature)});
    }
    result_.collections.push_back(std::move(top_));
    top_ = TopCollection{};
    bits_.clear();
    inTop_ = false;
}

bool Reader::globalItem(std::uint8_t tag, std::uint32_t value) {
    switch (tag) {
    case UsagePage:
        globals_.usagePage = value;
        return true;
    case ReportSize:
        globals_.reportSize = value;
        return true;
    case ReportCount:
        globals_.reportCount = value;
        return true;
    case ReportId:
        if (value == 0 || value > 0xFF) {
            return false;
        }
        globals_.reportId = static_cast<std::uint8_t>(value);
        result_.numbered = true;
        return true;
    case Push:
        stack_.push_back(globals_);
        return true;
    case Pop:
        if (stack_.empty()) {
            return false;
        }
        globals_ = stack_.back();
        stack_.pop_back();
        return true;
    default:
        return true;
    }
}

void Reader::localItem(std::uint8_t tag, std::uint32_t value, std::size_t length) {
    if (tag != Usage || firstUsage_) {
        return;
    }
    // A usage of one or two bytes is on the current usage page.
    firstUsage_ = length == 4 ? value : (value & 0xFFFF);
}

const ReportSizes* largest(const std::vector<ReportSizes>& reports,
                           std::size_t ReportSizes::*field) {
    const ReportSizes* best = nullptr;
    for (const ReportSizes& report : reports) {
        if (report.*field > 0 && (!best || report.*field > best->*field)) {
            best = &report;
        }
    }
    return best;
}

} // namespace

std::optional<ReportDescriptor> parseReportDescriptor(const std::uint8_t* data, std::size_t size) {
    return Reader().read(data, size);
}

ReportLayout commandLayout(const ReportDescriptor& descriptor) {
    for (const TopCollection& collection : descriptor.collections) {
        if (!isCommandUsage(collection.usagePage, collection.usage)) {
            continue;
        }
        const ReportSizes* output = largest(collection.reports, &ReportSizes::outputBytes);
        const ReportSizes* input = largest(collection.reports, &ReportSizes::inputBytes);
        if (!output || !input) {
            return {};
        }
        ReportLayout layout;
        layout.known = true;
        layout.numbered = descriptor.numbered;
        layout.outputId = output->id;
        layout.outputLength = output->outputBytes;
        layout.inputId = input->id;
        layout.inputLength = input->inputBytes;
        return layout;
    }
    return {};
}

} // namespace corvane::hid
