// Captions that fit their controls whatever fonts are installed: a text too wide for its control's place in
// the design's font is shown in a condensed face that is present, or smaller, down to 7 points.
#pragma once

#include <QSize>
#include <QString>

class QWidget;

// The smallest size a caption is shrunk to, in points.
inline constexpr double kSmallestCaptionPoints = 7.0;

// A QStringList property of a control: every text the control shows in turn that must fit (a button whose
// caption changes, the fixed entries of a list whose other entries are the user's). Without it the control's
// present text, or all entries of a list, must fit.
inline constexpr char kCaptionTexts[] = "captionTexts";

// Gives `root` and every label, check box, option button, button and drop-down list inside it the largest font
// in which its texts fit: the font it had when first fitted (the design's), else a condensed family that is
// present at that size, else the same a quarter point smaller, down to 7 points; where even that is too wide,
// the 7-point face narrowed by the renderer. Called when a window has built its controls, and again after a
// text changed.
void FitCaptions(QWidget& root);

// What a control's widest text needs, with what is drawn beside it (a check box's box, a button's picture),
// and the room the control gives it, in pixels in its present font. Heights count only for word-wrapped
// labels; controls without a caption need and have nothing.
struct CaptionRoom {
    QString text; // the widest text
    QSize needed;
    QSize available;
    bool Fits() const { return needed.width() <= available.width() && needed.height() <= available.height(); }
};
CaptionRoom MeasureCaption(const QWidget& control);
