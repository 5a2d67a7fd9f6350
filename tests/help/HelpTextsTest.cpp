// The help texts: which text each number gives, and how its lines are stored.
#include "help/HelpTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(HelpText, EachNumberGivesItsTextAsLinesJoinedByCrLf) {
    const struct {
        int id;
        const char* first;
        std::size_t lines;
    } cases[] = {{GeneralHelpText, "=== The character settings in the main window ===", 32},
                 {AdvancedHelpText, "=== Advanced Settings: The character editor (= skin editor) ===", 27},
                 {7, "=== The character settings in the main window ===", 32}}; // unknown: the general help
    for (const auto& c : cases) {
        const std::vector<std::string>& lines = HelpTextLines(c.id);
        ASSERT_EQ(lines.size(), c.lines) << c.id;
        EXPECT_EQ(lines.front(), c.first);
        EXPECT_EQ(lines.back(), "");
        std::string joined = lines[0];
        for (std::size_t i = 1; i < lines.size(); ++i)
            joined += "\r\n" + lines[i];
        EXPECT_EQ(HelpText(c.id), joined);
    }
    // The keys as the character windows take them.
    const std::vector<std::string>& general = HelpTextLines(GeneralHelpText);
    const auto keys = std::find(general.begin(), general.end(), "=== Keyboard commands ===");
    ASSERT_LT(keys + 6, general.end());
    EXPECT_EQ(std::vector<std::string>(keys + 2, keys + 6),
              (std::vector<std::string>{"- F1: Help", "- Space or Enter: Switch between 'follow' and 'run away from'",
                                        "- Alt-F4: End the program", "- F12: Minimize / maximize the character window"}));
}
