// The eye-centre picker's plain rules.
#include "editor/PickerRules.h"

#include "settings/Rounding.h"

#include <algorithm>

namespace {
// The design's margins of the lower area, in twips.
constexpr double kEdgeMargin = 120;
constexpr double kButtonGap = 240;
} // namespace

LensRect LensSource(int mouseX, int mouseY, double lensWidth, double lensHeight) {
    return {NearestInt(mouseX - lensWidth / 6), NearestInt(mouseY - lensHeight / 6), NearestInt(lensWidth / 3),
            NearestInt(lensHeight / 3)};
}

PixelPoint MarkerTopLeft(int eyeX, int eyeY) {
    // Computed wide, so an eye centre at the edge of the int range cannot overflow.
    const auto less2 = [](int v) { return static_cast<int>(std::max<long long>(v - 2LL, -2147483647LL - 1)); };
    return {less2(eyeX), less2(eyeY)};
}

TwipsRect LabelFrame(const TwipsRect& label, float tppx, float tppy) {
    return {label.left - 2 * double(tppx), label.top - double(tppy), label.width + 5 * double(tppx),
            label.height + 4 * double(tppy)};
}

std::string EyeLabelText(int eye, std::int32_t x, std::int32_t y) {
    const std::string head = eye == 1 ? "Eye 1 (left mouse click)" : "Eye 2 (right mouse click)";
    return head + "  X:" + std::to_string(x) + "  Y:" + std::to_string(y);
}

int NextPulse(int pulse) {
    pulse -= 10;
    return pulse < 0 ? 255 : pulse;
}

std::int32_t MarkerColour(int eye, int pulse) {
    const int p = pulse < 0 ? 0 : (pulse > 255 ? 255 : pulse);
    return eye == 1 ? 255 + 256 * p + 65536 * p : p + 256 * p + 65536 * 255;
}

PickerLayout LayOutPicker(const PickerLayoutInput& in) {
    PickerLayout out;
    out.ok = {in.innerWidth - in.okWidth - kEdgeMargin, in.innerHeight - in.okHeight - kEdgeMargin};
    out.cancel = {out.ok.left - in.cancelWidth - kButtonGap, out.ok.top};
    const double pictureHeight = out.ok.top - kEdgeMargin;
    if (pictureHeight >= 0 && in.innerWidth >= 0)
        out.picture = TwipsRect{0, 0, in.innerWidth, pictureHeight};
    out.gradientWidth = in.innerWidth;
    out.gradientTop = out.picture ? out.picture->height : in.pictureHeightNow;
    out.eye1LabelTop = out.ok.top;
    out.eye2LabelTop = out.ok.top + in.okHeight - in.eye2LabelHeight;
    return out;
}
