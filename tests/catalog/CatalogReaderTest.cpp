#include "ScratchFolder.h"
#include "catalog/DeviceCatalog.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

using test::ScratchFolder;

constexpr char kTwoDevices[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<config>
  <language.info default_lan="2052">
    <lan value="1033"/>
    <lan value="2052"/>
  </language.info>
  <device>
    <mouse name="Alpha" device_type="7" device_attr="alpha" image="alpha.png">
      <mode value="0" desc="USB" vid="0x1209" pid="0xC0A1" dev_id="ALPH" hid_interface="2"/>
      <mode value="1" desc="2.4G" vid="1209" pid="C0A2" dev_id="ALPH" hid_interface="2"/>
    </mouse>
    <mouse name="Beta" device_type="201" device_attr="beta" image="beta.png">
      <mode value="0" vid="0x1209" pid="0xc0b1" dev_id=""/>
    </mouse>
  </device>
  <software caption="Product" version="1.2.3">
    <website url="https://w/"/>
    <feedback url="https://f/"/>
    <qa url="https://q/"/>
    <store url="https://s/"/>
    <upgrade url="https://u/"/>
    <copyright info="c"/>
  </software>
</config>
)";

TEST(CatalogReader, ReadsDevicesModesAndProduct) {
    ScratchFolder folder;
    const DeviceCatalog catalog = readCatalog(folder.write("config.xml", kTwoDevices));

    ASSERT_EQ(catalog.devices.size(), 2u);
    EXPECT_EQ(catalog.devices[0].name, "Alpha");
    EXPECT_EQ(catalog.devices[0].deviceType, 7);
    EXPECT_EQ(catalog.devices[0].deviceAttr, "alpha");
    EXPECT_EQ(catalog.devices[0].image, "alpha.png");
    EXPECT_EQ(catalog.devices[0].imagePath("/skins/dark"), "/skins/dark/device/alpha.png");
    EXPECT_EQ(catalog.devices[1].deviceType, 201);

    // Two "mode" children give two entries with the parent's device data.
    ASSERT_EQ(catalog.modes.size(), 3u);
    const DeviceMode& wired = catalog.modes[0];
    const DeviceMode& wireless = catalog.modes[1];
    EXPECT_EQ(wired.device.deviceType, 7);
    EXPECT_EQ(wireless.device.deviceType, 7);
    EXPECT_EQ(wireless.device.deviceAttr, "alpha");
    EXPECT_EQ(wired.mode, 0);
    EXPECT_EQ(wireless.mode, 1);
    EXPECT_EQ(wired.desc, "USB");
    EXPECT_EQ(wired.devId, "ALPH");
    EXPECT_EQ(wired.hidInterface, "2");
    // The same digits with and without 0x give the same ids.
    EXPECT_EQ(wired.vid, 0x1209);
    EXPECT_EQ(wireless.vid, 0x1209);
    EXPECT_EQ(wired.pid, 0xC0A1);
    EXPECT_EQ(wireless.pid, 0xC0A2);
    EXPECT_EQ(catalog.modes[2].pid, 0xC0B1);
    EXPECT_EQ(catalog.modes[2].device.name, "Beta");
    EXPECT_TRUE(catalog.modes[2].devId.isEmpty());

    EXPECT_EQ(catalog.product.version, "1.2.3");
    EXPECT_EQ(catalog.product.website, "https://w/");
    EXPECT_EQ(catalog.product.feedback, "https://f/");
    EXPECT_EQ(catalog.product.qa, "https://q/");
    EXPECT_EQ(catalog.product.store, "https://s/");
    EXPECT_EQ(catalog.product.upgrade, "https://u/");
}

TEST(CatalogReader, ReadsStartupInfo) {
    ScratchFolder folder;
    const StartupInfo info = readStartupInfo(folder.write("config.xml", kTwoDevices));
    EXPECT_TRUE(info.loaded);
    EXPECT_EQ(info.defaultLanguage, 2052);
    EXPECT_EQ(info.languages, (std::vector<int>{1033, 2052}));
    EXPECT_EQ(info.caption, "Product");
}

TEST(CatalogReader, StartupInfoWithoutLanguageInfo) {
    ScratchFolder folder;
    const StartupInfo info = readStartupInfo(
        folder.write("config.xml", R"(<config><software caption="Only"/></config>)"));
    EXPECT_TRUE(info.loaded);
    EXPECT_FALSE(info.defaultLanguage.has_value());
    EXPECT_TRUE(info.languages.empty());
    EXPECT_EQ(info.caption, "Only");
}

TEST(CatalogReader, FindDescriptionTakesTheFirstOfAType) {
    ScratchFolder folder;
    const DeviceCatalog catalog = readCatalog(folder.write("config.xml", R"(<config><device>
        <mouse name="First" device_type="5" device_attr="first"/>
        <mouse name="Second" device_type="5" device_attr="second"/>
      </device></config>)"));
    ASSERT_EQ(catalog.devices.size(), 2u);
    const std::optional<DeviceDescription> found = findDescription(catalog, 5);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, "First");
    EXPECT_EQ(deviceAttrOf(catalog, 5), "first");
    EXPECT_FALSE(findDescription(catalog, 6).has_value());
    EXPECT_TRUE(deviceAttrOf(catalog, 6).isEmpty());
}

// Files that give an empty catalog and a StartupInfo that was not loaded.
TEST(CatalogReader, UnreadableFilesGiveNothing) {
    struct Case {
        const char* what;
        const char* text; // nullptr: no file at all
    } const cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"not xml", "just text"},
        {"two roots", "<config><device><mouse device_type=\"1\"/></device></config><config/>"},
        {"unclosed", "<config><device><mouse device_type=\"1\"/></device>"},
        {"wrong root",
         "<settings><device><mouse device_type=\"1\"><mode vid=\"1\" pid=\"2\"/></mouse></device>"
         "<software caption=\"x\" version=\"1\"/></settings>"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        const QString path =
            c.text ? folder.write("config.xml", c.text) : folder.path() + "/config.xml";
        const DeviceCatalog catalog = readCatalog(path);
        EXPECT_TRUE(catalog.devices.empty()) << c.what;
        EXPECT_TRUE(catalog.modes.empty()) << c.what;
        EXPECT_TRUE(catalog.product.version.isEmpty()) << c.what;
        const StartupInfo info = readStartupInfo(path);
        EXPECT_FALSE(info.loaded) << c.what;
        EXPECT_TRUE(info.languages.empty()) << c.what;
        EXPECT_TRUE(info.caption.isEmpty()) << c.what;
    }
}

TEST(CatalogReader, LookupsOnlyMoveForward) {
    ScratchFolder folder;
    // "software" before "device": the device list is read, the product info is missed.
    const QString path = folder.write("config.xml", R"(<config>
      <software caption="Early" version="9">
        <upgrade url="https://u/"/>
        <website url="https://w/"/>
      </software>
      <device><mouse name="A" device_type="1"><mode vid="1" pid="2"/></mouse></device>
      <language.info default_lan="1033"><lan value="1033"/></language.info>
    </config>)");
    const DeviceCatalog catalog = readCatalog(path);
    EXPECT_EQ(catalog.devices.size(), 1u);
    EXPECT_EQ(catalog.modes.size(), 1u);
    EXPECT_TRUE(catalog.product.version.isEmpty());

    const StartupInfo info = readStartupInfo(path);
    EXPECT_EQ(info.defaultLanguage, 1033);
    EXPECT_TRUE(info.caption.isEmpty()) << "software precedes language.info";

    // Inside "software", "website" is looked up first; "upgrade" before it is missed.
    const DeviceCatalog product = readCatalog(folder.write("config.xml", R"(<config>
      <software version="9"><upgrade url="https://u/"/><website url="https://w/"/></software>
    </config>)"));
    EXPECT_EQ(product.product.version, "9");
    EXPECT_EQ(product.product.website, "https://w/");
    EXPECT_TRUE(product.product.upgrade.isEmpty());
}

TEST(CatalogReader, IgnoresOtherElementsBetweenTheReadOnes) {
    ScratchFolder folder;
    const DeviceCatalog catalog = readCatalog(folder.write("config.xml", R"(<config>
      <note/>
      <device>
        <comment text="x"/>
        <mouse name="A" device_type="3">
          <picture/>
          <mode value="1" vid="0xAB" pid="0xCD"/>
          <other/>
          <mode value="0" vid="0x12" pid="0x34"/>
        </mouse>
        <keyboard name="K" device_type="9"/>
      </device>
      <extra/>
      <software version="2"><qa url="q"/></software>
    </config>)"));
    ASSERT_EQ(catalog.devices.size(), 1u);
    ASSERT_EQ(catalog.modes.size(), 2u);
    EXPECT_EQ(catalog.modes[0].vid, 0xAB);
    EXPECT_EQ(catalog.modes[1].pid, 0x34);
    EXPECT_EQ(catalog.product.version, "2");
    EXPECT_EQ(catalog.product.qa, "q");
}

TEST(CatalogReader, BadNumbersReadAsZero) {
    ScratchFolder folder;
    const DeviceCatalog catalog = readCatalog(folder.write("config.xml", R"(<config><device>
        <mouse name="A" device_type="abc"><mode value="x" vid="" pid="zz"/></mouse>
      </device></config>)"));
    ASSERT_EQ(catalog.modes.size(), 1u);
    EXPECT_EQ(catalog.devices[0].deviceType, 0);
    EXPECT_EQ(catalog.modes[0].mode, 0);
    EXPECT_EQ(catalog.modes[0].vid, 0);
    EXPECT_EQ(catalog.modes[0].pid, 0);
}

} // namespace
} // namespace corvane::catalog
