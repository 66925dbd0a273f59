// make_number_icon TEXT OUT.icon.txt
//
// Writes the text picture (see art.h) of a 32 x 32 usage-monitor icon: a number of one or
// two digits in large green figures, or a label of up to three letters in yellow, on
// black. make_icon turns the picture into the icon.
#include <cstring>
#include <fstream>
#include <string>

#include "art.h"

// 3 x 5 figures, one string of 15 cells per character, row by row.
struct Glyph {
    char c;
    const char* cells;
};
static const Glyph kGlyphs[] = {
    {'0', "###"
          "#.#"
          "#.#"
          "#.#"
          "###"},
    {'1', ".#."
          "##."
          ".#."
          ".#."
          "###"},
    {'2', "###"
          "..#"
          "###"
          "#.."
          "###"},
    {'3', "###"
          "..#"
          ".##"
          "..#"
          "###"},
    {'4', "#.#"
          "#.#"
          "###"
          "..#"
          "..#"},
    {'5', "###"
          "#.."
          "###"
          "..#"
          "###"},
    {'6', "###"
          "#.."
          "###"
          "#.#"
          "###"},
    {'7', "###"
          "..#"
          ".#."
          ".#."
          ".#."},
    {'8', "###"
          "#.#"
          "###"
          "#.#"
          "###"},
    {'9', "###"
          "#.#"
          "###"
          "..#"
          "###"},
    {'C', "###"
          "#.."
          "#.."
          "#.."
          "###"},
    {'P', "###"
          "#.#"
          "###"
          "#.."
          "#.."},
    {'U', "#.#"
          "#.#"
          "#.#"
          "#.#"
          "###"},
    {'V', "#.#"
          "#.#"
          "#.#"
          "#.#"
          ".#."},
    {'I', "###"
          ".#."
          ".#."
          ".#."
          "###"},
    {'D', "##."
          "#.#"
          "#.#"
          "#.#"
          "##."},
    {'S', "###"
          "#.."
          "###"
          "..#"
          "###"},
    {'K', "#.#"
          "#.#"
          "##."
          "#.#"
          "#.#"},
    {'M', "#.#"
          "###"
          "###"
          "#.#"
          "#.#"},
    {'E', "###"
          "#.."
          "###"
          "#.."
          "###"},
    {'W', "#.#"
          "#.#"
          "###"
          "###"
          "#.#"},
};

static const char* FindGlyph(char c)
{
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return g.cells;
    return nullptr;
}

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_number_icon", "usage: make_number_icon TEXT OUT.icon.txt");
    const std::string text = argv[1];
    const bool isNumber = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (text.empty() || text.size() > (isNumber ? 2u : 3u))
        return ArtFail("make_number_icon", "TEXT must be one or two digits or up to three letters");
    // Figures are drawn at scale 4 (12 x 20), letters at scale 3 (9 x 15), one cell apart.
    const int scale = isNumber ? 4 : 3;
    const int width = int(text.size()) * 3 * scale + (int(text.size()) - 1) * scale;
    const int left = (32 - width) / 2;
    const int top = (32 - 5 * scale) / 2;
    std::string grid(32 * 32, 'k');
    for (size_t i = 0; i < text.size(); ++i) {
        const char* cells = FindGlyph(text[i]);
        if (!cells) return ArtFail("make_number_icon", std::string("no figure for '") + text[i] + "'");
        for (int cy = 0; cy < 5; ++cy)
            for (int cx = 0; cx < 3; ++cx) {
                if (cells[cy * 3 + cx] != '#') continue;
                for (int y = 0; y < scale; ++y)
                    for (int x = 0; x < scale; ++x)
                        grid[size_t((top + cy * scale + y) * 32 + left + int(i) * 4 * scale + cx * scale + x)] = 'f';
            }
    }
    std::ofstream out(argv[2]);
    out << "# usage monitor icon \"" << text << "\"\npalette\nk 000000\nf " << (isNumber ? "00ff00" : "ffff00")
        << "\npixels\n";
    for (int y = 0; y < 32; ++y) out << grid.substr(size_t(y * 32), 32) << "\n";
    out.close();
    return out ? 0 : ArtFail("make_number_icon", std::string("cannot write ") + argv[2]);
}
