// The change hub: the character editor announces name and picture changes, and every settings
// row that subscribed brings its display up to date. Delivery is synchronous.
// It also carries what a window asks of the program as a whole (ProgramActions), so that no window
// reaches up into the code that made it.
#pragma once

#include "settings/ProgramActions.h"

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
    [[nodiscard]] Subscription OnEyeCentrePicked(Handler handler);

    // Raises Refresh: the record of that character changed; names shown elsewhere must follow.
    void RefreshProps(int FensterIndex);
    // Raises RepaintPic: the picture or eye geometry changed; pictures shown elsewhere are redrawn.
    void RepaintPicture(int FensterIndex);
    // Raises EyeCentrePicked: the eye-centre picker moved an eye of that character; the editor
    // repaints the face once the moves pause.
    void EyeCentrePicked(int FensterIndex);

    // Who answers the requests below; the top level sets it at start-up. Until then they do nothing.
    void SetProgramActions(ProgramActions* actions) { actions_ = actions; }
    void EndProgram();
    void ShowControlPanel();
    void ShowHelp(int textId);
    bool SaveChangeAndCloseAll(const std::function<bool()>& saveChange); // false when nobody answers
    void LoadAll();

private:
    using Handlers = std::map<int, Handler>; // by subscription number, so in subscription order
    Subscription Add(const std::shared_ptr<Handlers>& list, Handler handler);
    static void Raise(const std::shared_ptr<Handlers>& list, int FensterIndex);

    int next_ = 0;
    std::shared_ptr<Handlers> refresh_ = std::make_shared<Handlers>();
    std::shared_ptr<Handlers> repaint_ = std::make_shared<Handlers>();
    std::shared_ptr<Handlers> centre_ = std::make_shared<Handlers>();
    ProgramActions* actions_ = nullptr;
};
