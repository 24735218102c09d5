#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "serial/dispatcher.h"
#include "serial/event.h"

using namespace zav;

TEST(Event, ManualResetWakesEveryWaiterAndStaysSet) {
    TEvent event("EventTest");
    EXPECT_FALSE(event.WaitFor(10));
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] { woken += event.WaitFor(60000) ? 1 : 0; });
    event.Set();
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(woken, 3);
    EXPECT_TRUE(event.WaitFor(0)); // still set
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.WaitFor(-5)); // a negative wait is no wait
}

TEST(QueueDispatcher, RunAndWaitRunsOnTheMainThreadInOrder) {
    TQueueDispatcher dispatcher;
    const auto main = std::this_thread::get_id();
    std::vector<int> order;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        dispatcher.Post([&] { order.push_back(1); });
        dispatcher.RunAndWait([&] {
            EXPECT_EQ(std::this_thread::get_id(), main);
            order.push_back(2);
        });
        done = true;
        dispatcher.Post([] {}); // wakes the main thread to see done
    });
    EXPECT_TRUE(dispatcher.ProcessUntil([&] { return done.load(); }, 60000));
    worker.join();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    bool ranAtOnce = false;
    dispatcher.RunAndWait([&] { ranAtOnce = true; }); // from the main thread itself
    EXPECT_TRUE(ranAtOnce);
}
