// ui::post: work handed to the UI thread from anywhere, queued and in order.

#include "UiTest.h"

#include "ui/base/Post.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace corvane::ui::test {
namespace {

// Posted during static initialisation, long before the QApplication exists: dropped.
bool ranBeforeApplication = false;
[[maybe_unused]] const bool postedBeforeApplication = [] {
    post([] { ranBeforeApplication = true; });
    return true;
}();

TEST(PostTest, WorkPostedBeforeTheApplicationExistsIsDropped) {
    bool later = false;
    post([&] { later = true; });
    ASSERT_TRUE(waitUntil([&] { return later; }));
    EXPECT_FALSE(ranBeforeApplication);
}

TEST(PostTest, WorkFromAnotherThreadRunsOnTheUiThreadInOrder) {
    std::vector<int> order;
    int offThread = 0;
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) {
            post([&order, &offThread, i] {
                offThread += QThread::currentThread() != qApp->thread();
                order.push_back(i);
            });
        }
    });
    worker.join();
    EXPECT_TRUE(order.empty()) << "nothing runs before the UI thread's loop turns";
    ASSERT_TRUE(waitUntil([&] { return order.size() == 200; }));
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[size_t(i)], i);
    EXPECT_EQ(offThread, 0);
}

TEST(PostTest, PostingOnTheUiThreadIsQueuedNotInline) {
    std::vector<std::string> steps;
    post([&] {
        steps.push_back("first");
        post([&] { steps.push_back("nested"); });
        steps.push_back("first done");
    });
    post([&] { steps.push_back("second"); });
    steps.push_back("caller");
    post({}); // an empty function is ignored
    ASSERT_TRUE(waitUntil([&] { return steps.size() >= 5; }));
    EXPECT_EQ(steps,
              (std::vector<std::string>{"caller", "first", "first done", "second", "nested"}));
}

} // namespace
} // namespace corvane::ui::test
