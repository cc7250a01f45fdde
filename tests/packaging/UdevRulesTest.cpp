// The udev rule must open exactly the interfaces config.xml names: a missing line
// leaves a mouse unusable without root, a stray one opens someone else's device.

#include "UdevRules.h"
#include "PackagingFiles.h"
#include "catalog/DeviceCatalog.h"
#include "catalog/UdevRule.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane::packaging {
namespace {

std::string joined(const std::vector<QString>& faults) {
    QString all;
    for (const QString& fault : faults)
        all += fault + u'\n';
    return all.toStdString();
}

TEST(UdevRules, ShippedRuleMatchesCatalog) {
    const std::set<UsbId> ids = catalogUsbIds();
    ASSERT_GE(ids.size(), 3u) << "config.xml could not be read";
    const QString rules = readText(kPackagingFolder + QStringLiteral("/70-corvane.rules"));
    ASSERT_FALSE(rules.isEmpty());
    const std::vector<QString> faults = udevRuleFaults(rules, ids);
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

// corvanectl udev-rule writes the shipped rule's lines for the installed models: the
// same matches, in the same order, under the same comments.
TEST(UdevRules, GeneratedRuleForTheInstalledCatalogIsTheShippedOne) {
    const catalog::DeviceCatalog installed = catalog::readCatalog(kConfigXml);
    ASSERT_FALSE(installed.modes.empty());
    const auto body = [](const QString& text) {
        QStringList lines;
        bool started = false;
        for (const QString& line : text.split(u'\n')) {
            started = started || line.startsWith(QStringLiteral("SUBSYSTEM"));
            if (started || (line.startsWith(QStringLiteral("# Corvane M"))))
                lines << line;
        }
        return lines;
    };
    const QString generated = catalog::udevRuleText(installed, QStringLiteral("# header"));
    const QString shipped = readText(kPackagingFolder + QStringLiteral("/70-corvane.rules"));
    EXPECT_EQ(body(generated), body(shipped)) << generated.toStdString();
    EXPECT_TRUE(udevRuleFaults(generated, catalogUsbIds()).empty());
}

TEST(UdevRules, CheckerFindsEachFault) {
    const std::set<UsbId> wanted = {{0x1209, 0xC0A1}, {0x1209, 0xC0B1}};
    const QString a1 = QStringLiteral(
        R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1209", ATTRS{idProduct}=="c0a1", TAG+="uaccess")");
    const QString b1 = QStringLiteral(
        R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="1209", ATTRS{idProduct}=="c0b1", TAG+="uaccess")");

    struct Case {
        const char* name;
        QString text;
        const char* fault; // nullptr: no fault expected
    };
    const Case cases[] = {
        {"sound, with comments and blank lines", "# ids\n\n" + a1 + "\n  # b\n" + b1 + "\n",
         nullptr},
        {"a catalog id without a line", a1 + "\n", "no rule for 1209:c0b1"},
        {"a line for an id the catalog lacks",
         a1 + "\n" + b1 + "\n" + QString(b1).replace("c0b1", "c0b2"),
         "rule for 1209:c0b2, which config.xml does not name"},
        {"the same id twice", a1 + "\n" + b1 + "\n" + a1, "more than one rule for 1209:c0a1"},
        {"uppercase ids never match sysfs", QString(a1).replace("c0a1", "C0A1") + "\n" + b1,
         "line 1: ids must be four lowercase hex digits"},
        {"ids with a 0x prefix", a1 + "\n" + QString(b1).replace("\"c0b1\"", "\"0xc0b1\""),
         "line 2: ids must be four lowercase hex digits"},
        {"no uaccess tag", QString(a1).replace(R"(, TAG+="uaccess")", "") + "\n" + b1,
         "line 1: needs TAG+=\"uaccess\""},
        {"an assignment where a match belongs",
         QString(a1).replace(R"(SUBSYSTEM=="hidraw")", R"(SUBSYSTEM="hidraw")") + "\n" + b1,
         "line 1: needs SUBSYSTEM==\"hidraw\""},
        {"another subsystem", QString(a1).replace("hidraw", "usb") + "\n" + b1,
         "line 1: needs SUBSYSTEM==\"hidraw\""},
        {"a mode that opens the node to everyone", a1 + R"(, MODE="0666")" + "\n" + b1,
         "line 1: holds other keys"},
        {"not a rule at all", a1 + "\n" + b1 + "\nhidraw c0a1 uaccess", "line 3: not a udev rule"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<QString> faults = udevRuleFaults(c.text, wanted);
        if (!c.fault) {
            EXPECT_TRUE(faults.empty()) << joined(faults);
            continue;
        }
        EXPECT_NE(std::find(faults.begin(), faults.end(), QString::fromUtf8(c.fault)), faults.end())
            << joined(faults);
    }
}

} // namespace
} // namespace corvane::packaging
