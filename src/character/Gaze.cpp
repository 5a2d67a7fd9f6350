// The arithmetic of the painted eyes.
#include "character/Gaze.h"

#include "settings/Rounding.h"

#include <algorithm>
#include <cmath>

std::array<EyeGeometry, 2> EyesOf(const CharacterRecord& r) {
    auto nonNegative = [](int v) { return std::max(v, 0); };
    return {{{r.mEye1X, r.mEye1Y, nonNegative(r.mEye1DiamX), nonNegative(r.mEye1DiamY), nonNegative(r.mIris1DiamX),
              nonNegative(r.mIris1DiamY)},
             {r.mEye2X, r.mEye2Y, nonNegative(r.mEye2DiamX), nonNegative(r.mEye2DiamY), nonNegative(r.mIris2DiamX),
              nonNegative(r.mIris2DiamY)}}};
}

EllipseBox IrisBox(double x, double y, int diamX, int diamY, float tppx, float tppy) {
    const double px = NearestEven(x / tppx);
    const double py = NearestEven(y / tppy);
    const double left = std::floor(px - diamX / 2.0);
    const double top = std::floor(py - diamY / 2.0);
    return {left, top, left + diamX, top + diamY};
}

GazeFrame ComputeGaze(const GazeInput& in) {
    GazeFrame frame;
    float ex[2], ey[2], hx[2], hy[2], dist[2];
    for (int i = 0; i < 2; ++i) {
        const EyeGeometry& e = in.eyes[static_cast<std::size_t>(i)];
        ex[i] = static_cast<float>(NearestEven(static_cast<float>(e.centerX * in.tppx)));
        ey[i] = static_cast<float>(NearestEven(static_cast<float>(e.centerY * in.tppy)));
        hx[i] = static_cast<float>(e.diamX) / 2 * in.tppx;
        hy[i] = static_cast<float>(e.diamY) / 2 * in.tppy;
        frame.offsets.dx[i] = (ex[i] + static_cast<float>(in.left)) - static_cast<float>(in.target.tx);
        frame.offsets.dy[i] = (ey[i] + static_cast<float>(in.top)) - static_cast<float>(in.target.ty);
        dist[i] = std::sqrt(frame.offsets.dx[i] * frame.offsets.dx[i] + frame.offsets.dy[i] * frame.offsets.dy[i]);
    }
    if (frame.offsets == in.last)
        return frame;
    frame.repaint = true;

    // The rectangles cover every place an iris and its outline can lie. Computed in doubles and
    // clipped to the window, so huge diameters from a file cannot overflow.
    const double w = in.irisWidth;
    for (std::size_t i = 0; i < 2; ++i) {
        const EyeGeometry& e = in.eyes[i];
        const double x0 = NearestEven(e.centerX - e.diamX / 2.0 - e.irisDiamX / 2.0 - w / 2 - 1);
        const double y0 = NearestEven(e.centerY - e.diamY / 2.0 - e.irisDiamY / 2.0 - w / 2 - 1);
        const double width = w + e.diamX + e.irisDiamX + 1.0;
        const double height = w + e.diamY + e.irisDiamY + 1.0;
        frame.erase[i] = x0 < in.windowWidthPx && y0 < in.windowHeightPx && x0 + width > 0 && y0 + height > 0;
        if (frame.erase[i]) {
            const double l = std::max(x0, 0.0), t = std::max(y0, 0.0);
            const double r = std::min(x0 + width, static_cast<double>(in.windowWidthPx));
            const double b = std::min(y0 + height, static_cast<double>(in.windowHeightPx));
            frame.eraseRect[i] = {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                                  static_cast<int>(b - t)};
        }
    }

    for (int i = 0; i < 2; ++i) {
        const EyeGeometry& e = in.eyes[static_cast<std::size_t>(i)];
        const float dx = frame.offsets.dx[i], dy = frame.offsets.dy[i];
        double x, y;
        if (std::fabs(dx) > hx[i] || std::fabs(dy) > hy[i]) {
            // On the eye ellipse, in the direction of the target.
            x = NearestEven(ex[i] - (dx / dist[i]) * hx[i]);
            y = NearestEven(ey[i] - (dy / dist[i]) * hy[i]);
        } else if (i == 0) {
            // On the target itself; eye 1 one twip up and to the left of it.
            x = NearestEven(in.target.tx - in.left - 1);
            y = NearestEven(in.target.ty - in.top - 1);
        } else {
            x = NearestEven(in.target.tx - in.left);
            y = NearestEven(in.target.ty - in.top);
        }
        frame.iris[static_cast<std::size_t>(i)] = IrisBox(x, y, e.irisDiamX, e.irisDiamY, in.tppx, in.tppy);
    }
    return frame;
}
