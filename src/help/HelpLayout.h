// Where the help window puts its title, its text and its background for a client size. The labels
// get the client width less a margin on each side and the height their wrapped text needs; the
// background fills the whole client area.
#pragma once

#include "widgets/Twips.h"

#include <functional>
#include <optional>

struct HelpLayout {
    // Not set when the window is narrower than the two margins: the label then stays where it was.
    std::optional<PixelRect> title;
    std::optional<PixelRect> text;
    PixelRect back;
};

// heightFor gives a label's height for a width; currentTitleHeight is used when the title cannot be
// placed; gap lies between the title and the text.
HelpLayout LayOutHelp(int clientWidth, int clientHeight, int margin, int gap, int currentTitleHeight,
                      const std::function<int(int width)>& titleHeightFor,
                      const std::function<int(int width)>& textHeightFor);
