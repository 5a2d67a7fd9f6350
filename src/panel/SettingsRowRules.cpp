// What a settings row shows.
#include "panel/SettingsRowRules.h"

std::vector<std::string> TargetListEntries(const std::vector<std::string>& titles, int ownIndex) {
    std::vector<std::string> entries{kTargetPointer};
    for (std::size_t n = 1; n <= titles.size(); ++n)
        entries.push_back(static_cast<int>(n) == ownIndex ? std::string(kTargetSelf) : titles[n - 1]);
    return entries;
}

double ThumbnailWidth(int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return 0;
    return row_design::kThumbHeight * pictureWidth / pictureHeight;
}
