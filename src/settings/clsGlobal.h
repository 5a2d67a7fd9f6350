// The change hub: the character editor announces name and picture changes, and every settings
// row that subscribed brings its display up to date. Delivery is synchronous.
#pragma once

#include <functional>
#include <map>
#include <memory>

class clsGlobal {
public:
    using Handler = std::function<void(int FensterIndex)>;

    // Keeps a handler subscribed for as long as it lives.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&&) noexcept = default;
        Subscription& operator=(Subscription&&) noexcept = default;
        ~Subscription() { Reset(); }
        void Reset();

    private:
        friend class clsGlobal;
        std::function<void()> cancel_;
    };

    clsGlobal() = default;
    clsGlobal(const clsGlobal&) = delete;
    clsGlobal& operator=(const clsGlobal&) = delete;

    [[nodiscard]] Subscription OnRefresh(Handler handler);
    [[nodiscard]] Subscription OnRepaintPic(Handler handler);

    // Raises Refresh: the record of that character changed; names shown elsewhere must follow.
    void RefreshProps(int FensterIndex);
    // Raises RepaintPic: the picture or eye geometry changed; pictures shown elsewhere are redrawn.
    void RepaintPicture(int FensterIndex);

private:
    using Handlers = std::map<int, Handler>; // by subscription number, so in subscription order
    Subscription Add(const std::shared_ptr<Handlers>& list, Handler handler);
    static void Raise(const std::shared_ptr<Handlers>& list, int FensterIndex);

    int next_ = 0;
    std::shared_ptr<Handlers> refresh_ = std::make_shared<Handlers>();
    std::shared_ptr<Handlers> repaint_ = std::make_shared<Handlers>();
};
