// make_pyramid OUT.bmp WIDTH HEIGHT
//
// Draws the stepped pyramid of the start-up splash (and, smaller, of the About box). Nine
// dark red tiers, from the base up, are the nine start-up stages; the teal sky left and
// right of the apex are the two finish regions. Every region is bounded by black so that
// the splash's flood fills stay inside it, and the generator checks that every reference
// point lands inside its own region at the size asked for.
#include <cstdlib>
#include <string>

#include "../src/ui/splash_points.h"
#include "art.h"

enum Region { kGround = 0, kTierBase = 1, kLeftSky = 10, kRightSky = 11 };

constexpr double kBase = 296;      // the tiers stand on this line of the 300 frame
constexpr double kTierHeight = 30;
constexpr double kTierStep = 12;   // each tier is this much narrower on either side
constexpr double kCapBase = 56;    // the top tier is a triangle from here to the top edge

// Which region the frame point (fx, fy) lies in.
static int RegionAt(double fx, double fy)
{
    const double centre = kSplashFrame / 2.0;
    if (fy >= kBase) return kGround;
    if (fy < kCapBase) {
        const double halfWidth = (centre - 8 * kTierStep) * fy / kCapBase;
        if (fx >= centre - halfWidth && fx <= centre + halfWidth) return kTierBase + 8;
    } else {
        const int tier = int((kBase - fy) / kTierHeight);  // 0..7
        const double inset = kTierStep * (tier + 1);
        if (fx >= inset && fx <= kSplashFrame - inset) return kTierBase + tier;
    }
    return fx < centre ? kLeftSky : kRightSky;
}

int main(int argc, char** argv)
{
    if (argc != 4) return ArtFail("make_pyramid", "usage: make_pyramid OUT.bmp WIDTH HEIGHT");
    const int width = atoi(argv[2]);
    const int height = atoi(argv[3]);
    if (width < 32 || height < 32 || width > 2000 || height > 2000)
        return ArtFail("make_pyramid", "sizes must be 32 to 2000");
    const ArtColour black{0, 0, 0, 255};
    const ArtColour tier{0x80, 0, 0, 255};
    const ArtColour sky{0, 0x80, 0x80, 255};

    std::vector<int> regions(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            regions[size_t(y) * size_t(width) + size_t(x)] =
                RegionAt((x + 0.5) * kSplashFrame / width, (y + 0.5) * kSplashFrame / height);
    auto regionOf = [&](int x, int y) { return regions[size_t(y) * size_t(width) + size_t(x)]; };
    // A pixel next to another region (diagonals too) is border, so regions never touch.
    auto isBorder = [&](int x, int y) {
        const int own = regionOf(x, y);
        if (own == kGround) return true;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < width && ny < height && regionOf(nx, ny) != own) return true;
            }
        return false;
    };

    for (int stage = 0; stage < kSplashStages; ++stage) {
        SplashPoint p = ScaleSplashPoint(kSplashStagePoints[stage], width, height);
        if (regionOf(p.x, p.y) != kTierBase + stage || isBorder(p.x, p.y))
            return ArtFail("make_pyramid", "stage " + std::to_string(stage + 1) + " point is not inside its tier");
    }
    for (int i = 0; i < kSplashFinishPoints; ++i) {
        SplashPoint p = ScaleSplashPoint(kSplashFinishPointsInFrame[i], width, height);
        if (regionOf(p.x, p.y) != (i == 0 ? kLeftSky : kRightSky) || isBorder(p.x, p.y))
            return ArtFail("make_pyramid", "finish point " + std::to_string(i + 1) + " is not inside the sky");
    }

    std::vector<uint8_t> file = BmpFile(width, height, [&](int x, int y) {
        if (isBorder(x, y)) return black;
        return regionOf(x, y) >= kLeftSky ? sky : tier;
    });
    if (!WriteArtFile(argv[1], file)) return ArtFail("make_pyramid", std::string("cannot write ") + argv[1]);
    return 0;
}
