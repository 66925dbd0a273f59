// Where the splash picture's regions are: one point inside each of the nine stage regions
// and the two finish regions, in a 300 x 300 frame that is scaled to the picture's size.
// The picture generator draws its regions around these same points.
#pragma once

struct SplashPoint {
    int x, y;
};

constexpr int kSplashFrame = 300;
constexpr int kSplashStages = 9;
constexpr int kSplashFinishPoints = 2;

constexpr SplashPoint kSplashStagePoints[kSplashStages] = {
    {30, 280}, {50, 260}, {70, 220}, {80, 200}, {85, 165}, {95, 140}, {120, 96}, {122, 80}, {150, 30},
};
constexpr SplashPoint kSplashFinishPointsInFrame[kSplashFinishPoints] = {{10, 10}, {290, 10}};

// A frame point on a picture of width x height pixels (truncated).
inline SplashPoint ScaleSplashPoint(SplashPoint p, int width, int height)
{
    return SplashPoint{p.x * width / kSplashFrame, p.y * height / kSplashFrame};
}
