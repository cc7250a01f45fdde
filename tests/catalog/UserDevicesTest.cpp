#include "catalog/UserDevices.h"
#include "ScratchFolder.h"
#include "catalog/DeviceCatalog.h"
#include "catalog/DeviceDetails.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

using test::ScratchFolder;

// A user's model as a contributor would write it: catalog entry, then the description.
QByteArray userFile(const QByteArray& catalogAttributes = R"(name="Mine" device_type="300")",
                    const QByteArray& mode = R"(vid="0x1209" pid="0xC0C1" dev_id="CVM3")",
                    const QByteArray& picture = {}) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <catalog )" +
           catalogAttributes + R"(>
    <mode value="0" desc="USB" )" +
           mode + R"( hid_interface="2"/>
  </catalog>
)" + picture +
           R"(
  <menu light="0"/>
  <mouse_key>
    <key name="143" key_value="0" direction="0" rect="150#20#90" func_desc="106" dashed="0" func_type="1" func_value="1"/>
    <key name="144" key_value="1" direction="1" rect="230#340#90" func_desc="107" dashed="0" func_type="1" func_value="3"/>
  </mouse_key>
  <mouse_info>
    <dpi_info default_dpi="1" dpi_count="2">
      <dpi_1 value="800" color="#FF0000"/>
      <dpi_2 value="3200" color="#00FF00"/>
    </dpi_info>
  </mouse_info>
</mouse>
)";
}

DeviceCatalog installedCatalog() {
    DeviceCatalog catalog;
    const DeviceDescription m1{"Corvane M1", 1, "corvane_m1", "corvane_m1_list.png"};
    catalog.devices.push_back(m1);
    catalog.modes.push_back({m1, 0, 0x1209, 0xC0A1, "CVM1", "USB", "2"});
    return catalog;
}

class UserDevices : public ::testing::Test {
protected:
    void TearDown() override {
        DeviceCatalog empty;
        addUserDevices(empty, QString()); // forget what this case registered
    }
    QString devices() const { return folder.path() + "/devices"; }
    void write(const QString& name, const QByteArray& text) const {
        folder.write("devices/" + name, text);
    }
    ScratchFolder folder;
};

TEST_F(UserDevices, SoundFileJoinsTheCatalogAndItsDescriptionIsRead) {
    write("mine.xml", userFile());
    DeviceCatalog catalog = installedCatalog();

    EXPECT_TRUE(addUserDevices(catalog, devices()).empty());

    ASSERT_EQ(catalog.devices.size(), 2u);
    EXPECT_EQ(catalog.devices[1].name, "Mine");
    EXPECT_EQ(catalog.devices[1].deviceType, 300);
    EXPECT_EQ(catalog.devices[1].deviceAttr, "mine"); // the file's stem
    ASSERT_EQ(catalog.modes.size(), 2u);
    EXPECT_EQ(catalog.modes[1].vid, 0x1209);
    EXPECT_EQ(catalog.modes[1].pid, 0xC0C1);
    EXPECT_EQ(catalog.modes[1].devId, "CVM3");
    EXPECT_EQ(catalog.modes[1].device.deviceType, 300);

    // The device file is found by its stem wherever the installation is.
    EXPECT_EQ(deviceFilePath("/opt/corvane", "mine"), devices() + "/mine.xml");
    EXPECT_EQ(deviceFilePath("/opt/corvane", "corvane_m1"), "/opt/corvane/device/corvane_m1.xml");
    DeviceDetails details;
    details.mousePicture = "device/corvane_m1.png"; // the model shown before
    ASSERT_TRUE(readDeviceDetails("/opt/corvane", "mine", details));
    ASSERT_EQ(details.keys.size(), 2u);
    EXPECT_EQ(details.keys[1].callout, (CalloutLine{230, 340, 90}));
    EXPECT_EQ(details.mousePicture, kOutlinePicture);
    EXPECT_EQ(catalog.devices[1].imagePath("/skin"), "/skin/device/outline_list.png");
    const auto defaults = performanceDefaults("/opt/corvane", "mine", true);
    EXPECT_NE(std::find(defaults.begin(), defaults.end(),
                        std::pair<QString, QString>("dpi_group1_value", "3200")),
              defaults.end());
}

TEST_F(UserDevices, OwnPicturesLieBesideTheFile) {
    write("mine.xml", userFile(R"(name="Mine" device_type="300" image="list.png")",
                               R"(vid="0x1209" pid="0xC0C1" dev_id="CVM3")",
                               R"(<image_file mouse_img="top.png"/>)"));
    write("top.png", "png");
    write("list.png", "png");
    DeviceCatalog catalog = installedCatalog();
    addUserDevices(catalog, devices());

    DeviceDetails details;
    ASSERT_TRUE(readDeviceDetails("/opt/corvane", "mine", details));
    EXPECT_EQ(details.mousePicture, devices() + "/top.png");
    EXPECT_EQ(catalog.devices.at(1).imagePath("/skin"), devices() + "/list.png");
}

TEST_F(UserDevices, ClashWithAnInstalledModelIsReportedAndTheInstalledOneKept) {
    struct Case {
        const char* what;
        QByteArray catalogAttributes;
        QByteArray mode;
        QString fileName;
        const char* expected;
    };
    const Case cases[] = {
        {"device type", R"(name="Mine" device_type="1")",
         R"(vid="0x1209" pid="0xC0C1" dev_id="CVM3")", "mine.xml",
         "device type 1 is that of Corvane M1"},
        {"file name", R"(name="Mine" device_type="300")",
         R"(vid="0x1209" pid="0xC0C1" dev_id="CVM3")", "corvane_m1.xml",
         "file name corvane_m1 is that of Corvane M1"},
        {"ids", R"(name="Mine" device_type="300")", R"(vid="1209" pid="c0a1" dev_id="CVM1")",
         "mine.xml", "1209:c0a1 with identifier CVM1 is Corvane M1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch;
        scratch.write("devices/" + c.fileName, userFile(c.catalogAttributes, c.mode));
        // A sound second file in the same folder is still added.
        scratch.write("other.xml", {});
        scratch.write("devices/zz_other.xml",
                      userFile(R"(name="Other" device_type="301")",
                               R"(vid="0x1209" pid="0xC0D1" dev_id="CVM4")"));
        DeviceCatalog catalog = installedCatalog();

        const std::vector<UserDeviceReport> reports =
            addUserDevices(catalog, scratch.path() + "/devices");

        ASSERT_EQ(reports.size(), 1u);
        EXPECT_FALSE(reports[0].used);
        EXPECT_TRUE(reports[0].clash.contains(c.expected)) << reports[0].clash.toStdString();
        EXPECT_TRUE(reports[0].lines().join('\n').contains("skipped"));
        ASSERT_EQ(catalog.devices.size(), 2u);
        EXPECT_EQ(catalog.devices[0].name, "Corvane M1");
        EXPECT_EQ(catalog.devices[1].name, "Other");
        EXPECT_EQ(deviceFilePath("/opt/corvane", "corvane_m1"),
                  "/opt/corvane/device/corvane_m1.xml");
    }
}

TEST_F(UserDevices, TwoUserFilesClaimingOneMouseKeepTheFirstByName) {
    write("a_first.xml", userFile());
    write("b_second.xml", userFile(R"(name="Second" device_type="301")"));
    DeviceCatalog catalog = installedCatalog();

    const auto reports = addUserDevices(catalog, devices());

    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].path.endsWith("b_second.xml"));
    EXPECT_TRUE(reports[0].clash.contains("Mine"));
    ASSERT_EQ(catalog.devices.size(), 2u);
}

TEST_F(UserDevices, MalformedFileIsReportedWithItsLineAndSkipped) {
    write("broken.xml", "<mouse>\n  <catalog name=\"x\" device_type=\"300\">\n  </mouse>\n");
    write("mine.xml", userFile());
    DeviceCatalog catalog = installedCatalog();

    const auto reports = addUserDevices(catalog, devices());

    ASSERT_EQ(reports.size(), 1u);
    const QStringList lines = reports[0].lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith(devices() + "/broken.xml:3: error: not well-formed XML"))
        << lines[0].toStdString();
    ASSERT_EQ(catalog.devices.size(), 2u);
    EXPECT_EQ(catalog.devices[1].name, "Mine");
    EXPECT_TRUE(deviceFilePath("/opt", "broken").startsWith("/opt/"));
}

TEST_F(UserDevices, MissingFolderAddsNothing) {
    DeviceCatalog catalog = installedCatalog();
    EXPECT_TRUE(addUserDevices(catalog, devices()).empty());
    EXPECT_EQ(catalog.devices.size(), 1u);
}

// Each problem the check finds, with the line it names and whether it refuses the file.
TEST(DeviceFileCheck, FindsEachProblemOnItsLine) {
    struct Case {
        QByteArray text;
        const char* at; // the problem's line is the one holding this text; none: 0
        bool error;
        const char* message;
    };
    const auto lineOf = [](const QByteArray& text, const char* at) {
        return at ? static_cast<int>(text.left(text.indexOf(at)).count('\n')) + 1 : 0;
    };
    const QByteArray good = userFile();
    const Case cases[] = {
        {"<config/>", "<config", true, "root element is <config>"},
        {"<mouse>\n<menu light=\"1\"/>\n</mouse>", nullptr, true, "no <catalog> element"},
        {"<mouse>\n<catalog name=\"M\" device_type=\"300\">\n</catalog>\n</mouse>", "<catalog",
         true, "has no <mode>"},
        {"<mouse>\n<catalog name=\"M\" device_type=\"101\"><mode value=\"0\" vid=\"1209\" "
         "pid=\"1\" dev_id=\"ABCD\"/></catalog>\n</mouse>",
         "<catalog", true, "101 is the type"},
        {"<mouse>\n<catalog name=\"M\" device_type=\"300\">\n<mode value=\"2\" vid=\"0x1209\" "
         "pid=\"1\" dev_id=\"ABCD\"/></catalog>\n</mouse>",
         "<mode", true, "neither 0 (USB cable)"},
        {"<mouse>\n<catalog name=\"M\" device_type=\"300\">\n<mode value=\"0\" vid=\"0x1209\" "
         "pid=\"0x10000\" dev_id=\"ABCD\"/></catalog>\n</mouse>",
         "<mode", true, "'0x10000' is not a USB id"},
        {"<mouse>\n<catalog name=\"M\" device_type=\"300\">\n<mode value=\"0\" vid=\"0x1209\" "
         "pid=\"1\"/></catalog>\n</mouse>",
         "<mode", true, "<mode> lacks dev_id"},
        {QByteArray(good).replace("<menu light=\"0\"/>", "<menu light=\"yes\"/>"), "<menu", false,
         "'yes' is neither 0 nor 1"},
        {QByteArray(good).replace("rect=\"230#340#90\"", "rect=\"230,340,90\""), "230,340", false,
         "not a callout x1#x2#y"},
        {QByteArray(good).replace("<menu light=\"0\"/>", "<firmware url=\"https://x\"/><menu/>"),
         "<firmware", false, "<menu> must come before <firmware>"},
        {QByteArray(good).replace("<dpi_1 value=\"800\"", "<dpi_1 value=\"800dpi\""), "<dpi_1",
         false, "'800dpi' is not a number: it reads as 800"},
        {QByteArray(good)
             .replace("<mouse_info>", "<mouse_infos>")
             .replace("</mouse_info>", "</mouse_infos>"),
         "<mouse_infos>", false, "<mouse_infos> is not an element of <mouse>"},
        {QByteArray(good).replace("color=\"#00FF00\"", "color=\"green\""), "green", false,
         "not a colour"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const std::vector<DeviceFileProblem> problems = checkDeviceFileText(c.text, "m", "/none");
        ASSERT_EQ(problems.size(), 1u) << describeProblem("f", problems.at(0)).toStdString();
        EXPECT_EQ(problems[0].line, lineOf(c.text, c.at));
        EXPECT_EQ(problems[0].isError(), c.error);
        EXPECT_TRUE(problems[0].message.contains(c.message)) << problems[0].message.toStdString();
    }
    EXPECT_TRUE(checkDeviceFileText(good, "m", "/none").empty());
    const auto badStem = checkDeviceFileText(good, "My Mouse", "/none");
    ASSERT_EQ(badStem.size(), 1u);
    EXPECT_TRUE(badStem[0].isError());
}

} // namespace
} // namespace corvane::catalog
