// What the full-screen video test patterns draw: the line spacing, the colour ramps of the
// colour distortion test and the swatches of the colour calibration test. Pure geometry and
// colour tables; the test window paints them.
#pragma once
#include <cstdint>

#include "services/center.h"

// The convergence and distortion patterns draw a one-pixel line every this many pixels,
// starting at 0.
constexpr int kPatternLineSpacing = 5;

struct PatternColor {
    uint8_t red, green, blue;
};

// The colour distortion test fills the screen with seven ramps (red, magenta, yellow,
// green, cyan, blue, grey) of nine intensities 0, 32, ..., 224, then 256 taken modulo 256,
// so each ramp starts and ends black. Each fill stays up for kRampFillMs.
constexpr int kRampCount = 7;
constexpr int kRampSteps = 9;
constexpr int kRampFillCount = kRampCount * kRampSteps;
constexpr unsigned kRampFillMs = 200;

// Fill number index (0 .. kRampFillCount - 1) of the sequence; black outside it.
PatternColor RampFill(int index);

// The sixteen calibration colours in the order they are laid out.
struct CalibrationColor {
    PatternColor color;
    const char* name;
};
constexpr int kCalibrationColorCount = 16;
extern const CalibrationColor kCalibrationColors[kCalibrationColorCount];

// Where swatch number index (0 .. 15) goes on a screen of the given size: the screen is cut
// into 17 columns and 5 rows; the first eight swatches take row 1, the rest row 3, each in
// the odd columns 1, 3, ..., 15. The name goes in a band from 30 pixels above the cell's
// top to 10 pixels above its bottom, 10 pixels wider than the cell on each side; it is
// centred across the band and drawn from the band's top, in the white space above the
// cell, so the swatch itself stays one even colour.
struct CalibrationSwatch {
    PlainRect cell;
    PlainRect nameBand;
};
constexpr int kCalibrationColumns = 17;
constexpr int kCalibrationRows = 5;
CalibrationSwatch CalibrationSwatchAt(int index, long screenWidth, long screenHeight);
