// The control panel's layout sums.
#include "panel/PanelLayout.h"

#include "settings/Rounding.h"

#include <algorithm>
#include <cmath>

double FittedWindowHeight(double outerTop, double outerLeft, double innerHeight, FrameExtents frame, double tppY) {
    // The bottom margin equals the left margin.
    const int clientPx = NearestInt((outerTop + outerLeft + innerHeight) / tppY);
    const int rectTop = -frame.top;
    const int rectBottom = clientPx + frame.bottom;
    const double height = NearestEven((rectBottom - rectTop + 4) * tppY);
    return std::min(height, panel_design::kMaxWindowHeight);
}

int ClientHeightForWindowHeight(double windowHeight, FrameExtents frame, double tppY) {
    return NearestInt(windowHeight / tppY) - frame.top - frame.bottom;
}

ScrollBarSetting ScrollBarFor(double visibleHeight, double listHeight, double tppY) {
    if (listHeight <= visibleHeight)
        return {};
    ScrollBarSetting s;
    s.enabled = true;
    s.maximum = NearestInt((visibleHeight - listHeight) / tppY);
    s.largeChange = NearestInt(std::abs(s.maximum) * visibleHeight / (listHeight - visibleHeight));
    return s;
}

std::optional<double> ScrollIntoViewTop(double listTop, double rowTop, double rowHeight, double visibleHeight) {
    const double shownTop = NearestEven(listTop + rowTop);
    std::optional<double> top;
    if (visibleHeight < shownTop + rowHeight)
        top = visibleHeight - (rowTop + rowHeight);
    // A row taller than the visible area shows its top.
    if (shownTop < 0)
        top = -rowTop;
    return top;
}

int ScrollValueForTop(double listTop, double tppY) {
    return NearestInt(listTop / tppY);
}

std::optional<TitlePlace> PlaceTitle(double anchorLeft, double anchorWidth, double miniLeft, double bandHeight,
                                     const std::function<double(double width)>& heightForWidth, double tppX,
                                     double tppY) {
    TitlePlace t;
    t.left = NearestEven(anchorLeft + anchorWidth + panel_design::kTitleGap);
    t.width = miniLeft - t.left - panel_design::kTitleGap;
    if (t.width < 0)
        return std::nullopt;
    t.height = heightForWidth(t.width);
    t.top = (bandHeight - t.height) / 2;
    t.shadowLeft = t.left + 2 * tppX;
    t.shadowTop = t.top + 2 * tppY;
    return t;
}

PanelPlace FirstPlacement(double screenWidth, double screenHeight, double windowWidth, double windowHeight) {
    return {(screenWidth - windowWidth) / 3, (screenHeight - windowHeight) / 2};
}

StartPositionPx AddStartPosition(double panelLeft, double panelWidth, double panelTop, double tppX, double tppY) {
    return {NearestInt((panelLeft + panelWidth) / tppX), NearestInt(panelTop / tppY)};
}

int CurIndexAfterDelete(int curIndex, int rowCount) {
    return curIndex > rowCount - 2 ? rowCount - 2 : curIndex;
}
