// Version texts from the server and how they compare with the ones in use.
#include <gtest/gtest.h>

#include <optional>

#include "update/Versions.h"

namespace corvane::update {
namespace {

TEST(CompareVersions, NewerMeansNewerPartByPart) {
    const struct {
        const char* current;
        const char* latest;
        int expected;
    } cases[] = {
        {"1.0.1", "1.0.2", 1},
        {"1.0.1", "1.0.1", 0},
        {"1.0.1", "1.1", 1},    // fewer parts, still newer
        {"1.0.9", "1.0.10", 1}, // parts are numbers, not texts
        {"1.0.2", "1.0", -1},   // an older server version with fewer parts offers nothing
        {"1.0", "1.0.0", 0},    // missing parts count as 0
        {"1.0.0", "1.0.0.1", 1},
        {"2.0", "10.0", 1},
        {"1.01", "1.1", 0}, // leading zeros do not count
        {"1.2b", "1.2", 0}, // a part is read by its leading digits
        {"1.x", "1.0", 0},  // ... and is 0 without any
        {"", "0", 0},
        {"0.9", "", -1},
        {"1..2", "1.0.2", 0},                                    // an empty part is 0
        {"99999999999999999999.1", "99999999999999999999.2", 1}, // no overflow
        {"100000000000000000000", "99999999999999999999", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareVersions(QString::fromLatin1(c.current), QString::fromLatin1(c.latest)),
                  c.expected)
            << c.current << " against " << c.latest;
    }
}

TEST(CompareVersions, FirmwareVersionsAreHexadecimal) {
    const struct {
        const char* current;
        const char* latest;
        int expected;
    } cases[] = {
        {"105", "106", 1},
        {"105", "105", 0},
        {"106", "105", -1},
        {"9", "A", 1}, // 0x9 < 0xA, though "9" > "A" as decimal
        {"FF", "100", 1},
        {"0105", "105", 0},
        {"abc", "ABC", 0},
        {"1F", "20", 1},
        {"FFFFFFFFF", "100000000", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            compareFirmwareVersions(QString::fromLatin1(c.current), QString::fromLatin1(c.latest)),
            c.expected)
            << c.current << " against " << c.latest;
    }
}

TEST(ServerAnswers, OnlyShortVersionTextsAreVersions) {
    const struct {
        const char* answer;
        const char* program;  // nullptr: not a program version
        const char* firmware; // nullptr: not a firmware version
    } cases[] = {
        {"1.0.2\r\n", "1.0.2", nullptr},
        {"  1.2 \n", "1.2", nullptr},
        {"105\r\n", "105", "105"},
        {"1a5", nullptr, "1a5"},
        {"1234567890", "1234567890", nullptr},   // 10 characters
        {"12345678901", nullptr, nullptr},       // 11
        {"123456789", "123456789", "123456789"}, // 9
        {"", nullptr, nullptr},
        {"\r\n", nullptr, nullptr},
        {"1.0-beta", nullptr, nullptr},
        {"<html>404</html>", nullptr, nullptr},
        {"1.0\r\n2.0", nullptr, nullptr},
        {"0x105", nullptr, nullptr},
        {"10g", nullptr, nullptr},
        {"1.05", "1.05", nullptr},
    };
    for (const auto& c : cases) {
        const QString answer = QString::fromLatin1(c.answer);
        const std::optional<QString> program = programVersionFrom(answer);
        const std::optional<QString> firmware = firmwareVersionFrom(answer);
        EXPECT_EQ(program.has_value(), c.program != nullptr) << c.answer;
        EXPECT_EQ(firmware.has_value(), c.firmware != nullptr) << c.answer;
        if (program && c.program) {
            EXPECT_EQ(*program, QString::fromLatin1(c.program));
        }
        if (firmware && c.firmware) {
            EXPECT_EQ(*firmware, QString::fromLatin1(c.firmware));
        }
    }
}

TEST(ServerAnswers, FirmwareVersionIsShownWithADotBeforeItsLastTwoDigits) {
    EXPECT_EQ(firmwareVersionShown(QStringLiteral("105")), QStringLiteral("1.05"));
    EXPECT_EQ(firmwareVersionShown(QStringLiteral("1105")), QStringLiteral("1.05"));
    // Shorter texts are shown as they are (there is no last-two to take).
    EXPECT_EQ(firmwareVersionShown(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(firmwareVersionShown(QStringLiteral("5")), QStringLiteral("5"));
    EXPECT_EQ(firmwareVersionShown(QString()), QString());
}

} // namespace
} // namespace corvane::update
