// The change hub: delivery in subscription order, and subscriptions that end cleanly, also while an
// event is being delivered and after the hub has gone.
#include "settings/clsGlobal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

TEST(clsGlobal, SubscriptionsEndCleanlyAlsoDuringDelivery) {
    auto hub = std::make_unique<clsGlobal>();
    std::vector<std::string> got;
    clsGlobal::Subscription self, second, third, picture;
    self = hub->OnRefresh([&](int i) {
        got.push_back("self" + std::to_string(i));
        self.Reset(); // a row closing itself while it handles the event
        third.Reset();
    });
    second = hub->OnRefresh([&](int i) { got.push_back("second" + std::to_string(i)); });
    third = hub->OnRefresh([&](int i) { got.push_back("third" + std::to_string(i)); });
    {
        auto gone = hub->OnRefresh([&](int) { got.push_back("gone"); });
    }
    picture = hub->OnRepaintPic([&](int i) { got.push_back("picture" + std::to_string(i)); });
    hub->RefreshProps(1);
    hub->RefreshProps(2);
    hub->RepaintPicture(3);
    EXPECT_EQ(got, (std::vector<std::string>{"self1", "second1", "second2", "picture3"}));
    hub.reset(); // a row may outlive a closed program's hub
    picture.Reset();
}
