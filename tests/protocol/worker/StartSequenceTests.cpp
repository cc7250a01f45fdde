// Settling the device: the start, rescan and reselect tasks, the profiles they create
// and the read-back of the mouse's own settings.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "WorkerFixture.h"
#include "store/SettingKey.h"

namespace corvane::protocol::testing {
namespace {

using namespace std::chrono_literals;
using StartSequence = WorkerTest;

// Every setting of data/device/corvane_m1.xml's performance part.
const std::vector<std::pair<const char*, int>> kM1Factory = {
    {"dpi_index", 1},
    {"dpi_flag", 6},
    {"dpi_count", 6},
    {"dpi_group0_value", 400},
    {"dpi_group1_value", 800},
    {"dpi_group2_value", 1600},
    {"dpi_group3_value", 3200},
    {"dpi_group4_value", 6400},
    {"dpi_group5_value", 12000},
    {"dpi_group0_rgb", 0x0000FF},
    {"dpi_group1_rgb", 0x00FF00},
    {"dpi_group2_rgb", 0xFF0000},
    {"dpi_group3_rgb", 0x00FFFF},
    {"dpi_group4_rgb", 0xFF00FF},
    {"dpi_group5_rgb", 0xFFFF00},
    {"report_rate", 1},
    {"report_rate_wireless", 1},
    {"sleep_light", 30},
    {"move_wakeup", 1},
    {"move_closelight", 1},
    {"liftoff_height", 1},
    {"button_respondtime", 8},
};

// The wired mouse holds settings of its own, different from the factory values.
void giveOwnSettings(vm::MouseDevice& mouse) {
    vm::MouseSettings::Kept dpi{0x25, {}};
    dpi.parameters[0] = (2 << 4) | 3;                          // three stages, the third active
    const std::uint16_t units[6] = {20, 40, 60, 80, 100, 120}; // sensor 0x11: 50 DPI each
    for (int k = 0; k < 6; ++k) {
        dpi.parameters[1 + 4 * k] = dpi.parameters[3 + 4 * k] = static_cast<std::uint8_t>(units[k]);
    }
    mouse.setKept(0x03, dpi);
    mouse.setKept(0x02, {0x01, {0x08}});                   // 125 Hz
    mouse.setKept(0x07, {0x04, {0x06, 0x00, 0x01, 0x0C}}); // sleep 6, response 12
    mouse.setKept(0x05, {0x02, {0x02, 0x13}});             // mode 2, brightness 1, speed 3
}

TEST_F(StartSequence, WithNothingAttachedSendsNothingAndShowsNoDevice) {
    auto unplugged = attachM1Wired(false);
    startWorker();
    run({DeviceTask::DeviceStart});

    EXPECT_EQ(unplugged->stats(vm::InterfaceKind::Command).writes, 0);
    EXPECT_FALSE(worker->state().idlePolling());
    EXPECT_FALSE(worker->state().connectionShown());
    const std::vector<std::string> expected = {
        "showDeviceState text=50 selected=0 pages=0 details=0 attached=",
        "closePopups",
    };
    EXPECT_EQ(host.shownSince(0), expected);
}

TEST_F(StartSequence, FirstWiredConnectionCreatesProfilesAndReadsTheMouseBack) {
    auto mouse = attachM1Wired();
    giveOwnSettings(*mouse);
    startWorker();
    run({DeviceTask::DeviceStart});

    const Codes expectedCodes = {0x10, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17};
    EXPECT_EQ(commandCodes(*mouse), expectedCodes) << "scan, then GetInfo and the reads";

    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("db/corvane_m1_data1.db")));
    std::vector<store::ProfileRecord> profiles;
    ASSERT_EQ(store().listProfiles(profiles), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(profiles[i].id, i + 1);
        EXPECT_EQ(profiles[i].name, QStringLiteral("Profile %1").arg(i + 1));
        for (const store::SettingKey& key : store::kSettingKeys) {
            QString value;
            EXPECT_TRUE(store().getSetting(i + 1, QString::fromLatin1(key.name), value))
                << "profile " << i + 1 << " lacks " << key.name;
        }
    }
    EXPECT_EQ(worker->state().currentProfile(), 1);
    for (int profile = 2; profile <= 4; ++profile) {
        for (const auto& [key, value] : kM1Factory) {
            EXPECT_EQ(setting(profile, key), value) << "profile " << profile << " " << key;
        }
    }
    // The current profile holds what the mouse reported.
    EXPECT_EQ(setting(1, "dpi_count"), 3);
    EXPECT_EQ(setting(1, "dpi_flag"), 3);
    EXPECT_EQ(setting(1, "dpi_index"), 2);
    EXPECT_EQ(setting(1, "dpi_group0_value"), 1000);
    EXPECT_EQ(setting(1, "dpi_group5_value"), 6000);
    EXPECT_EQ(setting(1, "report_rate"), 8);
    EXPECT_EQ(setting(1, "sleep_light"), 6);
    EXPECT_EQ(setting(1, "button_respondtime"), 12);
    EXPECT_EQ(setting(1, "dpi_group1_rgb"), 0x00FF00) << "the mouse's second stage is green";
    // The lighting is read back at the first start too, into the profile's new light rows;
    // the lighting page finding them keeps the mouse's mode.
    store::LightEffect light;
    ASSERT_TRUE(store().getLight(1, 2, light)) << "no light rows after the first start";
    EXPECT_EQ(light.brightness, 1);
    EXPECT_EQ(light.speed, 3);
    store().createDefaultLights(1, {true, true, true, true, true, true});
    EXPECT_EQ(store().getCurrentLightMode(1), 2);
    EXPECT_EQ(worker->state().currentLightMode(), 2);

    EXPECT_TRUE(worker->state().idlePolling());
    EXPECT_TRUE(worker->state().connectionShown());
    EXPECT_EQ(worker->state().currentDeviceType(), kM1);
    EXPECT_EQ(worker->state().sensorId(), 0x11);
    EXPECT_EQ(host.storedDeviceType(), kM1);
    EXPECT_TRUE(worker->state().hasLighting());

    const std::vector<std::string> expected = {
        "storeDeviceType 1",
        "showDeviceState text=51 selected=1 pages=1 details=1 attached=1/0/1;",
        "closePopups",
        "showProfileName Profile 1",
        "refreshPages buttons macros performance lighting",
        "showBattery 1 0 0",
        "showBattery 1 0 0",
        "refreshPages buttons macros performance lighting",
        "showVersion 261 ",
    };
    EXPECT_EQ(host.shownSince(0), expected);
}

TEST_F(StartSequence, ASecondConnectionOfTheSameTypeSendsOnlyGetInfo) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    mouse->clearLog();

    run({DeviceTask::DeviceRemoved, DeviceTask::DeviceArrived, DeviceTask::Reselect});
    const Codes expected = {0x10, 0x10, 0x10, 0x10, 0x10};
    EXPECT_EQ(commandCodes(*mouse), expected) << "two scans and three read-backs";
}

TEST_F(StartSequence, WirelessConnectionReadsTheReceiverVersionAndBattery) {
    auto receiver = attachM1Receiver();
    startWorker();
    run({DeviceTask::DeviceStart});

    const Codes expectedCodes = {0x10, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x20};
    EXPECT_EQ(commandCodes(*receiver), expectedCodes);
    EXPECT_EQ(worker->state().receiverVersion(), QStringLiteral("105"));
    EXPECT_EQ(worker->state().batteryLevel(), 80);
    EXPECT_EQ(worker->state().batteryStatus(), 1);
    const std::vector<std::string> shown = host.shownSince(0);
    const std::vector<std::string> tail(shown.end() - 4, shown.end());
    const std::vector<std::string> expectedTail = {
        "showBattery 1 80 1",
        "showReceiverVersion 105",
        "refreshPages buttons macros performance lighting",
        "showVersion 258 105",
    };
    EXPECT_EQ(tail, expectedTail);
    EXPECT_EQ(shown[1], "showDeviceState text=52 selected=1 pages=1 details=1 attached=1/1/1;");
}

TEST_F(StartSequence, AReceiverWhoseMouseIsOffReadsNothingBack) {
    auto receiver = attachM1Receiver(false);
    startWorker();
    run({DeviceTask::DeviceStart});

    const Codes expectedCodes = {0x10, 0x10};
    EXPECT_EQ(commandCodes(*receiver), expectedCodes) << "the receiver answers GetInfo itself";
    EXPECT_EQ(worker->state().connected(), 0);
    EXPECT_FALSE(worker->state().readBackDone(kM1));
    EXPECT_TRUE(worker->state().idlePolling()) << "the receiver will tell when it links";
}

TEST_F(StartSequence, TheAttachedDeviceIsTakenWhenTheStoredTypeIsAbsent) {
    auto m2 = attachM2();
    host.setStoredDeviceType(101); // what the window writes at start
    startWorker();
    run({DeviceTask::DeviceStart});

    EXPECT_EQ(worker->state().currentDeviceType(), kM2);
    EXPECT_EQ(host.storedDeviceType(), kM2);
    EXPECT_FALSE(worker->state().hasLighting());
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("db/corvane_m2_data1.db")));
    EXPECT_TRUE(host.waitFor("refreshPages buttons macros performance", 0, 0ms))
        << "no lighting page for a device without lighting";
}

TEST_F(StartSequence, TheStoredTypeWinsAmongSeveralAttached) {
    auto m1 = attachM1Wired();
    auto m2 = attachM2();
    host.setStoredDeviceType(kM2);
    startWorker();
    run({DeviceTask::DeviceStart});

    EXPECT_EQ(worker->state().currentDeviceType(), kM2);
    EXPECT_EQ(host.lastView().attached.size(), 2u);
    EXPECT_EQ(commandCodes(*m1), Codes{0x10}) << "only the scan talks to the other mouse";
}

TEST_F(StartSequence, ARemovalThatChangesTheTypeLoadsTheNewTypesProfiles) {
    auto m1 = attachM1Wired();
    auto m2 = attachM2();
    host.setStoredDeviceType(kM1);
    startWorker();
    run({DeviceTask::DeviceStart});
    ASSERT_EQ(worker->state().currentDeviceType(), kM1);

    m1->unplug();
    const std::size_t mark = host.count();
    run({DeviceTask::DeviceRemoved});
    EXPECT_EQ(worker->state().currentDeviceType(), kM2);
    std::vector<store::ProfileRecord> profiles;
    EXPECT_EQ(store().listProfiles(profiles), 4) << "the M2 store got its profiles";
    EXPECT_EQ(worker->state().currentProfile(), 1);
    EXPECT_EQ(setting(2, "dpi_count"), 4) << "M2's factory stage count";
    EXPECT_TRUE(host.waitFor("showProfileName Profile 1", mark, 0ms));
}

TEST_F(StartSequence, ChoosingATypeInTheDeviceListSettlesItOnTheWorker) {
    auto m1 = attachM1Wired();
    auto m2 = attachM2();
    host.setStoredDeviceType(kM1);
    startWorker();
    run({DeviceTask::DeviceStart});

    const std::size_t mark = host.count();
    worker->selectDeviceType(kM2);
    ASSERT_TRUE(host.waitFor("refreshPages buttons macros performance", mark));
    const std::vector<std::string> expected = {
        "storeDeviceType 201",
        "showDeviceDetails 201 lighting=0",
        "showProfileName Profile 1",
        "refreshPages buttons macros performance",
    };
    EXPECT_EQ(host.shownSince(mark), expected);
    EXPECT_EQ(manager().currentType(), kM2);
    EXPECT_TRUE(QFileInfo::exists(dataDir.filePath("db/corvane_m2_data1.db")));
}

// The pauses as the program has them.
TEST_F(StartSequence, RealPausesBeforeARescanAndBeforeTheThirdGetInfo) {
    auto mouse = attachM1Wired();
    WorkerConfig real = config();
    real.delays = WorkerDelays{};
    startWorker(real);
    run({DeviceTask::DeviceStart});

    auto began = std::chrono::steady_clock::now();
    run({DeviceTask::DeviceRemoved});
    EXPECT_GE(std::chrono::steady_clock::now() - began, 500ms);

    mouse->clearLog();
    mouse->dropNextAnswers(2); // the first two GetInfo attempts wait 1.5 s each in vain
    began = std::chrono::steady_clock::now();
    run({DeviceTask::Reselect});
    EXPECT_GE(std::chrono::steady_clock::now() - began, 1500ms + 1500ms + 1000ms);
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x10, 0x10, 0x10}));
    EXPECT_EQ(worker->state().connected(), 1);
}

} // namespace
} // namespace corvane::protocol::testing
