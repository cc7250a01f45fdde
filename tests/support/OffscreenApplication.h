#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace corvane::test {

// One QApplication for a whole widget test program, on Qt's offscreen platform.
// gtest_main owns main(), so a global test environment makes it before the first test
// and destroys it after the last. `afterCreate` runs once the application exists (for
// example to point the language texts at a test folder).
class OffscreenApplication : public ::testing::Environment {
public:
    explicit OffscreenApplication(const char* programName, std::function<void()> afterCreate = {})
        : m_argv{const_cast<char*>(programName), nullptr}, m_afterCreate(std::move(afterCreate)) {}

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        if (m_afterCreate)
            m_afterCreate();
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char* m_argv[2];
    std::function<void()> m_afterCreate;
    std::unique_ptr<QApplication> m_app;
};

} // namespace corvane::test
