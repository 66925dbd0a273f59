#include "machine_state.h"

#include <cstdio>

#include "wine_env.h"

namespace {

const char* RootName(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    if (root == HKEY_CURRENT_USER) return "HKCU";
    return "HKEY";
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

void ReadKey(HKEY root, const std::string& path, MachinePicture* picture)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    MachineEntry marker;
    marker.root = root;
    marker.path = path;
    marker.isKey = true;
    (*picture)[RegistryKeyId(root, path)] = marker;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        MachineEntry value;
        value.root = root;
        value.path = path;
        value.name = name;
        value.type = type;
        value.bytes.resize(size);
        DWORD read = size;
        RegQueryValueExA(key, name, nullptr, nullptr, value.bytes.empty() ? nullptr : value.bytes.data(), &read);
        value.bytes.resize(read);
        (*picture)[RegistryValueId(root, path, name)] = value;
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys) ReadKey(root, path + "\\" + subkey, picture);
}

}  // namespace

std::string RegistryKeyId(HKEY root, const std::string& path)
{
    return Upper(std::string(RootName(root)) + "\\" + path + "\\");
}

std::string RegistryValueId(HKEY root, const std::string& path, const std::string& name)
{
    return RegistryKeyId(root, path) + ":" + Upper(name);
}

std::string FileId(const std::string& path)
{
    return "FILE:" + Upper(path);
}

MachinePicture TakeMachinePicture(const MachineParts& parts)
{
    MachinePicture picture;
    for (const auto& key : parts.keys) ReadKey(key.first, key.second, &picture);
    for (const std::string& path : parts.files) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        MachineEntry file;
        file.path = path;
        file.type = attributes;
        ReadWholeFileBytes(path, &file.bytes);
        picture[FileId(path)] = file;
    }
    return picture;
}

std::string DescribeDifferences(const MachinePicture& expected, const MachinePicture& actual)
{
    std::string text;
    for (const auto& entry : expected) {
        auto found = actual.find(entry.first);
        if (found == actual.end()) text += "missing " + entry.first + "\n";
        else if (found->second != entry.second) text += "changed " + entry.first + "\n";
    }
    for (const auto& entry : actual)
        if (!expected.count(entry.first)) text += "added " + entry.first + "\n";
    return text;
}

void RestoreMachinePicture(const MachineParts& parts, const MachinePicture& picture)
{
    const MachinePicture now = TakeMachinePicture(parts);
    // What is there now and was not: deleted (a key with everything below it).
    for (const auto& entry : now) {
        if (picture.count(entry.first)) continue;
        const MachineEntry& e = entry.second;
        if (!e.root) {
            SetFileAttributesA(e.path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(e.path.c_str());
        } else if (e.isKey) {
            RegDeleteTreeA(e.root, e.path.c_str());
            RegDeleteKeyA(e.root, e.path.c_str());
        } else {
            RegDeleteKeyValueA(e.root, e.path.c_str(), e.name.c_str());
        }
    }
    // What was there: written back, keys before their values (the ids sort them so).
    for (const auto& entry : picture) {
        auto found = now.find(entry.first);
        if (found != now.end() && found->second == entry.second) continue;
        const MachineEntry& e = entry.second;
        if (!e.root) {
            SetFileAttributesA(e.path.c_str(), FILE_ATTRIBUTE_NORMAL);
            WriteWholeFile(e.path, e.bytes.data(), e.bytes.size());
            SetFileAttributesA(e.path.c_str(), e.type);
            continue;
        }
        HKEY key;
        if (RegCreateKeyExA(e.root, e.path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            fprintf(stderr, "RestoreMachinePicture: cannot create %s\n", entry.first.c_str());
            continue;
        }
        if (!e.isKey)
            RegSetValueExA(key, e.name.c_str(), 0, e.type, e.bytes.empty() ? nullptr : e.bytes.data(),
                           DWORD(e.bytes.size()));
        RegCloseKey(key);
    }
}
