// make_icon SOURCE.icon.txt OUT.ico
//
// Builds a Windows icon from a text picture. The source holds a palette and a square grid:
//
//   # comment lines start with '#'
//   palette
//   . none            (transparent)
//   k 000000          (a character, then RGB in hex)
//   pixels
//   ..kk..            (one row per line, one palette character per pixel)
//
// The icon holds one 32-bit image of the grid's size with its AND mask.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct Colour {
    uint8_t r, g, b, a;
};

static int Fail(const std::string& message)
{
    fprintf(stderr, "make_icon: %s\n", message.c_str());
    return 1;
}

static void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

static void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int main(int argc, char** argv)
{
    if (argc != 3) return Fail("usage: make_icon SOURCE OUT.ico");
    std::ifstream in(argv[1]);
    if (!in) return Fail(std::string("cannot read ") + argv[1]);

    std::map<char, Colour> palette;
    std::vector<std::string> rows;
    enum { kNone, kPalette, kPixels } section = kNone;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line == "palette") { section = kPalette; continue; }
        if (line == "pixels") { section = kPixels; continue; }
        if (section == kPalette) {
            std::istringstream fields(line);
            std::string key, value;
            fields >> key >> value;
            if (key.size() != 1) return Fail("line " + std::to_string(lineNumber) + ": palette key must be one character");
            if (value == "none") {
                palette[key[0]] = Colour{0, 0, 0, 0};
            } else {
                unsigned rgb = 0;
                if (value.size() != 6 || sscanf(value.c_str(), "%6x", &rgb) != 1)
                    return Fail("line " + std::to_string(lineNumber) + ": colour must be RRGGBB or none");
                palette[key[0]] = Colour{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
            }
        } else if (section == kPixels) {
            rows.push_back(line);
        } else {
            return Fail("line " + std::to_string(lineNumber) + ": expected 'palette' or 'pixels'");
        }
    }
    const size_t size = rows.size();
    if (size == 0 || size > 256) return Fail("the grid must have 1 to 256 rows");
    for (size_t y = 0; y < size; ++y) {
        if (rows[y].size() != size) return Fail("row " + std::to_string(y + 1) + " is not " + std::to_string(size) + " pixels wide");
        for (char c : rows[y])
            if (!palette.count(c)) return Fail(std::string("row ") + std::to_string(y + 1) + ": '" + c + "' is not in the palette");
    }

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
    Put32(image, uint32_t(size * size * 4 + maskStride * size));
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 0);
    for (size_t y = size; y-- > 0;) {
        for (size_t x = 0; x < size; ++x) {
            Colour c = palette[rows[y][x]];
            image.push_back(c.b);
            image.push_back(c.g);
            image.push_back(c.r);
            image.push_back(c.a);
        }
    }
    for (size_t y = size; y-- > 0;) {
        std::vector<uint8_t> mask(maskStride, 0);
        for (size_t x = 0; x < size; ++x)
            if (palette[rows[y][x]].a == 0) mask[x / 8] |= uint8_t(0x80 >> (x % 8));
        image.insert(image.end(), mask.begin(), mask.end());
    }

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // icon
    Put16(file, 1);  // one image
    file.push_back(size >= 256 ? 0 : uint8_t(size));
    file.push_back(size >= 256 ? 0 : uint8_t(size));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, uint32_t(image.size()));
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());

    FILE* out = fopen(argv[2], "wb");
    if (!out) return Fail(std::string("cannot write ") + argv[2]);
    bool ok = fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = fclose(out) == 0 && ok;
    if (!ok) return Fail(std::string("cannot write ") + argv[2]);
    return 0;
}
