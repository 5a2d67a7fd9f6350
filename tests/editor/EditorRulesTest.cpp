// The editor's plain rules: colours through the three sliders, the start-position key filter and
// text reading, the preview size, the drag placement and the entry copy.
#include "editor/EditorRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

static std::ostream& operator<<(std::ostream& out, const ColourParts& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

static std::ostream& operator<<(std::ostream& out, const PreviewSize& s) {
    return out << s.width << " x " << s.height << (s.stretched ? " stretched" : " own size");
}

TEST(EditorColours, SplitAndJoinRoundTrip) {
    const struct {
        std::int32_t colour;
        ColourParts parts;
    } cases[] = {
        {0, {0, 0, 0}},
        {0xFFFFFF, {255, 255, 255}},
        {40 + 256 * 90 + 65536 * 220, {40, 90, 220}},
        {255, {255, 0, 0}},
        {256 * 255, {0, 255, 0}},
        {65536 * 255, {0, 0, 255}},
        {1 + 256 * 2 + 65536 * 3, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitColour(c.colour), c.parts) << c.colour;
        EXPECT_EQ(JoinColour(c.parts.red, c.parts.green, c.parts.blue), c.colour) << c.colour;
    }
    EXPECT_EQ(JoinColour(40, 255, 220), 40 + 256 * 255 + 65536 * 220);
    // Blue is the whole part above the low 16 bits, rounded down, even beyond 24 bits.
    EXPECT_EQ(SplitColour(0x01000000).blue, 256);
}

TEST(StartPositionKeys, FilterDecidesEachTypedCharacter) {
    const struct {
        const char* text;
        int key;
        int selected;
        int passes;             // the key let through, 0 for none
        const char* replacedBy; // the field's new text, nullptr when it keeps its text
    } cases[] = {
        {"120", '-', 0, 0, "-120"},   // a minus sign goes in front; the key itself is dropped
        {"-120", '-', 0, 0, nullptr}, // only once
        {"", '-', 0, 0, "-"},           {"1234", '-', 0, 0, "-1234"}, // what the program writes is never cut
        {"12", '7', 0, '7', nullptr},   {"12", '0', 0, '0', nullptr},   {"12", '.', 0, '.', nullptr},
        {"1.2", '.', 0, '.', nullptr}, // a second point passes too; the text then reads as no number
        {"12", 8, 0, 8, nullptr},      // Backspace
        {"1234", 8, 0, 8, nullptr},     {"12", 'a', 0, 0, nullptr},     {"12", 'Z', 0, 0, nullptr},
        {"12", ' ', 0, 0, nullptr},     {"12", '+', 0, 0, nullptr},     {"12", ',', 0, 0, nullptr},
        {"12", 13, 0, 0, nullptr},                                      // Enter
        {"12", 22, 0, 0, nullptr},                                      // Ctrl+V
        {"12", 0xE9, 0, 0, nullptr},                                    // a letter beyond ASCII
        {"1234", '5', 0, 0, nullptr},                                   // four characters at most
        {"-123", '4', 0, 0, nullptr},   {"1234", '5', 1, '5', nullptr}, // replacing a selected character keeps the
                                                                        // length
        {"1234", '.', 4, '.', nullptr},
    };
    for (const auto& c : cases) {
        const NumberKeyResult r = FilterNumberKey(c.text, c.key, c.selected);
        EXPECT_EQ(r.key, c.passes) << "'" << c.text << "' + " << c.key;
        if (c.replacedBy) {
            ASSERT_TRUE(r.text.has_value()) << "'" << c.text << "' + " << c.key;
            EXPECT_EQ(*r.text, c.replacedBy);
        } else {
            EXPECT_FALSE(r.text.has_value()) << "'" << c.text << "' + " << c.key;
        }
    }
}

TEST(StartPositionKeys, TextsReadAsDecimalNumbersRoundedDown) {
    const struct {
        const char* text;
        std::int32_t value;
    } numbers[] = {
        {"12.7", 12},
        {"-3.5", -4},
        {"120", 120},
        {"-120", -120},
        {"0", 0},
        {"-0", 0},
        {"5.", 5},
        {".5", 0},
        {"-.5", -1},
        {"-0.1", -1},
        {"0012", 12},
        {"9999", 9999},
        {"-9999", -9999},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483647.5", INT_MIN},
    };
    for (const auto& n : numbers) {
        const std::optional<std::int32_t> v = StartPositionFromText(n.text);
        ASSERT_TRUE(v.has_value()) << n.text;
        EXPECT_EQ(*v, n.value) << n.text;
    }
    // What the key filter lets through but is no number, and what a paste could bring: the
    // record keeps its value.
    for (const char* text : {"", "-", ".", "-.", "1.2.3", "..", "1-2", "--1", " 12", "12 ", "1e3", "0x10", "+5",
                             "2147483648", "-2147483649", "99999999999999999999"})
        EXPECT_FALSE(StartPositionFromText(text).has_value()) << "'" << text << "'";
}

TEST(PicturePreview, LargerPicturesShrinkToTheBoxSmallerOnesKeepTheirSize) {
    const struct {
        int width, height;
        bool fit;
        PreviewSize shown;
    } cases[] = {
        // Wider and taller than the 165 x 165 box: the smaller ratio (165 / 400) wins, so the
        // picture touches the box on its long side and keeps its aspect ratio.
        {400, 300, true, {165, 124, true}},   {300, 400, true, {124, 165, true}},
        {330, 100, true, {165, 50, true}},    // wider only
        {100, 330, true, {50, 165, true}},    // taller only
        {165, 165, true, {165, 165, true}},   // exactly fitting: never scaled
        {100, 80, true, {100, 80, true}},     // smaller: shown at its own size, not scaled up
        {400, 300, false, {400, 300, false}}, // fit off: own size, clipped by the box
        {100, 80, false, {100, 80, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitPreview(c.width, c.height, 165, 165, c.fit), c.shown) << c.width << " x " << c.height;
}

TEST(StartPositionDrag, WindowCentredOnThePointerAndEdgesReadBackRoundedDown) {
    // A 60 x 40 pixel window at 15 twips per pixel, pointer at (400, 300).
    EXPECT_EQ(CentreOnPointer(400, 300, 900, 600, 15, 15), (TwipsPoint{6000 - 450, 4500 - 300}));
    EXPECT_EQ(CentreOnPointer(10, 5, 900, 600, 15, 15), (TwipsPoint{150 - 450, 75 - 300}));
    EXPECT_EQ(CentreOnPointer(400, 300, 915, 600, 12, 15), (TwipsPoint{4800 - 457.5, 4500 - 300}));

    const struct {
        double edge;
        float tpp;
        std::int32_t start;
    } edges[] = {{5550, 15, 370}, {5549, 15, 369}, {0, 15, 0},  {-1, 15, -1},
                 {-300, 15, -20}, {-301, 15, -21}, {100, 12, 8}};
    for (const auto& e : edges)
        EXPECT_EQ(StartPositionFromEdge(e.edge, e.tpp), e.start) << e.edge << " / " << e.tpp;
}

TEST(EntryCopy, GivesBackEveryEditableFieldAndOnlyThose) {
    CharacterRecord before;
    before.mMyIndex = 2;
    before.mINISectionName = "CHARACTER_2";
    before.mTitle = "Sunny";
    before.mPicFileName = "sunny.bmp";
    before.mEye1X = 50, before.mEye1Y = 58, before.mEye2X = 82, before.mEye2Y = 58;
    before.mEye1DiamX = 10, before.mEye1DiamY = 14, before.mEye2DiamX = 11, before.mEye2DiamY = 15;
    before.mIris1DiamX = 5, before.mIris1DiamY = 7, before.mIris2DiamX = 6, before.mIris2DiamY = 8;
    before.mStartPosX = 120, before.mStartPosY = 130;
    before.mIrisColor = 40 + 256 * 90 + 65536 * 220;
    before.mPupilColor = 1 + 256 * 2 + 65536 * 3;
    before.mIrisWidth = 2;
    const EditorEntryCopy copy = TakeEntryCopy(before);

    // Every field changed, the editable ones by the editor and the others by someone else.
    CharacterRecord after;
    after.mMyIndex = 7;
    after.mINISectionName = "CHARACTER_7";
    after.mFixed = 3;
    after.mFlee = true;
    after.mTitle = "Renamed";
    after.mPicFileName = "other.gif";
    after.mEye1X = 1, after.mEye1Y = 2, after.mEye2X = 3, after.mEye2Y = 4;
    after.mEye1DiamX = 100, after.mEye1DiamY = 99, after.mEye2DiamX = 98, after.mEye2DiamY = 97;
    after.mIris1DiamX = 96, after.mIris1DiamY = 95, after.mIris2DiamX = 94, after.mIris2DiamY = 93;
    after.mSpeedX = 77, after.mSpeedY = 66;
    after.mStartPosX = -5, after.mStartPosY = 900;
    after.mAlpha = 128;
    after.mNoClick = true;
    after.mIrisColor = 0xFFFFFF;
    after.mPupilColor = 0x808080;
    after.mIrisWidth = 50;
    const CharacterRecord untouched = after;

    RestoreAllButPicture(copy, after);
    CharacterRecord expected = before;
    expected.mPicFileName = untouched.mPicFileName; // restored on its own, before the window reloads
    expected.mMyIndex = untouched.mMyIndex;
    expected.mINISectionName = untouched.mINISectionName;
    expected.mFixed = untouched.mFixed;
    expected.mFlee = untouched.mFlee;
    expected.mSpeedX = untouched.mSpeedX;
    expected.mSpeedY = untouched.mSpeedY;
    expected.mAlpha = untouched.mAlpha;
    expected.mNoClick = untouched.mNoClick;
    EXPECT_EQ(after, expected);
    EXPECT_EQ(copy.mPicFileName, "sunny.bmp");
}
