// corvanectl's requests run by the window: on its store, through its device worker, with
// its pages reloaded and its profile button following.
#include "WindowTest.h"

#include "app/window/MainWindowIds.h"
#include "app/window/WindowRequests.h"
#include "control/requests/Request.h"
#include "pages/host/PageControls.h"
#include "pages/lighting/LightingPage.h"
#include "pages/performance/PerformancePage.h"
#include "protocol/worker/DeviceWorker.h"
#include "store/ProfileDatabase.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TextField.h"
#include "virtualmouse/MouseDevice.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::app::test {
namespace {

namespace C = pages::PerformanceControl;

class WindowRequestsTest : public WindowTest {
protected:
    // Runs one request through `requests` and waits for its answer.
    control::Answer run(WindowRequests& requests, const QByteArray& json) {
        QByteArray answer;
        requests.handle(json, [&answer](const QByteArray& reply) { answer = reply; });
        EXPECT_TRUE(waitUntil([&] { return !answer.isEmpty(); })) << "no answer";
        return control::decodeAnswer(answer).value_or(control::Answer{-1, {}, {}});
    }
    static QByteArray request(const char* command, const char* action, QStringList arguments,
                              QMap<QString, QString> options = {}) {
        return control::encodeRequest({QLatin1String(command), QLatin1String(action),
                                       std::move(arguments), std::move(options)});
    }
};

TEST_F(WindowRequestsTest, SetDpiGoesThroughTheWorkerAndThePerformancePageShowsIt) {
    vm::WiredMouseConfig m1;
    m1.productId = 0xC0A1;
    m1.mouse.deviceId = "CVM1";
    auto mouse = bus->addWiredMouse(m1);
    pages::PerformancePage* performance = nullptr;
    startWindow([&](DeviceMainDlg& w) {
        auto page = std::make_unique<pages::PerformancePage>(w.pageHost());
        performance = page.get();
        w.addPage(PageSlot::Performance, std::move(page));
    });
    waitForStart();
    WindowRequests requests(*window, sourceData(), false);
    const int profile = window->workerState().currentProfile();
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    const int stage = db.getSettingInt(profile, u"dpi_index");
    const pages::PageControls* controls = window->pageControls(PageSlot::Performance);
    ASSERT_NE(controls, nullptr);
    auto* field = controls->find<ui::NumberField>(C::FirstStageValue + stage);
    ASSERT_NE(field, nullptr);
    ASSERT_NE(field->value(), 3200);

    const control::Answer answer = run(requests, request("set", "dpi", {"3200"}));
    EXPECT_EQ(answer, (control::Answer{0, {}, {}}));
    EXPECT_EQ(db.getSettingInt(profile, QStringLiteral("dpi_group%1_value").arg(stage)), 3200);
    // The answer comes once the mouse has it: the active stage runs at 3200 DPI.
    EXPECT_EQ(mouse->held().activeStage, stage);
    EXPECT_EQ(mouse->held().stageDpi.at(std::size_t(stage)), 3200);
    // The page shows the new value in the stage's field and on the slider.
    EXPECT_TRUE(waitUntil([&] { return field->value() == 3200; }))
        << "the field shows " << field->value();
    EXPECT_EQ(performance->activeStage(), stage);
    EXPECT_EQ(controls->find<ui::Slider>(C::Slider)->position(), 3200 / 50)
        << "the sensor's slider steps by 50 DPI";
}

TEST_F(WindowRequestsTest, SetLightingReachesTheMouseAndTheLightingPageShowsIt) {
    vm::WiredMouseConfig m1;
    m1.productId = 0xC0A1;
    m1.mouse.deviceId = "CVM1";
    auto mouse = bus->addWiredMouse(m1);
    pages::LightingPage* lighting = nullptr;
    startWindow([&](DeviceMainDlg& w) {
        auto page = std::make_unique<pages::LightingPage>(w.pageHost());
        lighting = page.get();
        w.addPage(PageSlot::Lighting, std::move(page));
    });
    waitForStart();
    WindowRequests requests(*window, sourceData(), false);
    ASSERT_NE(lighting->currentMode(), 3);

    const control::Answer answer =
        run(requests, request("set", "lighting", {"steady"}, {{"colour", "#00FF00"}}));
    EXPECT_EQ(answer, (control::Answer{0, {}, {}}));
    const int profile = window->workerState().currentProfile();
    store::LightEffect row;
    ASSERT_TRUE(store::ProfileDatabase::instance().getLight(profile, 3, row));
    EXPECT_EQ(row.colorValues[0], 0x00FF00);
    const vm::HeldSettings::Lighting lit = mouse->held().lighting;
    EXPECT_EQ(lit.mode, 3);
    EXPECT_EQ(lit.colours, std::vector<std::string>{"#00FF00"});
    EXPECT_TRUE(waitUntil([&] { return lighting->currentMode() == 3; }))
        << "the lighting page shows the mode";
    EXPECT_EQ(window->pageControls(PageSlot::Lighting)
                  ->find<ui::ComboBox>(pages::LightingControl::Mode)
                  ->currentData(),
              3);
}

TEST_F(WindowRequestsTest, RenamingTheCurrentProfileRetitlesItsButtonAndBadRequestsChangeNothing) {
    vm::WiredMouseConfig m1;
    m1.productId = 0xC0A1;
    m1.mouse.deviceId = "CVM1";
    bus->addWiredMouse(m1);
    startWindow();
    waitForStart();
    WindowRequests requests(*window, sourceData(), false);

    EXPECT_EQ(run(requests, request("profile", "rename", {"1", "Gaming"})).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return textOf(MainControl::Profile) == u"Gaming"; }));

    const control::Answer malformed = run(requests, "{\"command\":");
    EXPECT_EQ(malformed.exitCode, control::ExitCode::Usage);
    EXPECT_TRUE(malformed.err.contains(QStringLiteral("malformed request")));
    control::Request virtualOnly{QStringLiteral("set"), QStringLiteral("rate"), {"500"}, {}};
    virtualOnly.options.insert(QStringLiteral("virtual-mouse"), QString());
    const control::Answer mismatch = run(requests, control::encodeRequest(virtualOnly));
    EXPECT_EQ(mismatch.exitCode, control::ExitCode::Usage);
    EXPECT_EQ(store::ProfileDatabase::instance().getSettingInt(1, u"report_rate"), 1)
        << "the rate stayed the factory value";
    EXPECT_EQ(requests.pending(), 0u);
}

} // namespace
} // namespace corvane::app::test
