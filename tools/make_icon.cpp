// make_icon SOURCE.txt OUT.ico|OUT.cur
//
// Builds a Windows icon, or a cursor when the output ends in ".cur", from a square text
// picture (see art.h). The file holds one 32-bit image of the grid's size with its AND
// mask; a cursor's click point is the source's hotspot line.
#include <string>

#include "art.h"

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_icon", "usage: make_icon SOURCE OUT.ico|OUT.cur");
    ArtPicture picture;
    std::string error;
    if (!ReadArtPicture(argv[1], &picture, &error)) return ArtFail("make_icon", error);
    const int size = picture.Width();
    if (picture.Height() != size || size > 256) return ArtFail("make_icon", "the grid must be square, at most 256");
    const std::string out = argv[2];
    const bool isCursor = out.size() > 4 && out.compare(out.size() - 4, 4, ".cur") == 0;
    const bool isHotspotInside = picture.hotspotX >= 0 && picture.hotspotY >= 0 && picture.hotspotX < size &&
                                 picture.hotspotY < size;
    if (isCursor && !isHotspotInside)
        return ArtFail("make_icon", "the hotspot lies outside the grid");

    // Image: BITMAPINFOHEADER (height doubled for the mask), bottom-up BGRA rows, then the
    // 1-bit AND mask with rows padded to 32 bits.
    std::vector<uint8_t> image;
    const uint32_t maskStride = uint32_t((size + 31) / 32 * 4);
    Put32(image, 40);
    Put32(image, uint32_t(size));
    Put32(image, uint32_t(size * 2));
    Put16(image, 1);
    Put16(image, 32);
    Put32(image, 0);
    Put32(image, uint32_t(size * size * 4) + maskStride * uint32_t(size));
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    for (int y = size; y-- > 0;) {
        for (int x = 0; x < size; ++x) {
            ArtColour c = picture.At(x, y);
            image.push_back(c.b);
            image.push_back(c.g);
            image.push_back(c.r);
            image.push_back(c.a);
        }
    }
    for (int y = size; y-- > 0;) {
        std::vector<uint8_t> mask(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (picture.At(x, y).a == 0) mask[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        image.insert(image.end(), mask.begin(), mask.end());
    }

    // Directory of one entry; for a cursor the planes and bit-count fields hold the hotspot.
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, isCursor ? 2 : 1);
    Put16(file, 1);
    file.push_back(size >= 256 ? 0 : uint8_t(size));
    file.push_back(size >= 256 ? 0 : uint8_t(size));
    file.push_back(0);
    file.push_back(0);
    Put16(file, isCursor ? uint32_t(picture.hotspotX) : 1);
    Put16(file, isCursor ? uint32_t(picture.hotspotY) : 32);
    Put32(file, uint32_t(image.size()));
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());

    if (!WriteArtFile(argv[2], file)) return ArtFail("make_icon", std::string("cannot write ") + argv[2]);
    return 0;
}
