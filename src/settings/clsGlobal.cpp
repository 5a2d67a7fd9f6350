// The change hub.
#include "settings/clsGlobal.h"

#include <vector>

void clsGlobal::Subscription::Reset() {
    if (cancel_)
        cancel_();
    cancel_ = nullptr;
}

clsGlobal::Subscription clsGlobal::Add(const std::shared_ptr<Handlers>& list, Handler handler) {
    const int id = next_++;
    (*list)[id] = std::move(handler);
    Subscription s;
    s.cancel_ = [weak = std::weak_ptr<Handlers>(list), id] {
        if (auto l = weak.lock())
            l->erase(id);
    };
    return s;
}

void clsGlobal::Raise(const std::shared_ptr<Handlers>& list, int FensterIndex) {
    // A handler may unsubscribe itself or others while the event is delivered.
    std::vector<int> ids;
    for (const auto& [id, handler] : *list)
        ids.push_back(id);
    for (int id : ids) {
        auto it = list->find(id);
        if (it != list->end()) {
            Handler h = it->second;
            h(FensterIndex);
        }
    }
}

clsGlobal::Subscription clsGlobal::OnRefresh(Handler handler) { return Add(refresh_, std::move(handler)); }
clsGlobal::Subscription clsGlobal::OnRepaintPic(Handler handler) { return Add(repaint_, std::move(handler)); }
void clsGlobal::RefreshProps(int FensterIndex) { Raise(refresh_, FensterIndex); }
void clsGlobal::RepaintPicture(int FensterIndex) { Raise(repaint_, FensterIndex); }
clsGlobal::Subscription clsGlobal::OnEyeCentrePicked(Handler handler) { return Add(centre_, std::move(handler)); }
void clsGlobal::EyeCentrePicked(int FensterIndex) { Raise(centre_, FensterIndex); }

void clsGlobal::EndProgram() {
    if (actions_)
        actions_->EndProgram();
}

void clsGlobal::ShowControlPanel() {
    if (actions_)
        actions_->ShowControlPanel();
}

void clsGlobal::ShowHelp(int textId) {
    if (actions_)
        actions_->ShowHelp(textId);
}

bool clsGlobal::SaveChangeAndCloseAll(const std::function<bool()>& saveChange) {
    return actions_ && actions_->SaveChangeAndCloseAll(saveChange);
}

void clsGlobal::LoadAll() {
    if (actions_)
        actions_->LoadAll();
}
