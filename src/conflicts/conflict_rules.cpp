#include "conflicts/conflict_rules.h"

#include <cstdio>
#include <cstring>

#include "ui/report_line.h"

namespace {

std::string UpperKey(const char* name)
{
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return key;
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        const char c = *text >= 'A' && *text <= 'Z' ? char(*text - 'A' + 'a') : *text;
        if (c != *prefix) return false;
    }
    return true;
}

}  // namespace

bool IsApiSetName(const char* module)
{
    return StartsWithNoCase(module, "api-ms-") || StartsWithNoCase(module, "ext-ms-");
}

void ModuleFileNames(const char* module, char (*out)[kWalkPathLength])
{
    static const char* const kSuffixes[kModuleFileNameCount] = {"", ".DLL", ".EXE"};
    for (int i = 0; i < kModuleFileNameCount; ++i) {
        const int written = snprintf(out[i], kWalkPathLength, "%s%s", module, kSuffixes[i]);
        if (written < 0 || size_t(written) >= kWalkPathLength) out[i][0] = '\0';
    }
}

void FileNameIndex::Add(const char* name, const char* directory)
{
    if (!name[0]) return;
    if (directories_.empty() || directories_.back() != directory) directories_.emplace_back(directory);
    files_.emplace(UpperKey(name), Entry{uint32_t(directories_.size() - 1), name});
}

bool FileNameIndex::FindFile(const char* name, char* path, char* foundName) const
{
    path[0] = foundName[0] = '\0';
    if (!name[0]) return false;
    const auto file = files_.find(UpperKey(name));
    if (file == files_.end()) return false;
    if (!JoinWalkPath(directories_[file->second.directory].c_str(), file->second.name.c_str(), path)) return false;
    snprintf(foundName, kWalkPathLength, "%s", file->second.name.c_str());
    return true;
}

bool FileNameIndex::FindModule(const char* module, char* path, char* foundName)
{
    const std::string key = UpperKey(module);
    auto answer = answers_.find(key);
    if (answer == answers_.end()) {
        char candidates[kModuleFileNameCount][kWalkPathLength];
        ModuleFileNames(module, candidates);
        Answer found = {false, {}, {}};
        for (const auto& candidate : candidates) {
            if (!FindFile(candidate, path, foundName)) continue;
            found = {true, path, foundName};
            break;
        }
        answer = answers_.emplace(key, found).first;
    }
    snprintf(path, kWalkPathLength, "%s", answer->second.path.c_str());
    snprintf(foundName, kWalkPathLength, "%s", answer->second.name.c_str());
    return answer->second.found;
}

ConflictStatus StatusOfModule(bool userAgreed, bool copied)
{
    if (!userAgreed) return ConflictStatus::kSkipped;
    return copied ? ConflictStatus::kFixed : ConflictStatus::kNotCopied;
}

void FormatConflictHeading(char* slot, size_t size)
{
    snprintf(slot, size, "%s",
             REPORT_HEADING "File Name\t" REPORT_HEADING "Status\t" REPORT_HEADING "File Needed\t" REPORT_HEADING
                            "Path");
}

void FormatConflictRow(char* slot, size_t size, const char* program, ConflictStatus status, const char* needed,
                       const char* directory)
{
    const char* statusField = status == ConflictStatus::kFixed     ? REPORT_MARK_BRIGHT "G" "Fixed"
                              : status == ConflictStatus::kSkipped ? REPORT_WARNING "Skipped"
                                                                   : REPORT_WARNING "Not copied";
    snprintf(slot, size, REPORT_VALUE "%s\t%s\t" REPORT_VALUE "%s\t" REPORT_VALUE "%s", program, statusField, needed,
             directory);
}

void FormatConflictQuestion(char* out, size_t size, const char* program)
{
    snprintf(out, size, "A software conflict was found with the file:\n\n%s\n\nWould you like Pandrel to fix this problem?",
             program);
}
