// System colour indices mapped to palette roles.
#include "widgets/SystemColors.h"

#include "widgets/GradientColors.h"

#include <iterator>

QColor SysColor(int index, const QPalette& palette) {
    using G = QPalette::ColorGroup;
    using R = QPalette::ColorRole;
    struct Entry {
        G group;
        R role;
    };
    // The indices are those of the Windows colour scheme, which the settings and the windows'
    // designs speak in; each gets the palette role that plays the same part.
    static constexpr Entry table[] = {
        {G::Active, R::Button},            // 0 scroll bar
        {G::Active, R::Dark},              // 1 desktop
        {G::Active, R::Highlight},         // 2 active title bar
        {G::Inactive, R::Highlight},       // 3 inactive title bar
        {G::Active, R::Window},            // 4 menu
        {G::Active, R::Base},              // 5 window background
        {G::Active, R::Shadow},            // 6 window frame
        {G::Active, R::WindowText},        // 7 menu text
        {G::Active, R::Text},              // 8 window text
        {G::Active, R::HighlightedText},   // 9 title bar text
        {G::Active, R::Window},            // 10 active border
        {G::Inactive, R::Window},          // 11 inactive border
        {G::Active, R::Mid},               // 12 application workspace
        {G::Active, R::Highlight},         // 13 highlight
        {G::Active, R::HighlightedText},   // 14 highlighted text
        {G::Active, R::Button},            // 15 button face
        {G::Active, R::Dark},              // 16 button shadow
        {G::Disabled, R::Text},            // 17 grey text
        {G::Active, R::ButtonText},        // 18 button text
        {G::Inactive, R::HighlightedText}, // 19 inactive title bar text
        {G::Active, R::Light},             // 20 button highlight
        {G::Active, R::Shadow},            // 21 dark 3D shadow
        {G::Active, R::Midlight},          // 22 3D light
        {G::Active, R::ToolTipText},       // 23 tooltip text
        {G::Active, R::ToolTipBase},       // 24 tooltip background
        {G::Active, R::NoRole},            // 25 unused
        {G::Active, R::Link},              // 26 hot-tracked item
        {G::Active, R::Highlight},         // 27 active title bar gradient
        {G::Inactive, R::Highlight},       // 28 inactive title bar gradient
        {G::Active, R::Highlight},         // 29 menu highlight
        {G::Active, R::Window},            // 30 menu bar
    };
    if (index < 0 || index >= static_cast<int>(std::size(table)) || table[index].role == R::NoRole)
        return QColor(Qt::black);
    return palette.color(table[index].group, table[index].role);
}

QColor ToQColor(std::int32_t colour, const QPalette& palette) {
    if (IsSystemColor(colour))
        return SysColor(SystemColorIndex(colour), palette);
    const RgbChannels c = SplitColor(colour);
    return QColor(qBound(0, c.red, 255), qBound(0, c.green, 255), qBound(0, c.blue, 255));
}

std::int32_t ToRgbValue(const QColor& colour) {
    return RgbColor(colour.red(), colour.green(), colour.blue());
}
