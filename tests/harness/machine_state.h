// A picture of chosen registry trees and files, for tests that let the program change the
// machine: compare the picture before and after (every value of every key below the roots,
// type and bytes; every file's bytes and attributes), and put the machine back as it was.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// One key, value or file of a picture.
struct MachineEntry {
    HKEY root = nullptr;          // null for a file
    std::string path;             // key path below root, or file path
    std::string name;             // value name; empty for the key itself and for a file
    bool isKey = false;           // the key's presence, no data
    DWORD type = 0;               // value type; file attributes for a file
    std::vector<unsigned char> bytes;
    bool operator==(const MachineEntry& other) const
    {
        return isKey == other.isKey && type == other.type && bytes == other.bytes;
    }
    bool operator!=(const MachineEntry& other) const { return !(*this == other); }
};

// Entries by an upper-case id ("HKLM\PATH\" for a key, "HKLM\PATH\:NAME" for a value,
// "FILE:PATH" for a file), so a comparison does not depend on the case of names.
using MachinePicture = std::map<std::string, MachineEntry>;

struct MachineParts {
    std::vector<std::pair<HKEY, std::string>> keys;  // each read with all its subkeys
    std::vector<std::string> files;                  // a missing file is not in the picture
};

MachinePicture TakeMachinePicture(const MachineParts& parts);

// The id an entry has in a picture.
std::string RegistryValueId(HKEY root, const std::string& path, const std::string& name);
std::string RegistryKeyId(HKEY root, const std::string& path);
std::string FileId(const std::string& path);

// One line per difference ("changed", "added", "missing" and the id), empty when the two
// pictures are the same.
std::string DescribeDifferences(const MachinePicture& expected, const MachinePicture& actual);

// Makes the machine match picture within parts: values, keys and files that are not in the
// picture are deleted, the others written back with their type, bytes and attributes.
void RestoreMachinePicture(const MachineParts& parts, const MachinePicture& picture);

// Takes the picture when made and restores it when destroyed, also when the test failed.
struct SavedMachine {
    explicit SavedMachine(MachineParts parts) : parts(std::move(parts)), picture(TakeMachinePicture(this->parts)) {}
    ~SavedMachine() { RestoreMachinePicture(parts, picture); }
    SavedMachine(const SavedMachine&) = delete;
    SavedMachine& operator=(const SavedMachine&) = delete;
    const MachineParts parts;
    const MachinePicture picture;
};
