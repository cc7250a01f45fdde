#include "PagesTest.h"

#include "i18n/LanguageTexts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/OffscreenApplication.h"
#include "support/WaitUntil.h"

namespace corvane::pages::test {
namespace {

// Texts come from tests/pages/data/language/1033.lan.
[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new corvane::test::OffscreenApplication("pages_tests", [] {
        i18n::setProgramFolder(QStringLiteral(CORVANE_TEST_DATA_DIR));
        i18n::setCurrentLcid(1033);
    }));

} // namespace

std::unique_ptr<TestWindow> showWindow(std::function<void(TestWindow&)> build, const QRect& rect) {
    auto window = std::make_unique<TestWindow>();
    window->build = std::move(build);
    window->create(nullptr, QStringLiteral("Main"), ui::StylePopup | ui::StyleVisible, 0, rect);
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    return corvane::test::waitUntil(pred, timeoutMs);
}

void whenModal(const char* title, std::function<void(ui::Dialog&)> fn) {
    auto* poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, title, fn = std::move(fn)] {
        for (ui::Dialog* window : ui::Dialog::windows()) {
            if (window->title() == QLatin1String(title) && window->isRunningModal() &&
                window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                fn(*window);
                return;
            }
        }
        if (clock->elapsed() > 5000) {
            ADD_FAILURE() << "no modal window titled " << title;
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(5);
}

} // namespace corvane::pages::test
