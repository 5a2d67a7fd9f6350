// The character editor's plain rules.
#include "editor/EditorRules.h"

#include "settings/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

ColourParts SplitColour(std::int32_t colour) {
    const std::int64_t value = colour;
    ColourParts parts;
    parts.red = static_cast<int>(value & 255);
    parts.green = static_cast<int>((value & 65280) / 256);
    parts.blue = static_cast<int>(std::floor(static_cast<double>(value) / 65536.0));
    return parts;
}

std::int32_t JoinColour(int red, int green, int blue) {
    return static_cast<std::int32_t>(red + 256 * green + 65536 * blue);
}

NumberKeyResult FilterNumberKey(std::string_view text, int key, int selectedLength) {
    NumberKeyResult result;
    const bool grows = (key >= '0' && key <= '9') || key == '.';
    if (grows) {
        if (static_cast<int>(text.size()) - selectedLength < kStartFieldMaxLength)
            result.key = key;
        return result;
    }
    if (key == '-') {
        if (text.find('-') == std::string_view::npos)
            result.text = "-" + std::string(text);
        return result;
    }
    if (key == kBackspaceKey)
        result.key = key;
    return result;
}

std::optional<std::int32_t> StartPositionFromText(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    int digits = 0;
    int points = 0;
    for (std::size_t j = i; j < text.size(); ++j) {
        if (text[j] >= '0' && text[j] <= '9')
            ++digits;
        else if (text[j] == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;

    // from_chars reads neither "5." nor ".5" alike everywhere; give it a digit on both sides.
    std::string number(text.substr(i));
    if (number.front() == '.')
        number.insert(number.begin(), '0');
    if (number.back() == '.')
        number.push_back('0');
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    if (i == 1)
        value = -value;
    const double whole = std::floor(value);
    if (whole < -2147483648.0 || whole > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(whole);
}

PreviewSize FitPreview(int pictureWidth, int pictureHeight, double innerWidth, double innerHeight, bool fit) {
    PreviewSize size{pictureWidth, pictureHeight, false};
    if (!fit || pictureWidth <= 0 || pictureHeight <= 0)
        return size;
    const double f = std::min(innerWidth / pictureWidth, innerHeight / pictureHeight);
    if (f >= 1)
        return {pictureWidth, pictureHeight, true};
    return {NearestInt(pictureWidth * f), NearestInt(pictureHeight * f), true};
}

TwipsPoint CentreOnPointer(int pointerX, int pointerY, double widthTwips, double heightTwips, float twipsPerPixelX,
                           float twipsPerPixelY) {
    return {pointerX * double(twipsPerPixelX) - widthTwips / 2, pointerY * double(twipsPerPixelY) - heightTwips / 2};
}

std::int32_t StartPositionFromEdge(double edgeTwips, float twipsPerPixel) {
    const double tpp = twipsPerPixel > 0 ? twipsPerPixel : 15.0;
    const double v = std::floor(edgeTwips / tpp);
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    if (v >= 2147483647.0)
        return 2147483647;
    return static_cast<std::int32_t>(v);
}

EditorEntryCopy TakeEntryCopy(const CharacterRecord& r) {
    EditorEntryCopy c;
    c.mTitle = r.mTitle;
    c.mPicFileName = r.mPicFileName;
    c.mStartPosX = r.mStartPosX;
    c.mStartPosY = r.mStartPosY;
    c.mPupilColor = r.mPupilColor;
    c.mIrisColor = r.mIrisColor;
    c.mIrisWidth = r.mIrisWidth;
    c.mEye1X = r.mEye1X;
    c.mEye1Y = r.mEye1Y;
    c.mEye2X = r.mEye2X;
    c.mEye2Y = r.mEye2Y;
    c.mEye1DiamX = r.mEye1DiamX;
    c.mEye1DiamY = r.mEye1DiamY;
    c.mEye2DiamX = r.mEye2DiamX;
    c.mEye2DiamY = r.mEye2DiamY;
    c.mIris1DiamX = r.mIris1DiamX;
    c.mIris1DiamY = r.mIris1DiamY;
    c.mIris2DiamX = r.mIris2DiamX;
    c.mIris2DiamY = r.mIris2DiamY;
    return c;
}

void RestoreAllButPicture(const EditorEntryCopy& c, CharacterRecord& r) {
    r.mTitle = c.mTitle;
    r.mStartPosX = c.mStartPosX;
    r.mStartPosY = c.mStartPosY;
    r.mPupilColor = c.mPupilColor;
    r.mIrisColor = c.mIrisColor;
    r.mIrisWidth = static_cast<std::int16_t>(c.mIrisWidth);
    r.mEye1X = c.mEye1X;
    r.mEye1Y = c.mEye1Y;
    r.mEye2X = c.mEye2X;
    r.mEye2Y = c.mEye2Y;
    r.mEye1DiamX = c.mEye1DiamX;
    r.mEye1DiamY = c.mEye1DiamY;
    r.mEye2DiamX = c.mEye2DiamX;
    r.mEye2DiamY = c.mEye2DiamY;
    r.mIris1DiamX = c.mIris1DiamX;
    r.mIris1DiamY = c.mIris1DiamY;
    r.mIris2DiamX = c.mIris2DiamX;
    r.mIris2DiamY = c.mIris2DiamY;
}
