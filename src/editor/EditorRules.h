// The character editor's rules that need no window: colours split into the three sliders and
// joined again, the key filter of the start-position fields and the reading of their text, the
// size of the picture preview, the start-position drag, and the entry copy that Cancel gives back.
#pragma once

#include "settings/CharacterRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// ---- Colours: R + 256 G + 65536 B, red in the low byte ----------------------------------------

struct ColourParts {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const ColourParts&) const = default;
};

// R = value AND 255, G = (value AND 65280) / 256, B = floor(value / 65536).
ColourParts SplitColour(std::int32_t colour);
// R + 256 G + 65536 B; the sliders keep each part in 0..255.
std::int32_t JoinColour(int red, int green, int blue);

// ---- The start-position fields ----------------------------------------------------------------

// Characters a user may type into a start-position field; what the program writes there itself
// (a minus sign put in front, a dragged position) is never cut.
inline constexpr int kStartFieldMaxLength = 4;
inline constexpr int kBackspaceKey = 8;

// What to do with one typed character.
struct NumberKeyResult {
    int key = 0;                     // the character to let through to the field; 0: none
    std::optional<std::string> text; // the field's new text, when the key rewrites it
};

// The key filter: digits are inserted, a minus sign is put in front of the text once (the key
// itself is discarded), "." and Backspace pass, everything else is dropped. `selectedLength` is
// the length of the selection a typed character would replace; a digit or point that would make
// the text longer than kStartFieldMaxLength is dropped.
NumberKeyResult FilterNumberKey(std::string_view text, int key, int selectedLength = 0);

// The start position a field's text stands for: the text read as a decimal number (an optional
// minus sign, digits, at most one point), rounded down. Texts the key filter lets through that are
// no number ("", "-", ".", "1.2.3") and values beyond the 32-bit range give nothing, and the
// record keeps its value.
std::optional<std::int32_t> StartPositionFromText(std::string_view text);

// ---- The picture preview ------------------------------------------------------------------------

struct PreviewSize {
    int width = 0;
    int height = 0;
    bool stretched = false; // false: the picture is shown at its own size (and clipped by the box)

    bool operator==(const PreviewSize&) const = default;
};

// The preview of a picture in a box with the given inner size (all in pixels). With fit on, a
// picture larger than the box on either side is scaled down by the smaller of the two ratios,
// keeping its aspect ratio; a picture that fits is never scaled up.
PreviewSize FitPreview(int pictureWidth, int pictureHeight, double innerWidth, double innerHeight, bool fit);

// ---- The start-position drag --------------------------------------------------------------------

struct TwipsPoint {
    double left = 0;
    double top = 0;

    bool operator==(const TwipsPoint&) const = default;
};

// Where a window of the given size (twips) goes so that its centre lies at the pointer (pixels).
TwipsPoint CentreOnPointer(int pointerX, int pointerY, double widthTwips, double heightTwips, float twipsPerPixelX,
                           float twipsPerPixelY);
// The start position of a window edge: floor(edge / twips per pixel).
std::int32_t StartPositionFromEdge(double edgeTwips, float twipsPerPixel);

// ---- The entry copy -----------------------------------------------------------------------------

// Every field the editor and the eye-centre picker can change, as they were when the editor opened.
struct EditorEntryCopy {
    std::string mTitle;
    std::string mPicFileName;
    std::int32_t mStartPosX = 0, mStartPosY = 0;
    std::int32_t mPupilColor = 0, mIrisColor = 0;
    std::int32_t mIrisWidth = 0;
    std::int32_t mEye1X = 0, mEye1Y = 0, mEye2X = 0, mEye2Y = 0;
    std::int32_t mEye1DiamX = 0, mEye1DiamY = 0, mEye2DiamX = 0, mEye2DiamY = 0;
    std::int32_t mIris1DiamX = 0, mIris1DiamY = 0, mIris2DiamX = 0, mIris2DiamY = 0;

    bool operator==(const EditorEntryCopy&) const = default;
};

EditorEntryCopy TakeEntryCopy(const CharacterRecord& record);
// Gives back every field of the copy but the picture file, which goes first and by itself, as the
// window must load it before the rest is restored.
void RestoreAllButPicture(const EditorEntryCopy& copy, CharacterRecord& record);
