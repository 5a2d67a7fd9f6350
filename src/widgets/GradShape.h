// The gradient band: fills its whole area with one-pixel lines running from one colour to another.
// The windows use it as decoration (backgrounds, frame strips, bands); they place and size it and
// set at most its two colours. Mouse input passes through to the window behind it.
#pragma once

#include "widgets/GradientColors.h"

#include <QWidget>

#include <cstdint>

class GradShape final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GradShape)

public:
    explicit GradShape(QWidget* parent = nullptr);

    // Colours are R + 256 G + 65536 B, or a system colour (see SystemColor), looked up at each paint.
    std::int32_t ColorTopLeft() const { return mColorTopLeft; }
    void SetColorTopLeft(std::int32_t colour);
    std::int32_t ColorBottomRight() const { return mColorBottomRight; }
    void SetColorBottomRight(std::int32_t colour);
    // 1: the colour changes from top to bottom; any other value: from left to right.
    int Orientation() const { return mOrientation; }
    void SetOrientation(int orientation);
    // Contrast in percent; 100 keeps both colours as they are.
    int Reduce() const { return mReduce; }
    void SetReduce(int reduce);

    // Repaints the band at once.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t mColorTopLeft = ColorButtonHighlight;
    std::int32_t mColorBottomRight = ColorButtonShadow;
    int mOrientation = 1;
    int mReduce = 100;
};
