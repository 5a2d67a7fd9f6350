// The help texts: which text each number gives, and how its lines are stored.
#include "help/HelpTexts.h"

#include <gtest/gtest.h>

TEST(HelpText, EachNumberGivesItsTextAsLinesJoinedByCrLf) {
    const std::pair<int, const char*> cases[] = {
        {GeneralHelpText, "=== The character settings in the main window ===\r\n"},
        {AdvancedHelpText, "=== Advanced Settings: The character editor (= skin editor) ===\r\n"},
        {7, "=== The character settings in the main window ===\r\n"}}; // unknown: the general help
    for (const auto& [id, first] : cases)
        EXPECT_EQ(HelpText(id).rfind(first, 0), 0u) << id;
}
