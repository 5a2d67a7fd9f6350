// The slider's arithmetic.
#include "widgets/SliderMath.h"

#include "settings/Rounding.h"

#include <algorithm>

int ClampSliderValue(int value, int min, int max) {
    if (value < min)
        value = min;
    if (value > max)
        value = max;
    return value;
}

double ThumbLeftForValue(const SliderTrack& track, int min, int max, int value) {
    const double travel = track.Travel();
    if (min == max || travel <= 0)
        return track.left;
    // In double: max - min and value - min can exceed the int range.
    const double span = static_cast<double>(max) - static_cast<double>(min);
    return track.left + travel / span * (static_cast<double>(value) - static_cast<double>(min));
}

int ValueForThumbLeft(const SliderTrack& track, double thumbLeft, int min, int max, int current) {
    const double travel = track.Travel();
    if (min == max || travel <= 0)
        return current;
    const double span = static_cast<double>(max) - static_cast<double>(min);
    return NearestInt((thumbLeft - track.left) / travel * span + static_cast<double>(min));
}

double LimitThumbLeft(const SliderTrack& track, double x, int min, int max) {
    const double travel = track.Travel();
    if (min == max || travel <= 0)
        return track.left;
    return std::clamp(x, track.left, track.left + travel);
}

SliderLayout LayOutSlider(double innerWidth, double minLabelWidth, double maxLabelWidth, double pixel,
                          const SliderLayout& previous) {
    SliderLayout layout = previous;
    const double trackWidth = innerWidth - maxLabelWidth - minLabelWidth - pixel;
    if (trackWidth >= 0) {
        layout.trackLeft = minLabelWidth + pixel;
        layout.trackWidth = trackWidth;
    }
    layout.maxLabelLeft = innerWidth - maxLabelWidth;
    return layout;
}
