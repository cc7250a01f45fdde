// Reads the installation's own config.xml and device files with the real readers and
// checks that what they describe is usable by the rest of the program.

#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace corvane::catalog {
namespace {

const QString kDataFolder = QStringLiteral(CORVANE_SOURCE_DIR "/data");
const QString kConfigXml = kDataFolder + QStringLiteral("/config.xml");

TEST(InstalledData, StartupInfo) {
    const StartupInfo info = readStartupInfo(kConfigXml);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.defaultLanguage, 1033);
    EXPECT_EQ(info.languages, (std::vector<int>{1025, 1028, 1031, 1033, 1034, 1036, 1040, 1041,
                                                1045, 1049, 1058, 1066, 2052, 2070}));
    EXPECT_EQ(info.caption, "Corvane");
}

TEST(InstalledData, ProductInfo) {
    const ProductInfo product = readCatalog(kConfigXml).product;
    EXPECT_EQ(product.version, "0.1.0");
    for (const QString& url :
         {product.website, product.feedback, product.qa, product.store, product.upgrade})
        EXPECT_TRUE(url.startsWith("https://corvane.example/")) << url.toStdString();
    // The version check appends "version" to the upgrade address.
    EXPECT_TRUE(product.upgrade.endsWith('/'));
}

TEST(InstalledData, DevicesAndInterfaces) {
    const DeviceCatalog catalog = readCatalog(kConfigXml);
    ASSERT_GE(catalog.devices.size(), 2u);

    std::set<int> types;
    for (const DeviceDescription& device : catalog.devices) {
        EXPECT_GT(device.deviceType, 0);
        EXPECT_NE(device.deviceType, 101) << "101 is the type of unidentified devices";
        EXPECT_TRUE(types.insert(device.deviceType).second) << "device types are unique";
        EXPECT_FALSE(device.name.isEmpty());
        EXPECT_FALSE(device.deviceAttr.isEmpty());
        EXPECT_TRUE(device.image.endsWith(".png"));
    }
    EXPECT_GE(*types.rbegin(), 201);

    std::map<int, std::set<int>> modesByType;
    std::set<std::pair<int, int>> pairs;
    for (const DeviceMode& mode : catalog.modes) {
        EXPECT_EQ(mode.vid, 0x1209);
        EXPECT_TRUE(mode.mode == 0 || mode.mode == 1);
        // A shorter identifier would make any device with this pair type 101.
        EXPECT_EQ(mode.devId.size(), 4) << mode.devId.toStdString();
        EXPECT_TRUE(pairs.insert({mode.vid, mode.pid}).second);
        modesByType[mode.device.deviceType].insert(mode.mode);
    }
    const auto pidsOf = [&](int type) {
        std::map<int, int> pids; // mode -> pid
        for (const DeviceMode& mode : catalog.modes)
            if (mode.device.deviceType == type)
                pids[mode.mode] = mode.pid;
        return pids;
    };
    EXPECT_EQ(pidsOf(1), (std::map<int, int>{{0, 0xC0A1}, {1, 0xC0A2}}));
    EXPECT_EQ(pidsOf(201), (std::map<int, int>{{0, 0xC0B1}}));
    for (int type : types)
        EXPECT_TRUE(modesByType.count(type)) << "type " << type << " has no interface";
}

// The factory functions used by the device files with the description each must show.
const std::map<std::pair<int, int>, int> kDescriptionOfFunction = {
    {{1, 1}, 106}, {{1, 3}, 107}, {{1, 2}, 108}, {{1, 5}, 109},
    {{1, 6}, 110}, {{5, 3}, 142}, {{3, 6}, 117}, {{3, 7}, 118},
};

void checkDeviceFile(const DeviceDescription& device, bool hasWireless) {
    SCOPED_TRACE(device.deviceAttr.toStdString());
    DeviceDetails details;
    ASSERT_TRUE(readDeviceDetails(kDataFolder, device.deviceAttr, details));

    EXPECT_TRUE(details.mousePicture.startsWith("device/"));
    EXPECT_TRUE(details.mousePicture.endsWith(".png"));
    EXPECT_TRUE(details.firmwareUrl.startsWith("https://corvane.example/firmware/"));
    EXPECT_FALSE(details.firmwareUrl.endsWith('/')) << "the check appends /mouse/version";
    EXPECT_TRUE(details.showSaveTips);
    EXPECT_TRUE(details.showLod);
    EXPECT_TRUE(details.showRespondTime);
    // The wired and wireless type has lighting, the wired-only type has none.
    EXPECT_EQ(details.hasLighting, hasWireless);
    for (bool offered : details.lightEffects)
        EXPECT_EQ(offered, details.hasLighting);

    ASSERT_GE(details.keys.size(), 6u);
    ASSERT_LE(details.keys.size(), 8u);
    std::set<int> keyCodes;
    for (const KeyEntry& key : details.keys) {
        SCOPED_TRACE(key.keyValue);
        // Only buttons 0..8 are sent to the mouse; the first is the locked primary key.
        EXPECT_TRUE(keyCodes.insert(key.keyValue).second);
        EXPECT_GE(key.keyValue, 0);
        EXPECT_LE(key.keyValue, 8);
        EXPECT_GE(key.nameId, 100);
        EXPECT_LE(key.nameId, 187);
        EXPECT_TRUE(key.direction == 0 || key.direction == 1);
        EXPECT_GE(key.callout.x1, 0);
        EXPECT_GE(key.callout.x2, 0);
        EXPECT_GT(key.callout.y, 0);
        const auto function = kDescriptionOfFunction.find({key.funcType, key.funcValue});
        ASSERT_NE(function, kDescriptionOfFunction.end());
        EXPECT_EQ(key.funcDescId, function->second);
    }
    EXPECT_EQ(details.keys.front().keyValue, 0);
    EXPECT_EQ(details.keys.front().funcType, 1);
    EXPECT_EQ(details.keys.front().funcValue, 1) << "the primary key clicks left";

    std::map<QString, int> values;
    for (const auto& [key, text] : performanceDefaults(kDataFolder, device.deviceAttr, false)) {
        bool isNumber = false;
        values[key] = text.toInt(&isNumber);
        EXPECT_TRUE(isNumber) << key.toStdString();
    }
    ASSERT_EQ(values.size(), 22u);
    EXPECT_GE(values["dpi_count"], 1);
    EXPECT_LE(values["dpi_count"], 6);
    EXPECT_EQ(values["dpi_flag"], values["dpi_count"]);
    EXPECT_LT(values["dpi_index"], values["dpi_count"]);
    for (int stage = 0; stage < 6; ++stage) {
        const int dpi = values[QStringLiteral("dpi_group%1_value").arg(stage)];
        // Within every sensor's range that reaches 12000, on a 100 step.
        EXPECT_GE(dpi, 200);
        EXPECT_LE(dpi, 12000);
        EXPECT_EQ(dpi % 100, 0);
        const int colour = values[QStringLiteral("dpi_group%1_rgb").arg(stage)];
        EXPECT_GT(colour, 0);
        EXPECT_LE(colour, 0xFFFFFF);
    }
    EXPECT_TRUE(std::set<int>({1, 2, 4, 8}).count(values["report_rate"]));
    EXPECT_EQ(values["report_rate_wireless"], values["report_rate"]);
    EXPECT_TRUE(std::set<int>({6, 12, 30, 36, 60, 90, 120, 180}).count(values["sleep_light"]));
    EXPECT_TRUE(values["move_wakeup"] == 0 || values["move_wakeup"] == 1);
    EXPECT_TRUE(values["move_closelight"] == 0 || values["move_closelight"] == 1);
    EXPECT_TRUE(values["liftoff_height"] == 1 || values["liftoff_height"] == 2);
    EXPECT_GE(values["button_respondtime"], 4);
    EXPECT_LE(values["button_respondtime"], 20);
}

TEST(InstalledData, EveryDeviceFileIsComplete) {
    const DeviceCatalog catalog = readCatalog(kConfigXml);
    ASSERT_FALSE(catalog.devices.empty());
    for (const DeviceDescription& device : catalog.devices) {
        bool hasWireless = false;
        for (const DeviceMode& mode : catalog.modes)
            hasWireless |= mode.device.deviceType == device.deviceType && mode.mode == 1;
        checkDeviceFile(device, hasWireless);
    }
}

} // namespace
} // namespace corvane::catalog
