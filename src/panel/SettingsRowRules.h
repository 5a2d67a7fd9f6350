// What a settings row shows, worked out without a window: its target list and the place of its
// face thumbnail. Twips throughout.
#pragma once

#include <string>
#include <vector>

namespace row_design {
inline constexpr double kHeight = 735;
// The strips along the top and bottom edges.
inline constexpr double kStripHeight = 75;
inline constexpr double kThumbLeft = 45, kThumbTop = 275, kThumbHeight = 385;
} // namespace row_design

inline constexpr const char* kTargetPointer = "Mouse Pointer";
inline constexpr const char* kTargetSelf = "Look to Mouse and don't move.";

// The entries of a row's target list: entry 0 the mouse pointer, entry n character n (titles[n - 1]),
// and in the row's own place (ownIndex) the entry that makes the character stand still.
std::vector<std::string> TargetListEntries(const std::vector<std::string>& titles, int ownIndex);

// The thumbnail of a picture width x height pixels: kThumbHeight high, as wide as the picture's
// aspect ratio asks. Zero wide for a picture without pixels.
double ThumbnailWidth(int pictureWidth, int pictureHeight);
