// The editor's plain rules: colours through the three sliders, the start-position key filter and
// text reading, the preview size and the drag placement.
#include "editor/EditorRules.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

TEST(EditorColours, SplitAndJoinRoundTrip) {
    // (colour, red, green, blue); blue is the whole part above the low 16 bits.
    const std::array<std::int32_t, 4> cases[] = {
        {0xFFFFFF, 255, 255, 255}, {40 + 256 * 90 + 65536 * 220, 40, 90, 220}, {0x01000000, 0, 0, 256}};
    for (const auto& [colour, red, green, blue] : cases) {
        const ColourParts parts = SplitColour(colour);
        EXPECT_EQ(std::tuple(parts.red, parts.green, parts.blue, JoinColour(red, green, blue)),
                  std::tuple(red, green, blue, colour));
    }
}

TEST(StartPositionKeys, FilterDecidesEachTypedCharacter) {
    // (text, key, selected, the key let through or 0, the field's new text or nullptr when it keeps its text)
    const std::tuple<const char*, int, int, int, const char*> cases[] = {
        {"120", '-', 0, 0, "-120"},     {"-120", '-', 0, 0, nullptr}, // a minus sign goes in front, once
        {"1234", '-', 0, 0, "-1234"},                                 // what the program writes is never cut
        {"12", '7', 0, '7', nullptr},   {"1.2", '.', 0, '.', nullptr}, {"1234", 8, 0, 8, nullptr},  // Backspace
        {"12", 'a', 0, 0, nullptr},     {"12", 22, 0, 0, nullptr},     {"12", 0xE9, 0, 0, nullptr}, // Ctrl+V, é
        {"-123", '4', 0, 0, nullptr},   // four characters at most
        {"1234", '5', 1, '5', nullptr}, // replacing a selected one keeps the length
    };
    for (const auto& [text, key, selected, passes, replacedBy] : cases) {
        const NumberKeyResult r = FilterNumberKey(text, key, selected);
        EXPECT_EQ(std::pair(r.key, r.text.value_or("(kept)")),
                  std::pair(passes, std::string(replacedBy ? replacedBy : "(kept)")))
            << text << " + " << key;
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
    EXPECT_EQ(FitPreview(100, 80, 165, 165, true), (PreviewSize{100, 80, true}));     // not scaled up
    EXPECT_EQ(FitPreview(400, 300, 165, 165, false), (PreviewSize{400, 300, false})); // clipped by the box
}

TEST(StartPositionDrag, WindowCentredOnThePointerAndEdgesReadBackRoundedDown) {
    // A 61 x 40 pixel window at 12 x 15 twips per pixel, pointer at (400, 300).
    EXPECT_EQ(CentreOnPointer(400, 300, 915, 600, 12, 15), (TwipsPoint{4800 - 457.5, 4500 - 300}));
    const std::tuple<double, float, std::int32_t> edges[] = {
        {5549, 15, 369}, {-1, 15, -1}, {-301, 15, -21}, {100, 12, 8}};
    for (const auto& [edge, tpp, start] : edges)
        EXPECT_EQ(StartPositionFromEdge(edge, tpp), start) << edge << " / " << tpp;
}
