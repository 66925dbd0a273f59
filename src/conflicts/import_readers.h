// The modules a program file needs, read from its executable header: the module references
// of a 16-bit Windows program ("NE") and the import directory of a 32- or 64-bit program
// ("PE"). Program files come from anywhere on the disks, so every read stays inside the
// bytes it is given, whatever those bytes hold.
#pragma once
#include <cstddef>
#include <cstdint>

// One module name per slot, NUL-terminated, as written in the header.
constexpr size_t kModuleNameLength = 260;
// The block a reader fills: kModuleNameSlots slots; at most kModuleNameLimit are counted.
constexpr int kModuleNameSlots = 501;
constexpr int kModuleNameLimit = 500;
using ModuleNames = char (*)[kModuleNameLength];

// How many bytes of each NE table the reader takes from the file.
constexpr size_t kNeTableLength = 1024;

// Where the tables of an NE header lie: the file offsets of the module reference table and
// of the imported-names table, and the module reference count (at most kModuleNameLimit).
struct NeLayout {
    uint64_t referencesOffset;
    uint64_t importedNamesOffset;
    uint32_t moduleCount;
};

// From the bytes read at the NE header (file offset headerOffset): true, with the layout,
// when more than 50 bytes were read. The table offsets are relative to the header.
bool ReadNeLayout(const unsigned char* header, size_t length, uint64_t headerOffset, NeLayout* layout);

// Copies the name of each of the first layout.moduleCount module references into names
// (kModuleNameSlots slots), skipping the modules every Windows system supplies (names that
// begin with USER, GDI, KERNEL, SOUND, DISPLAY, FIXFONTS, OEMFONTS, ATM, KEYBOARD, MOUSE,
// SYSTEM or FONTS, in any case). references and importedNames are the bytes read from the
// two tables. A reference outside the bytes read, or a name whose length byte and characters
// do not all lie inside them, is left out. Returns the number of names stored.
int ParseNeModuleNames(const NeLayout& layout, const unsigned char* references, size_t referencesLength,
                       const unsigned char* importedNames, size_t importedNamesLength, ModuleNames names);

// True when name begins with one of the modules every Windows system supplies (see above).
bool IsSystemNeModule(const char* name, size_t length);

// Copies the name of each import descriptor of a whole PE file (image, its size in bytes)
// into names (kModuleNameSlots slots): the import directory is data directory entry 1 of a
// PE32 (magic 0x10B) or PE32+ (0x20B) optional header, found through the section whose
// virtual range holds it. Names are cut at 255 characters. After kModuleNameLimit - 1 names
// each further name overwrites the last slot. Returns the number counted, 0 when there is no
// import directory or no section holds it; a descriptor or name outside the image ends the walk.
int ParsePeImportNames(const unsigned char* image, uint64_t size, ModuleNames names);
