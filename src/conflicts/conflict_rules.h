// The rules of the missing-module search: which file names stand for a module, where a
// module lies on the disks (one index of every file name, built in one walk), what a copy's
// outcome is called and the report lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "services/walk_path.h"

// Module names the loader resolves with no file of that name on disk (API sets): they are
// never missing.
bool IsApiSetName(const char* module);

// The file names a module may have, in the order they are looked for: the name as written,
// then with ".DLL", then with ".EXE" appended. A form that does not fit in a
// kWalkPathLength slot is left empty.
constexpr int kModuleFileNameCount = 3;
void ModuleFileNames(const char* module, char (*out)[kWalkPathLength]);

// The name of every file on the disks with the first directory the walk saw it in, looked up
// without regard to case. Answers per module name are kept for the run.
class FileNameIndex {
public:
    // Records a file found in directory; a name seen before keeps its first directory.
    void Add(const char* name, const char* directory);
    // The full path of the first file named name, into path (kWalkPathLength bytes), and
    // the name as the file has it into foundName (kWalkPathLength bytes). False when there is
    // none or the path does not fit.
    bool FindFile(const char* name, char* path, char* foundName) const;
    // FindFile for each of the module's file names in turn (ModuleFileNames); the answer for
    // a module name is computed once and then repeated.
    bool FindModule(const char* module, char* path, char* foundName);
    size_t FileCount() const { return files_.size(); }

private:
    struct Entry {
        uint32_t directory;
        std::string name;
    };
    struct Answer {
        bool found;
        std::string path, name;
    };
    std::vector<std::string> directories_;
    std::unordered_map<std::string, Entry> files_;
    std::unordered_map<std::string, Answer> answers_;
};

// What became of one missing module that was found elsewhere.
enum class ConflictStatus {
    kFixed,      // the user said yes and the copy succeeded
    kSkipped,    // the user said no or closed the question
    kNotCopied,  // the user said yes and the copy failed
};
ConflictStatus StatusOfModule(bool userAgreed, bool copied);

// The report's heading line and one row per missing module found elsewhere, cut to fit slot
// (size bytes).
void FormatConflictHeading(char* slot, size_t size);
void FormatConflictRow(char* slot, size_t size, const char* program, ConflictStatus status, const char* needed,
                       const char* directory);

// The text of the question asked about program (a file name) into out (size bytes).
void FormatConflictQuestion(char* out, size_t size, const char* program);
