// The help window's layout sums and its keys.
#include "help/HelpLayout.h"
#include "widgets/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

// Labels whose wrapped height grows as they get narrower.
int TitleHeight(int width) {
    return width >= 200 ? 25 : 50;
}
int TextHeight(int width) {
    return 90000 / (width + 1);
}

TEST(HelpLayout, LabelsFillTheWidthBetweenTheMarginsAndStackUnderEachOther) {
    const HelpLayout layout = LayOutHelp(600, 660, 8, 2, 99, TitleHeight, TextHeight);
    ASSERT_TRUE(layout.title && layout.text);
    EXPECT_EQ(*layout.title, (PixelRect{8, 8, 584, 25}));
    EXPECT_EQ(*layout.text, (PixelRect{8, 8 + 25 + 2, 584, TextHeight(584)}));
    EXPECT_EQ(layout.back, (PixelRect{0, 0, 600, 660}));

    const HelpLayout exact = LayOutHelp(16, 300, 8, 2, 25, TitleHeight, TextHeight); // two margins: no width
    ASSERT_TRUE(exact.title && exact.text);
    EXPECT_EQ(exact.text->y, 8 + 50 + 2);
    EXPECT_EQ(exact.text->width, 0);

    const HelpLayout narrow = LayOutHelp(15, 300, 8, 2, 25, TitleHeight, TextHeight); // the labels stay put
    EXPECT_FALSE(narrow.title || narrow.text);
    EXPECT_EQ(narrow.back, (PixelRect{0, 0, 15, 300}));
}

TEST(EndProgramKeys, OnlyAltWithQXOrF4EndsTheProgram) {
    struct Case {
        int key, shift;
        bool ends;
    };
    const int alt = kAltBit, ctrl = kCtrlBit, shift = kShiftBit;
    const Case cases[] = {
        {kKeyQ, alt, true},
        {kKeyX, alt, true},
        {kKeyF4, alt, true},
        {kKeyQ, ctrl | alt, false},
        {kKeyX, shift | alt, false},
        {kKeyF4, 0, false},
        {kKeyQ, 0, false},
        {65, alt, false},
        {116, alt, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsEndProgramKey(c.key, c.shift), c.ends) << "key " << c.key << " shift " << c.shift;
}

} // namespace
