// make_problems OUT.cpp OUT.h CHECKS.txt CATEGORY.txt x 15
//
// Builds the problem solver's knowledge base as C++ tables from its text sources.
//
// CHECKS.txt holds the findings of the checking steps: "* <key> <title>" lines, each
// followed by its solution paragraph. OUT.h gets `enum class CheckText` with one
// enumerator per key, in file order, and CheckItem(); OUT.cpp the titles and solutions.
//
// Each CATEGORY.txt (in category order) holds the fixed advice under the section lines
// "[Quick fixes]", "[Incompatible models]" and "[Specific problems]" (in that order, each at
// most once): "* <title>" starts an item, verbatim to the end of the line; a line of only
// "*" is an item with an empty title and no solution. In [Incompatible models], "~ <text>"
// sets a template containing {model}, used for every item there without a paragraph of
// its own.
//
// Everywhere: lines starting with ';' are comments, blank lines are ignored, and the lines
// of a paragraph are joined with single spaces. Only printable ASCII is accepted. Any
// other line, a repeated key, a missing file or a template without {model} is an error
// naming the file and line; nothing is written then.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Item {
    std::string key;  // checks only
    std::string title;
    std::string solution;
    bool fromTemplate = false;
    bool noSolution = false;  // the empty item
};

struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what)
{
    throw Failure{file + ":" + std::to_string(line) + ": " + what};
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure{path + ": cannot read"};
    std::vector<std::string> lines;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (unsigned char c : line)
            if (c < 0x20 || c > 0x7E) Fail(path, number, "only printable ASCII is allowed");
        lines.push_back(line);
    }
    return lines;
}

void AddToParagraph(std::string& paragraph, const std::string& line)
{
    size_t start = line.find_first_not_of(' ');
    size_t end = line.find_last_not_of(' ');
    if (start == std::string::npos) return;
    if (!paragraph.empty()) paragraph += ' ';
    paragraph += line.substr(start, end - start + 1);
}

bool IsKey(const std::string& key)
{
    if (key.size() < 2 || key[0] != 'k' || !isupper(static_cast<unsigned char>(key[1]))) return false;
    for (char c : key)
        if (!isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

std::vector<Item> ReadChecks(const std::string& path)
{
    std::vector<Item> items;
    std::set<std::string> keys;
    const std::vector<std::string> lines = ReadLines(path);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') Fail(path, int(n + 1), "a group line ends with ']'");
            continue;
        }
        if (line.rfind("* ", 0) == 0) {
            const size_t space = line.find(' ', 2);
            if (space == std::string::npos) Fail(path, int(n + 1), "a finding needs a key and a title");
            Item item;
            item.key = line.substr(2, space - 2);
            item.title = line.substr(space + 1);
            if (!IsKey(item.key)) Fail(path, int(n + 1), "a key is k followed by letters and digits, starting upper case");
            if (!keys.insert(item.key).second) Fail(path, int(n + 1), "key " + item.key + " is given twice");
            items.push_back(item);
            continue;
        }
        if (items.empty()) Fail(path, int(n + 1), "text before the first finding");
        AddToParagraph(items.back().solution, line);
    }
    return items;
}

const char* const kSections[] = {"[Quick fixes]", "[Incompatible models]", "[Specific problems]"};

void ReadCategory(const std::string& path, std::vector<Item> sections[3])
{
    int section = -1;
    std::string templateText;
    const std::vector<std::string> lines = ReadLines(path);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const int number = int(n + 1);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            int next = -1;
            for (int s = 0; s < 3; ++s)
                if (line == kSections[s]) next = s;
            if (next < 0) Fail(path, number, "unknown section " + line);
            if (next <= section) Fail(path, number, "sections come once each, in the order quick fixes, incompatible models, specific problems");
            section = next;
            continue;
        }
        if (section < 0) Fail(path, number, "text before the first section");
        std::vector<Item>& items = sections[section];
        if (line == "*") {
            Item item;
            item.noSolution = true;
            items.push_back(item);
        } else if (line.rfind("* ", 0) == 0) {
            Item item;
            item.title = line.substr(2);
            items.push_back(item);
        } else if (line.rfind("~ ", 0) == 0) {
            if (section != 1) Fail(path, number, "a template belongs to [Incompatible models]");
            if (!templateText.empty()) Fail(path, number, "one template per file");
            templateText = line.substr(2);
            // A template may go on over the following lines until the first item.
            while (n + 1 < lines.size() && !lines[n + 1].empty() && lines[n + 1][0] != '*' &&
                   lines[n + 1][0] != '[' && lines[n + 1][0] != ';') {
                AddToParagraph(templateText, lines[++n]);
            }
            if (templateText.find("{model}") == std::string::npos) Fail(path, number, "the template has no {model}");
        } else {
            if (items.empty()) Fail(path, number, "text before the first item");
            if (items.back().noSolution) Fail(path, number, "an item without a title takes no solution");
            AddToParagraph(items.back().solution, line);
        }
    }
    for (Item& item : sections[1]) {
        if (!item.solution.empty() || templateText.empty()) continue;
        std::string text = templateText;
        for (size_t at; (at = text.find("{model}")) != std::string::npos;) text.replace(at, 7, item.title);
        item.solution = text;
        item.fromTemplate = true;
    }
}

std::string Literal(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 + 15) {
        fprintf(stderr, "usage: make_problems OUT.cpp OUT.h CHECKS.txt CATEGORY.txt x 15\n");
        return 2;
    }
    try {
        const std::vector<Item> checks = ReadChecks(argv[3]);
        std::vector<Item> categories[15][3];
        for (int c = 0; c < 15; ++c) ReadCategory(argv[4 + c], categories[c]);

        std::string header =
            "// Generated by make_problems from src/resources/problems/checks.txt; do not edit.\n"
            "#pragma once\n#include \"hardware/problem_report.h\"\n\n"
            "// The findings of the checking steps, in the order of the text source.\n"
            "enum class CheckText : int {\n";
        for (const Item& item : checks) header += "    " + item.key + ",\n";
        header += "};\nconstexpr int kCheckTextCount = " + std::to_string(checks.size()) + ";\n"
                  "extern const ProblemItem kCheckTexts[kCheckTextCount];\n"
                  "inline const ProblemItem& CheckItem(CheckText text) { return kCheckTexts[static_cast<int>(text)]; }\n";

        std::string source =
            "// Generated by make_problems from src/resources/problems/*.txt; do not edit.\n"
            "#include \"problem_texts.h\"\n\n"
            "const ProblemItem kCheckTexts[kCheckTextCount] = {\n";
        for (const Item& item : checks) source += "    {" + Literal(item.title) + ",\n     " + Literal(item.solution) + "},\n";
        source += "};\n\nnamespace {\n";
        for (int c = 0; c < 15; ++c)
            for (int s = 0; s < 3; ++s) {
                if (categories[c][s].empty()) continue;
                source += "const ProblemItem kAdvice" + std::to_string(c) + "_" + std::to_string(s) + "[] = {\n";
                for (const Item& item : categories[c][s])
                    source += "    {" + Literal(item.title) + ",\n     " + Literal(item.solution) + "},\n";
                source += "};\n";
            }
        source += "}  // namespace\n\nconst ProblemItemList kFixedAdvice[kProblemCategoryCount][kFixedAdviceKinds] = {\n";
        for (int c = 0; c < 15; ++c) {
            source += "    {";
            for (int s = 0; s < 3; ++s) {
                const std::string name = "kAdvice" + std::to_string(c) + "_" + std::to_string(s);
                source += categories[c][s].empty()
                              ? std::string("{nullptr, 0}")
                              : "{" + name + ", " + std::to_string(categories[c][s].size()) + "}";
                source += s < 2 ? ", " : "";
            }
            source += "},\n";
        }
        source += "};\n";

        std::ofstream(argv[2], std::ios::binary) << header;
        std::ofstream(argv[1], std::ios::binary) << source;
    } catch (const Failure& failure) {
        fprintf(stderr, "make_problems: %s\n", failure.message.c_str());
        return 1;
    }
    return 0;
}
