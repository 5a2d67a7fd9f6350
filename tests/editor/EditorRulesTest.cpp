// The editor's plain rules: colours through the three sliders, the start-position key filter and
// text reading, the preview size and the drag placement.
#include "editor/EditorRules.h"

#include <gtest/gtest.h>

#include <climits>

TEST(EditorColours, SplitAndJoinRoundTrip) {
    const struct {
        std::int32_t colour;
        int red, green, blue;
    } cases[] = {{0xFFFFFF, 255, 255, 255},
                 {40 + 256 * 90 + 65536 * 220, 40, 90, 220},
                 {0x01000000, 0, 0, 256}}; // blue is the whole part above the low 16 bits
    for (const auto& c : cases) {
        const ColourParts parts = SplitColour(c.colour);
        EXPECT_EQ(std::tie(parts.red, parts.green, parts.blue), std::tie(c.red, c.green, c.blue)) << c.colour;
        EXPECT_EQ(JoinColour(c.red, c.green, c.blue), c.colour) << c.colour;
    }
}

TEST(StartPositionKeys, FilterDecidesEachTypedCharacter) {
    const struct {
        const char* text;
        int key;
        int selected;
        int passes;             // the key let through, 0 for none
        const char* replacedBy; // the field's new text, nullptr when it keeps its text
    } cases[] = {
        {"120", '-', 0, 0, "-120"},   {"-120", '-', 0, 0, nullptr}, // a minus sign goes in front, once
        {"1234", '-', 0, 0, "-1234"},                               // what the program writes is never cut
        {"12", '7', 0, '7', nullptr}, {"1.2", '.', 0, '.', nullptr}, {"1234", 8, 0, 8, nullptr}, // Backspace
        {"12", 'a', 0, 0, nullptr},   {"12", 22, 0, 0, nullptr},    {"12", 0xE9, 0, 0, nullptr}, // Ctrl+V, é
        {"-123", '4', 0, 0, nullptr},                               // four characters at most
        {"1234", '5', 1, '5', nullptr},                             // replacing a selected one keeps the length
    };
    for (const auto& c : cases) {
        const NumberKeyResult r = FilterNumberKey(c.text, c.key, c.selected);
        EXPECT_EQ(r.key, c.passes) << "'" << c.text << "' + " << c.key;
        EXPECT_EQ(r.text.value_or("(kept)"), c.replacedBy ? c.replacedBy : "(kept)") << "'" << c.text << "' + " << c.key;
    }
}

TEST(StartPositionKeys, TextsReadAsDecimalNumbersRoundedDown) {
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"12.7", 12}, {"-3.5", -4}, {"5.", 5}, {"-.5", -1}, {"2147483647", INT_MAX}, {"-2147483647.5", INT_MIN}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(StartPositionFromText(text), std::optional<std::int32_t>(value)) << text;
    // What the key filter lets through but is no number, and what a paste could bring: the record keeps its value.
    for (const char* text : {"", "-", ".", "1.2.3", "1-2", " 12", "1e3", "+5", "2147483648", "99999999999999999999"})
        EXPECT_FALSE(StartPositionFromText(text).has_value()) << "'" << text << "'";
}

TEST(PicturePreview, LargerPicturesShrinkToTheBoxSmallerOnesKeepTheirSize) {
    // The smaller ratio wins, so the picture touches the 165 x 165 box and keeps its aspect ratio.
    EXPECT_EQ(FitPreview(400, 300, 165, 165, true), (PreviewSize{165, 124, true}));
    EXPECT_EQ(FitPreview(100, 330, 165, 165, true), (PreviewSize{50, 165, true}));
    EXPECT_EQ(FitPreview(100, 80, 165, 165, true), (PreviewSize{100, 80, true}));    // not scaled up
    EXPECT_EQ(FitPreview(400, 300, 165, 165, false), (PreviewSize{400, 300, false})); // clipped by the box
}

TEST(StartPositionDrag, WindowCentredOnThePointerAndEdgesReadBackRoundedDown) {
    // A 61 x 40 pixel window at 12 x 15 twips per pixel, pointer at (400, 300).
    EXPECT_EQ(CentreOnPointer(400, 300, 915, 600, 12, 15), (TwipsPoint{4800 - 457.5, 4500 - 300}));
    const struct {
        double edge;
        float tpp;
        std::int32_t start;
    } edges[] = {{5549, 15, 369}, {-1, 15, -1}, {-301, 15, -21}, {100, 12, 8}};
    for (const auto& e : edges)
        EXPECT_EQ(StartPositionFromEdge(e.edge, e.tpp), e.start) << e.edge << " / " << e.tpp;
}
