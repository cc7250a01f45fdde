#include "app/start/CommandLine.h"

#include <gtest/gtest.h>

using namespace corvane::app;

namespace {

TEST(CommandLine, HideAnywhereStartsHidden) {
    const struct {
        QStringList arguments;
        bool hidden;
    } cases[] = {
        {{"corvane"}, false},
        {{"corvane", "-hide"}, true},
        {{"corvane", "--virtual-mouse", "x-hidey"}, true},
        {{"corvane", "-autorun"}, false},
        {{"corvane", "-HIDE"}, false},
        {{"corvane", "-", "hide"}, false},
        // the program's own path is not part of the command line
        {{"/opt/my-hide/corvane"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseCommandLine(c.arguments).startHidden, c.hidden)
            << c.arguments.join(u' ').toStdString();
}

TEST(CommandLine, VirtualMouseOnlyAsItsOwnArgument) {
    EXPECT_TRUE(parseCommandLine({"corvane", "--virtual-mouse"}).virtualMouse);
    EXPECT_FALSE(parseCommandLine({"corvane", "--virtual-mouse=1"}).virtualMouse);
    EXPECT_FALSE(parseCommandLine({"corvane", "-hide"}).virtualMouse);
    EXPECT_FALSE(parseCommandLine({"--virtual-mouse"}).virtualMouse);
}

} // namespace
