// The device list, the key list and the mouse picture with its callouts.

#include "UiTest.h"

#include "ui/views/DeviceList.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/TabControl.h"

#include <gtest/gtest.h>

namespace corvane::ui::test {
namespace {

class DeviceControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.create(nullptr, "Device controls", StylePopup, 0, QRect(0, 0, 900, 700));
    }
    RecordingDialog dialog;
};

TEST_F(DeviceControlsTest, DeviceListTracksStatesPerDeviceType) {
    auto* list = dialog.add<DeviceList>(57, QRect(0, 0, 900, 600));
    list->addEntry("Wired", 101, "device/a.png");
    list->addEntry("Dual", 201, "device/b.png");
    list->addEntry("Dual again", 201, "device/b.png"); // a second entry of the same type
    EXPECT_EQ(list->selectedType(), 0);

    list->setState(201, DeviceList::Wireless, true);
    list->setState(101, DeviceList::Wired, false);
    EXPECT_EQ(list->onlineCount(), 2);
    EXPECT_TRUE(list->isOnline(201));
    EXPECT_FALSE(list->isOnline(101));

    EXPECT_TRUE(list->select(201));
    EXPECT_EQ(list->selectedIndex(), 1) << "the first entry of the type";
    EXPECT_FALSE(list->select(999));
    EXPECT_EQ(list->selectedType(), 201) << "an unknown type keeps the selection";

    list->markAllOffline();
    EXPECT_EQ(list->onlineCount(), 0);
    list->clearSelection();
    EXPECT_EQ(list->selectedType(), 0);

    // Cards never overlap and stay inside the list.
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_TRUE(list->rect().contains(list->entryRect(i))) << i;
        for (int j = i + 1; j < list->count(); ++j)
            EXPECT_FALSE(list->entryRect(i).intersects(list->entryRect(j))) << i << "," << j;
    }
    list->clear();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->selectedIndex(), -1);
}

TEST_F(DeviceControlsTest, KeyListSetsDescriptionsByKeyValue) {
    auto* keys = dialog.add<KeyList>(20, QRect(0, 0, 300, 400));
    keys->addRow("Key 1", "Left", 0);
    keys->addRow("Key 2", "Right", 2);
    keys->addRow("Key 3", "Middle", 1);
    EXPECT_TRUE(keys->setDescriptionOfKey(2, "Volume up"));
    EXPECT_FALSE(keys->setDescriptionOfKey(9, "nothing"));
    EXPECT_EQ(keys->description(1), "Volume up");
    EXPECT_EQ(keys->indexOfKey(1), 2);
    EXPECT_EQ(keys->keyValue(7), -1);
    EXPECT_EQ(keys->fittingHeight(), 3 * keys->rowHeight());
    keys->select(5);
    EXPECT_EQ(keys->selectedIndex(), -1) << "a bad index clears the selection";
}

// A callout's label sits at the end point, on the side its direction names.
TEST_F(DeviceControlsTest, CalloutLabelsSitAtTheEndPointOnTheirSide) {
    auto* mouse = dialog.add<MousePicture>(31, QRect(0, 0, 400, 400));
    const int left = mouse->addCallout("Left", 0, 0, {220, 88}, {140, 88}, false);
    const int right = mouse->addCallout("Right", 1, 1, {120, 150}, {200, 150}, true);
    const int pointed = mouse->addCallout("Side", 3, 7, {300, 200}, {250, 200}, false);
    const int edge = mouse->addCallout("Far", 4, 0, {30, 300}, {5, 300}, false);

    EXPECT_EQ(mouse->calloutRect(left).right() + 1, 140);
    EXPECT_EQ(mouse->calloutRect(left).top() + mouse->calloutRect(left).height() / 2, 88);
    EXPECT_EQ(mouse->calloutRect(right).left(), 200);
    EXPECT_EQ(mouse->calloutRect(pointed).right() + 1, 250) << "other directions follow the line";
    EXPECT_EQ(mouse->calloutRect(edge).left(), 0) << "labels stay inside the picture";
    EXPECT_TRUE(mouse->calloutRect(9).isNull());

    EXPECT_EQ(mouse->indexOfKey(3), pointed);
    mouse->setCalloutText(right, "Droite");
    EXPECT_EQ(mouse->calloutText(right), "Droite");
    mouse->select(right);
    mouse->clearCallouts();
    EXPECT_EQ(mouse->selectedIndex(), -1);
    EXPECT_EQ(mouse->count(), 0);
}

TEST_F(DeviceControlsTest, HiddenTabsTakeNoRoomAndCannotStayCurrent) {
    auto* tabs = dialog.add<TabControl>(48, QRect(0, 0, 190, 400));
    for (int id : {1, 2, 3, 4, 5, 7})
        tabs->addItem(QString::number(id), id);
    const QRect fifth = tabs->itemRect(4);
    tabs->setCurrentIndex(4);
    tabs->setItemVisible(4, false);
    EXPECT_EQ(tabs->currentIndex(), -1);
    EXPECT_TRUE(tabs->itemRect(4).isNull());
    EXPECT_EQ(tabs->itemRect(5), fifth);
    tabs->setCurrentIndex(4);
    EXPECT_EQ(tabs->currentIndex(), -1) << "a hidden item cannot be made current";
    EXPECT_EQ(tabs->indexOfItem(7), 5);
    EXPECT_EQ(tabs->itemId(6), 0);
}

} // namespace
} // namespace corvane::ui::test
