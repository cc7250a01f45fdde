// A page's controls in the main window: ids from the page's block, and a refused control
// never silently missing.
#include "pages/PagesTest.h"

#include "pages/host/PageControls.h"
#include "ui/controls/PushButton.h"
#include "ui/views/Picture.h"

#include <gtest/gtest.h>

namespace corvane::pages::test {
namespace {

TEST(PageIds, EachPageHasABlockTheWindowsOwnIdsStayOutOf) {
    struct Case {
        int id;
        std::optional<PageSlot> slot;
        int local;
    };
    for (const Case& c :
         {Case{1194, PageSlot::Buttons, 194}, Case{2149, PageSlot::Performance, 149},
          Case{4194, PageSlot::Lighting, 194}, Case{5194, PageSlot::DeviceSettings, 194},
          Case{6999, PageSlot::ProgramSettings, 999}, Case{46, std::nullopt, 0},
          Case{999, std::nullopt, 0}, Case{3000, std::nullopt, 0}, Case{7001, std::nullopt, 0},
          Case{-1194, std::nullopt, 0}}) {
        EXPECT_EQ(pageOfControl(c.id), c.slot) << c.id;
        if (c.slot) {
            EXPECT_EQ(localControlId(c.id), c.local);
            EXPECT_EQ(pageControlId(*c.slot, c.local), c.id);
        }
    }
    EXPECT_EQ(pageControlId(PageSlot::Lighting, 0), 0);
    EXPECT_EQ(pageControlId(PageSlot::Lighting, kPageIdBlock), 0);
}

TEST(PageControls, RefusedControlsAreKeptAndStillUsable) {
    ui::Panel* container = nullptr;
    auto window = showWindow([&](TestWindow& w) { container = w.add<ui::Panel>(50, {}); });
    ASSERT_NE(container, nullptr);
    PageControls lighting(*window, *container, PageSlot::Lighting);
    PageControls settings(*window, *container, PageSlot::DeviceSettings);

    auto* caption = lighting.add<ui::StaticText>(194, {1, 2, 30, 40});
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->id(), 4194);
    EXPECT_EQ(caption->geometry(), QRect(1, 2, 30, 40));
    EXPECT_EQ(lighting.find<ui::StaticText>(194), caption);
    EXPECT_EQ(lighting.find<ui::PushButton>(194), nullptr) << "not of that kind";
    ASSERT_NE(settings.add<ui::StaticText>(194), nullptr);
    EXPECT_TRUE(settings.refusedIds().empty());

    // Taken, zero and past the block: refused, written down, but the page gets a control
    // without an id to work with.
    for (int local : {194, 0, kPageIdBlock}) {
        auto* again = lighting.add<ui::PushButton>(local);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->id(), 0);
    }
    EXPECT_EQ(lighting.refusedIds(), (std::vector<int>{194, 0, kPageIdBlock}));
    EXPECT_EQ(lighting.find<ui::StaticText>(194), caption) << "the first one stays";
}

} // namespace
} // namespace corvane::pages::test
