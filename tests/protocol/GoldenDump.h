#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::protocol::testing {

// Golden byte dumps: one report per line, the report ID and the 32 body bytes in
// hexadecimal separated by blanks. Lines starting with '#' describe the fixture.
inline constexpr std::size_t kDumpedBytes = 33;

inline std::string hexLine(const std::vector<std::uint8_t>& report) {
    static const char* digits = "0123456789ABCDEF";
    std::string line;
    for (std::size_t i = 0; i < kDumpedBytes && i < report.size(); ++i) {
        if (i > 0) {
            line += ' ';
        }
        line += digits[report[i] >> 4];
        line += digits[report[i] & 0x0F];
    }
    return line;
}

inline std::vector<std::string> readGolden(const char* name) {
    std::vector<std::string> lines;
    QFile file(QStringLiteral(CORVANE_TEST_DATA_DIR "/golden/") + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read golden dump " << name;
        return lines;
    }
    const QStringList all = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& raw : all) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#')) {
            lines.push_back(line.toUpper().toStdString());
        }
    }
    return lines;
}

// Compares the reports a device received with a golden dump. The exchange pads every
// report to the interface's output report: that padding must be zero.
inline void expectGolden(const std::vector<std::vector<std::uint8_t>>& received, const char* name) {
    std::vector<std::string> actual;
    for (const auto& report : received) {
        actual.push_back(hexLine(report));
        for (std::size_t i = kDumpedBytes; i < report.size(); ++i) {
            EXPECT_EQ(report[i], 0) << name << ": byte " << i << " of " << actual.back();
        }
    }
    const std::vector<std::string> expected = readGolden(name);
    EXPECT_EQ(actual, expected) << "golden dump " << name << " differs";
}

} // namespace corvane::protocol::testing
