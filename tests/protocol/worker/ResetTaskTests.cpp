// Putting things back: the factory reset of mouse and profiles, the DPI defaults and
// the lighting reset.
#include <gtest/gtest.h>

#include <array>

#include "WorkerFixture.h"

namespace corvane::protocol::testing {
namespace {

using Resets = WorkerTest;

const std::array<bool, 6> kEveryLightMode = {true, true, true, true, true, true};

class FactoryReset : public WorkerTest {
protected:
    // A started M1 whose profiles the user has changed since.
    void startAndChangeProfiles() {
        mouse = attachM1Wired();
        startWorker();
        run({DeviceTask::DeviceStart});
        for (int profile = 1; profile <= 4; ++profile) {
            store().createDefaultLights(profile, kEveryLightMode);
            store().setSetting(profile, u"dpi_group0_value", 999);
            store().setSetting(profile, u"sleep_light", 120);
            store::ButtonBinding binding;
            binding.profile = profile;
            binding.keyCode = 2;
            binding.macroType = 9; // disabled
            binding.macroValue = 1;
            store().saveBinding(binding);
        }
        store().setCurrentProfile(3);
        worker->state().setCurrentProfile(3);
        worker->state().clearReadBackDone(); // what the settings page does on confirming
        mouse->clearLog();
    }

    std::shared_ptr<vm::WiredMouse> mouse;
};

TEST_F(FactoryReset, PutsMouseAndEveryProfileBackToFactory) {
    startAndChangeProfiles();
    const std::size_t mark = host.count();
    run({DeviceTask::FactoryReset});

    EXPECT_EQ(mouse->factoryResets(), 1);
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x0F, 0x0E, 0x15}))
        << "the mouse came back in mode 4: one lighting reset";
    EXPECT_EQ(mouse->lastLightControl(), 0x42);
    for (int profile = 1; profile <= 4; ++profile) {
        EXPECT_EQ(setting(profile, "dpi_group0_value"), 400) << profile;
        EXPECT_EQ(setting(profile, "sleep_light"), 30) << profile;
        std::vector<store::ButtonBinding> bindings;
        EXPECT_EQ(store().listBindings(profile, bindings), 0) << profile;
    }
    EXPECT_EQ(store().getCurrentProfile(), 1);
    EXPECT_EQ(worker->state().currentProfile(), 1);
    EXPECT_EQ(store().countLights(1), 6) << "profile 1 got its default lights again";
    EXPECT_EQ(store().countLights(2), 0);
    EXPECT_EQ(store().getCurrentLightMode(1), 4);
    EXPECT_EQ(worker->state().currentLightMode(), 4);

    const std::vector<std::string> expected = {
        "showProfileName Profile 3", "showProfileName Profile 1", "refreshPages buttons macros",
        "refreshPages performance",  "refreshPages lighting",
    };
    EXPECT_EQ(host.shownSince(mark), expected);
}

TEST_F(FactoryReset, RepeatsTheLightingResetWhenTheMouseChoseAnotherMode) {
    startAndChangeProfiles();
    mouse->setFactory(0x05, {0x03, {0x01, 0x32}}); // its factory lighting is mode 1
    run({DeviceTask::FactoryReset});

    EXPECT_EQ(commandCodes(*mouse), (Codes{0x0F, 0x0E, 0x15, 0x0E}));
    EXPECT_EQ(store().getCurrentLightMode(1), 4);
    EXPECT_EQ(worker->state().currentLightMode(), 4);
}

TEST_F(Resets, DpiDefaultsAreRestoredShownAndSent) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    for (int k = 0; k < 6; ++k) {
        store().setSetting(1, QStringLiteral("dpi_group%1_value").arg(k), 5000 + k);
    }
    store().setSetting(1, u"dpi_count", 2);
    store().setSetting(1, u"sleep_light", 120);
    mouse->clearLog();
    const std::size_t mark = host.count();

    run({DeviceTask::RestoreDpiDefaults});
    EXPECT_EQ(setting(1, "dpi_count"), 6);
    EXPECT_EQ(setting(1, "dpi_index"), 1);
    EXPECT_EQ(setting(1, "dpi_group5_value"), 12000);
    EXPECT_EQ(setting(1, "dpi_group5_rgb"), 0xFFFF00);
    EXPECT_EQ(setting(1, "sleep_light"), 120) << "only the DPI part is restored";
    EXPECT_EQ(host.shownSince(mark),
              std::vector<std::string>{
                  "showDpiStages count=6 active=1 values=400,800,1600,3200,6400,12000,26000,"});
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x03, 0x04}));
    EXPECT_EQ(mouse->kept(0x03)->parameters[0], (1 << 4) | 6);
    EXPECT_EQ(mouse->kept(0x04)->parameters[0], 0xFF) << "stage 0 red";
}

TEST_F(Resets, LightingResetReadsTheMouseModeBack) {
    auto mouse = attachM1Wired();
    startWorker();
    run({DeviceTask::DeviceStart});
    store().createDefaultLights(1, kEveryLightMode);
    mouse->setFactory(0x05, {0x18, {0x02, 0x31}}); // its own reset gives mode 2
    mouse->clearLog();
    const std::size_t mark = host.count();

    run({DeviceTask::ResetLighting});
    EXPECT_EQ(commandCodes(*mouse), (Codes{0x0E, 0x15}));
    EXPECT_EQ(mouse->lastLightControl(), 0x01);
    EXPECT_EQ(store().getCurrentLightMode(1), 2);
    store::LightEffect light;
    ASSERT_TRUE(store().getLight(1, 2, light));
    EXPECT_EQ(light.brightness, 3);
    EXPECT_EQ(light.speed, 1);
    EXPECT_EQ(host.shownSince(mark), std::vector<std::string>{"refreshPages lighting"});
}

TEST_F(Resets, LightingTasksDoNothingWithoutLighting) {
    auto m2 = attachM2();
    startWorker();
    run({DeviceTask::DeviceStart});
    m2->clearLog();
    const std::size_t mark = host.count();

    run({DeviceTask::ResetLighting, DeviceTask::SendLighting});
    EXPECT_TRUE(commandCodes(*m2).empty());
    EXPECT_TRUE(host.shownSince(mark).empty());
}

} // namespace
} // namespace corvane::protocol::testing
