#include "app/desktop/InterfaceText.h"

#include <gtest/gtest.h>

using namespace corvane::app;

namespace {

const char* const receiverPath =
    "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.2/0003:1209:C0DE.0005/hidraw/hidraw3";

struct TextCase {
    const char* what;
    HidrawEvent event;
    const char* text;
};

TEST(InterfaceText, RecordedUdevProperties) {
    const TextCase cases[] = {
        {"arrival with every property",
         {receiverPath, "0003:00001209:0000C0DE", "02", "/dev/hidraw3"},
         "HID#VID_1209&PID_C0DE&MI_02#hidraw3"},
        {"removal: parents gone, device path only",
         {receiverPath, "", "", "/dev/hidraw3"},
         "HID#VID_1209&PID_C0DE&MI_02#hidraw3"},
        {"lower-case hexadecimal",
         {"/devices/x/usb1/1-1/1-1:1.0/0003:1209:ABCD.0001/hidraw/hidraw0",
          "0003:00001209:0000abcd", "00", "/dev/hidraw0"},
         "HID#VID_1209&PID_ABCD&MI_00#hidraw0"},
        {"interface ten, hexadecimal from the attribute",
         {"/devices/x/usb1/1-1/1-1:1.10/0003:1209:0001.0002/hidraw/hidraw1",
          "0003:00001209:00000001", "0a", "/dev/hidraw1"},
         "HID#VID_1209&PID_0001&MI_0A#hidraw1"},
        {"interface ten, decimal in the path",
         {"/devices/x/usb1/1-1/1-1:1.10/0003:1209:0001.0002/hidraw/hidraw1", "", "",
          "/dev/hidraw1"},
         "HID#VID_1209&PID_0001&MI_0A#hidraw1"},
        {"behind a hub",
         {"/devices/x/usb3/3-1/3-1.4/3-1.4.2/3-1.4.2:1.1/0003:1209:0001.0009/hidraw/hidraw4", "",
          "", "/dev/hidraw4"},
         "HID#VID_1209&PID_0001&MI_01#hidraw4"},
        {"unreadable attribute falls back to the path",
         {receiverPath, "0003:00001209:0000C0DE", "zz", "/dev/hidraw3"},
         "HID#VID_1209&PID_C0DE&MI_02#hidraw3"},
        {"no interface number (virtual device)",
         {"/devices/virtual/misc/uhid/0003:1209:0002.0007/hidraw/hidraw5", "0003:00001209:00000002",
          "", "/dev/hidraw5"},
         "HID#VID_1209&PID_0002#hidraw5"},
        {"bluetooth: never an interface number",
         {"/devices/x/bluetooth/hci0/hci0:256/0005:1209:0003.0008/hidraw/hidraw6",
          "0005:00001209:00000003", "02", "/dev/hidraw6"},
         "HID#VID_1209&PID_0003#hidraw6"},
        {"I2C bus",
         {"/devices/x/i2c-1/i2c-SYNA0001:00/0018:1209:0004.000A/hidraw/hidraw7", "", "",
          "/dev/hidraw7"},
         "HID#VID_1209&PID_0004#hidraw7"},
        {"no device node", {receiverPath, "", "", ""}, "HID#VID_1209&PID_C0DE&MI_02"},
        {"nothing that names the ids",
         {"/devices/x/hidraw/hidraw1", "junk", "01", "/dev/hidraw1"},
         ""},
        {"ids beyond four digits",
         {"/devices/x/hidraw/hidraw1", "0003:00012345:00000001", "", ""},
         ""},
        {"empty event", {}, ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(interfaceTextOf(c.event), QString::fromLatin1(c.text)) << c.what;
}

TEST(InterfaceText, HoldsTheTextTheDeviceMatchingLooksFor) {
    const QString text = interfaceTextOf({receiverPath, "", "", "/dev/hidraw3"}).toUpper();
    EXPECT_TRUE(text.contains(QStringLiteral("VID_1209&PID_C0DE")));
    EXPECT_TRUE(text.contains(QStringLiteral("VID_1209&PID_C0DE&MI_02")));
    const QString other = interfaceTextOf(
        {"/devices/x/usb1/1-2/1-2:1.0/0003:1209:C0DE.0004/hidraw/hidraw2", "", "", "/dev/hidraw2"});
    EXPECT_FALSE(other.contains(QStringLiteral("VID_1209&PID_C0DE&MI_02")));
}

} // namespace
