// corvanectl's own worker (no window runs) against a virtual mouse in this process, so
// that the mouse keeps its state between requests as a real one does between runs.
#include "cli/LocalDevice.h"

#include "hid/DeviceManager.h"
#include "virtualmouse/VirtualMouse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace corvane::cli {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kDpiWrite = 0x03;  // the mouse keeps its stages under SetDpi
constexpr std::uint8_t kRateWrite = 0x02; // and its report rate under SetReportRate

int activeStage(const vm::MouseDevice& mouse) {
    return mouse.kept(kDpiWrite)->parameters[0] >> 4;
}

// A stage's DPI as the mouse holds it (its X value; 50 DPI per unit on this sensor).
int stageDpi(const vm::MouseDevice& mouse, int stage) {
    const vm::MouseSettings::Parameters p = mouse.kept(kDpiWrite)->parameters;
    return (p[1 + 4 * stage] | (p[2 + 4 * stage] << 8)) * 50;
}

control::Request request(QStringList words, QMap<QString, QString> options = {}) {
    control::Request r;
    r.command = words.takeFirst();
    r.action = words.takeFirst();
    r.arguments = words;
    r.options = std::move(options);
    return r;
}

class LocalDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir.isValid());
        ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("db")));
        hid::DeviceManager::installHidApi(bus);
        vm::WiredMouseConfig config;
        config.productId = 0xC0A1;
        config.mouse.deviceId = "CVM1";
        mouse = bus->addWiredMouse(config);
    }
    void TearDown() override { hid::DeviceManager::installHidApi(nullptr); }

    LocalDevice::Setup setup() const {
        LocalDevice::Setup s;
        s.exeFolder = QStringLiteral(CORVANE_SOURCE_DIR "/data");
        s.dataFolder = dataDir.path() + QLatin1Char('/');
        s.catalog = catalog::readCatalog(s.exeFolder + QStringLiteral("/config.xml"));
        s.profileWord = QStringLiteral("Profile");
        s.storedDeviceType = 0;
        return s;
    }

    QTemporaryDir dataDir;
    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    std::shared_ptr<vm::WiredMouse> mouse;
};

// Between two corvanectl runs nobody hears the DPI button: a change made from the store
// must not put the mouse back on the stage the store last knew.
TEST_F(LocalDeviceTest, ChangesKeepTheStageTheDpiButtonChose) {
    ASSERT_EQ(activeStage(*mouse), 1) << "a new mouse starts on its second stage";
    {
        LocalDevice device(setup());
        ASSERT_TRUE(device.start(20s));
        ASSERT_TRUE(mouse->pressDpiButton()); // the third stage (1600 DPI)
        ASSERT_EQ(activeStage(*mouse), 2);

        const control::Answer rate = device.run(request({"set", "rate", "500"}), 20s);
        ASSERT_EQ(rate.exitCode, control::ExitCode::Success) << rate.err.toStdString();
        EXPECT_EQ(mouse->kept(kRateWrite)->parameters[0], 2) << "500 Hz is rate code 2";
        EXPECT_EQ(activeStage(*mouse), 2) << "still the pressed stage after set rate";

        // A lone value is for the active stage: the one the button chose.
        const control::Answer dpi = device.run(request({"set", "dpi", "6400"}), 20s);
        ASSERT_EQ(dpi.exitCode, control::ExitCode::Success) << dpi.err.toStdString();
        EXPECT_EQ(activeStage(*mouse), 2) << "still the pressed stage after set dpi";
        EXPECT_EQ(stageDpi(*mouse, 2), 6400);
        EXPECT_EQ(stageDpi(*mouse, 1), 800) << "the stage the store knew is untouched";
    }
    // A later run (a new worker, the same store) finds the mouse as it was left.
    LocalDevice again(setup());
    ASSERT_TRUE(again.start(20s));
    ASSERT_TRUE(mouse->pressDpiButton()); // the fourth stage
    const control::Answer first =
        again.run(request({"set", "dpi", "1000"}, {{QStringLiteral("stage"), "1"}}), 20s);
    ASSERT_EQ(first.exitCode, control::ExitCode::Success) << first.err.toStdString();
    EXPECT_EQ(stageDpi(*mouse, 0), 1000);
    EXPECT_EQ(activeStage(*mouse), 3);
    EXPECT_EQ(stageDpi(*mouse, 2), 6400);
}

} // namespace
} // namespace corvane::cli
