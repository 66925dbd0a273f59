#include "conflicts/import_readers.h"

#include <cstring>

namespace {

constexpr size_t kNameCharacterLimit = 255;

uint32_t Read16(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t Read32(const unsigned char* p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

// True when [offset, offset + length) lies inside size bytes; no sum can wrap.
bool Inside(uint64_t offset, uint64_t length, uint64_t size)
{
    return offset <= size && length <= size - offset;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Stores a name of length characters (cut at kNameCharacterLimit) after count names and
// returns the new count; once kModuleNameLimit - 1 are stored, later names take the last
// counted slot.
int StoreName(ModuleNames names, int count, const char* name, size_t length)
{
    const int slot = count < kModuleNameLimit - 1 ? count : kModuleNameLimit - 1;
    if (length > kNameCharacterLimit) length = kNameCharacterLimit;
    memcpy(names[slot], name, length);
    names[slot][length] = '\0';
    return slot + 1;
}

}  // namespace

bool IsSystemNeModule(const char* name, size_t length)
{
    static const char* const kSystemModules[] = {"USER",     "GDI",   "KERNEL",   "SOUND", "DISPLAY", "FIXFONTS",
                                                 "OEMFONTS", "ATM",   "KEYBOARD", "MOUSE", "SYSTEM",  "FONTS"};
    for (const char* keyword : kSystemModules) {
        const size_t keywordLength = strlen(keyword);
        if (length < keywordLength) continue;
        size_t i = 0;
        while (i < keywordLength && Upper(name[i]) == keyword[i]) ++i;
        if (i == keywordLength) return true;
    }
    return false;
}

bool ReadNeLayout(const unsigned char* header, size_t length, uint64_t headerOffset, NeLayout* layout)
{
    if (length <= 50) return false;
    const uint32_t count = Read16(header + 0x1E);
    layout->moduleCount = count < uint32_t(kModuleNameLimit) ? count : uint32_t(kModuleNameLimit);
    layout->referencesOffset = headerOffset + Read16(header + 0x28);
    layout->importedNamesOffset = headerOffset + Read16(header + 0x2A);
    return true;
}

int ParseNeModuleNames(const NeLayout& layout, const unsigned char* references, size_t referencesLength,
                       const unsigned char* importedNames, size_t importedNamesLength, ModuleNames names)
{
    int count = 0;
    const uint64_t entries = referencesLength / 2;
    for (uint64_t i = 0; i < layout.moduleCount && i < entries; ++i) {
        const uint32_t offset = Read16(references + 2 * i);
        if (offset >= importedNamesLength) continue;
        const size_t length = importedNames[offset];
        if (!Inside(uint64_t(offset) + 1, length, importedNamesLength)) continue;
        const char* name = reinterpret_cast<const char*>(importedNames + offset + 1);
        if (IsSystemNeModule(name, length)) continue;
        count = StoreName(names, count, name, length);
    }
    return count;
}

int ParsePeImportNames(const unsigned char* image, uint64_t size, ModuleNames names)
{
    if (size < 0x40 || image[0] != 'M' || image[1] != 'Z') return 0;
    const uint64_t pe = Read32(image + 0x3C);
    if (!Inside(pe, 24, size) || memcmp(image + pe, "PE\0\0", 4) != 0) return 0;
    const uint32_t sectionCount = Read16(image + pe + 6);
    const uint64_t optional = pe + 24;
    const uint64_t optionalLength = Read16(image + pe + 20);
    if (!Inside(optional, 2, size)) return 0;

    // The data directory follows the fixed part of the optional header, which is 16 bytes
    // longer in PE32+; the count of its entries comes just before it.
    uint64_t directories;
    switch (Read16(image + optional)) {
    case 0x10B: directories = optional + 96; break;
    case 0x20B: directories = optional + 112; break;
    default: return 0;
    }
    if (!Inside(directories - 4, 4 + 16, size) || Read32(image + directories - 4) < 2) return 0;
    const uint64_t importAddress = Read32(image + directories + 8);
    if (importAddress == 0) return 0;

    // The section whose virtual range holds the import directory gives the file position.
    const uint64_t sections = optional + optionalLength;
    int64_t delta = 0;
    bool held = false;
    for (uint32_t i = 0; i < sectionCount && !held; ++i) {
        const uint64_t entry = sections + 40ull * i;
        if (!Inside(entry, 40, size)) return 0;
        const uint64_t virtualSize = Read32(image + entry + 8);
        const uint64_t virtualAddress = Read32(image + entry + 12);
        const uint64_t rawData = Read32(image + entry + 20);
        if (importAddress >= virtualAddress && importAddress < virtualAddress + virtualSize) {
            delta = int64_t(virtualAddress) - int64_t(rawData);
            held = true;
        }
    }
    if (!held) return 0;

    int count = 0;
    for (int64_t descriptor = int64_t(importAddress) - delta;; descriptor += 20) {
        if (descriptor < 0 || !Inside(uint64_t(descriptor), 20, size)) break;
        const uint64_t nameAddress = Read32(image + descriptor + 12);
        if (nameAddress == 0) break;
        const int64_t name = int64_t(nameAddress) - delta;
        if (name < 0 || uint64_t(name) >= size) break;
        const char* text = reinterpret_cast<const char*>(image + name);
        // Only the first kNameCharacterLimit characters are kept; a name that runs to the
        // end of the file ends the walk.
        const uint64_t left = size - uint64_t(name);
        const size_t window = left < kNameCharacterLimit + 1 ? size_t(left) : kNameCharacterLimit + 1;
        const void* end = memchr(text, '\0', window);
        if (!end && window == left) break;
        count = StoreName(names, count, text, end ? size_t(static_cast<const char*>(end) - text) : window);
    }
    return count;
}
