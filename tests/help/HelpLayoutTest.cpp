// The help window's layout sums.
#include "help/HelpLayout.h"

#include <gtest/gtest.h>

TEST(HelpLayout, LabelsFillTheWidthBetweenTheMarginsAndStackUnderEachOther) {
    // Labels whose wrapped height grows as they get narrower.
    const auto titleHeight = [](int width) { return width >= 200 ? 25 : 50; };
    const auto textHeight = [](int width) { return 90000 / (width + 1); };
    const HelpLayout layout = LayOutHelp(600, 660, 8, 2, 99, titleHeight, textHeight);
    ASSERT_TRUE(layout.title && layout.text);
    EXPECT_EQ(*layout.title, (PixelRect{8, 8, 584, 25}));
    EXPECT_EQ(*layout.text, (PixelRect{8, 8 + 25 + 2, 584, textHeight(584)}));
    EXPECT_EQ(layout.back, (PixelRect{0, 0, 600, 660}));

    const HelpLayout exact = LayOutHelp(16, 300, 8, 2, 25, titleHeight, textHeight); // two margins: no width
    ASSERT_TRUE(exact.title && exact.text);
    EXPECT_EQ(exact.text->y, 8 + 50 + 2);
    EXPECT_EQ(exact.text->width, 0);

    const HelpLayout narrow = LayOutHelp(15, 300, 8, 2, 25, titleHeight, textHeight); // the labels stay put
    EXPECT_FALSE(narrow.title || narrow.text);
    EXPECT_EQ(narrow.back, (PixelRect{0, 0, 15, 300}));
}
