// The control panel's layout sums, in twips: the window height that fits the rows, the scroll bar's
// range, scrolling a row into view, where the program title goes, where the panel first stands, and
// where Add puts a new character. The window only gathers sizes, calls these and applies the result.
#pragma once

#include <functional>
#include <optional>

// The design of the panel (Left, Top, Width, Height in twips).
namespace panel_design {
inline constexpr double kClientWidth = 9375, kClientHeight = 5460;
inline constexpr double kOuterLeft = 120, kOuterTop = 600, kOuterWidth = 9135, kOuterHeight = 4575;
inline constexpr double kInnerWidth = 8775, kInnerHeight = 4455;
inline constexpr double kScrollLeft = 8760, kScrollWidth = 255;
inline constexpr double kButtonTop = 60, kButtonWidth = 800, kButtonHeight = 495;
inline constexpr double kHelpLeft = 120, kAddLeft = 1245, kDeleteLeft = 2370, kRenameLeft = 3480, kMiniLeft = 8400;
inline constexpr double kTitleLeft = 4320, kTitleTop = 0, kTitleWidth = 1575, kTitleHeight = 615;
inline constexpr double kSideStripWidth = 135, kBottomStripHeight = 135;
// The gap between the title and the buttons on either side of it.
inline constexpr double kTitleGap = 325;
// The tallest the window grows to fit its rows; more rows scroll.
inline constexpr double kMaxWindowHeight = 5820;
} // namespace panel_design

// What the window system adds above and below a window's client area, in pixels: title bar and
// frame. On Windows this is what AdjustWindowRect adds; under X11 the window manager's frame.
struct FrameExtents {
    int top = 0;
    int bottom = 0;

    bool operator==(const FrameExtents&) const = default;
};

// The window height (outer, twips) that shows the title band, every row and a bottom margin equal
// to the left margin, with four pixels to spare; at most kMaxWindowHeight.
double FittedWindowHeight(double outerTop, double outerLeft, double innerHeight, FrameExtents frame, double tppY);

// The client height in pixels of a window whose outer height is `windowHeight` twips.
int ClientHeightForWindowHeight(double windowHeight, FrameExtents frame, double tppY);

// The list's scroll bar. The value is the list's top in pixels: 0 scrolled to the top, `maximum`
// (negative) scrolled fully up; `largeChange` is about one visible page.
struct ScrollBarSetting {
    bool enabled = false;
    int maximum = 0;
    int largeChange = 0;

    bool operator==(const ScrollBarSetting&) const = default;
};
ScrollBarSetting ScrollBarFor(double visibleHeight, double listHeight, double tppY);

// The list's new top (twips) that brings the row at rowTop (inside the list) fully into view: its
// bottom on the visible bottom edge when it reaches below, its top on the top edge when it starts
// above. Nothing when it is in view already.
std::optional<double> ScrollIntoViewTop(double listTop, double rowTop, double rowHeight, double visibleHeight);

// The scroll bar value for a list top in twips; setting it puts the list on a whole pixel.
int ScrollValueForTop(double listTop, double tppY);

// The two title labels: the front one, and the shadow behind it two pixels right and down.
struct TitlePlace {
    double left = 0, top = 0, width = 0, height = 0;
    double shadowLeft = 0, shadowTop = 0;
};
// The title fills the room between the anchor button (the rightmost of the left group) and the
// Minimize button, kTitleGap from each, centred in the title band of height bandHeight; its height is
// that of the wrapped title at that width. Nothing when there is no room (the width would be negative).
std::optional<TitlePlace> PlaceTitle(double anchorLeft, double anchorWidth, double miniLeft, double bandHeight,
                                     const std::function<double(double width)>& heightForWidth, double tppX,
                                     double tppY);

// Where the panel first stands on a screen: a third of the free width from the left, centred
// vertically. All twips.
struct PanelPlace {
    double x = 0, y = 0;
};
PanelPlace FirstPlacement(double screenWidth, double screenHeight, double windowWidth, double windowHeight);

// The start position (screen pixels) Add gives a new character: just right of the panel, level
// with its top. The panel's outer left, width and top in twips.
struct StartPositionPx {
    int x = 0, y = 0;

    bool operator==(const StartPositionPx&) const = default;
};
StartPositionPx AddStartPosition(double panelLeft, double panelWidth, double panelTop, double tppX, double tppY);

// The current row after the current one was deleted from rowCount rows: the same index, or the new
// last row when it was the last.
int CurIndexAfterDelete(int curIndex, int rowCount);
