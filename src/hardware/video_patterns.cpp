#include "hardware/video_patterns.h"

const CalibrationColor kCalibrationColors[kCalibrationColorCount] = {
    {{255, 255, 255}, "White"},   {{255, 0, 0}, "Red"},         {{255, 0, 255}, "Magenta"},
    {{255, 255, 0}, "Yellow"},    {{0, 255, 0}, "Green"},       {{0, 255, 255}, "Cyan"},
    {{0, 0, 255}, "Blue"},        {{192, 192, 192}, "Lt Gray"}, {{128, 128, 128}, "Dk Gray"},
    {{128, 0, 0}, "Dk Red"},      {{128, 0, 128}, "Dk Magenta"}, {{128, 128, 0}, "Brown"},
    {{0, 128, 0}, "Dk Green"},    {{0, 128, 128}, "Dk Cyan"},   {{0, 0, 128}, "Dk Blue"},
    {{0, 0, 0}, "Black"},
};

// Which of red, green and blue each ramp lights, in the order the ramps are shown.
static const PatternColor kRampChannels[kRampCount] = {
    {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 1, 1},
};

PatternColor RampFill(int index)
{
    if (index < 0 || index >= kRampFillCount) return PatternColor{0, 0, 0};
    const PatternColor& on = kRampChannels[index / kRampSteps];
    const uint8_t level = uint8_t((index % kRampSteps) * 32 % 256);
    return PatternColor{uint8_t(on.red * level), uint8_t(on.green * level), uint8_t(on.blue * level)};
}

CalibrationSwatch CalibrationSwatchAt(int index, long screenWidth, long screenHeight)
{
    const long columnWidth = screenWidth / kCalibrationColumns, rowHeight = screenHeight / kCalibrationRows;
    const long column = 2 * (index % 8) + 1, row = index < 8 ? 1 : 3;
    CalibrationSwatch s;
    s.cell = PlainRect{column * columnWidth, row * rowHeight, (column + 1) * columnWidth, (row + 1) * rowHeight};
    s.nameBand = PlainRect{s.cell.left - 10, s.cell.top - 30, s.cell.right + 10, s.cell.bottom - 10};
    return s;
}
