// make_bitmap SOURCE.bmp.txt OUT.bmp
//
// Builds a 24-bit Windows bitmap from a text picture (see art.h) of any size. Every
// palette entry must be a colour: a bitmap has no transparency.
#include <string>

#include "art.h"

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_bitmap", "usage: make_bitmap SOURCE OUT.bmp");
    ArtPicture picture;
    std::string error;
    if (!ReadArtPicture(argv[1], &picture, &error)) return ArtFail("make_bitmap", error);
    for (const auto& entry : picture.palette)
        if (entry.second.a == 0) return ArtFail("make_bitmap", std::string(argv[1]) + ": a bitmap cannot use 'none'");
    auto pixel = [&](int x, int y) { return picture.At(x, y); };
    std::vector<uint8_t> file = BmpFile(picture.Width(), picture.Height(), pixel);
    if (!WriteArtFile(argv[2], file)) return ArtFail("make_bitmap", std::string("cannot write ") + argv[2]);
    return 0;
}
