#include <gtest/gtest.h>

#include <QString>

#include <functional>
#include <vector>

#include "CommandFixture.h"
#include "KnownProfile.h"
#include "protocol/commands/LightingCommands.h"
#include "protocol/commands/PerformanceCommands.h"
#include "virtualmouse/Reports.h"

namespace corvane::protocol::testing {
namespace {

using vm::MouseSettings;
namespace command = vm::command;

// Each Get stores what the mouse holds into the profile. The virtual mouse starts with
// its factory state: four stages of 400, 800, 1600 and 3200 DPI (50 DPI per unit with
// sensor 0x11), stage 1 active; 1000 Hz; lift-off 2 with the first option on; power
// 10, 1, 0, 4; lighting mode 4 with brightness 3 and speed 2.
class ReadBack : public CommandFixture {
protected:
    void SetUp() override {
        CommandFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        mouse = attachWired();
        start();
        sensor = sensorOfCurrentDevice();
    }

    void keep(std::uint8_t writeCode, std::uint8_t size, std::vector<std::uint8_t> bytes) {
        MouseSettings::Kept kept;
        kept.size = size;
        std::copy(bytes.begin(), bytes.end(), kept.parameters.begin());
        ASSERT_TRUE(mouse->setKept(writeCode, kept));
    }

    // Every performance setting, as text, to see that nothing changed.
    QStringList performanceSettings() {
        QStringList values;
        for (QStringView key :
             {keys::dpiCount, keys::dpiIndex, keys::dpiFlag, keys::reportRate,
              keys::reportRateWireless, keys::liftoffHeight, keys::sensorFlag, keys::sleepLight,
              keys::moveWakeup, keys::moveCloseLight, keys::buttonResponseTime}) {
            values << settingText(key);
        }
        for (int k = 0; k < kDpiStages; ++k) {
            values << settingText(keys::dpiValue[k]) << settingText(keys::dpiColor[k]);
        }
        return values;
    }

    std::shared_ptr<vm::WiredMouse> mouse;
    SensorState sensor;
};

TEST_F(ReadBack, ReportRate) {
    keep(command::SetReportRate, 0x01, {32});
    ASSERT_TRUE(getReportRate(profile));
    EXPECT_EQ(setting(keys::reportRate), 32);
    EXPECT_EQ(setting(keys::reportRateWireless), 32);
}

TEST_F(ReadBack, DpiStagesWithTheMouseSensor) {
    // Stage 5 holds 229 units: 21000 DPI for sensor 0x11; stage 4 holds 0 units.
    keep(command::SetDpi, 0x25, {0x25, 8, 0,   8, 0, 16, 0, 16, 0,   220, 0,   220, 0,
                                 221,  0, 221, 0, 0, 0,  0, 0,  229, 0,   229, 0});
    ASSERT_TRUE(getDpi(profile, sensor));
    EXPECT_EQ(setting(keys::dpiCount), 5);
    EXPECT_EQ(setting(keys::dpiFlag), 5);
    EXPECT_EQ(setting(keys::dpiIndex), 2);
    const int expected[] = {400, 800, 12000, 13000, 6400, 21000};
    for (int k = 0; k < kDpiStages; ++k) {
        EXPECT_EQ(setting(keys::dpiValue[k]), expected[k])
            << "stage " << k << (k == 4 ? " (0 DPI is not stored: the default stays)" : "");
    }
}

TEST_F(ReadBack, FactoryStateOfTheMouse) {
    ASSERT_TRUE(getDpi(profile, sensor));
    ASSERT_TRUE(getDpiColors(profile));
    ASSERT_TRUE(getSensor(profile));
    ASSERT_TRUE(getPower(profile));
    ASSERT_TRUE(getReportRate(profile));
    EXPECT_EQ(setting(keys::dpiCount), 4);
    EXPECT_EQ(setting(keys::dpiIndex), 1);
    const int dpi[] = {400, 800, 1600, 3200, 4800, 6400};
    const int colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
    for (int k = 0; k < kDpiStages; ++k) {
        EXPECT_EQ(setting(keys::dpiValue[k]), dpi[k]) << "stage " << k;
        EXPECT_EQ(setting(keys::dpiColor[k]), colors[k]) << "stage " << k;
    }
    EXPECT_EQ(setting(keys::liftoffHeight), 2);
    EXPECT_EQ(setting(keys::sensorFlag), 57) << "53 with bit 8 on and bit 4 off";
    EXPECT_EQ(setting(keys::sleepLight), 30);
    EXPECT_EQ(setting(keys::moveWakeup), 1);
    EXPECT_EQ(setting(keys::moveCloseLight), 0);
    EXPECT_EQ(setting(keys::buttonResponseTime), 8);
    EXPECT_EQ(setting(keys::reportRate), 1);
}

TEST_F(ReadBack, WhatIsPushedComesBack) {
    KnownProfile::storePerformance(db(), profile);
    ASSERT_TRUE(setDpi(profile, sensor));
    ASSERT_TRUE(setDpiColors(profile));
    ASSERT_TRUE(setReportRate(profile));
    ASSERT_TRUE(setSensor(profile));
    ASSERT_TRUE(setPower(profile));
    const QStringList pushed = performanceSettings();

    store::ProfileRecord record;
    record.name = QStringLiteral("Profile 2");
    const int other = db().createProfile(record);
    ASSERT_GT(other, 0);
    ASSERT_TRUE(getDpi(other, sensor));
    ASSERT_TRUE(getDpiColors(other));
    ASSERT_TRUE(getReportRate(other));
    ASSERT_TRUE(getSensor(other));
    ASSERT_TRUE(getPower(other));

    EXPECT_EQ(db().getSettingInt(other, keys::dpiCount), 5);
    EXPECT_EQ(db().getSettingInt(other, keys::dpiIndex), 2);
    // 12500 went out as 12000; 30000 as the limit 24000; "abc" as the lowest, 50.
    const int dpi[] = {400, 800, 12000, 15000, 24000, 50};
    for (int k = 0; k < kDpiStages; ++k) {
        EXPECT_EQ(db().getSettingInt(other, keys::dpiValue[k]), dpi[k]) << "stage " << k;
        EXPECT_EQ(db().getSettingInt(other, keys::dpiColor[k]), setting(keys::dpiColor[k]));
    }
    EXPECT_EQ(db().getSettingInt(other, keys::reportRate), 16);
    EXPECT_EQ(db().getSettingInt(other, keys::reportRateWireless), 16);
    EXPECT_EQ(db().getSettingInt(other, keys::liftoffHeight), 2);
    EXPECT_EQ(db().getSettingInt(other, keys::sensorFlag), (53 & ~12) | 8);
    EXPECT_EQ(db().getSettingInt(other, keys::sleepLight), 36);
    EXPECT_EQ(db().getSettingInt(other, keys::moveWakeup), 1);
    EXPECT_EQ(db().getSettingInt(other, keys::moveCloseLight), 0);
    EXPECT_EQ(db().getSettingInt(other, keys::buttonResponseTime), 12);
    EXPECT_EQ(performanceSettings(), pushed) << "reading another profile left this one alone";
}

TEST_F(ReadBack, LightingModeBrightnessAndSpeed) {
    KnownProfile::storeLights(db(), profile);
    keep(command::SetLighting, 0x05, {3, 0x5A});
    int mode = -1;
    ASSERT_TRUE(getLighting(profile, mode));
    EXPECT_EQ(mode, 3);
    EXPECT_EQ(db().getCurrentLightMode(profile), 3);
    store::LightEffect light;
    ASSERT_TRUE(db().getLight(profile, 3, light));
    EXPECT_EQ(light.brightness, 5);
    EXPECT_EQ(light.speed, 10);
    EXPECT_EQ(light.colorValues[0], 0x123456) << "the colours stay";
    ASSERT_TRUE(db().getLight(profile, 2, light));
    EXPECT_EQ(light.brightness, 3) << "other modes stay";
}

TEST_F(ReadBack, LightingOfAModeWithoutARecordStoresOnlyTheMode) {
    int mode = -1;
    ASSERT_TRUE(getLighting(profile, mode)) << "factory lighting: mode 4";
    EXPECT_EQ(mode, 4);
    EXPECT_EQ(db().countLights(profile), 0);

    LightingState state;
    ASSERT_TRUE(readLighting(state));
    EXPECT_EQ(state, (LightingState{4, 3, 2}));
}

TEST_F(ReadBack, AFailedReadStoresNothing) {
    KnownProfile::storeLights(db(), profile);
    ASSERT_TRUE(db().setCurrentLightMode(profile, 2));
    const QStringList before = performanceSettings();
    const std::function<bool()> reads[] = {
        [&] { return getReportRate(profile); },
        [&] { return getDpi(profile, sensor); },
        [&] { return getDpiColors(profile); },
        [&] { return getSensor(profile); },
        [&] { return getPower(profile); },
        [&] {
            int mode = -1;
            return getLighting(profile, mode);
        },
    };
    for (const auto& read : reads) {
        mouse->busyNextReads(50);
        EXPECT_FALSE(read());
    }
    EXPECT_EQ(performanceSettings(), before);
    EXPECT_EQ(db().getCurrentLightMode(profile), 2);
}

// A receiver whose mouse goes out of range: the unlink notice arrives where the answer
// was awaited. Its status byte is 0, but it is not an answer.
class ReadBackWireless : public CommandFixture {};

TEST_F(ReadBackWireless, ANotificationIsNotTakenForTheAnswer) {
    auto receiver = attachReceiver();
    start();
    const SensorState sensor = sensorOfCurrentDevice();
    const QString color = settingText(keys::dpiColor[0]);
    const int sleep = setting(keys::sleepLight);

    receiver->unlink();
    EXPECT_FALSE(getDpiColors(profile));
    receiver->sendConnectionNotice(0x00, 0, 0);
    EXPECT_FALSE(getPower(profile));
    receiver->sendConnectionNotice(0x00, 0, 0);
    EXPECT_FALSE(getDpi(profile, sensor));
    EXPECT_EQ(settingText(keys::dpiColor[0]), color);
    EXPECT_EQ(setting(keys::sleepLight), sleep);
    EXPECT_EQ(setting(keys::dpiCount), 6);
    EXPECT_EQ(setting(keys::dpiValue[0]), 800);
}

} // namespace
} // namespace corvane::protocol::testing
