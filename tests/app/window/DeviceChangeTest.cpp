// Device-interface arrivals and removals turned into device tasks, and the start-up
// values read from config.xml.
#include "WindowTest.h"

#include "app/desktop/DeviceChangeWiring.h"
#include "app/start/AppState.h"
#include "app/start/Startup.h"
#include "i18n/LanguageChoice.h"
#include "ui/base/Settings.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::app::test {
namespace {

class DeviceChange : public WindowTest {
protected:
    DeviceChangeWiring::Hooks hooks() {
        return {[this] { return polling; }, [this](int task) { queued.push_back(task); }};
    }
    static QString pathOf(const vm::VirtualDevice& device, vm::InterfaceKind kind) {
        return QString::fromStdString(device.path(kind));
    }

    catalog::DeviceCatalog catalog =
        catalog::readCatalog(sourceData() + QStringLiteral("/config.xml"));
    bool polling = false;
    std::vector<int> queued;
};

TEST_F(DeviceChange, ArrivalQueuesTheStartOnlyForTheCommandInterface) {
    vm::WiredMouseConfig config;
    config.productId = 0xC0A1;
    auto mouse = bus->addWiredMouse(config);
    vm::WiredMouseConfig unknown;
    unknown.productId = 0xBEEF;
    auto stranger = bus->addWiredMouse(unknown);
    DeviceChangeWiring wiring(catalog, hooks());

    const QString command = pathOf(*mouse, vm::InterfaceKind::Command);
    EXPECT_EQ(wiring.handleChange(command, command, true), 2);
    const QString keyboard = pathOf(*mouse, vm::InterfaceKind::Keyboard);
    EXPECT_EQ(wiring.handleChange(keyboard, keyboard, true), 0) << "same mouse, other collection";
    const QString other = pathOf(*stranger, vm::InterfaceKind::Command);
    EXPECT_EQ(wiring.handleChange(other, other, true), 0) << "not in the catalog";
    // The udev form: the text decides the match, the node names the enumeration entry.
    EXPECT_EQ(
        wiring.handleChange(QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw9"), command, true),
        2);
    EXPECT_EQ(wiring.handleChange(QStringLiteral("HID#VID_1209&PID_C0A1&MI_02#hidraw9"),
                                  QStringLiteral("/dev/hidraw99"), true),
              0)
        << "an interface the enumeration does not list is not examined";
    EXPECT_EQ(queued, (std::vector<int>{2, 2}));
}

TEST_F(DeviceChange, RemovalCountsOnlyWhilePollingAndOnlyForInterfaceTwo) {
    vm::ReceiverConfig config;
    config.productId = 0xC0A2;
    auto receiver = bus->addReceiver(config);
    const QString command = pathOf(*receiver, vm::InterfaceKind::Command);
    const QString mouse = pathOf(*receiver, vm::InterfaceKind::Mouse);
    receiver->unplug();
    DeviceChangeWiring wiring(catalog, hooks());

    EXPECT_EQ(wiring.handleChange(command, command, false), 0) << "no device was found before";
    polling = true;
    EXPECT_EQ(wiring.handleChange(mouse, mouse, false), 0);
    EXPECT_EQ(wiring.handleChange(command, command, false), 3);
    EXPECT_EQ(queued, std::vector<int>{3});
}

TEST(StartupConfig, ReadsLanguagesAndProductNameOrLeavesThemWithoutAFile) {
    AppState& state = appState();
    const QString savedName = state.deviceName;
    const int savedLcid = state.currentLcid;

    state.deviceName = QStringLiteral("before");
    readStartupConfig(sourceData());
    EXPECT_EQ(state.deviceName, QStringLiteral("Corvane"));
    EXPECT_EQ(ui::deviceName(), QStringLiteral("Corvane"));
    EXPECT_EQ(state.currentLcid, 1033) << "default_lan, until the language is chosen";
    for (const i18n::LanguageChoiceRow& row : i18n::languageChoice())
        EXPECT_TRUE(state.offers(row.lcid)) << row.lcid;
    EXPECT_EQ(state.supportedLanguages.size(), i18n::languageChoice().size());

    state.currentLcid = 2052;
    readStartupConfig(QStringLiteral("/nonexistent/folder"));
    EXPECT_TRUE(state.supportedLanguages.empty());
    EXPECT_EQ(state.deviceName, QStringLiteral("Corvane")) << "kept";
    EXPECT_EQ(state.currentLcid, 2052) << "kept";

    state.deviceName = savedName;
    state.currentLcid = savedLcid;
    ui::setDeviceName(QStringLiteral("Corvane"));
}

} // namespace
} // namespace corvane::app::test
