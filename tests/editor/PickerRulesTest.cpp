// The eye-centre picker's plain rules: the lens's source.
#include "editor/PickerRules.h"

#include <gtest/gtest.h>


TEST(PickerLens, SourceIsAThirdOfTheLensCentredOnThePointer) {
    // The pointer counts as (0, 0) before it moves; halves go to the even neighbour.
    EXPECT_EQ(LensSource(0, 0, 74, 74), (LensRect{-12, -12, 25, 25})); // nearest(-12.33), nearest(24.67)
    EXPECT_EQ(LensSource(5, 6, 75, 75), (LensRect{-8, -6, 25, 25}));   // nearest(-7.5), nearest(-6.5)
    EXPECT_EQ(LensSource(30, 30, 60, 90), (LensRect{20, 15, 20, 30}));
}

