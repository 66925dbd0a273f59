// make_number_icon TEXT OUT.icon.txt
//
// Writes the text picture (see art.h) of a 32 x 32 usage-monitor icon: a number of one or
// two digits in large green figures, or a label of up to three narrow letters in yellow,
// on black. make_icon turns the picture into the icon.
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"

// Figures and letters, 5 cells high and 3 wide (M and W 5 wide), row by row.
struct Glyph {
    char c;
    int width;
    const char* cells;
};
static const Glyph kGlyphs[] = {
    {'0', 3, "###"
             "#.#"
             "#.#"
             "#.#"
             "###"},
    {'1', 3, ".#."
             "##."
             ".#."
             ".#."
             "###"},
    {'2', 3, "###"
             "..#"
             "###"
             "#.."
             "###"},
    {'3', 3, "###"
             "..#"
             ".##"
             "..#"
             "###"},
    {'4', 3, "#.#"
             "#.#"
             "###"
             "..#"
             "..#"},
    {'5', 3, "###"
             "#.."
             "###"
             "..#"
             "###"},
    {'6', 3, "###"
             "#.."
             "###"
             "#.#"
             "###"},
    {'7', 3, "###"
             "..#"
             ".#."
             ".#."
             ".#."},
    {'8', 3, "###"
             "#.#"
             "###"
             "#.#"
             "###"},
    {'9', 3, "###"
             "#.#"
             "###"
             "..#"
             "###"},
    {'C', 3, "###"
             "#.."
             "#.."
             "#.."
             "###"},
    {'P', 3, "###"
             "#.#"
             "###"
             "#.."
             "#.."},
    {'U', 3, "#.#"
             "#.#"
             "#.#"
             "#.#"
             "###"},
    {'V', 3, "#.#"
             "#.#"
             "#.#"
             "#.#"
             ".#."},
    {'I', 3, "###"
             ".#."
             ".#."
             ".#."
             "###"},
    {'D', 3, "##."
             "#.#"
             "#.#"
             "#.#"
             "##."},
    {'S', 3, "###"
             "#.."
             "###"
             "..#"
             "###"},
    {'K', 3, "#.#"
             "#.#"
             "##."
             "#.#"
             "#.#"},
    {'M', 5, "#...#"
             "##.##"
             "#.#.#"
             "#...#"
             "#...#"},
    {'E', 3, "###"
             "#.."
             "###"
             "#.."
             "###"},
    {'W', 5, "#...#"
             "#...#"
             "#.#.#"
             "##.##"
             "#...#"},
};

static const Glyph* FindGlyph(char c)
{
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_number_icon", "usage: make_number_icon TEXT OUT.icon.txt");
    const std::string text = argv[1];
    const bool isNumber = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (text.empty() || text.size() > (isNumber ? 2u : 3u))
        return ArtFail("make_number_icon", "TEXT must be one or two digits or up to three letters");
    // Figures: cells of 4 x 4 pixels (12 x 20), 4 pixels apart. Letters: cells 2 pixels
    // wide and 3 high (6 x 15, M and W 10 x 15), 2 pixels apart, so that three letters
    // with a five-cell M or W still fit the 32 pixels.
    const int cellWidth = isNumber ? 4 : 2, cellHeight = isNumber ? 4 : 3, gap = isNumber ? 4 : 2;
    std::vector<const Glyph*> glyphs;
    int width = -gap;
    for (char c : text) {
        const Glyph* glyph = FindGlyph(c);
        if (!glyph) return ArtFail("make_number_icon", std::string("no figure for '") + c + "'");
        glyphs.push_back(glyph);
        width += glyph->width * cellWidth + gap;
    }
    if (width > 32) return ArtFail("make_number_icon", "TEXT is wider than the icon");
    const int top = (32 - 5 * cellHeight) / 2;
    std::string grid(32 * 32, 'k');
    int left = (32 - width) / 2;
    for (const Glyph* glyph : glyphs) {
        for (int cy = 0; cy < 5; ++cy)
            for (int cx = 0; cx < glyph->width; ++cx) {
                if (glyph->cells[cy * glyph->width + cx] != '#') continue;
                for (int y = 0; y < cellHeight; ++y)
                    for (int x = 0; x < cellWidth; ++x)
                        grid[size_t((top + cy * cellHeight + y) * 32 + left + cx * cellWidth + x)] = 'f';
            }
        left += glyph->width * cellWidth + gap;
    }
    std::ofstream out(argv[2]);
    out << "# usage monitor icon \"" << text << "\"\npalette\nk 000000\nf " << (isNumber ? "00ff00" : "ffff00")
        << "\npixels\n";
    for (int y = 0; y < 32; ++y) out << grid.substr(size_t(y * 32), 32) << "\n";
    out.close();
    return out ? 0 : ArtFail("make_number_icon", std::string("cannot write ") + argv[2]);
}
