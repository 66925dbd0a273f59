// make_tips SOURCE.txt OUT.DAT MAXKEY
//
// Builds a tip file: a plain sequence of 652-byte records (key, impact and effort as
// little-endian 32-bit words, a 128-byte title and a 512-byte text, both NUL-filled).
// The source holds one record after another:
//   # a comment line, anywhere
//   @ KEY IMPACT EFFORT      decimal; KEY at most MAXKEY, IMPACT and EFFORT 0..9
//   The title                at most 127 characters
//   The text, over one or    lines joined by single spaces, at most 511 characters
//   more lines.
//   (a blank line or the end of the file ends the record)
// Anything else, or a source without records, is an error that names the line.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"

namespace {

constexpr size_t kRecordSize = 652;
constexpr size_t kTitleSize = 128;
constexpr size_t kTextSize = 512;
constexpr size_t kTitleOffset = 12;
constexpr size_t kTextOffset = 140;

struct Record {
    uint32_t numbers[3];  // key, impact, effort
    std::string title;
    std::string text;
    int line;             // of the "@" line
};

bool IsBlank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

std::string Trimmed(const std::string& line)
{
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// A decimal number of at most nine digits, nothing else.
bool ParseNumber(const std::string& word, uint32_t* value)
{
    if (word.empty() || word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) return false;
    *value = uint32_t(std::stoul(word));
    return true;
}

bool HasControlBytes(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 && c != '\t') return true;
    return false;
}

void PutWord(std::vector<uint8_t>* out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) (*out)[at + size_t(i)] = uint8_t(value >> (8 * i));
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t maxKey = 0;
    if (argc != 4 || !ParseNumber(argv[3], &maxKey))
        return ArtFail("make_tips", "usage: make_tips SOURCE.txt OUT.DAT MAXKEY");
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return ArtFail("make_tips", std::string("cannot read ") + argv[1]);
    const std::string source = argv[1];
    auto fail = [&](int line, const std::string& message) {
        return ArtFail("make_tips", source + ":" + std::to_string(line) + ": " + message);
    };

    std::vector<Record> records;
    bool inRecord = false;
    std::string line;
    int lineNumber = 0;
    // Ends the open record; false when it lacks its title or text.
    auto close = [&]() -> bool {
        inRecord = false;
        const Record& r = records.back();
        return !r.title.empty() && !r.text.empty();
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') continue;
        if (IsBlank(line)) {
            if (inRecord && !close()) return fail(records.back().line, "record without a title or text");
            continue;
        }
        if (HasControlBytes(line)) return fail(lineNumber, "control byte in the line");
        if (!inRecord) {
            if (line[0] != '@') return fail(lineNumber, "expected \"@ KEY IMPACT EFFORT\"");
            Record record{};
            record.line = lineNumber;
            std::vector<std::string> words;
            size_t at = 1;
            while (true) {
                const size_t start = line.find_first_not_of(" \t", at);
                if (start == std::string::npos) break;
                at = line.find_first_of(" \t", start);
                words.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
                if (at == std::string::npos) break;
            }
            if (words.size() != 3 || !ParseNumber(words[0], &record.numbers[0]) ||
                !ParseNumber(words[1], &record.numbers[1]) || !ParseNumber(words[2], &record.numbers[2]))
                return fail(lineNumber, "expected \"@ KEY IMPACT EFFORT\" with three decimal numbers");
            if (record.numbers[0] > maxKey) return fail(lineNumber, "key above " + std::to_string(maxKey));
            if (record.numbers[1] > 9 || record.numbers[2] > 9) return fail(lineNumber, "impact and effort are 0..9");
            records.push_back(record);
            inRecord = true;
            continue;
        }
        Record& record = records.back();
        if (line[0] == '@') return fail(lineNumber, "the record before is not ended by a blank line");
        if (record.title.empty()) {
            record.title = Trimmed(line);
            if (record.title.size() > kTitleSize - 1)
                return fail(lineNumber, "title of " + std::to_string(record.title.size()) + " characters, at most 127");
            continue;
        }
        if (!record.text.empty()) record.text += ' ';
        record.text += Trimmed(line);
        if (record.text.size() > kTextSize - 1)
            return fail(lineNumber, "text of " + std::to_string(record.text.size()) + " characters, at most 511");
    }
    if (inRecord && !close()) return fail(records.back().line, "record without a title or text");
    if (records.empty()) return fail(lineNumber, "no records");

    std::vector<uint8_t> bytes(records.size() * kRecordSize, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const size_t base = i * kRecordSize;
        for (int n = 0; n < 3; ++n) PutWord(&bytes, base + size_t(4 * n), r.numbers[n]);
        memcpy(&bytes[base + kTitleOffset], r.title.data(), r.title.size());
        memcpy(&bytes[base + kTextOffset], r.text.data(), r.text.size());
    }
    if (!WriteArtFile(argv[2], bytes)) return ArtFail("make_tips", std::string("cannot write ") + argv[2]);
    return 0;
}
