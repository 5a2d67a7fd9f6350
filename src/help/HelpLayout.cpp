// The help window's layout sums.
#include "help/HelpLayout.h"

#include <algorithm>

HelpLayout LayOutHelp(int clientWidth, int clientHeight, int margin, int gap, int currentTitleHeight,
                      const std::function<int(int width)>& titleHeightFor,
                      const std::function<int(int width)>& textHeightFor) {
    HelpLayout layout;
    const int width = clientWidth - 2 * margin;
    int titleHeight = currentTitleHeight;
    if (width >= 0) {
        titleHeight = titleHeightFor(width);
        layout.title = PixelRect{margin, margin, width, titleHeight};
        layout.text = PixelRect{margin, margin + titleHeight + gap, width, textHeightFor(width)};
    }
    layout.back = {0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)};
    return layout;
}
