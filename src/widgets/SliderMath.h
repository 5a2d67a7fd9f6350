// The slider's arithmetic: where the thumb sits for a value, which value a thumb position means,
// how far the thumb may go, and where the layout puts the track. Positions are pixels inside the
// slider, as floating point, so a thumb dragged to a spot keeps the value it showed there.
#pragma once

// The track along which the thumb's left edge moves: from left to left + width - thumbWidth.
struct SliderTrack {
    double left = 0;
    double width = 0;
    double thumbWidth = 0;

    // How far the thumb's left edge can travel. Zero or less when the track is no wider than the
    // thumb; then the thumb rests at the track's left end and the pointer cannot choose a value.
    double Travel() const { return width - thumbWidth; }
};

// The value held to the range: first up to min, then down to max, so with min above max the
// value ends at max.
int ClampSliderValue(int value, int min, int max);

// The thumb's left edge for a value. With min equal to max, or no room to travel, the thumb rests
// at the track's left end.
double ThumbLeftForValue(const SliderTrack& track, int min, int max, int value);

// The value a thumb left edge stands for, to the nearest whole number. With min equal to max, or
// no room to travel, the position means nothing and the current value is kept.
int ValueForThumbLeft(const SliderTrack& track, double thumbLeft, int min, int max, int current);

// A wished thumb left edge held to the track. The thumb stays at the track's left end when it
// cannot choose a value: min equal to max, or no room to travel.
double LimitThumbLeft(const SliderTrack& track, double x, int min, int max);

// Where the layout puts the track and the right-hand label, for an inner width and the widths of
// the two end labels (which size themselves to their texts); pixel is one screen pixel.
struct SliderLayout {
    double trackLeft = 0;
    double trackWidth = 0;
    double maxLabelLeft = 0;
};

// A track that would get a negative width cannot be placed; it keeps its previous place, as does
// nothing else that depends on it.
SliderLayout LayOutSlider(double innerWidth, double minLabelWidth, double maxLabelWidth, double pixel,
                          const SliderLayout& previous);
