#include "pages/settings/SettingsCommands.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsCommands, OnlyWebAddressesAreLinks) {
    const struct {
        const char* url;
        bool link;
    } cases[] = {
        {"https://corvane.example/", true},
        {"http://corvane.example/faq?x=1", true},
        {"HTTPS://corvane.example", true},
        {"", false},
        {"https://", false},
        {"file:///etc/passwd", false},
        {"/usr/bin/xterm", false},
        {"javascript:alert(1)", false},
        {"ftp://corvane.example/", false},
        {"corvane.example", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(corvane::pages::isWebLink(QString::fromLatin1(c.url)), c.link) << c.url;
}

} // namespace
