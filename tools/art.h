// Shared by the art generators: text pictures (a palette and a grid of palette
// characters) and the Windows picture files they become.
//
//   # comment lines start with '#'
//   hotspot 3 0       (cursors only: the click point)
//   palette
//   . none            (transparent; icons and cursors only)
//   k 000000          (a character, then RGB in hex)
//   pixels
//   ..kk..            (one row per line, one palette character per pixel)
#pragma once
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct ArtColour {
    uint8_t r, g, b, a;
};

struct ArtPicture {
    std::map<char, ArtColour> palette;
    std::vector<std::string> rows;
    int hotspotX = 0, hotspotY = 0;
    int Width() const { return rows.empty() ? 0 : int(rows[0].size()); }
    int Height() const { return int(rows.size()); }
    ArtColour At(int x, int y) const { return palette.at(rows[size_t(y)][size_t(x)]); }
};

// Reads a text picture; on failure returns false with a message naming the line.
inline bool ReadArtPicture(const char* path, ArtPicture* picture, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = std::string("cannot read ") + path;
        return false;
    }
    enum { kNone, kPalette, kPixels } section = kNone;
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& message) {
        *error = std::string(path) + ":" + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line == "palette") { section = kPalette; continue; }
        if (line == "pixels") { section = kPixels; continue; }
        if (section == kNone && line.compare(0, 8, "hotspot ") == 0) {
            std::istringstream fields(line.substr(8));
            if (!(fields >> picture->hotspotX >> picture->hotspotY)) return fail("hotspot needs x and y");
        } else if (section == kPalette) {
            std::istringstream fields(line);
            std::string key, value;
            fields >> key >> value;
            if (key.size() != 1) return fail("palette key must be one character");
            if (value == "none") {
                picture->palette[key[0]] = ArtColour{0, 0, 0, 0};
            } else {
                unsigned rgb = 0;
                if (value.size() != 6 || sscanf(value.c_str(), "%6x", &rgb) != 1)
                    return fail("colour must be RRGGBB or none");
                picture->palette[key[0]] = ArtColour{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
            }
        } else if (section == kPixels) {
            picture->rows.push_back(line);
        } else {
            return fail("expected 'palette' or 'pixels'");
        }
    }
    lineNumber = 0;
    if (picture->rows.empty() || picture->rows.size() > 1024) return fail("the grid must have 1 to 1024 rows");
    for (size_t y = 0; y < picture->rows.size(); ++y) {
        lineNumber = int(y + 1);
        if (int(picture->rows[y].size()) != picture->Width()) return fail("grid row is not as wide as the first");
        for (char c : picture->rows[y])
            if (!picture->palette.count(c)) return fail(std::string("'") + c + "' is not in the palette");
    }
    return true;
}

inline void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A 24-bit BMP file of width x height pixels; pixel(x, y) gives each colour, top row first.
template <typename PixelAt>
std::vector<uint8_t> BmpFile(int width, int height, PixelAt pixel)
{
    const uint32_t stride = uint32_t((width * 3 + 3) / 4 * 4);
    const uint32_t imageSize = stride * uint32_t(height);
    std::vector<uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    Put32(file, 14 + 40 + imageSize);
    Put32(file, 0);
    Put32(file, 14 + 40);
    Put32(file, 40);
    Put32(file, uint32_t(width));
    Put32(file, uint32_t(height));
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, 0);
    Put32(file, imageSize);
    Put32(file, 2835);  // 72 dpi
    Put32(file, 2835);
    Put32(file, 0);
    Put32(file, 0);
    for (int y = height; y-- > 0;) {
        const size_t rowStart = file.size();
        for (int x = 0; x < width; ++x) {
            ArtColour c = pixel(x, y);
            file.push_back(c.b);
            file.push_back(c.g);
            file.push_back(c.r);
        }
        file.resize(rowStart + stride, 0);
    }
    return file;
}

inline bool WriteArtFile(const char* path, const std::vector<uint8_t>& bytes)
{
    FILE* out = fopen(path, "wb");
    if (!out) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return fclose(out) == 0 && ok;
}

inline int ArtFail(const char* tool, const std::string& message)
{
    fprintf(stderr, "%s: %s\n", tool, message.c_str());
    return 1;
}
