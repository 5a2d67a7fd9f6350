// The change hub: synchronous delivery in subscription order, and subscriptions that end cleanly,
// also while an event is being delivered.
#include "start/ProgramState.h"
#include "start/clsGlobal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(clsGlobal, DeliversToEverySubscriberInOrderBeforeReturning) {
    clsGlobal hub;
    std::vector<std::string> got;
    auto a = hub.OnRefresh([&](int i) { got.push_back("a" + std::to_string(i)); });
    auto p = hub.OnRepaintPic([&](int i) { got.push_back("p" + std::to_string(i)); });
    auto b = hub.OnRefresh([&](int i) { got.push_back("b" + std::to_string(i)); });
    auto c = hub.OnRefresh([&](int i) { got.push_back("c" + std::to_string(i)); });
    hub.RefreshProps(2);
    EXPECT_EQ(got, (std::vector<std::string>{"a2", "b2", "c2"}));
    got.clear();
    hub.RepaintPicture(3);
    EXPECT_EQ(got, std::vector<std::string>{"p3"});
}

TEST(clsGlobal, AnEndedSubscriptionHearsNothing) {
    clsGlobal hub;
    std::vector<std::string> got;
    auto kept = hub.OnRefresh([&](int) { got.push_back("kept"); });
    auto reset = hub.OnRefresh([&](int) { got.push_back("reset"); });
    {
        auto gone = hub.OnRefresh([&](int) { got.push_back("gone"); });
    }
    clsGlobal::Subscription moved = hub.OnRefresh([&](int) { got.push_back("moved"); });
    clsGlobal::Subscription target = std::move(moved);
    reset.Reset();
    hub.RefreshProps(1);
    EXPECT_EQ(got, (std::vector<std::string>{"kept", "moved"}));

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
    EXPECT_EQ(got, (std::vector<std::string>{"self", "second"}));
    got.clear();
    hub.RefreshProps(1);
    EXPECT_EQ(got, std::vector<std::string>{"second"});
}

TEST(clsGlobal, GetGlobalIsOneInstance) {
    EXPECT_EQ(&GetGlobal(), &GetGlobal());
}

} // namespace
