// make_text SOURCE.txt OUT.bin
//
// Builds an RCDATA text resource: the source's lines joined by single line feeds (no
// carriage returns), ended by a NUL. Control bytes are written as readable escapes:
//   {C} {B} {G} {K} {M} {R} {W} {Y}   bright colour code: byte 0x01 and the letter
//   {c} {b} {g} {k} {m} {r} {w} {y}   dark colour code: byte 0x02 and the letter in capitals
//   {grey}  0x03    {rgb}  0x04 (the three colour bytes follow as {xx})
//   {u}     0x06 (underline)    {tab}  0x09    {xx}  the byte with hex value xx (01 to FF)
//   {{      a literal "{"
// A literal tab character in the source is a tab too. Anything else in braces is an error.
#include <cctype>
#include <cstring>
#include <fstream>
#include <string>

#include "art.h"

static bool Decode(const std::string& line, std::string* out, std::string* error)
{
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c != '{') {
            out->push_back(c);
            continue;
        }
        if (i + 1 < line.size() && line[i + 1] == '{') {
            out->push_back('{');
            ++i;
            continue;
        }
        const size_t close = line.find('}', i);
        if (close == std::string::npos) {
            *error = "unclosed '{'";
            return false;
        }
        const std::string name = line.substr(i + 1, close - i - 1);
        i = close;
        if (name.size() == 1 && strchr("BCGKMRWY", toupper(static_cast<unsigned char>(name[0])))) {
            out->push_back(isupper(static_cast<unsigned char>(name[0])) ? '\x01' : '\x02');
            out->push_back(char(toupper(static_cast<unsigned char>(name[0]))));
        } else if (name == "grey") {
            out->push_back('\x03');
        } else if (name == "rgb") {
            out->push_back('\x04');
        } else if (name == "u") {
            out->push_back('\x06');
        } else if (name == "tab") {
            out->push_back('\t');
        } else if (name.size() == 2 && isxdigit(static_cast<unsigned char>(name[0])) &&
                   isxdigit(static_cast<unsigned char>(name[1])) && name != "00") {
            out->push_back(char(std::stoi(name, nullptr, 16)));
        } else {
            *error = "unknown escape {" + name + "}";
            return false;
        }
    }
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 3) return ArtFail("make_text", "usage: make_text SOURCE.txt OUT.bin");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return ArtFail("make_text", std::string("cannot read ") + argv[1]);
    std::string text, line, error;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber > 1) text.push_back('\n');
        if (!Decode(line, &text, &error))
            return ArtFail("make_text", std::string(argv[1]) + ":" + std::to_string(lineNumber) + ": " + error);
    }
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    if (!WriteArtFile(argv[2], bytes)) return ArtFail("make_text", std::string("cannot write ") + argv[2]);
    return 0;
}
