#include "ScratchFolder.h"
#include "catalog/DeviceDetails.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

using test::ScratchFolder;
using Pairs = std::vector<std::pair<QString, QString>>;

constexpr char kFullDevice[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <image_file mouse_img="m.png"/>
  <menu light="1"/>
  <custom show_dpitips="1" show_savetips="1" show_lod="1" show_sensor="1" show_respondtime="1"/>
  <firmware url="https://fw/m"/>
  <mouse_key>
    <key name="143" key_value="0" direction="1" rect="120#40#88" func_desc="106" dashed="0" func_type="1" func_value="1"/>
    <key name="148" key_value="5" direction="0" rect="10#20#30" func_desc="142" dashed="1" func_type="5" func_value="3"/>
  </mouse_key>
  <mouse_info>
    <light_info>
      <light_1 enable="1"/><light_2 enable="0"/><light_3 enable="1"/>
      <light_4 enable="2"/><light_5 enable="1"/><light_6 enable="1"/>
    </light_info>
    <dpi_info default_dpi="2" dpi_count="4">
      <dpi_1 value="400" color="#FF8000"/>
      <dpi_2 value="800" color="#00FF00"/>
      <dpi_3 value="1600" color="#0000FF"/>
      <dpi_4 value="3200" color="#FFFFFF"/>
      <dpi_5 value="6400" color="#000000"/>
      <dpi_6 value="12000" color="#FF0000"/>
    </dpi_info>
    <report_rate default_value="2"/>
    <sleep_light value="30"/>
    <move_wakeup value="1"/>
    <move_closelight value="0"/>
    <lod value="2"/>
    <button_respondtime value="8"/>
  </mouse_info>
</mouse>
)";

class DeviceFile : public ::testing::Test {
protected:
    void writeDevice(const QByteArray& text, const QString& attr = "m") {
        folder.write("device/" + attr + ".xml", text);
    }
    bool read(DeviceDetails& details, const QString& attr = "m") {
        return readDeviceDetails(folder.path(), attr, details);
    }
    ScratchFolder folder;
};

TEST(DeviceFilePath, JoinsFolderDeviceAndStem) {
    EXPECT_EQ(deviceFilePath("/opt/corvane", "m1"), "/opt/corvane/device/m1.xml");
    EXPECT_EQ(deviceFilePath("/opt/corvane/", "m1"), "/opt/corvane/device/m1.xml");
    EXPECT_EQ(deviceFilePath("/opt/corvane", ""), "/opt/corvane/device/.xml");
}

TEST_F(DeviceFile, ReadsEveryElement) {
    writeDevice(kFullDevice);
    DeviceDetails details;
    ASSERT_TRUE(read(details));
    EXPECT_EQ(details.mousePicture, "device/m.png");
    EXPECT_TRUE(details.hasLighting);
    EXPECT_TRUE(details.showDpiTips);
    EXPECT_TRUE(details.showSaveTips);
    EXPECT_TRUE(details.showLod);
    EXPECT_TRUE(details.showSensor);
    EXPECT_TRUE(details.showRespondTime);
    EXPECT_EQ(details.firmwareUrl, "https://fw/m");
    EXPECT_EQ(details.lightEffects, (std::array<bool, 6>{true, false, true, false, true, true}));

    ASSERT_EQ(details.keys.size(), 2u);
    const KeyEntry& first = details.keys[0];
    EXPECT_EQ(first.nameId, 143);
    EXPECT_EQ(first.nameText, "143");
    EXPECT_EQ(first.keyValue, 0);
    EXPECT_EQ(first.direction, 1);
    EXPECT_EQ(first.callout, (CalloutLine{120, 40, 88})); // (120, 88) to (40, 88)
    EXPECT_EQ(first.funcDescId, 106);
    EXPECT_FALSE(first.dashed);
    EXPECT_EQ(first.funcType, 1);
    EXPECT_EQ(first.funcValue, 1);
    EXPECT_TRUE(details.keys[1].dashed);
    EXPECT_EQ(details.keys[1].keyValue, 5);

    const DefaultBinding binding = defaultBindingOf(details.keys[1]);
    EXPECT_EQ(binding.keyCode, 5);
    EXPECT_EQ(binding.layoutValue, 5);
    EXPECT_EQ(binding.layoutDesc, "148");
    EXPECT_EQ(binding.macroType, 5);
    EXPECT_EQ(binding.macroValue, 3);
    EXPECT_EQ(binding.macroDesc, "142");
    const std::vector<DefaultBinding> all = defaultBindingsOf(details.keys);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].keyCode, 0);
    EXPECT_EQ(all[1].macroDesc, "142");
}

TEST_F(DeviceFile, ShowLodNeedsExactlyOne) {
    const struct {
        const char* custom;
        bool expected;
    } cases[] = {
        {R"(<custom show_lod="1"/>)", true},   {R"(<custom/>)", false},
        {R"(<custom show_lod="2"/>)", false},  {R"(<custom show_lod=""/>)", false},
        {R"(<custom show_lod="on"/>)", false},
    };
    for (const auto& c : cases) {
        writeDevice(QByteArray("<mouse>") + c.custom + "</mouse>");
        DeviceDetails details;
        details.showLod = !c.expected;
        ASSERT_TRUE(read(details)) << c.custom;
        EXPECT_EQ(details.showLod, c.expected) << c.custom;
    }
}

TEST_F(DeviceFile, MissingElementsKeepThePreviousValues) {
    writeDevice(kFullDevice, "full");
    DeviceDetails details;
    ASSERT_TRUE(read(details, "full"));

    // Only "custom" and "firmware": the picture, lighting, keys and light flags stay.
    writeDevice(R"(<mouse><custom show_sensor="1"/><firmware url="https://other/"/></mouse>)",
                "partial");
    ASSERT_TRUE(read(details, "partial"));
    EXPECT_EQ(details.mousePicture, "device/m.png");
    EXPECT_TRUE(details.hasLighting);
    EXPECT_FALSE(details.showDpiTips) << "custom replaces all five flags";
    EXPECT_TRUE(details.showSensor);
    EXPECT_EQ(details.firmwareUrl, "https://other/");
    EXPECT_EQ(details.keys.size(), 2u);
    EXPECT_EQ(details.lightEffects, (std::array<bool, 6>{true, false, true, false, true, true}));

    // A "mouse_key" without keys empties the list; light flags not named stay.
    writeDevice(R"(<mouse><mouse_key/><mouse_info><light_info>
                     <light_2 enable="1"/><light_6 enable="0"/>
                   </light_info></mouse_info></mouse>)",
                "keys");
    ASSERT_TRUE(read(details, "keys"));
    EXPECT_TRUE(details.keys.empty());
    EXPECT_TRUE(details.firmwareUrl.isEmpty()) << "no firmware address is carried over";
    EXPECT_EQ(details.lightEffects, (std::array<bool, 6>{true, true, true, false, true, false}));
}

TEST_F(DeviceFile, UnreadableFilesLeaveDetailsUnchanged) {
    writeDevice(kFullDevice, "full");
    DeviceDetails before;
    ASSERT_TRUE(read(before, "full"));

    const struct {
        const char* attr;
        const char* text; // nullptr: no file
    } cases[] = {
        {"none", nullptr},
        {"", nullptr}, // an unknown device type has an empty stem
        {"empty", ""},
        {"broken", "<mouse><menu light=\"0\"><custom/></mouse>"},
        {"tworoots", "<mouse><menu light=\"0\"/></mouse><mouse/>"},
        {"wrongroot", "<device><menu light=\"0\"/><mouse_key/></device>"},
    };
    for (const auto& c : cases) {
        if (c.text)
            writeDevice(c.text, c.attr);
        DeviceDetails details = before;
        EXPECT_FALSE(read(details, c.attr)) << c.attr;
        EXPECT_TRUE(details.hasLighting) << c.attr;
        EXPECT_EQ(details.keys.size(), 2u) << c.attr;
        EXPECT_EQ(details.firmwareUrl, "https://fw/m") << c.attr;
        EXPECT_TRUE(performanceDefaults(folder.path(), c.attr, false).empty()) << c.attr;
    }
}

TEST_F(DeviceFile, ElementsOutOfOrderAreMissed) {
    // "image_file" is looked up first and found anywhere; "menu" is found after it,
    // but "custom" and "firmware", which the file places before "menu", are missed.
    writeDevice(R"(<mouse>
        <custom show_lod="1"/>
        <image_file mouse_img="m.png"/>
        <firmware url="f"/>
        <menu light="1"/>
        <mouse_key><key key_value="4" name="150"/></mouse_key>
      </mouse>)");
    DeviceDetails details;
    ASSERT_TRUE(read(details));
    EXPECT_EQ(details.mousePicture, "device/m.png");
    EXPECT_TRUE(details.hasLighting);
    EXPECT_FALSE(details.showLod) << "custom precedes menu";
    EXPECT_TRUE(details.firmwareUrl.isEmpty()) << "firmware precedes menu";
    ASSERT_EQ(details.keys.size(), 1u);
    EXPECT_EQ(details.keys[0].keyValue, 4);

    // light_3 before light_1: light_1 is found, light_3 is then behind the cursor.
    writeDevice(R"(<mouse><mouse_info><light_info>
        <light_3 enable="1"/><light_1 enable="1"/><light_2 enable="1"/>
      </light_info></mouse_info></mouse>)");
    DeviceDetails lights;
    ASSERT_TRUE(read(lights));
    EXPECT_EQ(lights.lightEffects, (std::array<bool, 6>{true, true, false, false, false, false}));
}

TEST_F(DeviceFile, PerformanceDefaultsInOrder) {
    writeDevice(kFullDevice);
    const Pairs expected = {
        {"dpi_index", "2"},
        {"dpi_flag", "4"},
        {"dpi_count", "4"},
        {"dpi_group0_value", "400"},
        {"dpi_group0_rgb", QString::number(255 + 128 * 256)},
        {"dpi_group1_value", "800"},
        {"dpi_group1_rgb", QString::number(0x00FF00)},
        {"dpi_group2_value", "1600"},
        {"dpi_group2_rgb", QString::number(0xFF0000)},
        {"dpi_group3_value", "3200"},
        {"dpi_group3_rgb", QString::number(0xFFFFFF)},
        {"dpi_group4_value", "6400"},
        {"dpi_group4_rgb", "0"},
        {"dpi_group5_value", "12000"},
        {"dpi_group5_rgb", "255"},
        {"report_rate", "2"},
        {"report_rate_wireless", "2"},
        {"sleep_light", "30"},
        {"move_wakeup", "1"},
        {"move_closelight", "0"},
        {"liftoff_height", "2"},
        {"button_respondtime", "8"},
    };
    EXPECT_EQ(performanceDefaults(folder.path(), "m", false), expected);
    const Pairs dpiOnly(expected.begin(), expected.begin() + 15);
    EXPECT_EQ(performanceDefaults(folder.path(), "m", true), dpiOnly);
}

TEST_F(DeviceFile, PerformanceDefaultsSkipWhatIsMissing) {
    // No dpi_count, stage 2 and 4 missing, stage 3 without colour, an empty value, no
    // sleep_light, light_info after the rest, texts passed on as written.
    writeDevice(R"(<mouse><mouse_info>
        <dpi_info default_dpi="0">
          <dpi_1 value="400" color="#FF0000"/>
          <dpi_3 value="1600"/>
          <dpi_5 value="" color="#00FF00"/>
        </dpi_info>
        <report_rate/>
        <move_wakeup value="0"/>
        <lod value=" 2 "/>
        <light_info><light_1 enable="1"/></light_info>
      </mouse_info></mouse>)");
    const Pairs expected = {
        {"dpi_index", "0"},
        {"dpi_group0_value", "400"},
        {"dpi_group0_rgb", "255"},
        {"dpi_group2_value", "1600"},
        {"dpi_group4_rgb", QString::number(0x00FF00)},
        {"move_wakeup", "0"},
        {"liftoff_height", " 2 "},
    };
    EXPECT_EQ(performanceDefaults(folder.path(), "m", false), expected);
}

TEST_F(DeviceFile, PerformanceDefaultsNeedMouseInfo) {
    writeDevice(R"(<mouse><dpi_info default_dpi="1" dpi_count="6"/></mouse>)");
    EXPECT_TRUE(performanceDefaults(folder.path(), "m", false).empty());
    // Elements the file places before dpi_info are missed.
    writeDevice(R"(<mouse><mouse_info>
        <lod value="1"/>
        <sleep_light value="60"/>
        <dpi_info dpi_count="2"/>
      </mouse_info></mouse>)");
    const Pairs expected = {
        {"dpi_flag", "2"},
        {"dpi_count", "2"},
    };
    EXPECT_EQ(performanceDefaults(folder.path(), "m", false), expected)
        << "sleep_light and lod come before dpi_info and are missed";
}

} // namespace
} // namespace corvane::catalog
