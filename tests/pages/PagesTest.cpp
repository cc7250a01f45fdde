#include "PagesTest.h"

#include "i18n/LanguageTexts.h"

#include <QApplication>
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

corvane::test::ModalAnswer whenModal(const char* title, std::function<void(ui::Dialog&)> fn) {
    return corvane::test::whenModal(QLatin1String(title), std::move(fn));
}

} // namespace corvane::pages::test
