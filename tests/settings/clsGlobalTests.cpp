// The change hub: synchronous delivery in subscription order, and subscriptions that end cleanly,
// also while an event is being delivered.
#include "settings/clsGlobal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(clsGlobal, DeliversToEveryLiveSubscriberInOrderBeforeReturning) {
    clsGlobal hub;
    std::vector<std::string> got;
    const auto on = [&](const char* name) { return [&got, name](int i) { got.push_back(name + std::to_string(i)); }; };
    auto a = hub.OnRefresh(on("a"));
    auto p = hub.OnRepaintPic(on("p"));
    auto reset = hub.OnRefresh(on("reset"));
    auto b = hub.OnRefresh(on("b"));
    { auto gone = hub.OnRefresh(on("gone")); }
    clsGlobal::Subscription moved = hub.OnRefresh(on("moved"));
    clsGlobal::Subscription target = std::move(moved);
    reset.Reset();
    hub.RefreshProps(2);
    EXPECT_EQ(got, (std::vector<std::string>{"a2", "b2", "moved2"}));
    got.clear();
    hub.RepaintPicture(3);
    EXPECT_EQ(got, std::vector<std::string>{"p3"});

    // A subscription may outlive the hub, as a row may outlive a closed program's hub.
    auto hub2 = std::make_unique<clsGlobal>();
    auto late = hub2->OnRepaintPic([](int) {});
    hub2.reset();
    late.Reset();
}

TEST(clsGlobal, SubscriptionsMayEndDuringDelivery) {
    clsGlobal hub;
    std::vector<std::string> got;
    clsGlobal::Subscription self, second, third;
    self = hub.OnRefresh([&](int) {
        got.push_back("self");
        self.Reset(); // a row closing itself while it handles the event
        third.Reset();
    });
    second = hub.OnRefresh([&](int) { got.push_back("second"); });
    third = hub.OnRefresh([&](int) { got.push_back("third"); });
    hub.RefreshProps(1);
    hub.RefreshProps(1);
    EXPECT_EQ(got, (std::vector<std::string>{"self", "second", "second"}));
}

} // namespace
